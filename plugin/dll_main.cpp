// The module's entry point.
#include "common/module_instance.h"

#include <windows.h>

BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID) {
    quill::setModuleInstance(instance);
    (void)reason;
    return TRUE;
}
