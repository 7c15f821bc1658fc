// The npm names and folders textlint and its packages are looked for under.
#include "lint/textlint_packages.h"

#include "common/encoding.h"
#include "config/textlint_command_path.h"

namespace quill {

namespace {

const char RULE_PREFIX[] = "textlint-rule-";

bool startsWith(const std::string &text, const char *prefix) {
    return text.compare(0, std::char_traits<char>::length(prefix), prefix) == 0;
}

} // namespace

std::string rulePackageName(const std::string &ruleName) {
    if (!ruleName.empty() && ruleName.front() == '@') {
        std::size_t slash = ruleName.find('/');
        if (slash == std::string::npos)
            return ruleName + "/textlint-rule";
        std::string rest = ruleName.substr(slash + 1);
        if (startsWith(rest, RULE_PREFIX))
            return ruleName;
        return ruleName.substr(0, slash + 1) + RULE_PREFIX + rest;
    }
    if (startsWith(ruleName, RULE_PREFIX))
        return ruleName;
    return RULE_PREFIX + ruleName;
}

bool isRegistryPackageName(const std::string &package) {
    const auto validPart = [](const std::string &part) {
        if (part.empty() || part.front() == '.' || part.front() == '_')
            return false;
        for (char c : part) {
            const bool allowed = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') ||
                                 (c >= '0' && c <= '9') || c == '-' || c == '.' || c == '_' ||
                                 c == '~';
            if (!allowed)
                return false;
        }
        return true;
    };
    // npm's limit on a package name.
    if (package.size() > 214)
        return false;
    if (package.empty() || package.front() != '@')
        return validPart(package);
    const std::size_t slash = package.find('/');
    return slash != std::string::npos && validPart(package.substr(1, slash - 1)) &&
           validPart(package.substr(slash + 1));
}

std::vector<std::string> foldersAbove(const std::string &commandPath) {
    std::string path = unquotedCommandPath(commandPath);
    std::vector<std::string> folders;
    for (;;) {
        std::size_t cut = path.find_last_of("\\/");
        if (cut == std::string::npos || cut == 0)
            break;
        path.resize(cut);
        // "\\server\share" and the drive's root end the walk.
        if (path == "\\" || path == "\\\\")
            break;
        folders.push_back(path);
    }
    return folders;
}

std::string packageFolder(const std::string &folder, const std::string &package) {
    std::string name = package;
    for (char &c : name)
        if (c == '/')
            c = '\\';
    return joinedPath(joinedPath(folder, "node_modules"), name);
}

bool isGlobalNpmFolder(const std::string &folder) {
    std::size_t cut = folder.find_last_of("\\/");
    std::string last = cut == std::string::npos ? folder : folder.substr(cut + 1);
    return equalsIgnoringAsciiCase(last, "npm");
}

} // namespace quill
