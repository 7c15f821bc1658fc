// What the file system says about textlint: whether a command path names a file, where npm
// put textlint.cmd, and which packages of the configuration are not installed beside it.
#pragma once

#include "config/text_lint_rule.h"
#include "lint/lint_failure.h"

#include <string>
#include <vector>

namespace quill {

// True when `commandPath` (one pair of enclosing quotes ignored) names an existing file.
bool commandFileExists(const std::string &commandPath);

// The first existing "%APPDATA%\npm\textlint.cmd" or "textlint.cmd" along PATH; empty
// when there is none.
std::string findTextLintCommand();

// The rules of `rules` that take part in a check (checked or with options) and the HTML
// plug-in (when `html`) whose packages are in none of the node_modules folders beside the
// command and above it, with their npm packages. Names are in the ANSI code page.
std::vector<MissingPackage> findMissingPackages(const std::string &commandPath,
                                                const std::vector<TextLintRule> &rules, bool html);

// The folder to run "npm install" in for textlint at `commandPath`: the nearest folder
// whose node_modules holds textlint; empty when that is npm's global folder or none is
// found ("npm install -g").
std::string installFolderOf(const std::string &commandPath);

} // namespace quill
