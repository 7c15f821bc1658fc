// Loading the plug-in module as the host does and calling its exported events.
#include "tools/standin_host/standin_host.h"

#include <stdexcept>

namespace quill::standin {

PluginHost::~PluginHost() {
    unload();
}

bool PluginHost::load(const std::string &dllPath) {
    unload();
    module_ = LoadLibraryA(dllPath.c_str());
    lastError_ = module_ == nullptr ? GetLastError() : 0;
    return module_ != nullptr;
}

bool PluginHost::unload() {
    if (module_ == nullptr)
        return true;
    bool freed = FreeLibrary(module_) != FALSE;
    module_ = nullptr;
    return freed;
}

bool PluginHost::hasEvent(const char *name) const {
    return module_ != nullptr && GetProcAddress(module_, name) != nullptr;
}

int PluginHost::callEvent(const char *name, std::initializer_list<DWORD_PTR> args) {
    FARPROC proc = module_ != nullptr ? GetProcAddress(module_, name) : nullptr;
    if (proc == nullptr)
        throw std::runtime_error(std::string("the plug-in does not export ") + name);
    // Every event argument is 32 bits wide; the events clean up their own arguments.
    auto address = reinterpret_cast<void *>(proc);
    const DWORD_PTR *a = args.begin();
    switch (args.size()) {
    case 0:
        return reinterpret_cast<int(WINAPI *)()>(address)();
    case 1:
        return reinterpret_cast<int(WINAPI *)(DWORD_PTR)>(address)(a[0]);
    case 2:
        return reinterpret_cast<int(WINAPI *)(DWORD_PTR, DWORD_PTR)>(address)(a[0], a[1]);
    case 3:
        return reinterpret_cast<int(WINAPI *)(DWORD_PTR, DWORD_PTR, DWORD_PTR)>(address)(a[0], a[1],
                                                                                         a[2]);
    case 4:
        return reinterpret_cast<int(WINAPI *)(DWORD_PTR, DWORD_PTR, DWORD_PTR, DWORD_PTR)>(address)(
            a[0], a[1], a[2], a[3]);
    default:
        throw std::runtime_error("an event takes at most four arguments");
    }
}

int PluginHost::onMenuInit(HWND window, HMENU menu, int menuType) {
    return callEvent("BKC_OnMenuInit",
                     {reinterpret_cast<DWORD_PTR>(window), reinterpret_cast<DWORD_PTR>(menu),
                      static_cast<DWORD_PTR>(menuType)});
}

int PluginHost::onOpenCompose(HWND window, int mode) {
    return callEvent("BKC_OnOpenCompose",
                     {reinterpret_cast<DWORD_PTR>(window), static_cast<DWORD_PTR>(mode)});
}

int PluginHost::onOpenMail(const char *mailId) {
    return callEvent("BKC_OnOpenMail", {reinterpret_cast<DWORD_PTR>(mailId)});
}

int PluginHost::onSend(const char *source) {
    return callEvent("BKC_OnSend", {reinterpret_cast<DWORD_PTR>(source)});
}

int PluginHost::onPlugInSetup(HWND window) {
    return callEvent("BKC_OnPlugInSetup", {reinterpret_cast<DWORD_PTR>(window)});
}

int PluginHost::onPlugInInfo(void *info) {
    return callEvent("BKC_OnPlugInInfo", {reinterpret_cast<DWORD_PTR>(info)});
}

} // namespace quill::standin
