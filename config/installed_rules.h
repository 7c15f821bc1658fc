// The textlint rules and presets installed beside a textlint command, for the rule dialog
// to offer.
#pragma once

#include <string>
#include <vector>

namespace quill {

struct InstalledRule {
    // As the settings name it (ANSI code page; package names are ASCII).
    std::string name;
    // Its package.json's description, UTF-16 for the dialog.
    std::wstring description;
};

// The rules and presets in the node_modules folders of the command's folder and of every
// folder above it (npm's %APPDATA%\npm\node_modules, a bundle's node_modules), sorted by
// name; a name found twice is the nearer folder's.
std::vector<InstalledRule> installedRules(const std::string &commandPath);

} // namespace quill
