// The npm names and folders textlint and its packages are looked for under.
#include "lint/textlint_packages.h"

#include "common/encoding.h"
#include "lint/textlint_command.h"

namespace quill {

namespace {

const char RULE_PREFIX[] = "textlint-rule-";

bool startsWith(const std::string &text, const char *prefix) {
    return text.compare(0, std::char_traits<char>::length(prefix), prefix) == 0;
}

std::string joined(const std::string &folder, const std::string &name) {
    if (!folder.empty() && (folder.back() == '\\' || folder.back() == '/'))
        return folder + name;
    return folder + "\\" + name;
}

std::string trimmed(const std::string &text) {
    std::size_t first = text.find_first_not_of(" \t\"");
    if (first == std::string::npos)
        return std::string();
    std::size_t last = text.find_last_not_of(" \t\"");
    return text.substr(first, last - first + 1);
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
    return joined(joined(folder, "node_modules"), name);
}

std::vector<std::string> textLintCommandCandidates(const std::string &appData,
                                                   const std::string &pathVariable) {
    std::vector<std::string> candidates;
    if (!trimmed(appData).empty())
        candidates.push_back(joined(joined(trimmed(appData), "npm"), "textlint.cmd"));
    std::size_t start = 0;
    while (start <= pathVariable.size()) {
        std::size_t end = pathVariable.find(';', start);
        if (end == std::string::npos)
            end = pathVariable.size();
        std::string folder = trimmed(pathVariable.substr(start, end - start));
        if (!folder.empty())
            candidates.push_back(joined(folder, "textlint.cmd"));
        start = end + 1;
    }
    return candidates;
}

bool isGlobalNpmFolder(const std::string &folder) {
    std::size_t cut = folder.find_last_of("\\/");
    std::string last = cut == std::string::npos ? folder : folder.substr(cut + 1);
    return equalsIgnoringAsciiCase(last, "npm");
}

} // namespace quill
