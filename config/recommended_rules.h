// The rules a new install runs with when it brings its own textlint: chosen by measuring
// them over ordinary business mails and common mistakes (bench/recommended_rules/), so that
// they find what a writer acts on and stay quiet on a well-written mail.
#pragma once

#include "config/text_lint_rule.h"

#include <vector>

namespace quill {

// The recommended rows, in list order: each on, weight 1, options as the settings hold
// them (ANSI code page fragments of the option object).
std::vector<TextLintRule> recommendedRules();

} // namespace quill
