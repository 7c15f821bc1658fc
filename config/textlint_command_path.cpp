// The typed command path and the places npm puts textlint.cmd.
#include "config/textlint_command_path.h"

#include "common/encoding.h"

namespace quill {

namespace {

std::string trimmed(const std::string &text) {
    std::size_t first = text.find_first_not_of(" \t\"");
    if (first == std::string::npos)
        return std::string();
    std::size_t last = text.find_last_not_of(" \t\"");
    return text.substr(first, last - first + 1);
}

} // namespace

std::string unquotedCommandPath(const std::string &commandPath) {
    if (commandPath.size() >= 2 && commandPath.front() == '"' && commandPath.back() == '"')
        return commandPath.substr(1, commandPath.size() - 2);
    return commandPath;
}

std::string joinedPath(const std::string &folder, const std::string &name) {
    if (!folder.empty() && (folder.back() == '\\' || folder.back() == '/'))
        return folder + name;
    return folder + "\\" + name;
}

std::string bundledNodePath(const std::string &moduleFolder) {
    return joinedPath(joinedPath(moduleFolder, BUNDLE_FOLDER_NAME), "node.exe");
}

namespace {

// The part after the last separator.
std::string fileNameOf(const std::string &path) {
    const std::size_t slash = path.find_last_of("\\/");
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

// The part before the last separator; empty for a bare name.
std::string folderOf(const std::string &path) {
    const std::size_t slash = path.find_last_of("\\/");
    return slash == std::string::npos ? std::string() : path.substr(0, slash);
}

} // namespace

bool isNodeCommand(const std::string &commandPath) {
    return equalsIgnoringAsciiCase(fileNameOf(unquotedCommandPath(commandPath)), "node.exe");
}

std::string textLintScriptOf(const std::string &nodePath) {
    const std::string folder = folderOf(unquotedCommandPath(nodePath));
    const std::string modules =
        folder.empty() ? "node_modules" : joinedPath(folder, "node_modules");
    return joinedPath(joinedPath(joinedPath(modules, "textlint"), "bin"), "textlint.js");
}

std::vector<std::string> textLintCommandCandidates(const std::string &appData,
                                                   const std::string &pathVariable) {
    std::vector<std::string> candidates;
    if (!trimmed(appData).empty())
        candidates.push_back(joinedPath(joinedPath(trimmed(appData), "npm"), "textlint.cmd"));
    std::size_t start = 0;
    while (start <= pathVariable.size()) {
        std::size_t end = pathVariable.find(';', start);
        if (end == std::string::npos)
            end = pathVariable.size();
        std::string folder = trimmed(pathVariable.substr(start, end - start));
        if (!folder.empty())
            candidates.push_back(joinedPath(folder, "textlint.cmd"));
        start = end + 1;
    }
    return candidates;
}

} // namespace quill
