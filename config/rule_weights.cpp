// Matching findings to the configured rule that weighs them.
#include "config/rule_weights.h"

namespace quill {

namespace {

// "X" of a preset's configured name "preset-X" or "textlint-rule-preset-X", else empty.
std::string_view presetPrefix(std::string_view name) {
    for (std::string_view lead :
         {std::string_view("textlint-rule-preset-"), std::string_view("preset-")})
        if (name.size() > lead.size() && name.substr(0, lead.size()) == lead)
            return name.substr(lead.size());
    return {};
}

} // namespace

const TextLintRule *weighingRule(const std::vector<TextLintRule> &rules,
                                 std::string_view ruleName) {
    for (const TextLintRule &rule : rules)
        if (rule.name == ruleName)
            return &rule;
    // textlint names a preset's findings "X/<rule>" for the preset "preset-X".
    for (const TextLintRule &rule : rules) {
        const std::string_view prefix = presetPrefix(rule.name);
        if (!prefix.empty() && ruleName.size() > prefix.size() + 1 &&
            ruleName.substr(0, prefix.size()) == prefix && ruleName[prefix.size()] == '/')
            return &rule;
    }
    return nullptr;
}

} // namespace quill
