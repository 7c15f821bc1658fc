// One finding of textlint, as the result window lists it.
#pragma once

#include <optional>
#include <string>

namespace quill {

// A replacement the rule offers for one finding: [start, end) in UTF-16 code units into the
// text the check saw (quoted lines and the signature emptied, LF line ends), and the text
// to put there, in UTF-8. `replaced` is what stands in that range now, for showing.
struct LintFix {
    int start = 0;
    int end = 0;
    std::string text;
    std::string replaced;
};

struct LintResult {
    int line = 0;
    int index = 0;
    std::string message;  // system ANSI code page
    std::string ruleName; // system ANSI code page
    bool autoFix = false; // the finding carries a fix
    std::optional<LintFix> fix;
};

} // namespace quill
