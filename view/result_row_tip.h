// The whole text of a result row that the list cannot show in full, as a tooltip under the
// row while the pointer rests on it.
#pragma once

#include "common/handles.h"

#include <windows.h>

#include <functional>
#include <string>

namespace quill {

class ResultRowTip {
  public:
    ResultRowTip() = default;
    ~ResultRowTip() { detach(); }
    ResultRowTip(const ResultRowTip &) = delete;
    ResultRowTip &operator=(const ResultRowTip &) = delete;

    // Creates the tooltip for `list` and starts watching the pointer over it. False when
    // the tooltip cannot be made: the list then works without tips.
    bool attach(HWND list);
    void detach();

    // Hides the tip, e.g. when the rows are replaced.
    void hide();

    // A line the tip of `row` adds under the row's text (a suggestion); a row with such a
    // line shows its tip even when its text fits.
    void setExtraText(std::function<std::wstring(int row)> extra) { extra_ = std::move(extra); }

  private:
    static LRESULT CALLBACK listProc(HWND list, UINT message, WPARAM wParam, LPARAM lParam,
                                     UINT_PTR id, DWORD_PTR self);
    void pointerMoved(POINT clientPoint);
    void pointerRested(POINT clientPoint);
    int rowAt(POINT clientPoint) const;
    void showRow(int row);

    HWND list_ = nullptr;
    UniqueWindow tip_;
    std::function<std::wstring(int row)> extra_;
    // The row the pointer is over (-1 for none) and the row whose tip is shown.
    int pointedRow_ = -1;
    int shownRow_ = -1;
};

} // namespace quill
