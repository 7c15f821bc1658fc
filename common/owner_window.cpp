// Finding the host's window on the thread that shows a message box.
#include "common/owner_window.h"

namespace quill {

namespace {

BOOL CALLBACK takeFirstMainWindow(HWND window, LPARAM found) {
    if (!IsWindowVisible(window) || GetWindow(window, GW_OWNER) != nullptr)
        return TRUE;
    *reinterpret_cast<HWND *>(found) = window;
    return FALSE;
}

} // namespace

HWND hostOwnerWindow() {
    if (const HWND active = GetActiveWindow())
        return active;
    HWND found = nullptr;
    EnumThreadWindows(GetCurrentThreadId(), takeFirstMainWindow, reinterpret_cast<LPARAM>(&found));
    return found;
}

} // namespace quill
