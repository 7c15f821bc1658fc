// One finding of textlint, as the result window lists it.
#pragma once

#include <string>

namespace quill {

struct LintResult {
    int line = 0;
    int index = 0;
    std::string message;  // system ANSI code page
    std::string ruleName; // system ANSI code page
    bool autoFix = false;
};

} // namespace quill
