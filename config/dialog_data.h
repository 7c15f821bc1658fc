// What the settings and rule dialogs show and read back, as plain records, and the parsing
// of what the user typed there. Texts are in the ANSI code page, as the settings hold them.
#pragma once

#include "config/finding_choices.h"
#include "config/text_lint_rule.h"
#include "config/text_lint_settings.h"

#include <cstddef>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace quill {

// A row of the rule list loaded into the rule dialog's fields keeps at most this many bytes.
constexpr std::size_t RULE_FIELD_LOAD_LIMIT = 255;
// Texts read from the dialogs' edit fields keep at most this many bytes.
constexpr std::size_t DIALOG_TEXT_LIMIT = 1023;
// The threshold text the spin control steps from.
constexpr std::size_t THRESHOLD_SPIN_LIMIT = 255;

// One row of the rule list: the texts of its three columns and its check box.
struct RuleRow {
    std::string name;
    std::string weight;
    std::string options;
    bool checked = false;
};

// Everything the settings dialog edits.
struct SettingsDialogData {
    std::string textLintCmdPath;
    std::vector<TextLintRule> rules;
    bool enableEvaluateValueThreshold = false;
    int evaluateValueThreshold = 0;
    bool enableProofreadingHTMLMail = false;
    bool enableResidentTextLint = true;
    bool excludeQuotedLines = true;
    std::string quoteMarks;
    bool excludeSignature = true;
    bool checkMachineDependentCharacters = true;
    bool checkDateWeekdays = true;
    bool checkHonorifics = true;
    bool remindForgottenAttachment = true;
    bool remindMismatchedAddressee = true;
    bool checkWhileTyping = true;
    int checkWhileTypingDelay = DEFAULT_CHECK_WHILE_TYPING_DELAY;
    std::vector<HiddenFinding> hiddenFindings;
};

// A hidden finding as the settings dialog lists it: "rule: message" (ANSI).
std::string hiddenFindingLine(const HiddenFinding &finding);

// The leading decimal integer of `text` as atoi reads it (blanks, a sign, digits; 0 when
// there are no digits), held at the int range instead of overflowing: read as the INI
// file's numbers are.
int leadingInteger(const std::string &text);

// The option cell split at its commas; empty pieces give no fragment.
std::vector<std::string> splitOptionFragments(const std::string &cell);
std::string joinOptionFragments(const std::vector<std::string> &fragments);

// The index of the first rule whose option fragments, joined into its option object, are
// not one whole JSON object, and so would not read back from the INI file (`max: 120`, a
// JSON5 form textlint itself accepts, is such a text); none when every rule's options are
// sound. `toUtf8` converts the record's texts to UTF-8.
std::optional<std::size_t>
firstRuleWithUnreadableOptions(const std::vector<TextLintRule> &rules,
                               const std::function<std::string(std::string_view)> &toUtf8);

RuleRow rowOfRule(const TextLintRule &rule);
TextLintRule ruleOfRow(const RuleRow &row);

// The weight field as it goes into the list: an empty field becomes "0".
std::string weightCellOf(const std::string &weightField);

// The threshold text after one spin step. The control reports a negative change for its
// upper arrow (its range is left at 100..0), which adds one; a positive change subtracts
// one. Unbounded except by the int range.
std::string steppedThreshold(const std::string &thresholdText, int spinDelta);

} // namespace quill
