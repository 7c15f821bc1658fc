// Row tips of the result list: a tracking tooltip shown where the pointer rests on a row
// whose text is wider than its column. A tooltip of our own rather than the list's info
// tips, so that when and where the tip shows does not hang on the list view's version.
#include "view/result_row_tip.h"

#include <commctrl.h>
#include <windowsx.h>

#include <algorithm>
#include <string>

namespace quill {

namespace {

constexpr UINT_PTR SUBCLASS_ID = 1;
constexpr UINT_PTR TOOL_ID = 1;
// What the list view adds to a label's text width when it sizes a column to fit.
constexpr int LABEL_PADDING = 12;
// Long tips wrap at the list's width, but never narrower than this.
constexpr int MIN_TIP_WIDTH = 240;

TTTOOLINFOW toolOf(HWND list) {
    TTTOOLINFOW tool{};
    tool.cbSize = sizeof(tool);
    tool.uFlags = TTF_TRACK | TTF_ABSOLUTE | TTF_TRANSPARENT;
    tool.hwnd = list;
    tool.uId = TOOL_ID;
    return tool;
}

std::wstring rowText(HWND list, int row) {
    wchar_t text[1100] = {};
    LVITEMW item{};
    item.pszText = text;
    item.cchTextMax = static_cast<int>(sizeof(text) / sizeof(text[0]));
    SendMessageW(list, LVM_GETITEMTEXTW, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&item));
    return text;
}

} // namespace

bool ResultRowTip::attach(HWND list) {
    detach();
    HWND tip = CreateWindowExW(WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr,
                               WS_POPUP | TTS_NOPREFIX | TTS_ALWAYSTIP, CW_USEDEFAULT,
                               CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT,
                               GetAncestor(list, GA_ROOT), nullptr, nullptr, nullptr);
    if (tip == nullptr)
        return false;
    tip_.reset(tip);
    TTTOOLINFOW tool = toolOf(list);
    tool.lpszText = const_cast<wchar_t *>(L"");
    if (!SendMessageW(tip, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&tool)) ||
        !SetWindowSubclass(list, listProc, SUBCLASS_ID, reinterpret_cast<DWORD_PTR>(this))) {
        tip_.reset();
        return false;
    }
    list_ = list;
    return true;
}

void ResultRowTip::detach() {
    if (list_ != nullptr)
        RemoveWindowSubclass(list_, listProc, SUBCLASS_ID);
    list_ = nullptr;
    // The tip is owned by the list's window, which may have destroyed it already.
    if (tip_ && !IsWindow(tip_.get()))
        tip_.release();
    tip_.reset();
    pointedRow_ = shownRow_ = -1;
}

void ResultRowTip::hide() {
    if (tip_ && shownRow_ != -1) {
        TTTOOLINFOW tool = toolOf(list_);
        SendMessageW(tip_.get(), TTM_TRACKACTIVATE, FALSE, reinterpret_cast<LPARAM>(&tool));
    }
    shownRow_ = -1;
}

int ResultRowTip::rowAt(POINT clientPoint) const {
    LVHITTESTINFO hit{};
    hit.pt = clientPoint;
    int row = static_cast<int>(SendMessageW(list_, LVM_HITTEST, 0, reinterpret_cast<LPARAM>(&hit)));
    return (hit.flags & LVHT_ONITEM) != 0 ? row : -1;
}

void ResultRowTip::pointerMoved(POINT clientPoint) {
    int row = rowAt(clientPoint);
    if (row == pointedRow_)
        return;
    // Another row: the tip goes, and the pointer must rest again before the next one.
    hide();
    pointedRow_ = row;
    TRACKMOUSEEVENT track{sizeof(track), TME_HOVER | TME_LEAVE, list_, HOVER_DEFAULT};
    TrackMouseEvent(&track);
}

void ResultRowTip::pointerRested(POINT clientPoint) {
    pointedRow_ = rowAt(clientPoint);
    if (pointedRow_ != -1 && pointedRow_ != shownRow_)
        showRow(pointedRow_);
}

void ResultRowTip::showRow(int row) {
    hide();
    RECT label{};
    label.left = LVIR_LABEL;
    if (!SendMessageW(list_, LVM_GETITEMRECT, static_cast<WPARAM>(row),
                      reinterpret_cast<LPARAM>(&label)))
        return;
    std::wstring text = rowText(list_, row);
    int textWidth = static_cast<int>(
        SendMessageW(list_, LVM_GETSTRINGWIDTHW, 0, reinterpret_cast<LPARAM>(text.c_str())));
    const std::wstring extra = extra_ ? extra_(row) : std::wstring();
    if (text.empty() || (extra.empty() && textWidth + LABEL_PADDING <= label.right - label.left))
        return;
    if (!extra.empty())
        text += L"\r\n" + extra;

    TTTOOLINFOW tool = toolOf(list_);
    tool.lpszText = text.data();
    SendMessageW(tip_.get(), TTM_UPDATETIPTEXTW, 0, reinterpret_cast<LPARAM>(&tool));
    RECT client{};
    GetClientRect(list_, &client);
    SendMessageW(tip_.get(), TTM_SETMAXTIPWIDTH, 0, std::max<LPARAM>(client.right, MIN_TIP_WIDTH));
    // Under the row, so that the tip never covers the pointer resting on it.
    RECT bounds{};
    bounds.left = LVIR_BOUNDS;
    SendMessageW(list_, LVM_GETITEMRECT, static_cast<WPARAM>(row),
                 reinterpret_cast<LPARAM>(&bounds));
    POINT at{std::max<LONG>(label.left, 0), std::max(label.bottom, bounds.bottom)};
    ClientToScreen(list_, &at);
    SendMessageW(tip_.get(), TTM_TRACKPOSITION, 0, MAKELPARAM(at.x, at.y));
    SendMessageW(tip_.get(), TTM_TRACKACTIVATE, TRUE, reinterpret_cast<LPARAM>(&tool));
    shownRow_ = row;
}

LRESULT CALLBACK ResultRowTip::listProc(HWND list, UINT message, WPARAM wParam, LPARAM lParam,
                                        UINT_PTR, DWORD_PTR self) {
    // The list handles every message first: its own pointer tracking must not replace ours.
    LRESULT result = DefSubclassProc(list, message, wParam, lParam);
    auto *tip = reinterpret_cast<ResultRowTip *>(self);
    POINT point{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
    switch (message) {
    case WM_MOUSEMOVE:
        tip->pointerMoved(point);
        break;
    case WM_MOUSEHOVER:
        tip->pointerRested(point);
        break;
    case WM_MOUSELEAVE:
        tip->hide();
        tip->pointedRow_ = -1;
        break;
    case WM_LBUTTONDOWN:
    case WM_RBUTTONDOWN:
    case WM_MOUSEWHEEL:
    case WM_VSCROLL:
    case WM_HSCROLL:
    case WM_KEYDOWN:
        tip->hide();
        break;
    case WM_NCDESTROY:
        tip->detach();
        break;
    default:
        break;
    }
    return result;
}

} // namespace quill
