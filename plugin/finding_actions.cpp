// The actions of the result window's rows: the fix of one finding through the host, and the
// choices not to see a finding or its rule again.
#include "plugin/finding_actions.h"

#include "common/ansi_encoding.h"
#include "common/system_error.h"
#include "config/settings_dialog.h"
#include "config/text_lint_config.h"
#include "lint/excluded_lines_setting.h"
#include "lint/held_back_findings.h"
#include "mail/charset.h"
#include "mail/excluded_lines.h"
#include "mail/text_span.h"
#include "plugin/commands.h"
#include "plugin/compose_checks.h"
#include "plugin/compose_hook.h"
#include "plugin/host_api.h"
#include "plugin/plugin_texts.h"

namespace quill {

namespace {

constexpr int CP_UTF8_CODE_PAGE = 65001;

void note(const std::wstring &text) {
    lintEngine().setActionNote(text);
}

bool sameFinding(const LintResult &a, const LintResult &b) {
    return a.ruleName == b.ruleName && a.message == b.message;
}

// Saves the settings an action changed; says so when the file could not take them.
void saveChoice(const std::wstring &done) {
    note(TextLintConfig::getInstance().saveConfig()
             ? done
             : done + L"\n" + plugin_text::SETTINGS_NOT_SAVED);
}

// `text` converted without loss, or none.
std::optional<std::string> encodeExactly(const std::string &utf8, int codePage) {
    if (utf8.empty())
        return std::string();
    ConversionOutcome outcome = ConversionOutcome::Failed;
    std::string bytes = convertCharSetLossless(utf8, CP_UTF8_CODE_PAGE, codePage, outcome);
    if (outcome != ConversionOutcome::Converted)
        return std::nullopt;
    return bytes;
}

void fixFinding(const LintResult &finding, JobTicket shown) {
    if (!finding.fix)
        return;
    LintResultController &engine = lintEngine();
    HWND window = nullptr;
    std::string checkedMail;
    MimeType mimeType = MIME_TEXT_PLAIN;
    if (!composeCheckOfJob(shown, window, checkedMail, mimeType) || !IsWindow(window) ||
        !composeWindows().contains(window)) {
        note(plugin_text::FIX_WINDOW_GONE);
        return;
    }
    WorkInProgress work;
    const ComposeContent content = readComposeWindow(window, 0);
    const std::string checkedText = engine.checkedText();
    // The text must be the one checked, left out the same way, or the range means another
    // place.
    const LineExclusion exclusion = lineExclusionFor(content.target);
    if (!content.hostGaveText || !content.converted || content.target.mimeType != mimeType ||
        content.target.getMailText() != checkedMail ||
        maskExcludedLines(checkedMail, exclusion) != checkedText) {
        note(plugin_text::FIX_TEXT_CHANGED);
        return;
    }
    FixRefusal refusal = FixRefusal::None;
    const std::optional<std::string> fixed =
        applyFix(content.hostText, content.codePage, checkedMail, checkedText,
                 excludedLineFlags(checkedMail, exclusion), *finding.fix, refusal);
    if (!fixed) {
        note(refusal == FixRefusal::InExcludedLine ? plugin_text::FIX_IN_EXCLUDED_LINE
             : refusal == FixRefusal::NotRepresentable
                 ? plugin_text::FIX_CHARACTER_NOT_REPRESENTABLE
                 : plugin_text::FIX_NOT_PLACED);
        return;
    }
    hostApi().BKA_CompSetText(window, 0, fixed->c_str());
    checkComposeWindow(window);
}

} // namespace

std::optional<std::string> applyFix(const std::string &hostText, int codePage,
                                    const std::string &mailText, const std::string &checkedText,
                                    const std::vector<bool> &excluded, const LintFix &fix,
                                    FixRefusal &refusal) {
    refusal = FixRefusal::NotPlaced;
    const std::optional<LineSpan> span = lineSpanOf(checkedText, fix.start, fix.end);
    const std::vector<RawLine> raw = splitRawLines(hostText);
    if (!span || raw.size() != excluded.size() || span->lastLine >= raw.size())
        return std::nullopt;
    for (std::size_t line = span->firstLine; line <= span->lastLine; ++line) {
        if (excluded[line]) {
            refusal = FixRefusal::InExcludedLine;
            return std::nullopt;
        }
    }
    // The two lines the range ends in, as the host holds them and as they were checked.
    const RawLine &first = raw[span->firstLine];
    const RawLine &last = raw[span->lastLine];
    bool converted = false;
    const std::string firstLine =
        convertCharSet(hostText.substr(first.begin, first.end - first.begin), codePage,
                       CP_UTF8_CODE_PAGE, converted);
    if (!converted || firstLine != lineOfText(mailText, span->firstLine + 1) ||
        span->startByte > firstLine.size())
        return std::nullopt;
    const std::string lastLine = convertCharSet(hostText.substr(last.begin, last.end - last.begin),
                                                codePage, CP_UTF8_CODE_PAGE, converted);
    if (!converted || lastLine != lineOfText(mailText, span->lastLine + 1) ||
        span->endByte > lastLine.size())
        return std::nullopt;
    // A line break the fix brings is written as the mail writes its own.
    std::string lineBreak = hostText.substr(first.end, first.next - first.end);
    if (lineBreak.empty())
        lineBreak = "\r\n";
    std::string replacement;
    for (char c : fix.text) {
        if (c == '\n')
            replacement += lineBreak;
        else
            replacement += c;
    }
    const std::string prefix = firstLine.substr(0, span->startByte);
    const std::string suffix = lastLine.substr(span->endByte);
    const std::optional<std::string> newBytes = encodeExactly(replacement, codePage);
    const std::optional<std::string> prefixBytes = encodeExactly(prefix, codePage);
    const std::optional<std::string> suffixBytes = encodeExactly(suffix, codePage);
    if (!newBytes || !prefixBytes || !suffixBytes) {
        refusal = FixRefusal::NotRepresentable;
        return std::nullopt;
    }
    // Where the unchanged parts encode to the bytes the host holds, those bytes stay and
    // only the replaced ones change; otherwise (a code page with shift states, a character
    // with two forms) the touched lines are written anew from their characters.
    const bool prefixKept = hostText.compare(first.begin, prefixBytes->size(), *prefixBytes) == 0;
    const bool suffixKept =
        suffixBytes->size() <= last.end - last.begin &&
        hostText.compare(last.end - suffixBytes->size(), suffixBytes->size(), *suffixBytes) == 0;
    std::string result;
    if (prefixKept && suffixKept) {
        result = hostText.substr(0, first.begin + prefixBytes->size()) + *newBytes +
                 hostText.substr(last.end - suffixBytes->size());
    } else {
        const std::optional<std::string> lines =
            encodeExactly(prefix + replacement + suffix, codePage);
        if (!lines) {
            refusal = FixRefusal::NotRepresentable;
            return std::nullopt;
        }
        result = hostText.substr(0, first.begin) + *lines + hostText.substr(last.end);
    }
    refusal = FixRefusal::None;
    return result;
}

void actOnFinding(FindingAction action, const LintResult &finding, JobTicket shown) {
    LintResultController &engine = lintEngine();
    if (!engine.isLastPublished(shown)) {
        note(plugin_text::ACTION_ROWS_REPLACED);
        return;
    }
    TextLintConfig &config = TextLintConfig::getInstance();
    switch (action) {
    case FindingAction::Fix:
        fixFinding(finding, shown);
        return;
    case FindingAction::Ignore: {
        // The same wording on a line of the same text stays out of every later check.
        const std::string line = std::string(lineOfText(
            engine.checkedText(), finding.line > 0 ? static_cast<std::size_t>(finding.line) : 0));
        ignoredFindings().add(IgnoredFinding{finding.ruleName, finding.message, line});
        const std::string text = engine.checkedText();
        engine.dropFindings(
            shown,
            [&](const LintResult &row) {
                return sameFinding(row, finding) &&
                       lineOfText(text, row.line > 0 ? static_cast<std::size_t>(row.line) : 0) ==
                           line;
            },
            LintResultController::DropReason::Ignored);
        return;
    }
    case FindingAction::NeverShow:
        config.addHiddenFinding(HiddenFinding{finding.ruleName, finding.message});
        // An open settings window would otherwise write back its list without it at OK.
        showHiddenFindingInSettingsWindows(HiddenFinding{finding.ruleName, finding.message});
        engine.dropFindings(
            shown, [&](const LintResult &row) { return sameFinding(row, finding); },
            LintResultController::DropReason::Hidden);
        saveChoice(plugin_text::FINDING_HIDDEN);
        return;
    case FindingAction::SwitchRuleOff:
        if (!config.switchRuleOff(finding.ruleName)) {
            note(withAnsiName(plugin_text::RULE_NOT_IN_SETTINGS, finding.ruleName));
            return;
        }
        showRuleOffInSettingsWindows(finding.ruleName);
        engine.dropFindings(
            shown, [&](const LintResult &row) { return row.ruleName == finding.ruleName; },
            LintResultController::DropReason::RuleOff);
        saveChoice(withAnsiName(plugin_text::RULE_SWITCHED_OFF, finding.ruleName));
        return;
    }
}

} // namespace quill
