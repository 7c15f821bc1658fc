// Looks for textlint and its packages in the file system.
#include "lint/textlint_locations.h"

#include "common/ansi_encoding.h"
#include "config/plugin_rules.h"
#include "lint/textlint_command.h"
#include "lint/textlint_packages.h"

#include <windows.h>

namespace quill {

namespace {

bool isFolder(const std::string &path) {
    DWORD attributes = GetFileAttributesA(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
}

bool installedBeside(const std::vector<std::string> &folders, const std::string &package) {
    for (const std::string &folder : folders)
        if (isFolder(packageFolder(folder, package)))
            return true;
    return false;
}

} // namespace

std::vector<MissingPackage> findMissingPackages(const std::string &commandPath,
                                                const std::vector<TextLintRule> &rules, bool html) {
    const std::vector<std::string> folders = foldersAbove(commandPath);
    std::vector<MissingPackage> missing;
    for (const TextLintRule &rule : rules) {
        if (!rule.enabled)
            continue;
        // The plug-in's own checks are no packages, and a name that is no registry package
        // of npm's cannot be advised: textlint's own error output tells about those.
        if (isPluginRuleName(rule.name))
            continue;
        std::string package = rulePackageName(rule.name);
        if (!isRegistryPackageName(package))
            continue;
        // textlint also takes a package's own name: either folder will do.
        if (installedBeside(folders, package) || installedBeside(folders, rule.name))
            continue;
        missing.push_back({wideFromAnsi(rule.name), wideFromAnsi(package)});
    }
    if (html && !installedBeside(folders, HTML_PLUGIN_PACKAGE))
        missing.push_back({L"html", wideFromAnsi(HTML_PLUGIN_PACKAGE)});
    return missing;
}

std::string installFolderOf(const std::string &commandPath) {
    for (const std::string &folder : foldersAbove(commandPath))
        if (isFolder(packageFolder(folder, "textlint")))
            return isGlobalNpmFolder(folder) ? std::string() : folder;
    return std::string();
}

} // namespace quill
