// The native benchmark measures the platform-free splitting of the report.
#include "bench/report/report_generator.h"
#include "lint/compact_report.h"

namespace quill::bench {

std::size_t parseReportOnce(const std::string &report) {
    std::size_t findings = 0;
    splitCompactReport(report, [&](const CompactReportFinding &) {
        ++findings;
        return true;
    });
    return findings;
}

} // namespace quill::bench
