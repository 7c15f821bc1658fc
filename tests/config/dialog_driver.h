// Drives the settings dialogs with messages: finds windows of this process by caption,
// reads list rows, and runs a blocking call while a second thread works the modal window.
#pragma once

#include "config/dialog_data.h"

#include <windows.h>

#include <functional>
#include <ostream>
#include <string>
#include <vector>

namespace quill {

// Rows compare and print whole in assertions.
inline bool operator==(const RuleRow &a, const RuleRow &b) {
    return a.name == b.name && a.weight == b.weight && a.options == b.options &&
           a.checked == b.checked;
}

inline std::ostream &operator<<(std::ostream &out, const RuleRow &row) {
    return out << "{" << row.name << " | " << row.weight << " | " << row.options << " | "
               << (row.checked ? "ticked" : "unticked") << "}";
}

} // namespace quill

namespace quill::test {

// A visible dialog of this process with this caption, waited for up to `timeoutMs`.
HWND waitForDialog(const std::wstring &caption, DWORD timeoutMs = 10000);

// Runs `blocking` on this thread while `driver` runs on a second one; joins the driver.
void runWhileBlocked(const std::function<void()> &blocking, const std::function<void()> &driver);

// Dispatches this thread's pending messages for about `ms` milliseconds.
void pumpMessages(DWORD ms = 50);

// UTF-8 <-> UTF-16 for the tests' own literals.
std::wstring wide(const std::string &utf8);
std::string utf8(const std::wstring &text);

std::string windowTextUtf8(HWND window);

// The rule list of a settings dialog, read whole.
std::vector<RuleRow> rowsOf(HWND settingsDialog);
void selectRows(HWND settingsDialog, const std::vector<int> &rows);
std::vector<int> selectedRows(HWND settingsDialog);

} // namespace quill::test
