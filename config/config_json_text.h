// The JSON texts made from the rules: the weight list and the rules object kept in the INI
// file, and the textlint configuration given to each run.
#pragma once

#include "config/text_lint_rule.h"

#include <string>
#include <string_view>
#include <vector>

namespace quill {

// Whether a byte opens a double-byte character in the text's code page; a byte after it
// is a trail byte and is copied as it is.
using LeadByteTest = bool (*)(unsigned char);

// The rule name as the inside of a JSON string: '"', '\' and control characters are
// escaped so that any name reads back as itself; all else is copied byte for byte.
std::string escapeJsonName(std::string_view name, LeadByteTest isLeadByte);

// {"name":weight,...} in list order, no white space.
std::string buildWeightListText(const std::vector<TextLintRule> &rules, LeadByteTest isLeadByte);

// The textlint configuration: "{", the HTML plug-in member when `withHtmlPlugin`, then
// "rules" with one member per rule (its option object when it has fragments, else true or
// false), "}". Without the HTML member this is also the INI's rules text.
std::string buildTextLintConfigText(const std::vector<TextLintRule> &rules, bool withHtmlPlugin,
                                    LeadByteTest isLeadByte);

} // namespace quill
