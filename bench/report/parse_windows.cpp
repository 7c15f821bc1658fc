// Under Wine the benchmark measures the engine's whole parse, code-page conversion included.
#include "bench/report/report_generator.h"
#include "lint/lint_result_controller.h"

namespace quill::bench {

std::size_t parseReportOnce(const std::string &report) {
    LintResultController engine;
    engine.parseLintResultInCompactFormat(report);
    return engine.getLintResults().size();
}

} // namespace quill::bench
