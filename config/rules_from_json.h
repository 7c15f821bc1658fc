// Turns the two JSON values kept in the INI file (the rules object and the weight list)
// into the settings' rules.
#pragma once

#include "common/json_value.h"
#include "config/text_lint_rule.h"

#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace quill {

// Converts UTF-8 text into the encoding the settings hold their texts in. Fills `out` in
// any case and returns false when some character had no equivalent there.
using RecordTextConverter = std::function<bool(std::string_view utf8, std::string &out)>;

// Whether the plug-in can take its rules from these values: the rules text must be an
// object whose "rules" member, when there is one, is an object; the weights must be an
// object whose members are all numbers. A value that fails this is kept as it is in the INI
// file instead of being replaced.
bool isReadableRulesValue(const JsonValue &rulesConfig);
bool isReadableWeightsValue(const JsonValue &weights);

// The rules of `rulesConfig`'s "rules" member, sorted by name in UTF-16 order: a boolean
// value is the enabled flag; an object makes the rule enabled with one option fragment per
// member ("name":compact-value, sorted by name); any other value makes it disabled without
// options. A fragment that the converter cannot hold without loss is kept in its ASCII
// form (\u escapes) instead. The weight is `weights`' member of the same name, else 0.
// Throws JsonTypeError when "rules" is not an object or a weight is not a number.
std::vector<TextLintRule> rulesFromJson(const JsonValue &rulesConfig, const JsonValue &weights,
                                        const RecordTextConverter &toRecordText);

} // namespace quill
