// The JSON texts made from the rules: the weight list and the rules object kept in the INI
// file, and the textlint configuration given to each run.
#pragma once

#include "common/encoding.h"
#include "config/text_lint_rule.h"

#include <string>
#include <string_view>
#include <vector>

namespace quill {

// The rule name as the inside of a JSON string: '"', '\' and control characters are
// escaped so that any name reads back as itself; all else is copied byte for byte. The
// bytes after the first of a multi-byte character are copied as they are; `charLength`
// tells the characters' lengths, and when it is null every byte stands alone.
std::string escapeJsonName(std::string_view name, CharLengthOf charLength);

// {"name":weight,...} in list order, no white space.
std::string buildWeightListText(const std::vector<TextLintRule> &rules, CharLengthOf charLength);

// The textlint configuration: "{", the HTML plug-in member when `withHtmlPlugin`, then
// "rules" with one member per rule (its option object when it has fragments, else true or
// false), "}". Without the HTML member this is also the INI's rules text.
std::string buildTextLintConfigText(const std::vector<TextLintRule> &rules, bool withHtmlPlugin,
                                    CharLengthOf charLength);

// Whether the configuration textlint reads lets it run any rule: a rule counts when it is
// on and is not one of the plug-in's own checks (a rule that is off is written as false,
// options or not). With none there is nothing for textlint to check.
bool configuresAnyRule(const std::vector<TextLintRule> &rules);

// The rules textlint runs: `rules` without the plug-in's own checks, which the list holds
// only to give their findings a weight (textlint would refuse a rule it does not have).
std::vector<TextLintRule> textLintRulesOf(const std::vector<TextLintRule> &rules);

} // namespace quill
