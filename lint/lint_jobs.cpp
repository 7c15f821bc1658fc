// The job entries of the lint engine: a check and an auto-fix each enter the job, prepare
// the text textlint will see, run textlint and publish or return what it found.
#include "lint/lint_result_controller.h"

#include "common/system_error.h"
#include "config/config_json_text.h"
#include "config/text_lint_config.h"
#include "lint/cold_run.h"
#include "lint/excluded_lines_setting.h"
#include "lint/recipient_findings.h"
#include "lint/resident_textlint.h"
#include "mail/recipient_char_check.h"

#include <exception>

namespace quill {

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
        const bool ownCheck = recipientCheckApplies(target);
        // Without a rule textlint has nothing to check and is not started (it would only
        // fail with "No rules found"); without the plug-in's own check either, the result
        // is empty.
        const bool textlintChecks = configuresAnyRule(TextLintConfig::getInstance().getRules());
        if (!textlintChecks && !ownCheck) {
            CheckOutcome outcome = publishFindings(job, {});
            outcome.nothingToCheck = true;
            return outcome;
        }
        // Quoted lines and the signature reach textlint, and the plug-in's own check, as
        // empty lines.
        const std::string text = maskExcludedLines(target.getMailText(), lineExclusionFor(target));
        std::vector<LintResult> ownFindings;
        if (ownCheck)
            ownFindings = recipientFindings(text);
        if (!textlintChecks)
            return publishFindings(job, std::move(ownFindings));
        // The resident textlint first; it answers only when it answers as a cold run would.
        std::optional<std::string> report =
            residentTextLint().check(text, target.mimeType == MIME_TEXT_HTML);
        bool timedOut = false;
        if (!report)
            report = runColdCheck(text, target.mimeType, childWaitCount(), &timedOut);
        if (!report) {
            CheckOutcome failed;
            failed.timedOut = timedOut;
            return failed;
        }
        return publishReport(job, *report, std::move(ownFindings));
    } catch (const std::exception &e) {
        writeDiagnosticLine(e.what());
    } catch (...) {
        writeDiagnosticLine("executeProofreadingTool() failed.");
    }
    return CheckOutcome{};
}

TextLintFixResult LintResultController::executeTextLintFix(TargetMailInfo target) {
    TextLintFixResult result;
    try {
        result.text = target.getMailText();
        JobTicket job = enterJob(target);
        if (std::optional<std::string> fixed = runFix(target)) {
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
    }
    return result;
}

std::optional<std::string> LintResultController::runFix(const TargetMailInfo &target) {
    // textlint fixes only the writer's lines; the quoted lines and the signature go back in
    // as they were, or, when the fix moved the lines, the text stays as it was.
    const LineExclusion exclusion = lineExclusionFor(target);
    const std::string original = target.getMailText();
    const bool ownFix = recipientCheckApplies(target);
    const bool textlintFixes = configuresAnyRule(TextLintConfig::getInstance().getRules());
    // Nothing to fix: the text as it is, a success.
    if (!textlintFixes && !ownFix)
        return original;
    const std::string masked = maskExcludedLines(original, exclusion);
    std::optional<std::string> fixed = masked;
    if (textlintFixes) {
        fixed = residentTextLint().fix(masked, target.mimeType == MIME_TEXT_HTML);
        if (!fixed)
            fixed = runColdFix(masked, target.mimeType, childWaitCount());
        if (!fixed)
            return std::nullopt;
    }
    // After textlint's own fix: half-width katakana in full width, and the characters with
    // an unambiguous replacement replaced. Kanji variants stay: a name must not change.
    if (ownFix)
        fixed = fixRecipientChars(*fixed);
    std::optional<std::string> restored = restoreExcludedLines(original, *fixed, exclusion);
    if (!restored)
        writeDiagnosticLine("textlint --fix added or removed lines of a mail with quoted lines or "
                            "a signature; the text is left as it was.");
    return restored;
}

} // namespace quill
