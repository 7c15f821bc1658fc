#include "common/module_instance.h"

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

} // namespace quill
