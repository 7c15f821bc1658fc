// The shape of one of the plug-in's own rules: a name, a check over the writer's own text,
// the setting that turns it on, and per finding, when one replacement is certain, its fix.
// A rule lives in a file of its own and is registered in own_rules.cpp. Platform-free.
#pragma once

#include "config/text_lint_settings.h"

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace quill {

// A day of the Gregorian calendar.
struct CalendarDay {
    int year = 0;
    int month = 0; // 1..12
    int day = 0;   // 1..31
};

// What a check knows besides the text: the code page the mail is written in (0 when no
// host gave one) and the day the check runs (at send, the day of sending).
struct OwnCheckContext {
    int codePage = 0;
    CalendarDay today;
};

// One finding of a rule's check, in bytes of the checked text: it stands at `begin`, and
// when `replacement` is given, [begin, end) is certain to be replaced by it.
struct OwnRuleHit {
    std::size_t begin = 0;
    std::size_t end = 0;
    std::string message; // UTF-8, led by the severity word as textlint's are
    std::optional<std::string> replacement;
};

// `text` is the writer's own text as textlint gets it: UTF-8 (possibly ill-formed), LF line
// ends, quoted lines and the signature emptied. Hits may come in any order. A check must
// take time linear in the text's length, whatever the text holds.
using OwnRuleCheck = void (*)(std::string_view text, const OwnCheckContext &context,
                              std::vector<OwnRuleHit> &hits);

struct OwnRule {
    const char *name; // "quillcheck/...": the findings' rule name, weighed by its rule row
    OwnRuleCheck check;
    bool TextLintSettings::*setting; // the rule runs while this setting is on
};

} // namespace quill
