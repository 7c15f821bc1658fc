// The host's window that owns the plug-in's message boxes: a box without owner can fall
// behind the host's windows and leaves them open to input while it waits for the user.
#pragma once

#include <windows.h>

namespace quill {

// The active window of the calling thread; when it has none (the host is in the
// background), its first visible top-level window without an owner. Null on a thread
// without windows, such as a worker's.
HWND hostOwnerWindow();

} // namespace quill
