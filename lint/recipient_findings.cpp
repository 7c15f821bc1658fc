// The plug-in's own findings of characters a recipient may not see, held like textlint's.
#include "lint/recipient_findings.h"

#include "config/text_lint_config.h"
#include "lint/lint_text_conversion.h"
#include "mail/recipient_char_check.h"
#include "mail/recipient_code_pages.h"

#include <algorithm>
#include <iterator>

namespace quill {

bool recipientCheckApplies(const TargetMailInfo &target) {
    return codePageHidesRecipientChars(target.codePage) &&
           TextLintConfig::getInstance().snapshot().checkMachineDependentCharacters;
}

std::vector<LintResult> recipientFindings(const std::string &text) {
    std::vector<LintResult> results;
    for (const RecipientCharFinding &finding : findRecipientChars(text)) {
        std::optional<std::wstring> wideMessage = lintTextToWide(finding.message);
        std::optional<std::wstring> wideRule = lintTextToWide(finding.ruleName);
        if (!wideMessage || !wideRule)
            continue;
        std::optional<std::string> message = lintTextToAnsi(*wideMessage);
        std::optional<std::string> ruleName = lintTextToAnsi(*wideRule);
        if (!message || !ruleName)
            continue;
        LintResult result;
        result.line = finding.line;
        result.index = finding.column;
        result.message = std::move(*message);
        result.ruleName = std::move(*ruleName);
        results.push_back(std::move(result));
    }
    return results;
}

std::vector<LintResult> mergeFindings(std::vector<LintResult> textlintFindings,
                                      std::vector<LintResult> ownFindings) {
    if (ownFindings.empty())
        return textlintFindings;
    std::vector<LintResult> merged = std::move(textlintFindings);
    merged.insert(merged.end(), std::make_move_iterator(ownFindings.begin()),
                  std::make_move_iterator(ownFindings.end()));
    std::stable_sort(merged.begin(), merged.end(), [](const LintResult &a, const LintResult &b) {
        return a.line != b.line ? a.line < b.line : a.index < b.index;
    });
    return merged;
}

} // namespace quill
