// Feeds arbitrary bytes to the compact-report splitter and checks what every finding must
// satisfy: a message and a rule name, each on one line, taken from the report.
#include "lint/compact_report.h"
#include "common/utf8.h"

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <string_view>

namespace {

void require(bool condition) {
    if (!condition)
        std::abort();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size) {
    std::string_view report(reinterpret_cast<const char *>(data), size);
    quill::splitCompactReport(report, [&](const quill::CompactReportFinding &finding) {
        require(!finding.message.empty() && !finding.ruleName.empty());
        require(finding.message.find('\n') == std::string_view::npos);
        require(finding.ruleName.find('\n') == std::string_view::npos);
        require(finding.message.size() <= size && finding.ruleName.size() < size);
        require(report.find(finding.ruleName) != std::string_view::npos);
        // Stop at some findings, as the engine does after a failed conversion.
        return finding.line % 7 != 3;
    });
    if (size > 0) {
        std::size_t limit = data[0] % 16;
        std::size_t kept = quill::utf8PrefixLength(report, limit);
        require(kept <= limit || kept == size);
        require(kept + 3 >= std::min(limit, size));
    }
    return 0;
}
