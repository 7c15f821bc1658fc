// Where textlint and the packages it loads are looked for: the npm package of a rule name,
// the node_modules folders textlint resolves from, and the places npm puts textlint.cmd.
// Platform-free: the file system is asked by the callers.
#pragma once

#include <string>
#include <vector>

namespace quill {

// The npm package that provides the rule `ruleName` of the configuration:
// "max-ten" -> "textlint-rule-max-ten", "preset-ja-spacing" -> "textlint-rule-preset-ja-spacing",
// "@scope/name" -> "@scope/textlint-rule-name", "@scope" -> "@scope/textlint-rule"; a name
// that already is a package name ("textlint-rule-x", "@scope/textlint-rule-x") as it is.
std::string rulePackageName(const std::string &ruleName);

// Whether npm reads `package` as a package of its registry: "name" or "@scope/name" of the
// characters a package name may hold. Anything else it may take from elsewhere ("owner/name"
// from GitHub, "x:y" as a protocol, a path): such a text is never given as npm advice.
bool isRegistryPackageName(const std::string &package);

// The package of the HTML switch.
inline constexpr char HTML_PLUGIN_PACKAGE[] = "textlint-plugin-html";

// The folders that hold the command `commandPath` (one pair of enclosing quotes ignored)
// and each of their parents, nearest first: where textlint's node_modules may be.
std::vector<std::string> foldersAbove(const std::string &commandPath);

// `folder` + "\node_modules\" + `package` (a scoped package keeps its "/" as "\").
std::string packageFolder(const std::string &folder, const std::string &package);

// True when the last part of `folder` is "npm" (any case): npm's global folder, where
// packages are installed with "npm install -g".
bool isGlobalNpmFolder(const std::string &folder);

} // namespace quill
