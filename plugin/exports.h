// The host's start, exit and information events, and the events the plug-in ignores.
#pragma once

#include <windows.h>

extern "C" {
__declspec(nothrow) int WINAPI BKC_OnStart();
__declspec(nothrow) int WINAPI BKC_OnExit();
__declspec(nothrow) int WINAPI BKC_OnPlugInInfo(LPVOID info);

// Ignored events, one body per argument count; the .def file exports the events that
// share a body under both names.
__declspec(nothrow) int WINAPI BKC_OnOpenFolder(LPARAM);
__declspec(nothrow) int WINAPI BKC_OnRetrieve(LPARAM, LPARAM);
__declspec(nothrow) int WINAPI BKC_OnKeyDispatch(LPARAM, LPARAM, LPARAM);
__declspec(nothrow) int WINAPI BKC_OnDragDrop(LPARAM, LPARAM, LPARAM, LPARAM);
}
