// The rule names of the plug-in's own checks. Findings carry them like textlint's rule
// names, and the rule list may give them weights, but textlint never hears of them.
#pragma once

#include <string_view>

namespace quill {

inline constexpr char MACHINE_DEPENDENT_RULE_NAME[] = "quillcheck/machine-dependent-character";
inline constexpr char HALF_WIDTH_KANA_RULE_NAME[] = "quillcheck/half-width-kana";

// Whether `name` names one of the plug-in's own checks rather than a textlint rule.
inline bool isPluginRuleName(std::string_view name) {
    constexpr std::string_view PREFIX = "quillcheck/";
    return name.size() > PREFIX.size() && name.substr(0, PREFIX.size()) == PREFIX;
}

} // namespace quill
