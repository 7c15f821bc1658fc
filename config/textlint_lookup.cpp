// Asks the file system where the textlint command is.
#include "config/textlint_lookup.h"

#include "common/module_instance.h"
#include "config/textlint_bundle_present.h"
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

std::string bundledTextLintCommand() {
    const std::string folder = moduleFolder();
    if (folder.empty())
        return std::string();
    const std::string node = bundledNodePath(folder);
    return textLintBundlePresent(folder) && isFile(node) ? node : std::string();
}

std::string findTextLintCommand() {
    // The textlint that came with the plug-in comes first: it is the one its rules were
    // chosen and proved with.
    if (std::string bundled = bundledTextLintCommand(); !bundled.empty())
        return bundled;
    for (const std::string &candidate :
         textLintCommandCandidates(environmentValue("APPDATA"), environmentValue("PATH")))
        if (isFile(candidate))
            return candidate;
    return std::string();
}

} // namespace quill
