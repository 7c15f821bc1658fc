// The result list's context menu: selecting the row under the pointer, copying the
// selected row to the clipboard as plain text, and the actions on the row's finding.
#pragma once

#include <windows.h>

#include <functional>

namespace quill {

class ResultListMenu {
  public:
    // The dialog owns the menu and the message boxes; the menu template comes from `module`.
    void attach(HWND dialog, HWND list, HINSTANCE module);
    void detach() { *this = ResultListMenu(); }

    // WM_CONTEXTMENU from the list: `screenPoint` is the message's cursor position, or
    // (-1, -1) when the menu was asked for from the keyboard. The actions on a finding are
    // offered for a selected row; fixing it only when `rowHasFix` says the row carries a
    // replacement.
    bool show(LPARAM screenPoint, const std::function<bool(int row)> &rowHasFix);

    // The first selected row, or -1.
    int selectedRow();

    // The copy command: the first selected row's text onto the clipboard as CF_TEXT. A
    // failure to place it is told in a message box; false when nothing was copied.
    bool copySelectedRow();

  private:
    int selectRowAt(POINT clientPoint);
    POINT keyboardMenuPoint();
    bool placeOnClipboard(const char *text);

    HWND dialog_ = nullptr;
    HWND list_ = nullptr;
    HINSTANCE module_ = nullptr;
};

} // namespace quill
