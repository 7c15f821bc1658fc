// Feeds arbitrary bytes, in chunks, through the line framer and reads every line as an
// answer of each kind; the findings of an answer, rendered as a compact report, must split
// back into as many rows as have a rule.
#include "lint/compact_report.h"
#include "lint/resident/resident_protocol.h"
#include "process/line_framer.h"

#include <cstdint>
#include <cstdlib>
#include <string_view>

namespace {

void require(bool condition) {
    if (!condition)
        std::abort();
}

void readLine(const std::string &line) {
    using namespace quill;
    readInitializeAnswer(line, 1);
    readToolAnswer(line, 2, ResidentTool::FixText);
    ResidentAnswer answer = readToolAnswer(line, 2, ResidentTool::LintText);
    if (answer.kind != ResidentAnswerKind::Success)
        return;
    std::size_t rows = 0;
    std::string report = renderCompactReport(answer.findings, "C:\\q\\mail.txt");
    CompactReportFailure failure =
        splitCompactReport(report, [&](const CompactReportFinding &) { return ++rows, true; });
    require(rows <= answer.findings.size());
    (void)failure;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size) {
    std::string_view input(reinterpret_cast<const char *>(data), size);
    // The first byte picks the chunk size, so that lines arrive cut at every place.
    std::size_t chunk = size > 0 ? data[0] % 17 + 1 : 1;
    quill::LineFramer framer(4096);
    for (std::size_t at = size > 0 ? 1 : 0; at < size; at += chunk) {
        framer.append(input.substr(at, chunk));
        while (std::optional<std::string> line = framer.nextLine()) {
            require(line->find('\n') == std::string::npos && line->size() <= 4096);
            readLine(*line);
        }
    }
    if (!framer.overflowed())
        quill::residentInputText(input);
    return 0;
}
