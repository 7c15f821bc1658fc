// The rule property dialog: adds a row to, or edits the first selected row of, the rule
// list of the settings dialog that owns it.
#pragma once

#include <windows.h>

namespace quill {

// Opens the dialog modally over `settingsDialog`; returns when it is closed.
void openRuleDialog(HWND settingsDialog);

INT_PTR CALLBACK ruleDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);

} // namespace quill
