// Where the settings' textlint command is: the path as typed without its quotes, the
// textlint that comes with the plug-in, and the places npm puts textlint.cmd. Platform-free: the
// file system is asked in config/textlint_lookup.h.
#pragma once

#include <string>
#include <vector>

namespace quill {

// The command path as typed in the settings, without one pair of enclosing double quotes
// that users add to paths with blanks.
std::string unquotedCommandPath(const std::string &commandPath);

// `folder` + "\" + `name`, without a second separator when `folder` ends in one.
std::string joinedPath(const std::string &folder, const std::string &name);

// The folder beside the plug-in's DLL that holds the textlint it comes with: node.exe,
// node_modules with textlint and its rules, and their notice.
constexpr char BUNDLE_FOLDER_NAME[] = "Quillcheck-textlint";

// "<moduleFolder>\Quillcheck-textlint\node.exe": the command of the bundled textlint.
std::string bundledNodePath(const std::string &moduleFolder);

// True when `commandPath` (one pair of enclosing quotes ignored) names node.exe (any letter
// case): textlint is then node.exe running textlint's script, started without the command
// interpreter.
bool isNodeCommand(const std::string &commandPath);

// textlint's script for the node.exe at `nodePath`:
// "<folder of node.exe>\node_modules\textlint\bin\textlint.js".
std::string textLintScriptOf(const std::string &nodePath);

// Where npm puts textlint.cmd, in the order they are tried: "<appData>\npm\textlint.cmd"
// (when `appData` is not empty), then "textlint.cmd" in each folder of `pathVariable`
// (separated by ";", quotes and surrounding blanks removed, empty entries skipped).
std::vector<std::string> textLintCommandCandidates(const std::string &appData,
                                                   const std::string &pathVariable);

} // namespace quill
