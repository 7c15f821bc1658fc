// The job entries of the lint engine: a check and an auto-fix each enter the job, prepare
// the text textlint will see, run textlint and publish or return what it found.
#include "lint/lint_result_controller.h"

#include "common/ansi_encoding.h"
#include "common/system_error.h"
#include "config/config_json_text.h"
#include "config/text_lint_config.h"
#include "lint/cold_run.h"
#include "lint/excluded_lines_setting.h"
#include "lint/held_back_findings.h"
#include "lint/own_findings.h"
#include "lint/resident/resident_textlint.h"
#include "lint/run_failure.h"

#include <exception>

namespace quill {

namespace {

LintFailure internalFailure(const char *diagnostic) {
    LintFailure failure;
    failure.kind = LintFailureKind::Internal;
    failure.details = wideFromAnsi(diagnostic);
    return failure;
}

} // namespace

bool LintResultController::executeProofreadingTool(ProofreadingToolControlType type,
                                                   TargetMailInfo target) {
    try {
        JobTicket job = enterJob(target);
        if (type != ProofreadingToolControlType::Check)
            return false;
        return runCheck(job, target).publication != Publication::Failed;
    } catch (const std::exception &e) {
        writeDiagnosticLine(e.what());
    } catch (...) {
        writeDiagnosticLine("executeProofreadingTool() failed.");
    }
    return false;
}

CheckOutcome LintResultController::runCheck(JobTicket job, const TargetMailInfo &target) {
    try {
        // Quoted lines and the signature reach textlint, and the plug-in's own rules, as
        // empty lines.
        CheckedInput input;
        input.text = maskExcludedLines(target.getMailText(), lineExclusionFor(target));
        const std::string &text = input.text;
        std::vector<LintResult> own = ownFindings(text, target);
        // Without a rule textlint has nothing to check and is not started (it would only
        // fail with "No rules found"); when the plug-in's own rules found nothing either,
        // the result is empty and the status line says that no rule is configured.
        const bool textlintChecks = configuresAnyRule(TextLintConfig::getInstance().getRules());
        if (!textlintChecks) {
            const bool nothingFound = own.empty();
            CheckOutcome outcome = publishFindings(job, std::move(own), nothingFound, input);
            outcome.noRule = true;
            return outcome;
        }
        if (std::optional<LintFailure> missing = missingCommandFailure()) {
            writeDiagnosticLine("textlint was not found: " +
                                TextLintConfig::getInstance().getTextLintCmdPath());
            return failCheck(job, std::move(*missing));
        }
        // The resident textlint first; it answers only when it answers as a cold run would.
        // Only its answers carry the rules' replacements; a cold report has none.
        std::optional<std::string> report =
            residentTextLint().check(text, target.mimeType == MIME_TEXT_HTML, &input.warmFindings);
        ColdRunProblem problem;
        if (!report)
            report = runColdCheck(text, target.mimeType, childWaitCount(), &problem);
        if (!report)
            return failCheck(job, failureOfRun(problem, childWaitCount()));
        return publishReport(job, *report, std::move(own), input);
    } catch (const std::exception &e) {
        writeDiagnosticLine(e.what());
        return failCheck(job, internalFailure(e.what()));
    } catch (...) {
        writeDiagnosticLine("executeProofreadingTool() failed.");
    }
    return failCheck(job, internalFailure("executeProofreadingTool() failed."));
}

TextLintFixResult LintResultController::executeTextLintFix(TargetMailInfo target) {
    TextLintFixResult result;
    try {
        result.text = target.getMailText();
        JobTicket job = enterJob(target);
        if (std::optional<std::string> fixed = runFix(target, result.failure)) {
            result.text = std::move(*fixed);
            result.succeeded = true;
        }
        // The findings no longer match the text; the window keeps its rows until the next
        // published check.
        std::lock_guard<std::recursive_mutex> lock(mutex());
        if (isLatestJob(job))
            clearLintResult();
    } catch (const std::exception &e) {
        writeDiagnosticLine(e.what());
        result.text = target.getMailText();
        result.succeeded = false;
        result.failure = internalFailure(e.what());
    }
    return result;
}

std::optional<std::string> LintResultController::runFix(const TargetMailInfo &target,
                                                        LintFailure &failure) {
    // textlint fixes only the writer's lines; the quoted lines and the signature go back in
    // as they were, or, when the fix moved the lines, the text stays as it was.
    const LineExclusion exclusion = lineExclusionFor(target);
    KeptLines keptLines;
    const std::string original = target.getMailText();
    const bool textlintFixes = configuresAnyRule(TextLintConfig::getInstance().getRules());
    // Without a rule textlint fixes nothing, which the user is told; the plug-in's own rules
    // still apply their certain fixes.
    if (!textlintFixes)
        failure.kind = LintFailureKind::NoRule;
    if (std::optional<LintFailure> missing =
            textlintFixes ? missingCommandFailure() : std::nullopt) {
        failure = std::move(*missing);
        return std::nullopt;
    }
    std::string masked = maskExcludedLines(original, exclusion);
    // The lines of findings the writer ignored or never wants to see go back as written,
    // as quoted lines do: a fix of the whole mail must not undo such a choice.
    if (anyLineHeldBack()) {
        std::optional<std::vector<std::size_t>> kept = heldBackLinesOf(masked, target, failure);
        if (!kept)
            return std::nullopt;
        for (std::size_t line : *kept)
            keptLines.push_back(line - 1);
        if (!keptLines.empty())
            masked = maskExcludedLines(original, exclusion, keptLines);
    }
    std::optional<std::string> fixed = masked;
    if (textlintFixes) {
        fixed = residentTextLint().fix(masked, target.mimeType == MIME_TEXT_HTML);
        ColdRunProblem problem;
        if (!fixed)
            fixed = runColdFix(masked, target.mimeType, childWaitCount(), &problem);
        if (!fixed) {
            failure = failureOfRun(problem, childWaitCount());
            return std::nullopt;
        }
    }
    // After textlint's own fix, the certain fixes of the plug-in's own rules (half-width
    // katakana in full width, for one); what is only suggested stays.
    fixed = fixOwnFindings(*fixed, target);
    std::optional<std::string> restored =
        restoreExcludedLines(original, *fixed, exclusion, keptLines);
    if (!restored) {
        const char text[] = "textlint --fix added or removed lines of a mail with quoted lines "
                            "or a signature; the text is left as it was.";
        writeDiagnosticLine(text);
        failure.kind = LintFailureKind::FixMovedLines;
    }
    return restored;
}

std::optional<std::vector<std::size_t>>
LintResultController::heldBackLinesOf(const std::string &masked, const TargetMailInfo &target,
                                      LintFailure &failure) {
    std::vector<LintResult> findings;
    bool published = false;
    {
        std::lock_guard<std::recursive_mutex> lock(mutex());
        if (publishedJob_ != 0 && checkedText_ == masked) {
            findings = publishedBeforeHeldBack_;
            published = true;
        }
    }
    if (!published && configuresAnyRule(TextLintConfig::getInstance().getRules())) {
        std::optional<std::string> report =
            residentTextLint().check(masked, target.mimeType == MIME_TEXT_HTML);
        ColdRunProblem problem;
        if (!report)
            report = runColdCheck(masked, target.mimeType, childWaitCount(), &problem);
        if (!report) {
            failure = failureOfRun(problem, childWaitCount());
            return std::nullopt;
        }
        if (!findingsOfReport(*report, findings)) {
            failure = internalFailure("the report of the check before the fix cannot be read.");
            return std::nullopt;
        }
    }
    if (!published)
        findings = mergeFindings(std::move(findings), ownFindings(masked, target));
    HeldBack heldBack;
    withoutHeldBack(std::move(findings), masked, heldBack);
    return heldBack.lines;
}

} // namespace quill
