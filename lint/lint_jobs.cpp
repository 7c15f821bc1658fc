// The job entries of the lint engine: a check and an auto-fix each enter the job, prepare
// the text textlint will see, run textlint and publish or return what it found.
#include "lint/lint_result_controller.h"

#include "common/ansi_encoding.h"
#include "common/system_error.h"
#include "config/config_json_text.h"
#include "config/text_lint_config.h"
#include "lint/cold_run.h"
#include "lint/excluded_lines_setting.h"
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
        const std::string text = maskExcludedLines(target.getMailText(), lineExclusionFor(target));
        std::vector<LintResult> own = ownFindings(text, target);
        // Without a rule textlint has nothing to check and is not started (it would only
        // fail with "No rules found"); when the plug-in's own rules found nothing either,
        // the result is empty and the status line says that no rule is configured.
        const bool textlintChecks = configuresAnyRule(TextLintConfig::getInstance().getRules());
        if (!textlintChecks) {
            const bool nothingFound = own.empty();
            CheckOutcome outcome = publishFindings(job, std::move(own), nothingFound);
            outcome.noRule = true;
            return outcome;
        }
        if (std::optional<LintFailure> missing = missingCommandFailure()) {
            writeDiagnosticLine("textlint was not found: " +
                                TextLintConfig::getInstance().getTextLintCmdPath());
            return failCheck(job, std::move(*missing));
        }
        // The resident textlint first; it answers only when it answers as a cold run would.
        std::optional<std::string> report =
            residentTextLint().check(text, target.mimeType == MIME_TEXT_HTML);
        ColdRunProblem problem;
        if (!report)
            report = runColdCheck(text, target.mimeType, childWaitCount(), &problem);
        if (!report)
            return failCheck(job, failureOfRun(problem, childWaitCount()));
        return publishReport(job, *report, std::move(own));
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
    const std::string masked = maskExcludedLines(original, exclusion);
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
    std::optional<std::string> restored = restoreExcludedLines(original, *fixed, exclusion);
    if (!restored) {
        const char text[] = "textlint --fix added or removed lines of a mail with quoted lines "
                            "or a signature; the text is left as it was.";
        writeDiagnosticLine(text);
        failure.kind = LintFailureKind::FixMovedLines;
    }
    return restored;
}

} // namespace quill
