// Check latency through executeProofreadingTool with the demo's settings and sample mail:
// cold checks first (nothing resident), then the resident textlint started and awaited,
// then warm checks; p50 and p95 of each, their ratio, and the server's working set.
//   resident_bench <demo INI> <sample mail> [warm checks] [cold checks]
#include "bench/resident/bench_stats.h"
#include "config/text_lint_config.h"
#include "lint/lint_result_controller.h"
#include "lint/resident/resident_textlint.h"

#include <windows.h>

#include <psapi.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

namespace {

std::string readFile(const char *path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

double timedCheck(quill::LintResultController &engine, const quill::TargetMailInfo &target,
                  std::size_t &findings) {
    double start = bench::milliseconds();
    bool ok = engine.executeProofreadingTool(quill::ProofreadingToolControlType::Check, target);
    double elapsed = bench::milliseconds() - start;
    if (!ok) {
        std::printf("check failed\n");
        std::exit(1);
    }
    findings = engine.getLintResults().size();
    return elapsed;
}

void report(const char *name, const std::vector<double> &times) {
    std::printf("%-5s n=%2zu  p50 %9.1f ms  p95 %9.1f ms\n", name, times.size(),
                bench::percentile(times, 50), bench::percentile(times, 95));
}

} // namespace

int main(int argc, char **argv) {
    if (argc < 3) {
        std::printf("usage: resident_bench <demo INI> <sample mail> [warm] [cold]\n");
        return 2;
    }
    int warmCount = argc > 3 ? std::atoi(argv[3]) : 50;
    int coldCount = argc > 4 ? std::atoi(argv[4]) : 5;
    quill::TextLintConfig &settings = quill::TextLintConfig::getInstance();
    if (!settings.readConfigFile(argv[1])) {
        std::printf("cannot read %s\n", argv[1]);
        return 1;
    }
    std::string mail = readFile(argv[2]);
    quill::TargetMailInfo target(0, quill::MIME_TEXT_PLAIN, "", "", mail);
    quill::LintResultController engine;

    std::size_t coldFindings = 0, warmFindings = 0;
    std::vector<double> cold, warm;
    timedCheck(engine, target, coldFindings); // the file cache and the wineserver
    for (int i = 0; i < coldCount; ++i)
        cold.push_back(timedCheck(engine, target, coldFindings));

    double startAt = bench::milliseconds();
    quill::residentTextLint().start();
    if (!quill::residentTextLint().waitUntilServing(std::chrono::minutes(5))) {
        std::printf("the resident textlint did not come up\n");
        return 1;
    }
    std::printf("server serving after %.0f ms (version, proof, start, first lint)\n",
                bench::milliseconds() - startAt);
    unsigned long answeredBefore = quill::residentTextLint().answeredRequests();
    for (int i = 0; i < 3; ++i)
        timedCheck(engine, target, warmFindings);
    for (int i = 0; i < warmCount; ++i)
        warm.push_back(timedCheck(engine, target, warmFindings));
    unsigned long answered = quill::residentTextLint().answeredRequests() - answeredBefore;

    std::printf("findings: cold %zu, warm %zu; warm checks answered by the server: %lu of %d\n",
                coldFindings, warmFindings, answered, warmCount + 3);
    report("cold", cold);
    report("warm", warm);
    std::printf("p50 ratio cold/warm: %.0fx\n",
                bench::percentile(cold, 50) / bench::percentile(warm, 50));

    SIZE_T workingSet = 0, peak = 0;
    std::vector<DWORD> ids = quill::residentTextLint().processIds();
    for (DWORD id : ids) {
        HANDLE process = OpenProcess(PROCESS_QUERY_INFORMATION | PROCESS_VM_READ, FALSE, id);
        PROCESS_MEMORY_COUNTERS counters = {};
        if (process && GetProcessMemoryInfo(process, &counters, sizeof(counters))) {
            workingSet += counters.WorkingSetSize;
            peak += counters.PeakWorkingSetSize;
        }
        if (process)
            CloseHandle(process);
    }
    std::printf("server working set after %d checks: %.1f MiB over %zu processes (peak %.1f MiB)\n",
                warmCount + 3, static_cast<double>(workingSet) / (1 << 20), ids.size(),
                static_cast<double>(peak) / (1 << 20));
    quill::residentTextLint().stop();
    return 0;
}
