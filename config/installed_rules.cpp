// Lists the rule packages in the node_modules folders around a textlint command.
#include "config/installed_rules.h"

#include "common/ansi_encoding.h"
#include "common/handles.h"
#include "config/rule_package_names.h"
#include "config/textlint_command_path.h"
#include "process/whole_file.h"

#include <windows.h>
#include <shlwapi.h>

#include <algorithm>
#include <map>

namespace quill {

namespace {

// A package.json larger than this is not read for its description.
constexpr DWORD PACKAGE_JSON_LIMIT = 256 * 1024;

// The names of the folders inside `folder` (not "." and "..").
std::vector<std::string> subfolders(const std::string &folder) {
    std::vector<std::string> names;
    WIN32_FIND_DATAA found{};
    UniqueFind search(FindFirstFileA(joinedPath(folder, "*").c_str(), &found));
    if (!search)
        return names;
    do {
        const std::string name = found.cFileName;
        if ((found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0 && name != "." && name != "..")
            names.push_back(name);
    } while (FindNextFileA(search.get(), &found));
    return names;
}

std::wstring descriptionOf(const std::string &packageFolder) {
    std::string bytes;
    ULONGLONG size = 0;
    if (!readFilePart(joinedPath(packageFolder, "package.json"), 0, PACKAGE_JSON_LIMIT, bytes,
                      size) ||
        size > PACKAGE_JSON_LIMIT)
        return std::wstring();
    return wideFromUtf8(packageDescription(bytes));
}

void addRulesOf(const std::string &modules, std::map<std::string, std::wstring> &rules) {
    const auto add = [&rules](const std::string &name, const std::string &packageFolder) {
        if (!name.empty() && rules.find(name) == rules.end())
            rules.emplace(name, descriptionOf(packageFolder));
    };
    for (const std::string &folder : subfolders(modules)) {
        const std::string path = joinedPath(modules, folder);
        if (folder.front() != '@') {
            add(ruleNameOfPackage("", folder), path);
            continue;
        }
        for (const std::string &scoped : subfolders(path))
            add(ruleNameOfPackage(folder, scoped), joinedPath(path, scoped));
    }
}

} // namespace

std::vector<InstalledRule> installedRules(const std::string &commandPath) {
    char folder[MAX_PATH] = {};
    const std::string path = unquotedCommandPath(commandPath);
    if (path.empty() || path.size() >= std::size(folder))
        return {};
    lstrcpynA(folder, path.c_str(), static_cast<int>(std::size(folder)));
    std::map<std::string, std::wstring> rules;
    // From the command's folder upward; the shell's calls step over double-byte characters.
    while (PathRemoveFileSpecA(folder) && folder[0] != '\0') {
        const std::string modules = joinedPath(folder, "node_modules");
        if (PathIsDirectoryA(modules.c_str()))
            addRulesOf(modules, rules);
        if (PathIsRootA(folder))
            break;
    }
    std::vector<InstalledRule> sorted;
    for (auto &[name, description] : rules)
        sorted.push_back(InstalledRule{name, std::move(description)});
    return sorted;
}

} // namespace quill
