// The result list's context menu: selecting the row under the pointer, and copying the
// selected row to the clipboard as plain text.
#pragma once

#include <windows.h>

namespace quill {

class ResultListMenu {
  public:
    // The dialog owns the menu and the message boxes; the menu template comes from `module`.
    void attach(HWND dialog, HWND list, HINSTANCE module);
    void detach() { *this = ResultListMenu(); }

    // WM_CONTEXTMENU from the list: `screenPoint` is the message's cursor position, or
    // (-1, -1) when the menu was asked for from the keyboard.
    bool show(LPARAM screenPoint);

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
