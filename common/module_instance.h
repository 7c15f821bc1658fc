// The module's own instance handle: resources, dialogs and the message hook use it, never
// NULL (which would mean the host's executable).
#pragma once

#include <windows.h>

namespace quill {

// The handle the system passed at attach. Before that (in the test programs, which link
// the resources into their own executable) it is the executable's handle.
HINSTANCE moduleInstance();
void setModuleInstance(HINSTANCE instance);

} // namespace quill
