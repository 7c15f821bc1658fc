// What a stand-in host reads of the plug-in's windows in its own process, and texts
// re-encoded between the host's code pages and UTF-8.
#include "tools/standin_host/standin_host.h"

#include "resources/resource_ids.h"

#include <commctrl.h>

#include <iterator>

namespace quill::standin {

namespace {

BOOL CALLBACK findResultWindowOf(HWND window, LPARAM found) {
    DWORD process = 0;
    GetWindowThreadProcessId(window, &process);
    if (process == GetCurrentProcessId() && GetDlgItem(window, IDC_RESULT_LIST) != nullptr &&
        GetDlgItem(window, IDC_RESULT_MAIL) != nullptr) {
        *reinterpret_cast<HWND *>(found) = window;
        return FALSE;
    }
    return TRUE;
}

std::wstring wideOf(const std::string &bytes, UINT codePage) {
    const int size =
        MultiByteToWideChar(codePage, 0, bytes.data(), static_cast<int>(bytes.size()), nullptr, 0);
    std::wstring wide(static_cast<std::size_t>(size), L'\0');
    MultiByteToWideChar(codePage, 0, bytes.data(), static_cast<int>(bytes.size()), wide.data(),
                        size);
    return wide;
}

std::string bytesOf(const std::wstring &wide, UINT codePage) {
    const int size = WideCharToMultiByte(codePage, 0, wide.data(), static_cast<int>(wide.size()),
                                         nullptr, 0, nullptr, nullptr);
    std::string bytes(static_cast<std::size_t>(size), '\0');
    WideCharToMultiByte(codePage, 0, wide.data(), static_cast<int>(wide.size()), bytes.data(), size,
                        nullptr, nullptr);
    return bytes;
}

} // namespace

HWND findResultWindow() {
    HWND found = nullptr;
    EnumWindows(findResultWindowOf, reinterpret_cast<LPARAM>(&found));
    return found;
}

std::vector<std::string> resultRows(HWND resultWindow) {
    const HWND list = GetDlgItem(resultWindow, IDC_RESULT_LIST);
    const int count = static_cast<int>(SendMessageW(list, LVM_GETITEMCOUNT, 0, 0));
    std::vector<std::string> rows;
    for (int i = 0; i < count; ++i) {
        wchar_t text[2048] = {};
        LVITEMW item{};
        item.iSubItem = 0;
        item.pszText = text;
        item.cchTextMax = static_cast<int>(std::size(text));
        SendMessageW(list, LVM_GETITEMTEXTW, static_cast<WPARAM>(i),
                     reinterpret_cast<LPARAM>(&item));
        rows.push_back(bytesOf(text, CP_UTF8));
    }
    return rows;
}

void selectResultRow(HWND resultWindow, int row) {
    LVITEMW item{};
    item.stateMask = LVIS_SELECTED | LVIS_FOCUSED;
    item.state = LVIS_SELECTED | LVIS_FOCUSED;
    SendDlgItemMessageW(resultWindow, IDC_RESULT_LIST, LVM_SETITEMSTATE, static_cast<WPARAM>(row),
                        reinterpret_cast<LPARAM>(&item));
}

int resultRowWith(HWND resultWindow, const std::string &part) {
    const std::vector<std::string> rows = resultRows(resultWindow);
    for (std::size_t i = 0; i < rows.size(); ++i)
        if (rows[i].find(part) != std::string::npos)
            return static_cast<int>(i);
    return -1;
}

std::string recode(const std::string &bytes, UINT from, UINT to) {
    return bytesOf(wideOf(bytes, from), to);
}

} // namespace quill::standin
