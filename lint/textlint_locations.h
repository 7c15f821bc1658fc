// What the file system says about textlint's packages: which of the configuration are not
// installed beside the command, and where npm installs them.
#pragma once

#include "config/text_lint_rule.h"
#include "lint/lint_failure.h"

#include <string>
#include <vector>

namespace quill {

// The rules of `rules` that take part in a check (checked or with options) and the HTML
// plug-in (when `html`) whose packages are in none of the node_modules folders beside the
// command and above it, with their npm packages. Names are in the ANSI code page. The
// plug-in's own rules and names that map to no package of npm's registry are never listed.
std::vector<MissingPackage> findMissingPackages(const std::string &commandPath,
                                                const std::vector<TextLintRule> &rules, bool html);

// The folder to run "npm install" in for textlint at `commandPath`: the nearest folder
// whose node_modules holds textlint; empty when that is npm's global folder or none is
// found ("npm install -g").
std::string installFolderOf(const std::string &commandPath);

} // namespace quill
