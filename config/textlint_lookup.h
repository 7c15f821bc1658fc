// Where the textlint command is on this machine: whether the configured path names a file,
// and, when it does not, the textlint beside the plug-in or where npm put textlint.cmd.
#pragma once

#include <string>

namespace quill {

// True when `commandPath` (one pair of enclosing quotes ignored) names an existing file.
bool commandFileExists(const std::string &commandPath);

// The node.exe of the textlint beside the plug-in's DLL ("Quillcheck-textlint\node.exe"),
// when it is there with textlint's script; otherwise empty.
std::string bundledTextLintCommand();

// The bundled textlint's node.exe, else the first existing "%APPDATA%\npm\textlint.cmd" or
// "textlint.cmd" along PATH; empty when there is none.
std::string findTextLintCommand();

} // namespace quill
