// The settings file's path from the module's path.
#include "plugin/ini_path.h"

namespace quill {

std::string iniPathOfModulePath(const std::string &modulePath) {
    // A dot byte is never the second byte of a double-byte character in the code pages
    // the host runs with, so a byte search finds the right one.
    std::string path = modulePath.substr(0, modulePath.find('\0'));
    const std::size_t dot = path.rfind('.');
    if (dot != std::string::npos)
        path.erase(dot);
    path += ".ini";
    if (path.size() + 1 > INI_PATH_CAPACITY)
        return std::string();
    return path;
}

} // namespace quill
