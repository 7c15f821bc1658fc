#include "common/module_instance.h"

#include <shlwapi.h>

#include <iterator>

namespace quill {

namespace {
HINSTANCE g_instance = nullptr;
}

HINSTANCE moduleInstance() {
    return g_instance != nullptr ? g_instance : GetModuleHandleA(nullptr);
}

void setModuleInstance(HINSTANCE instance) {
    g_instance = instance;
}

std::string moduleFolder() {
    char path[MAX_PATH];
    const DWORD length =
        GetModuleFileNameA(moduleInstance(), path, static_cast<DWORD>(std::size(path)));
    // A cut path would name another folder. The shell's call steps over double-byte
    // characters whose second byte is a backslash.
    if (length == 0 || length >= std::size(path) || !PathRemoveFileSpecA(path))
        return std::string();
    return path;
}

} // namespace quill
