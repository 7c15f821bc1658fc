// The result list's context menu and the copy of one row: the row under the pointer is
// selected, Copy is disabled without a selection, the clipboard receives exactly the row's
// text, and a clipboard that cannot be opened gives the message box.
#include "result_window_fixture.h"

#include "tests/support/message_box_watcher.h"

#include <commctrl.h>

#include <future>
#include <thread>

namespace quill::test {
namespace {

// What the menu looked like while it was open. The menu's modal loop blocks the test's
// thread; a thread hook sees the owner's menu messages and answers from inside the loop.
struct MenuObservation {
    bool opened = false;
    UINT copyState = 0;
    RECT menuWindow{};
    WPARAM keyToPress = 0; // 0 closes the menu without choosing
};

MenuObservation *observation = nullptr;

LRESULT CALLBACK watchMenu(int code, WPARAM wParam, LPARAM lParam) {
    const CWPSTRUCT *sent = reinterpret_cast<const CWPSTRUCT *>(lParam);
    if (code == HC_ACTION && observation != nullptr) {
        if (sent->message == WM_INITMENUPOPUP) {
            observation->opened = true;
            observation->copyState =
                GetMenuState(reinterpret_cast<HMENU>(sent->wParam), IDM_RESULT_COPY, MF_BYCOMMAND);
        } else if (sent->message == WM_ENTERIDLE && sent->wParam == MSGF_MENU) {
            GetWindowRect(reinterpret_cast<HWND>(sent->lParam), &observation->menuWindow);
            if (observation->keyToPress != 0) {
                PostMessageW(sent->hwnd, WM_KEYDOWN, observation->keyToPress, 0);
                observation->keyToPress = 0;
            } else {
                EndMenu();
            }
        }
    }
    return CallNextHookEx(nullptr, code, wParam, lParam);
}

// Safety net: a menu that ignores the key is closed by a timer that runs in its loop.
void CALLBACK endStuckMenu(HWND, UINT, UINT_PTR, DWORD) {
    EndMenu();
}

class ResultMenuTest : public ResultWindowTest {
  protected:
    void SetUp() override {
        ResultWindowTest::SetUp();
        publish(TargetMailInfo(0, MIME_TEXT_PLAIN, "f", "s", "x"),
                findingLine(1, 5, "A", "r1") + findingLine(2, 0, "二行目の指摘", "r2") +
                    findingLine(3, 9, "C", "r3"));
    }

    // Sends the list's context menu message for `screenPoint` and returns what the open
    // menu showed; `key` is pressed in the menu (e.g. 'C' for Copy) or the menu is closed.
    MenuObservation openMenu(POINT screenPoint, WPARAM key = 0) {
        MenuObservation seen;
        seen.keyToPress = key;
        observation = &seen;
        HHOOK hook = SetWindowsHookExW(WH_CALLWNDPROC, watchMenu, nullptr, GetCurrentThreadId());
        UINT_PTR timer = SetTimer(nullptr, 0, 3000, endStuckMenu);
        SendMessageW(view.window(), WM_CONTEXTMENU, reinterpret_cast<WPARAM>(list()),
                     MAKELPARAM(screenPoint.x, screenPoint.y));
        KillTimer(nullptr, timer);
        UnhookWindowsHookEx(hook);
        observation = nullptr;
        pumpMessages();
        return seen;
    }

    POINT screenPointIn(int row) {
        RECT r = rowRect(row);
        POINT p{r.left + 20, (r.top + r.bottom) / 2};
        ClientToScreen(list(), &p);
        return p;
    }

    static std::string clipboardText() {
        std::string text;
        if (!OpenClipboard(nullptr))
            return "<clipboard not open>";
        if (HANDLE data = GetClipboardData(CF_TEXT)) {
            if (const char *bytes = static_cast<const char *>(GlobalLock(data))) {
                text = bytes;
                GlobalUnlock(data);
            }
        }
        CloseClipboard();
        return text;
    }

    static void putOnClipboard(const char *text) {
        ASSERT_TRUE(OpenClipboard(nullptr));
        EmptyClipboard();
        HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE, strlen(text) + 1);
        memcpy(GlobalLock(block), text, strlen(text) + 1);
        GlobalUnlock(block);
        SetClipboardData(CF_TEXT, block);
        CloseClipboard();
    }
};

TEST_F(ResultMenuTest, RightClickOnARowSelectsItAndCopyTakesExactlyItsText) {
    putOnClipboard("before");
    MenuObservation seen = openMenu(screenPointIn(1), 'C');
    ASSERT_TRUE(seen.opened);
    EXPECT_EQ(seen.copyState & (MF_DISABLED | MF_GRAYED), 0u);
    EXPECT_EQ(selectedRow(), 1);
    EXPECT_EQ(ListView_GetNextItem(list(), -1, LVNI_FOCUSED), 1);
    EXPECT_EQ(clipboardText(), "Line: 2, Index: 0, Msg: " + ansi(L"二行目の指摘") + ", Rule: r2");

    // A click on another row moves the selection; a direct Copy then reports success.
    openMenu(screenPointIn(2));
    EXPECT_EQ(selectedRow(), 2);
    EXPECT_EQ(ListView_GetSelectedCount(list()), 1u);
    EXPECT_EQ(LintResultViewDialog::resultDialogProc(view.window(), WM_COMMAND, IDM_RESULT_COPY, 0),
              TRUE);
    EXPECT_EQ(clipboardText(), "Line: 3, Index: 9, Msg: C, Rule: r3");
}

TEST_F(ResultMenuTest, RightClickBelowTheRowsClearsTheSelectionAndDisablesCopy) {
    openMenu(screenPointIn(0));
    ASSERT_EQ(selectedRow(), 0);
    putOnClipboard("kept");

    RECT last = rowRect(2);
    POINT below{last.left + 20, last.bottom + 10};
    ClientToScreen(list(), &below);
    MenuObservation seen = openMenu(below, 'C');
    ASSERT_TRUE(seen.opened);
    EXPECT_EQ(selectedRow(), -1);
    EXPECT_EQ(ListView_GetNextItem(list(), -1, LVNI_FOCUSED), -1);
    EXPECT_EQ(seen.copyState & MF_DISABLED, static_cast<UINT>(MF_DISABLED));
    EXPECT_EQ(seen.copyState & MF_GRAYED, 0u) << "disabled, not greyed";
    EXPECT_EQ(LintResultViewDialog::resultDialogProc(view.window(), WM_COMMAND, IDM_RESULT_COPY, 0),
              FALSE);
    EXPECT_EQ(clipboardText(), "kept");
}

TEST_F(ResultMenuTest, KeyboardMenuOpensAtTheSelectedRowOrTheListCorner) {
    MenuObservation seen = openMenu(POINT{-1, -1});
    ASSERT_TRUE(seen.opened);
    RECT listOuter;
    GetWindowRect(list(), &listOuter);
    EXPECT_EQ(seen.menuWindow.left, listOuter.left);
    EXPECT_EQ(seen.menuWindow.top, listOuter.top);

    ListView_SetItemState(list(), 1, LVIS_SELECTED, LVIS_SELECTED);
    seen = openMenu(POINT{-1, -1});
    RECT row = rowRect(1);
    POINT corner{row.left, row.bottom};
    ClientToScreen(list(), &corner);
    EXPECT_EQ(seen.menuWindow.left, corner.x);
    EXPECT_EQ(seen.menuWindow.top, corner.y);
    EXPECT_EQ(selectedRow(), 1) << "the keyboard menu keeps the selection";
}

TEST_F(ResultMenuTest, BusyClipboardGivesTheMessageBoxAndKeepsItsContent) {
    putOnClipboard("owned elsewhere");
    ListView_SetItemState(list(), 0, LVIS_SELECTED, LVIS_SELECTED);

    // Another thread holds the clipboard open.
    std::promise<void> opened, release;
    std::thread holder([&] {
        OpenClipboard(nullptr);
        opened.set_value();
        release.get_future().wait();
        CloseClipboard();
    });
    opened.get_future().wait();

    INT_PTR result;
    {
        MessageBoxRecorder recorder;
        result =
            LintResultViewDialog::resultDialogProc(view.window(), WM_COMMAND, IDM_RESULT_COPY, 0);
        ASSERT_EQ(recorder.count(), 1u);
        ShownMessageBox box = recorder.boxes().front();
        EXPECT_EQ(box.caption, L"Quillcheck");
        EXPECT_EQ(box.text, L"テキストをクリップボードにコピー出来ませんでした。\n"
                            L"一時的な問題の可能性があるので時間をおいてもう一度試して下さい。");
    }
    release.set_value();
    holder.join();
    EXPECT_EQ(result, FALSE);
    EXPECT_EQ(clipboardText(), "owned elsewhere");
}

} // namespace
} // namespace quill::test
