// Times the parse of generated 1 MB and 16 MB reports and compares their cost per byte: a
// linear parse costs the same per byte at both sizes. Both sizes parse 16 MB per round (16
// separate 1 MB reports, or one of 16 MB), so that a small report does not gain from
// staying in the processor's cache between repeats.
#include "bench/report/report_generator.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <string>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;

struct Measurement {
    double bestSeconds;
    double nanosecondsPerByte;
};

Measurement measure(std::size_t bytes, std::size_t copies, int runs) {
    std::size_t findings = 0;
    std::vector<std::string> reports;
    for (std::size_t i = 0; i < copies; ++i)
        reports.push_back(quill::bench::generateCompactReport(bytes, findings));
    double best = 1e30;
    for (int i = 0; i < runs; ++i) {
        Clock::time_point start = Clock::now();
        for (const std::string &report : reports) {
            std::size_t parsed = quill::bench::parseReportOnce(report);
            if (parsed != findings) {
                std::printf("parse yielded %zu findings of %zu\n", parsed, findings);
                return {0, 0};
            }
        }
        double seconds = std::chrono::duration<double>(Clock::now() - start).count();
        best = std::min(best, seconds / static_cast<double>(copies));
    }
    double perByte = best * 1e9 / static_cast<double>(reports[0].size());
    std::printf("%9zu bytes, %6zu findings, %2zu reports per round: best of %d %7.3f s per "
                "report, %6.2f ns/byte\n",
                reports[0].size(), findings, copies, runs, best, perByte);
    return {best, perByte};
}

} // namespace

int main() {
    Measurement small = measure(1u << 20, 16, 7);
    Measurement large = measure(16u << 20, 1, 7);
    if (small.nanosecondsPerByte <= 0 || large.nanosecondsPerByte <= 0)
        return 1;
    double ratio = large.nanosecondsPerByte / small.nanosecondsPerByte;
    bool linear = ratio <= 1.5;
    bool fast = large.bestSeconds < 2.0;
    std::printf("16 MB / 1 MB cost per byte: %.2f (limit 1.5) %s; 16 MB in %.3f s (limit 2 s) %s\n",
                ratio, linear ? "ok" : "OVER", large.bestSeconds, fast ? "ok" : "OVER");
    return linear && fast ? 0 : 1;
}
