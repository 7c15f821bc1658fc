// What the writer chose about findings that outlasts the mail client's run: the findings
// never to be shown again, and the rules switched off whose state the rules text cannot
// carry. Both are JSON values of the INI file; platform-free.
#pragma once

#include "common/encoding.h"
#include "common/json_value.h"
#include "config/rules_from_json.h"
#include "config/text_lint_rule.h"

#include <string>
#include <vector>

namespace quill {

// A finding never to be shown again: every finding of this rule with this message, in any
// mail. Texts in the ANSI code page, as the findings hold them.
struct HiddenFinding {
    std::string ruleName;
    std::string message;
    bool operator==(const HiddenFinding &other) const {
        return ruleName == other.ruleName && message == other.message;
    }
};

// [{"rule":"...","message":"..."},...] in list order, no white space; "[]" for none.
std::string buildHiddenFindingsText(const std::vector<HiddenFinding> &findings,
                                    CharLengthOf charLength);
// The entries of such a value; entries of another shape are left out. Null or "[]": none.
std::vector<HiddenFinding> hiddenFindingsFromJson(const JsonValue &value,
                                                  const RecordTextConverter &toRecordText);
// Whether the value can be read as such a list (an array); a value that cannot is kept in
// the file as it is.
bool isReadableHiddenFindingsValue(const JsonValue &value);

// The rules that are off although the rules text would bring them back on: a rule with
// options (written as its option object, which reads as on) and the plug-in's own checks
// (whose rows earlier versions kept for their weights only, whatever their check box).
// ["name",...] in list order; "[]" for none.
std::string buildDisabledRulesText(const std::vector<TextLintRule> &rules, CharLengthOf charLength);
// Applies that value to rules read from the rules text: a listed rule is off, and one of
// the plug-in's own checks that is not listed is on.
void applyDisabledRules(const JsonValue &value, std::vector<TextLintRule> &rules,
                        const RecordTextConverter &toRecordText);

// Switches off, in `rules`, the rule that weighs findings of `ruleName`, keeping its options
// and weight: the rule of that exact name; for a rule of a configured preset, that rule
// inside the preset (an option "<rule>":false of the preset); for one of the plug-in's own
// checks without a row, a new row. False when nothing changed. The settings and an open
// settings window both take the choice this way.
bool switchRuleOffIn(std::vector<TextLintRule> &rules, const std::string &ruleName,
                     CharLengthOf charLength);

} // namespace quill
