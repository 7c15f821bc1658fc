// Which configured rule weighs a finding: its own rule, or the preset that reported it.
#pragma once

#include "config/text_lint_rule.h"

#include <string_view>
#include <vector>

namespace quill {

// The rule whose weight counts for a finding of `ruleName`: the first rule of that exact
// name (same bytes, letter case significant); failing that, for a finding reported by a
// preset as "X/<rule>", the first configured preset "preset-X" or
// "textlint-rule-preset-X"; otherwise none.
const TextLintRule *weighingRule(const std::vector<TextLintRule> &rules, std::string_view ruleName);

} // namespace quill
