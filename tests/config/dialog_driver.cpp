// Helpers that drive the settings dialogs with messages.
#include "tests/config/dialog_driver.h"

#include "common/ansi_encoding.h"
#include "config/dialog_text.h"
#include "resources/resource_ids.h"

#include <commctrl.h>

#include <thread>

namespace quill::test {

namespace {

struct Search {
    std::wstring caption;
    HWND found = nullptr;
};

BOOL CALLBACK matchDialog(HWND window, LPARAM context) {
    Search &search = *reinterpret_cast<Search *>(context);
    DWORD process = 0;
    GetWindowThreadProcessId(window, &process);
    wchar_t className[16] = {};
    GetClassNameW(window, className, static_cast<int>(std::size(className)));
    if (process != GetCurrentProcessId() || !IsWindowVisible(window) ||
        std::wstring(className) != L"#32770")
        return TRUE;
    wchar_t caption[256] = {};
    GetWindowTextW(window, caption, static_cast<int>(std::size(caption)));
    if (search.caption != caption)
        return TRUE;
    search.found = window;
    return FALSE;
}

} // namespace

HWND waitForDialog(const std::wstring &caption, DWORD timeoutMs) {
    DWORD start = GetTickCount();
    for (;;) {
        Search search{caption};
        EnumWindows(matchDialog, reinterpret_cast<LPARAM>(&search));
        if (search.found || GetTickCount() - start > timeoutMs)
            return search.found;
        Sleep(20);
    }
}

void runWhileBlocked(const std::function<void()> &blocking, const std::function<void()> &driver) {
    std::thread thread(driver);
    blocking();
    thread.join();
}

void pumpMessages(DWORD ms) {
    DWORD start = GetTickCount();
    do {
        MSG message;
        while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&message);
            DispatchMessageW(&message);
        }
        Sleep(5);
    } while (GetTickCount() - start < ms);
}

std::wstring wide(const std::string &text) {
    return wideFromUtf8(text);
}

std::string utf8(const std::wstring &text) {
    return utf8FromWide(text);
}

std::string windowTextUtf8(HWND window) {
    wchar_t text[4096] = {};
    GetWindowTextW(window, text, static_cast<int>(std::size(text)));
    return utf8(text);
}

std::vector<RuleRow> rowsOf(HWND settingsDialog) {
    HWND list = GetDlgItem(settingsDialog, IDC_SETTINGS_RULES);
    std::vector<RuleRow> rows;
    int count = static_cast<int>(SendMessageW(list, LVM_GETITEMCOUNT, 0, 0));
    for (int i = 0; i < count; ++i) {
        RuleRow row{listCellText(list, i, 0), listCellText(list, i, 1), listCellText(list, i, 2)};
        UINT state = static_cast<UINT>(
            SendMessageW(list, LVM_GETITEMSTATE, static_cast<WPARAM>(i), LVIS_STATEIMAGEMASK));
        row.checked = (state >> 12) == 2;
        rows.push_back(row);
    }
    return rows;
}

void selectRows(HWND settingsDialog, const std::vector<int> &rows) {
    HWND list = GetDlgItem(settingsDialog, IDC_SETTINGS_RULES);
    LVITEMW none{};
    none.stateMask = LVIS_SELECTED | LVIS_FOCUSED;
    SendMessageW(list, LVM_SETITEMSTATE, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(&none));
    for (int row : rows) {
        LVITEMW item{};
        item.stateMask = LVIS_SELECTED;
        item.state = LVIS_SELECTED;
        SendMessageW(list, LVM_SETITEMSTATE, static_cast<WPARAM>(row),
                     reinterpret_cast<LPARAM>(&item));
    }
}

std::vector<int> selectedRows(HWND settingsDialog) {
    HWND list = GetDlgItem(settingsDialog, IDC_SETTINGS_RULES);
    std::vector<int> rows;
    for (int row = static_cast<int>(
             SendMessageW(list, LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_SELECTED));
         row >= 0; row = static_cast<int>(SendMessageW(list, LVM_GETNEXTITEM,
                                                       static_cast<WPARAM>(row), LVNI_SELECTED)))
        rows.push_back(row);
    return rows;
}

} // namespace quill::test
