// The lint engine's state: current target, findings, listeners, the latest-job rule, the
// publication of a check run's report and the weighing of the findings.
#include "lint/lint_result_controller.h"

#include "common/system_error.h"
#include "config/text_lint_config.h"
#include "lint/compact_report.h"
#include "lint/lint_text_conversion.h"

#include <windows.h>

#include <algorithm>
#include <exception>
#include <stdexcept>

namespace quill {

namespace {

using Lock = std::lock_guard<std::recursive_mutex>;

const char SCAN_FAILED[] = "sscanf_s(p, TEXT(\": line %d, col %d, \"), &nLine, &nIndex) failed.";
const char MESSAGE_TO_WIDE_FAILED[] =
    "LintResultController::parseLintResultInCompactFormat() failed. cannot convert "
    "MultiByteChar to WideChar for result of lint text.";
const char MESSAGE_TO_ANSI_FAILED[] =
    "LintResultController::parseLintResultInCompactFormat() failed. cannot convert "
    "WideChar to MultiByteChar for result of lint text.";
const char RULE_NAME_FAILED[] =
    "LintResultController::parseLintResultInCompactFormat() failed. cannot convert "
    "MultiByteChar to WideChar for rule name of lint.";

const char LISTENER_FAILED[] = "LintResultModelListener::updateLintResult() failed. ";

[[noreturn]] void fail(const char *failureText) {
    throw std::runtime_error(failureText);
}

// The finding in the ANSI code page, converted in the order message, rule name to UTF-16,
// then message, rule name to ANSI; the first failing step names the failure. Null when
// all steps succeed.
const char *convertFinding(const CompactReportFinding &finding, LintResult &result) {
    std::optional<std::wstring> wideMessage = lintTextToWide(finding.message);
    if (!wideMessage)
        return MESSAGE_TO_WIDE_FAILED;
    std::optional<std::wstring> wideRule = lintTextToWide(finding.ruleName);
    if (!wideRule)
        return RULE_NAME_FAILED;
    std::optional<std::string> message = lintTextToAnsi(*wideMessage);
    if (!message)
        return MESSAGE_TO_ANSI_FAILED;
    std::optional<std::string> ruleName = lintTextToAnsi(*wideRule);
    if (!ruleName)
        return RULE_NAME_FAILED;
    result.line = finding.line;
    result.index = finding.index;
    result.message = std::move(*message);
    result.ruleName = std::move(*ruleName);
    result.autoFix = false;
    return nullptr;
}

} // namespace

LintResultController::LintResultController() = default;

// Findings go with the vector; listeners are forgotten without being called.
LintResultController::~LintResultController() = default;

void LintResultController::enterJob(const TargetMailInfo &target) {
    Lock lock(mutex_);
    latestJobThread_ = std::this_thread::get_id();
    target_ = target;
}

bool LintResultController::isLatestJob() {
    Lock lock(mutex_);
    return latestJobThread_ == std::this_thread::get_id();
}

void LintResultController::addLintResultModelListener(LintResultModelListener *listener) {
    Lock lock(mutex_);
    listeners_.push_back(listener);
}

void LintResultController::removeLintResultModelListener(LintResultModelListener *listener) {
    Lock lock(mutex_);
    listeners_.erase(std::remove(listeners_.begin(), listeners_.end(), listener), listeners_.end());
}

TargetMailInfo LintResultController::getTargetMailInfo() {
    Lock lock(mutex_);
    return target_;
}

void LintResultController::clearLintResult() {
    Lock lock(mutex_);
    findings_.clear();
}

std::vector<LintResult> LintResultController::getLintResults() {
    Lock lock(mutex_);
    return findings_;
}

void LintResultController::parseLintResultInCompactFormat(std::string report) {
    Lock lock(mutex_);
    const char *conversionFailure = nullptr;
    CompactReportFailure failure =
        splitCompactReport(report, [&](const CompactReportFinding &finding) {
            LintResult result;
            conversionFailure = convertFinding(finding, result);
            if (conversionFailure)
                return false;
            findings_.push_back(std::move(result));
            return true;
        });
    switch (failure) {
    case CompactReportFailure::None:
        return;
    case CompactReportFailure::Stopped:
        fail(conversionFailure);
    case CompactReportFailure::LocationScan:
        fail(SCAN_FAILED);
    case CompactReportFailure::EmptyMessage:
        fail(MESSAGE_TO_WIDE_FAILED);
    case CompactReportFailure::EmptyRuleName:
        fail(RULE_NAME_FAILED);
    }
}

bool LintResultController::isEvaluateValueOverThreshold() {
    Lock lock(mutex_);
    std::vector<std::string> ruleNames;
    ruleNames.reserve(findings_.size());
    for (const LintResult &finding : findings_)
        ruleNames.push_back(finding.ruleName);
    TextLintConfig &config = TextLintConfig::getInstance();
    return config.sumWeights(ruleNames) > config.evaluateValueThreshold;
}

bool LintResultController::publishReport(const std::string &report) {
    Lock lock(mutex_);
    if (latestJobThread_ != std::this_thread::get_id())
        return true;
    clearLintResult();
    try {
        parseLintResultInCompactFormat(report);
    } catch (const std::exception &failure) {
        writeLastErrorDiagnostic(failure.what(), GetLastError());
        return false;
    }
    // A listener may remove itself or another one while it is told: walk a copy and skip
    // entries removed meanwhile, so no removed (perhaps destroyed) listener is called.
    std::vector<LintResultModelListener *> listeners = listeners_;
    for (LintResultModelListener *listener : listeners) {
        if (std::find(listeners_.begin(), listeners_.end(), listener) == listeners_.end())
            continue;
        try {
            listener->updateLintResult();
        } catch (const std::exception &failure) {
            writeDiagnosticLine(std::string(LISTENER_FAILED) + failure.what());
        } catch (...) {
            writeDiagnosticLine(LISTENER_FAILED);
        }
    }
    return true;
}

LintResultController &lintEngine() {
    static LintResultController engine;
    return engine;
}

} // namespace quill
