// Brings up Wine's display driver on the main thread before any test starts a thread.
//
// The first user32 call of a process loads the driver once for all threads, and that load
// needs the loader lock. If a watcher thread makes the first call while the main thread loads
// the plug-in (whose imports register window classes under the loader lock and wait for the
// same one-time load), neither can go on. With a cold wineserver the driver load is slow
// enough for this to happen on the first test of a program; loading it here first avoids it.
#include <windows.h>

namespace {

const bool displayReady = [] {
    RECT desktop{};
    GetWindowRect(GetDesktopWindow(), &desktop);
    return GetSystemMetrics(SM_CXSCREEN) > 0;
}();

} // namespace
