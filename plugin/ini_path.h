// Where the settings file lives: beside the module, named after it, with ".ini" in place of
// the extension.
#pragma once

#include <cstddef>
#include <string>

namespace quill {

// The INI path buffer's size in characters, the terminating NUL included (the platform's
// path limit).
constexpr std::size_t INI_PATH_CAPACITY = 260;

// The module path with everything from its last "." (searched in the whole path, not only
// in the file name) replaced by ".ini"; ".ini" appended when there is no dot. Empty when the
// result would not fit into INI_PATH_CAPACITY characters with its NUL: a cut path would
// name some other file.
std::string iniPathOfModulePath(const std::string &modulePath);

} // namespace quill
