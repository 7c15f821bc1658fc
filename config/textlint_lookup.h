// Where the textlint command is on this machine: whether the configured path names a file,
// and where npm put textlint.cmd when it does not.
#pragma once

#include <string>

namespace quill {

// True when `commandPath` (one pair of enclosing quotes ignored) names an existing file.
bool commandFileExists(const std::string &commandPath);

// The first existing "%APPDATA%\npm\textlint.cmd" or "textlint.cmd" along PATH; empty
// when there is none.
std::string findTextLintCommand();

} // namespace quill
