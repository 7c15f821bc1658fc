// The plug-in's own rules together: their findings at textlint's lines and columns, each
// with its certain fix in textlint's form, and the whole-text fix. Platform-free.
#pragma once

#include "config/text_lint_settings.h"
#include "checks/own_rule.h"

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace quill {

// A replacement as textlint gives one: [start, end) in UTF-16 code units of the checked
// text, and the text (UTF-8) that takes its place.
struct TextFix {
    std::size_t start = 0;
    std::size_t end = 0;
    std::string text;
};

struct OwnRuleFinding {
    int line = 0;   // from 1
    int column = 0; // from 1, in UTF-16 code units as textlint counts them
    std::string message;
    const char *ruleName = nullptr;
    std::optional<TextFix> fix; // only when the replacement is certain
};

// Every registered rule.
const std::vector<OwnRule> &ownRules();

// Whether any rule runs under `settings`.
bool anyOwnRuleOn(const TextLintSettings &settings);

// The findings of the rules that are on, in line and column order (a rule registered
// earlier first at the same place). Bytes that are not UTF-8 count as one unit each.
std::vector<OwnRuleFinding> checkOwnRules(std::string_view utf8Text, const OwnCheckContext &context,
                                          const TextLintSettings &settings);

// `utf8Text` with `fixes` applied, as textlint applies its own: in order of their start; a
// fix that overlaps one applied before it, or that does not lie inside the text, is left
// out. Ranges count UTF-16 code units, a byte that is not UTF-8 as one.
std::string applyTextFixes(std::string_view utf8Text, std::vector<TextFix> fixes);

// `utf8Text` with the certain fixes of the rules that are on applied; the rules named in
// `rulesOff` (their rows switched off) fix nothing.
std::string fixOwnRules(std::string_view utf8Text, const OwnCheckContext &context,
                        const TextLintSettings &settings,
                        const std::vector<std::string> &rulesOff = {});

} // namespace quill
