// The module's own instance handle: resources, dialogs and the message hook use it, never
// NULL (which would mean the host's executable).
#pragma once

#include <windows.h>

#include <string>

namespace quill {

// The handle the system passed at attach. Before that (in the test programs, which link
// the resources into their own executable) it is the executable's handle.
HINSTANCE moduleInstance();
void setModuleInstance(HINSTANCE instance);

// The folder of the module's file, without a trailing backslash; empty when its path does
// not fit MAX_PATH.
std::string moduleFolder();

} // namespace quill
