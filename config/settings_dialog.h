// The settings dialog (modeless, one new window per opening) and the host's setup event
// that opens it.
#pragma once

#include <windows.h>

namespace quill {

INT_PTR CALLBACK settingsDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);

// Destroys every settings window still open, discarding unconfirmed edits; the plug-in's end
// calls it so that no window outlives the module that runs it.
void closeSettingsWindows();

} // namespace quill

// The host asks for the settings; returns 1 at once, without waiting for the dialog.
extern "C" __declspec(nothrow) int WINAPI BKC_OnPlugInSetup(HWND hWnd);
