// The settings dialog (modeless, one new window per opening), opened by the host's setup
// event.
#pragma once

#include <windows.h>

namespace quill {

INT_PTR CALLBACK settingsDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);

// Destroys every settings window still open, discarding unconfirmed edits; the plug-in's end
// calls it so that no window outlives the module that runs it.
void closeSettingsWindows();

// The host asks for the settings: opens a new settings window and returns at once, without
// waiting for it. `hostWindow` is the host's window. Never throws.
void openSettingsDialog(HWND hostWindow);

} // namespace quill
