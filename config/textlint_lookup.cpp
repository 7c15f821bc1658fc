// Asks the file system where the textlint command is.
#include "config/textlint_lookup.h"

#include "config/textlint_command_path.h"

#include <windows.h>

namespace quill {

namespace {

bool isFile(const std::string &path) {
    DWORD attributes = GetFileAttributesA(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) == 0;
}

std::string environmentValue(const char *name) {
    DWORD size = GetEnvironmentVariableA(name, nullptr, 0);
    if (size == 0)
        return std::string();
    std::string value(size, '\0');
    DWORD length = GetEnvironmentVariableA(name, value.data(), size);
    if (length == 0 || length >= size)
        return std::string();
    value.resize(length);
    return value;
}

} // namespace

bool commandFileExists(const std::string &commandPath) {
    std::string path = unquotedCommandPath(commandPath);
    return !path.empty() && isFile(path);
}

std::string findTextLintCommand() {
    for (const std::string &candidate :
         textLintCommandCandidates(environmentValue("APPDATA"), environmentValue("PATH")))
        if (isFile(candidate))
            return candidate;
    return std::string();
}

} // namespace quill
