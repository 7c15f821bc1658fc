// The settings dialog (modeless, one new window per opening), opened by the host's setup
// event.
#pragma once

#include <windows.h>

#include <functional>
#include <string>

namespace quill {

struct HiddenFinding;

INT_PTR CALLBACK settingsDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);

// A choice made in the result window and already in the settings, shown in every settings
// window still open, so that its OK keeps the choice instead of undoing it. On the host's
// thread, which owns the windows.
void showHiddenFindingInSettingsWindows(const HiddenFinding &finding);
void showRuleOffInSettingsWindows(const std::string &ruleName);

// Destroys every settings window still open, discarding unconfirmed edits; the plug-in's end
// calls it so that no window outlives the module that runs it.
void closeSettingsWindows();

// Proves the settings just applied by OK: true when textlint ran with them; otherwise
// `why` may tell what happened and what to do, in the words of a failed check. The plug-in
// passes the lint engine's check of a test sentence.
using SettingsTestRun = std::function<bool(std::wstring &why)>;

// The host asks for the settings: opens a new settings window and returns it at once (none
// when it could not be created), without waiting for it. `hostWindow` is the host's window.
// OK proves the entries with `testRun`. Never throws.
HWND openSettingsDialog(HWND hostWindow, SettingsTestRun testRun);

} // namespace quill
