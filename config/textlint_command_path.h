// Where the settings' textlint command is: the path as typed without its quotes, and the
// places npm puts textlint.cmd. Platform-free: the file system is asked in
// config/textlint_lookup.h.
#pragma once

#include <string>
#include <vector>

namespace quill {

// The command path as typed in the settings, without one pair of enclosing double quotes
// that users add to paths with blanks.
std::string unquotedCommandPath(const std::string &commandPath);

// `folder` + "\" + `name`, without a second separator when `folder` ends in one.
std::string joinedPath(const std::string &folder, const std::string &name);

// Where npm puts textlint.cmd, in the order they are tried: "<appData>\npm\textlint.cmd"
// (when `appData` is not empty), then "textlint.cmd" in each folder of `pathVariable`
// (separated by ";", quotes and surrounding blanks removed, empty entries skipped).
std::vector<std::string> textLintCommandCandidates(const std::string &appData,
                                                   const std::string &pathVariable);

} // namespace quill
