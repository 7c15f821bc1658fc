// Whether a release with its own textlint was unpacked beside the module: the folder
// Quillcheck-textlint next to the DLL, holding textlint's script.
#pragma once

#include <string>

namespace quill {

// True when `moduleFolder`\Quillcheck-textlint\node_modules\textlint\bin\textlint.js is a
// file. `moduleFolder` is the DLL's folder, with or without a trailing separator.
bool textLintBundlePresent(const std::string &moduleFolder);

} // namespace quill
