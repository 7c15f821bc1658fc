// Asks the file system whether the bundled textlint is beside the module.
#include "config/textlint_bundle_present.h"

#include "config/textlint_command_path.h"

#include <windows.h>

namespace quill {

bool textLintBundlePresent(const std::string &moduleFolder) {
    if (moduleFolder.empty())
        return false;
    const std::string script =
        joinedPath(moduleFolder, "Quillcheck-textlint\\node_modules\\textlint\\bin\\textlint.js");
    const DWORD attributes = GetFileAttributesA(script.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) == 0;
}

} // namespace quill
