// Holds Wine's desktop for a whole test run. The desktop process (explorer.exe) is started by
// the first program that asks for the desktop window, inherits that program's standard
// handles and lives while any program uses the desktop; with test programs running side by
// side, CTest would wait for the first one until the last one ends. script/test starts this
// program first, with its output going nowhere, and ends it with the Wine server.
#include <windows.h>

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
    GetDesktopWindow();
    Sleep(INFINITE);
    return 0;
}
