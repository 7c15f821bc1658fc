// ANSI access to the texts of dialog controls and list-view cells.
#include "config/dialog_text.h"

#include "common/ansi_encoding.h"
#include "common/encoding.h"

#include <commctrl.h>

#include <vector>

namespace quill {

std::string cutAnsi(const std::string &text, std::size_t maxBytes) {
    return cutAtCharBoundary(text, maxBytes, ansiCharLength);
}

std::string controlText(HWND dialog, int id, std::size_t maxBytes) {
    HWND control = GetDlgItem(dialog, id);
    int length = GetWindowTextLengthW(control);
    if (length <= 0)
        return std::string();
    std::vector<wchar_t> buffer(static_cast<std::size_t>(length) + 1, L'\0');
    int copied = GetWindowTextW(control, buffer.data(), static_cast<int>(buffer.size()));
    std::wstring wide(buffer.data(), static_cast<std::size_t>(copied > 0 ? copied : 0));
    return cutAnsi(ansiFromWide(wide), maxBytes);
}

void setControlText(HWND dialog, int id, const std::string &text) {
    SetDlgItemTextW(dialog, id, wideFromAnsi(text).c_str());
}

std::string listCellText(HWND list, int row, int column) {
    // The list view tells no text length: grow the buffer until the text leaves room.
    std::vector<wchar_t> buffer(256);
    for (;;) {
        LVITEMW item{};
        item.iSubItem = column;
        item.pszText = buffer.data();
        item.cchTextMax = static_cast<int>(buffer.size());
        LRESULT copied = SendMessageW(list, LVM_GETITEMTEXTW, static_cast<WPARAM>(row),
                                      reinterpret_cast<LPARAM>(&item));
        if (copied < 0)
            copied = 0;
        if (static_cast<std::size_t>(copied) + 1 < buffer.size() || buffer.size() >= (1u << 24))
            return ansiFromWide(std::wstring(buffer.data(), static_cast<std::size_t>(copied)));
        buffer.assign(buffer.size() * 2, L'\0');
    }
}

void setListCellText(HWND list, int row, int column, const std::string &text) {
    std::wstring wide = wideFromAnsi(text);
    LVITEMW item{};
    item.iSubItem = column;
    item.pszText = wide.data();
    SendMessageW(list, LVM_SETITEMTEXTW, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&item));
}

int appendListRow(HWND list, const std::string &name) {
    std::wstring wide = wideFromAnsi(name);
    LVITEMW item{};
    item.mask = LVIF_TEXT;
    item.iItem = static_cast<int>(SendMessageW(list, LVM_GETITEMCOUNT, 0, 0));
    item.pszText = wide.data();
    return static_cast<int>(
        SendMessageW(list, LVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&item)));
}

int firstSelectedRow(HWND list) {
    return static_cast<int>(
        SendMessageW(list, LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_SELECTED));
}

} // namespace quill
