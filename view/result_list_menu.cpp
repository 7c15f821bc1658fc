// The result list's context menu: selecting the row under the pointer, and copying the
// selected row to the clipboard as plain text.
#include "view/result_list_menu.h"

#include "common/handles.h"
#include "resources/resource_ids.h"
#include "view/result_text.h"

#include <commctrl.h>
#include <windowsx.h>

#include <cstring>
#include <iterator>

namespace quill {

namespace {

void setRowSelected(HWND list, int row, bool selected) {
    LVITEMW item{};
    item.stateMask = LVIS_SELECTED | LVIS_FOCUSED;
    item.state = selected ? LVIS_SELECTED | LVIS_FOCUSED : 0;
    SendMessageW(list, LVM_SETITEMSTATE, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&item));
}

bool rowContains(HWND list, int row, POINT point) {
    RECT bounds{};
    bounds.left = LVIR_BOUNDS;
    if (!SendMessageW(list, LVM_GETITEMRECT, static_cast<WPARAM>(row),
                      reinterpret_cast<LPARAM>(&bounds)))
        return false;
    // Edges count as inside.
    return point.x >= bounds.left && point.x <= bounds.right && point.y >= bounds.top &&
           point.y <= bounds.bottom;
}

int nextRow(HWND list, int after, UINT flags) {
    return static_cast<int>(
        SendMessageW(list, LVM_GETNEXTITEM, static_cast<WPARAM>(after), MAKELPARAM(flags, 0)));
}

} // namespace

void ResultListMenu::attach(HWND dialog, HWND list, HINSTANCE module) {
    dialog_ = dialog;
    list_ = list;
    module_ = module;
}

int ResultListMenu::selectRowAt(POINT clientPoint) {
    // Only rows in view can be under the pointer; the list may hold tens of thousands.
    int count = static_cast<int>(SendMessageW(list_, LVM_GETITEMCOUNT, 0, 0));
    int top = static_cast<int>(SendMessageW(list_, LVM_GETTOPINDEX, 0, 0));
    int perPage = static_cast<int>(SendMessageW(list_, LVM_GETCOUNTPERPAGE, 0, 0));
    int hit = -1;
    for (int row = top; row < count && row <= top + perPage + 1; ++row) {
        if (rowContains(list_, row, clientPoint))
            hit = row;
    }
    for (UINT flags : {LVNI_SELECTED, LVNI_FOCUSED}) {
        for (int row = nextRow(list_, -1, flags); row != -1; row = nextRow(list_, row, flags)) {
            if (row == hit)
                continue;
            setRowSelected(list_, row, false);
        }
    }
    if (hit != -1)
        setRowSelected(list_, hit, true);
    return hit;
}

POINT ResultListMenu::keyboardMenuPoint() {
    int selected = nextRow(list_, -1, LVNI_SELECTED);
    if (selected != -1) {
        SendMessageW(list_, LVM_ENSUREVISIBLE, static_cast<WPARAM>(selected), FALSE);
        RECT bounds{};
        bounds.left = LVIR_BOUNDS;
        if (SendMessageW(list_, LVM_GETITEMRECT, static_cast<WPARAM>(selected),
                         reinterpret_cast<LPARAM>(&bounds))) {
            POINT point{bounds.left, bounds.bottom};
            ClientToScreen(list_, &point);
            return point;
        }
    }
    RECT outer{};
    GetWindowRect(list_, &outer);
    return POINT{outer.left, outer.top};
}

int ResultListMenu::selectedRow() {
    return nextRow(list_, -1, LVNI_SELECTED);
}

bool ResultListMenu::show(LPARAM screenPoint, const std::function<bool(int row)> &rowHasFix) {
    POINT point{GET_X_LPARAM(screenPoint), GET_Y_LPARAM(screenPoint)};
    bool fromKeyboard = point.x == -1 && point.y == -1;
    if (fromKeyboard) {
        point = keyboardMenuPoint();
    } else {
        // Item rectangles are in the list's client coordinates, inside its border.
        POINT clientPoint = point;
        ScreenToClient(list_, &clientPoint);
        selectRowAt(clientPoint);
    }

    UniqueMenu menu(LoadMenuW(module_, MAKEINTRESOURCEW(IDR_RESULT_MENU)));
    if (!menu)
        return false;
    HMENU popup = GetSubMenu(menu.get(), 0);
    if (popup == nullptr)
        return false;
    const int selected = nextRow(list_, -1, LVNI_SELECTED);
    if (selected == -1) {
        EnableMenuItem(popup, IDM_RESULT_COPY, MF_BYCOMMAND | MF_DISABLED);
        for (UINT id : {IDM_RESULT_IGNORE, IDM_RESULT_NEVER_SHOW, IDM_RESULT_DISABLE_RULE})
            EnableMenuItem(popup, id, MF_BYCOMMAND | MF_GRAYED);
    }
    if (selected == -1 || !rowHasFix || !rowHasFix(selected))
        EnableMenuItem(popup, IDM_RESULT_FIX, MF_BYCOMMAND | MF_GRAYED);
    TrackPopupMenu(popup, TPM_LEFTALIGN | TPM_TOPALIGN | TPM_LEFTBUTTON, point.x, point.y, 0,
                   dialog_, nullptr);
    return true;
}

bool ResultListMenu::copySelectedRow() {
    int selected = nextRow(list_, -1, LVNI_SELECTED);
    if (selected == -1)
        return false;
    char text[RESULT_TEXT_BUFFER_SIZE] = {};
    LVITEMA item{};
    item.iSubItem = 0;
    item.pszText = text;
    item.cchTextMax = static_cast<int>(std::size(text));
    SendMessageA(list_, LVM_GETITEMTEXTA, static_cast<WPARAM>(selected),
                 reinterpret_cast<LPARAM>(&item));
    text[std::size(text) - 1] = '\0';
    if (placeOnClipboard(text))
        return true;
    MessageBoxW(dialog_,
                L"テキストをクリップボードにコピー出来ませんでした。\n"
                L"一時的な問題の可能性があるので時間をおいてもう一度試して下さい。",
                L"Quillcheck", MB_OK);
    return false;
}

bool ResultListMenu::placeOnClipboard(const char *text) {
    std::size_t size = std::strlen(text) + 1;
    UniqueGlobal block(GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT | GMEM_SHARE, size));
    if (!block)
        return false;
    void *bytes = GlobalLock(block.get());
    if (bytes == nullptr)
        return false;
    std::memcpy(bytes, text, size);
    GlobalUnlock(block.get());

    if (!OpenClipboard(dialog_))
        return false;
    // The clipboard owns the block only once SetClipboardData has taken it; on any failure
    // before that it is ours to free, and the copy is no success.
    bool placed = EmptyClipboard() && SetClipboardData(CF_TEXT, block.get()) != nullptr;
    if (placed)
        block.release();
    CloseClipboard();
    return placed;
}

} // namespace quill
