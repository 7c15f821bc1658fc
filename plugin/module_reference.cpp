// The module reference of code that runs on the host's threads.
#include "plugin/module_reference.h"

#include <atomic>

namespace quill {

namespace {

std::atomic<bool> plugInEnded{false};

} // namespace

ModuleReference::ModuleReference() {
    if (!GetModuleHandleExW(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS,
                            reinterpret_cast<LPCWSTR>(&notePlugInEnded), &module_))
        module_ = nullptr;
}

ModuleReference::~ModuleReference() {
    if (module_ == nullptr)
        return;
    if (plugInEnded.load()) {
        const auto release =
            reinterpret_cast<LPTHREAD_START_ROUTINE>(reinterpret_cast<void *>(&FreeLibrary));
        // Without a thread the module stays loaded: better than running into an unload.
        if (const HANDLE thread = CreateThread(nullptr, 0, release, module_, 0, nullptr))
            CloseHandle(thread);
        return;
    }
    FreeLibrary(module_);
}

void notePlugInStarted() {
    plugInEnded = false;
}

void notePlugInEnded() {
    plugInEnded = true;
}

} // namespace quill
