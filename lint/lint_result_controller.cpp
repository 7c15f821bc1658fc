// The lint engine's state: current target, findings, listeners, the latest-job rule, the
// publication of a check run's report and the weighing of the findings.
#include "lint/lint_result_controller.h"

#include "common/ansi_encoding.h"
#include "common/system_error.h"
#include "config/text_lint_config.h"
#include "lint/compact_report.h"
#include "lint/held_back_findings.h"
#include "lint/lint_failure_texts.h"
#include "lint/lint_text_conversion.h"
#include "lint/own_findings.h"
#include "mail/text_span.h"

#include <windows.h>

#include <algorithm>
#include <exception>
#include <stdexcept>

namespace quill {

namespace {

using Lock = std::lock_guard<std::recursive_mutex>;

[[noreturn]] void fail(const char *failureText) {
    throw std::runtime_error(failureText);
}

// The finding in the ANSI code page, converted in the order message, rule name to UTF-16,
// then message, rule name to ANSI; the first failing step names the failure. Null when
// all steps succeed.
const char *convertFinding(const CompactReportFinding &finding, LintResult &result) {
    std::optional<std::wstring> wideMessage = lintTextToWide(finding.message);
    if (!wideMessage)
        return lint_text::MESSAGE_TO_WIDE_FAILED;
    std::optional<std::wstring> wideRule = lintTextToWide(finding.ruleName);
    if (!wideRule)
        return lint_text::RULE_NAME_FAILED;
    std::optional<std::string> message = lintTextToAnsi(*wideMessage);
    if (!message)
        return lint_text::MESSAGE_TO_ANSI_FAILED;
    std::optional<std::string> ruleName = lintTextToAnsi(*wideRule);
    if (!ruleName)
        return lint_text::RULE_NAME_FAILED;
    result.line = finding.line;
    result.index = finding.index;
    result.message = std::move(*message);
    result.ruleName = std::move(*ruleName);
    result.autoFix = false;
    return nullptr;
}

// The replacement of the resident finding that `finding` was printed from, searched from
// `next` on: the report holds the resident findings in their order, less those it cannot
// show, so a finding is the next one at its place with its rule.
void takeWarmFix(const CompactReportFinding &finding, const std::vector<ResidentFinding> &warm,
                 std::size_t &next, LintResult &result) {
    for (std::size_t i = next; i < warm.size(); ++i) {
        const ResidentFinding &candidate = warm[i];
        if (candidate.line != finding.line || candidate.column != finding.index ||
            candidate.ruleId != finding.ruleName)
            continue;
        next = i + 1;
        if (candidate.hasFix)
            result.fix = LintFix{candidate.fixStart, candidate.fixEnd, candidate.fixText, {}};
        return;
    }
}

// Appends the findings of `report` to `findings`, with the replacements of `warm`; the
// failure text of the first line that cannot be read, or null.
const char *parseCompactReport(const std::string &report, std::vector<LintResult> &findings,
                               const std::vector<ResidentFinding> &warm = {}) {
    const char *conversionFailure = nullptr;
    std::size_t nextWarm = 0;
    CompactReportFailure failure =
        splitCompactReport(report, [&](const CompactReportFinding &finding) {
            LintResult result;
            conversionFailure = convertFinding(finding, result);
            if (conversionFailure)
                return false;
            takeWarmFix(finding, warm, nextWarm, result);
            findings.push_back(std::move(result));
            return true;
        });
    switch (failure) {
    case CompactReportFailure::None:
        return nullptr;
    case CompactReportFailure::Stopped:
        return conversionFailure;
    case CompactReportFailure::LocationScan:
        return lint_text::SCAN_FAILED;
    case CompactReportFailure::EmptyMessage:
        return lint_text::MESSAGE_TO_WIDE_FAILED;
    case CompactReportFailure::EmptyRuleName:
        return lint_text::RULE_NAME_FAILED;
    }
    return nullptr;
}

// Each replacement learns what it replaces; one whose range does not fall on characters of
// `text` is dropped, since it could not be applied exactly.
void describeFixes(std::vector<LintResult> &findings, std::string_view text) {
    for (LintResult &finding : findings) {
        if (finding.fix) {
            const std::optional<ByteRange> range =
                utf8RangeOf(text, finding.fix->start, finding.fix->end);
            if (range)
                finding.fix->replaced =
                    std::string(text.substr(range->start, range->end - range->start));
            else
                finding.fix.reset();
        }
        finding.autoFix = finding.fix.has_value();
    }
}

} // namespace

LintResultController::LintResultController() = default;

// Findings go with the vector; listeners are forgotten without being called.
LintResultController::~LintResultController() = default;

JobTicket LintResultController::enterJob(const TargetMailInfo &target) {
    Lock lock(mutex_);
    target_ = target;
    latestJob_ = ++lastTicket_;
    return JobTicket{latestJob_};
}

bool LintResultController::isLatestJob(JobTicket job) {
    Lock lock(mutex_);
    return job.id != 0 && job.id == latestJob_;
}

bool LintResultController::isLastPublished(JobTicket job) {
    Lock lock(mutex_);
    return job.id != 0 && job.id == publishedJob_;
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
    if (const char *failure = parseCompactReport(report, findings_))
        fail(failure);
}

bool LintResultController::isEvaluateValueOverThreshold() {
    Lock lock(mutex_);
    return isEvaluateValueOverThreshold(findings_);
}

bool LintResultController::isEvaluateValueOverThreshold(const std::vector<LintResult> &findings) {
    std::vector<std::string> ruleNames;
    ruleNames.reserve(findings.size());
    for (const LintResult &finding : findings)
        ruleNames.push_back(finding.ruleName);
    TextLintConfig &config = TextLintConfig::getInstance();
    return config.sumWeights(ruleNames) > config.snapshot().evaluateValueThreshold;
}

CheckOutcome LintResultController::publishFindings(JobTicket job, std::vector<LintResult> findings,
                                                   bool nothingToCheck, const CheckedInput &input) {
    CheckOutcome outcome;
    describeFixes(findings, input.text);
    std::vector<LintResult> beforeHeldBack = findings;
    HeldBack heldBack;
    outcome.findings = withoutHeldBack(std::move(findings), input.text, heldBack);
    outcome.nothingToCheck = nothingToCheck;
    Lock lock(mutex_);
    if (!isLatestJob(job)) {
        outcome.publication = Publication::Superseded;
        return outcome;
    }
    findings_ = outcome.findings;
    publishedJob_ = job.id;
    actionNote_.clear();
    checkedText_ = input.text;
    publishedBeforeHeldBack_ = std::move(beforeHeldBack);
    heldBackIgnored_ = heldBack.ignored;
    heldBackHidden_ = heldBack.hidden;
    outcome.publication = Publication::Published;
    if (nothingToCheck) {
        LintFailure noRule;
        noRule.kind = LintFailureKind::NoRule;
        statusText_ = describeLintFailure(noRule);
    } else {
        SYSTEMTIME now{};
        GetLocalTime(&now);
        publishedTime_[0] = now.wHour;
        publishedTime_[1] = now.wMinute;
        publishedTime_[2] = now.wSecond;
        setPublishedStatus();
    }
    latestCheckFailed_ = false;
    notifyListeners();
    return outcome;
}

void LintResultController::setPublishedStatus() {
    statusText_ = publishedStatusText(findings_.size(), publishedTime_[0], publishedTime_[1],
                                      publishedTime_[2]) +
                  heldBackStatusText(heldBackIgnored_, heldBackHidden_);
}

bool LintResultController::findingsOfReport(const std::string &report,
                                            std::vector<LintResult> &findings) {
    return parseCompactReport(report, findings) == nullptr;
}

JobTicket LintResultController::publishedJob() {
    Lock lock(mutex_);
    return JobTicket{publishedJob_};
}

std::string LintResultController::checkedText() {
    Lock lock(mutex_);
    return checkedText_;
}

bool LintResultController::dropFindings(JobTicket shown,
                                        const std::function<bool(const LintResult &)> &drop,
                                        DropReason reason) {
    Lock lock(mutex_);
    if (shown.id == 0 || shown.id != publishedJob_)
        return false;
    std::vector<LintResult> kept;
    for (LintResult &finding : findings_) {
        if (!drop(finding)) {
            kept.push_back(std::move(finding));
            continue;
        }
        if (reason == DropReason::Ignored)
            ++heldBackIgnored_;
        else if (reason == DropReason::Hidden)
            ++heldBackHidden_;
    }
    findings_ = std::move(kept);
    if (!latestCheckFailed_)
        setPublishedStatus();
    notifyListeners();
    return true;
}

void LintResultController::setActionNote(const std::wstring &text) {
    Lock lock(mutex_);
    actionNote_ = text;
    notifyStatusListeners();
}

void LintResultController::setWorking(bool working) {
    Lock lock(mutex_);
    working_ = working;
    notifyStatusListeners();
}

CheckOutcome LintResultController::failCheck(JobTicket job, LintFailure failure) {
    CheckOutcome outcome;
    outcome.failure = std::move(failure);
    outcome.timedOut = outcome.failure.kind == LintFailureKind::TimedOut;
    Lock lock(mutex_);
    if (!isLatestJob(job))
        return outcome;
    statusText_ = failedStatusText(outcome.failure);
    actionNote_.clear();
    latestCheckFailed_ = true;
    notifyStatusListeners();
    return outcome;
}

void LintResultController::setStatusText(const std::wstring &text) {
    Lock lock(mutex_);
    statusNote_ = text;
    notifyStatusListeners();
}

std::wstring LintResultController::statusText() {
    Lock lock(mutex_);
    std::wstring text = working_ ? std::wstring(WORKING_STATUS_TEXT) : std::wstring();
    for (const std::wstring *part : {&actionNote_, &statusNote_, &statusText_}) {
        if (part->empty())
            continue;
        if (!text.empty())
            text += L"\n";
        text += *part;
    }
    return text;
}

bool LintResultController::latestCheckFailed() {
    Lock lock(mutex_);
    return latestCheckFailed_;
}

CheckOutcome LintResultController::publishReport(JobTicket job, const std::string &report,
                                                 std::vector<LintResult> ownFindings,
                                                 const CheckedInput &input) {
    std::vector<LintResult> findings;
    const char *failure = parseCompactReport(report, findings, input.warmFindings);
    if (failure == nullptr) {
        return publishFindings(job, mergeFindings(std::move(findings), std::move(ownFindings)),
                               false, input);
    }
    DWORD code = GetLastError();
    {
        Lock lock(mutex_);
        if (isLatestJob(job))
            findings_ = std::move(findings);
    }
    writeLastErrorDiagnostic(failure, code);
    LintFailure unreadable;
    unreadable.kind = LintFailureKind::TextLintError;
    unreadable.details = wideFromUtf8(failure);
    return failCheck(job, std::move(unreadable));
}

void LintResultController::notifyStatusListeners() {
    std::vector<LintResultModelListener *> listeners = listeners_;
    for (LintResultModelListener *listener : listeners) {
        if (std::find(listeners_.begin(), listeners_.end(), listener) == listeners_.end())
            continue;
        try {
            listener->updateLintStatus();
        } catch (...) {
            writeDiagnosticLine(lint_text::LISTENER_FAILED);
        }
    }
}

void LintResultController::notifyListeners() {
    // A listener may remove itself or another one while it is told: walk a copy and skip
    // entries removed meanwhile, so no removed (perhaps destroyed) listener is called.
    std::vector<LintResultModelListener *> listeners = listeners_;
    for (LintResultModelListener *listener : listeners) {
        if (std::find(listeners_.begin(), listeners_.end(), listener) == listeners_.end())
            continue;
        try {
            listener->updateLintResult();
        } catch (const std::exception &failure) {
            writeDiagnosticLine(std::string(lint_text::LISTENER_FAILED) + failure.what());
        } catch (...) {
            writeDiagnosticLine(lint_text::LISTENER_FAILED);
        }
    }
}

LintResultController &lintEngine() {
    static LintResultController engine;
    return engine;
}

} // namespace quill
