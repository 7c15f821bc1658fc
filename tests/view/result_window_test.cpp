// The result window against a real engine: header fields and rows after each published
// run, layout, tips of long rows, the ignored close, the stored rectangle, a failed creation, and
// an update from a worker thread while the window's thread waits for the engine's lock.
#include "result_window_fixture.h"

#include <commctrl.h>

#include <atomic>
#include <future>
#include <thread>

namespace quill::test {
namespace {

const std::string TWO_FINDINGS =
    findingLine(1, 5, "A", "r1") + findingLine(2, 0, "B", "r2") + "\n2 problems\n";

TEST_F(ResultWindowTest, ShowsTargetAndOneRowPerFinding) {
    EXPECT_TRUE(IsWindowVisible(view.window()));
    EXPECT_FALSE(IsWindowEnabled(list())) << "disabled until the first update";
    EXPECT_TRUE(rows().empty());

    wchar_t header[64] = {};
    LVCOLUMNW column{};
    column.mask = LVCF_TEXT | LVCF_WIDTH;
    column.pszText = header;
    column.cchTextMax = 64;
    ASSERT_TRUE(SendMessageW(list(), LVM_GETCOLUMNW, 0, reinterpret_cast<LPARAM>(&column)));
    EXPECT_STREQ(header, L"校正結果");
    RECT listClient;
    GetClientRect(list(), &listClient);
    EXPECT_EQ(column.cx, listClient.right) << "the column fills the list";

    publish(TargetMailInfo(1, MIME_TEXT_PLAIN, "Sender A", ansi(L"件名テスト"), "x"), TWO_FINDINGS);
    EXPECT_EQ(rows(), (std::vector<std::string>{"Line: 1, Index: 5, Msg: A, Rule: r1",
                                                "Line: 2, Index: 0, Msg: B, Rule: r2"}));
    EXPECT_EQ(fieldText(IDC_RESULT_MAIL), L"草稿 - From: Sender A");
    EXPECT_EQ(fieldText(IDC_RESULT_SUBJECT), L"件名テスト");
    EXPECT_EQ(fieldText(IDC_RESULT_MIME), L"text/plain");
    EXPECT_TRUE(IsWindowEnabled(list()));
}

TEST_F(ResultWindowTest, EachUpdateReplacesTheWholeContent) {
    publish(TargetMailInfo(1, MIME_TEXT_PLAIN, "a@example.jp", "s", "x"),
            TWO_FINDINGS + findingLine(3, 1, "C", "r3"));
    ASSERT_EQ(rows().size(), 3u);
    ListView_SetItemState(list(), 2, LVIS_SELECTED, LVIS_SELECTED);

    publish(TargetMailInfo(0, MIME_TEXT_HTML, "b@example.jp", "", "x"),
            findingLine(7, 2, "誤字です", "r9"));
    EXPECT_EQ(rows(), std::vector<std::string>{"Line: 7, Index: 2, Msg: " + ansi(L"誤字です") +
                                               ", Rule: r9"});
    EXPECT_EQ(selectedRow(), -1);
    EXPECT_EQ(fieldText(IDC_RESULT_MAIL), L"新規 - From: b@example.jp");
    EXPECT_EQ(fieldText(IDC_RESULT_SUBJECT), L"");
    EXPECT_EQ(fieldText(IDC_RESULT_MIME), L"text/html ※校正箇所はメールのHTMLソース内の位置です。");

    publish(TargetMailInfo(0, MIME_TEXT_PLAIN, "c", "t", "x"), "");
    EXPECT_TRUE(rows().empty());
    EXPECT_TRUE(IsWindowEnabled(list()));
    EXPECT_EQ(fieldText(IDC_RESULT_MAIL), L"新規 - From: c");
}

TEST_F(ResultWindowTest, LongSenderIsCutAtACharacterBoundary) {
    std::wstring sender(600, L'亜');
    publish(TargetMailInfo(0, MIME_TEXT_PLAIN, ansi(sender.c_str()), "s", "x"), "");
    std::wstring shown = fieldText(IDC_RESULT_MAIL);
    // "新規" is 4 bytes and " - From: " 9: 1010 bytes remain for 505 whole characters.
    EXPECT_EQ(shown, L"新規 - From: " + std::wstring(505, L'亜'));
}

TEST_F(ResultWindowTest, LayoutFollowsTheClientArea) {
    HWND dialog = view.window();
    RECT outer{0, 0, 600, 400};
    AdjustWindowRectEx(&outer, static_cast<DWORD>(GetWindowLongW(dialog, GWL_STYLE)), FALSE,
                       static_cast<DWORD>(GetWindowLongW(dialog, GWL_EXSTYLE)));
    SetWindowPos(dialog, nullptr, 0, 0, outer.right - outer.left, outer.bottom - outer.top,
                 SWP_NOMOVE | SWP_NOZORDER);
    RECT client;
    GetClientRect(dialog, &client);
    ASSERT_EQ(client.right, 600);
    ASSERT_EQ(client.bottom, 400);

    HDC dc = GetDC(dialog);
    TEXTMETRICW metrics;
    GetTextMetricsW(dc, &metrics);
    ReleaseDC(dialog, dc);
    int lineHeight = metrics.tmHeight + metrics.tmExternalLeading;

    auto placeOf = [dialog](int id) {
        RECT r;
        GetWindowRect(GetDlgItem(dialog, id), &r);
        MapWindowPoints(nullptr, dialog, reinterpret_cast<POINT *>(&r), 2);
        return r;
    };
    RECT listPlace = placeOf(IDC_RESULT_LIST);
    EXPECT_EQ(listPlace.left, 0);
    EXPECT_EQ(listPlace.top, 3 * lineHeight);
    EXPECT_EQ(listPlace.right, 600);
    // The status line takes the bottom, three lines high.
    RECT statusPlace = placeOf(IDC_RESULT_STATUS);
    EXPECT_EQ(listPlace.bottom, statusPlace.top);
    EXPECT_EQ(statusPlace.bottom, 400);
    EXPECT_EQ(statusPlace.bottom - statusPlace.top, 3 * lineHeight + 4);

    const int pairs[][3] = {{IDC_RESULT_MAIL_LABEL, IDC_RESULT_MAIL, 0},
                            {IDC_RESULT_SUBJECT_LABEL, IDC_RESULT_SUBJECT, 1},
                            {IDC_RESULT_MIME_LABEL, IDC_RESULT_MIME, 2}};
    for (const auto &pair : pairs) {
        RECT label;
        GetClientRect(GetDlgItem(dialog, pair[0]), &label);
        RECT field = placeOf(pair[1]);
        EXPECT_EQ(field.left, label.right + 12) << pair[1];
        EXPECT_EQ(field.top, pair[2] * lineHeight) << pair[1];
        EXPECT_EQ(field.right - field.left, 600 - label.right) << pair[1];
        EXPECT_EQ(field.bottom - field.top, label.bottom) << pair[1];
    }
    // The column fills the list, also once enough rows for a vertical scroll bar narrow
    // it, and never calls for a horizontal one.
    RECT listClient;
    GetClientRect(list(), &listClient);
    EXPECT_EQ(SendMessageW(list(), LVM_GETCOLUMNWIDTH, 0, 0), listClient.right);
    std::string many;
    for (int i = 1; i <= 60; ++i)
        many += findingLine(i, 1, "M", "r");
    publish(TargetMailInfo(0, MIME_TEXT_PLAIN, "f", "s", "x"), many);
    GetClientRect(list(), &listClient);
    EXPECT_LT(listClient.right, 598) << "a vertical scroll bar is expected";
    EXPECT_EQ(SendMessageW(list(), LVM_GETCOLUMNWIDTH, 0, 0), listClient.right);
    EXPECT_EQ(GetWindowLongW(list(), GWL_STYLE) & WS_HSCROLL, 0);
}

TEST_F(ResultWindowTest, OnlyARowTooLongToShowHasItsWholeTextAsATip) {
    std::wstring longMessage(200, L'長');
    std::string longUtf8;
    for (int i = 0; i < 200; ++i)
        longUtf8 += "長";
    publish(TargetMailInfo(0, MIME_TEXT_PLAIN, "f", "s", "x"),
            findingLine(1, 1, "short", "r") + findingLine(2, 3, longUtf8, "r2"));
    auto pointOn = [this](int row) {
        RECT bounds = rowRect(row);
        return POINT{bounds.left + 20, (bounds.top + bounds.bottom) / 2};
    };
    auto restOn = [&](int row) {
        POINT point = pointOn(row);
        SendMessageW(list(), WM_MOUSEMOVE, 0, MAKELPARAM(point.x, point.y));
        SendMessageW(list(), WM_MOUSEHOVER, 0, MAKELPARAM(point.x, point.y));
    };
    restOn(1);
    HWND tip = visibleTip(view.window());
    ASSERT_NE(tip, nullptr);
    EXPECT_EQ(tipText(tip), L"Line: 2, Index: 3, Msg: " + longMessage + L", Rule: r2");
    RECT tipPlace;
    GetWindowRect(tip, &tipPlace);
    POINT pointer = pointOn(1);
    ClientToScreen(list(), &pointer);
    EXPECT_GT(tipPlace.top, pointer.y) << "the tip leaves the pointer's place free";

    restOn(0);
    EXPECT_EQ(visibleTip(view.window()), nullptr) << "a row shown whole has no tip";
    restOn(1);
    ASSERT_NE(visibleTip(view.window()), nullptr);
    SendMessageW(list(), WM_MOUSELEAVE, 0, 0);
    EXPECT_EQ(visibleTip(view.window()), nullptr);
}

TEST_F(ResultWindowTest, CloseCommandLeavesTheWindowOpen) {
    SendMessageW(view.window(), WM_SYSCOMMAND, SC_CLOSE, 0);
    SendMessageW(view.window(), WM_CLOSE, 0, 0);
    pumpMessages();
    EXPECT_TRUE(IsWindow(view.window()));
    EXPECT_TRUE(IsWindowVisible(view.window()));
    EXPECT_EQ(GetWindowLongW(view.window(), GWL_STYLE) & WS_SYSMENU, 0);
}

TEST_F(ResultWindowTest, OpensAtAndStoresItsRectangle) {
    RECT outer;
    GetWindowRect(view.window(), &outer);
    EXPECT_EQ(outer.left, 120);
    EXPECT_EQ(outer.top, 100);
    EXPECT_EQ(outer.right - outer.left, 520);
    EXPECT_EQ(outer.bottom - outer.top, 300);

    SetWindowPos(view.window(), nullptr, 100, 80, 640, 300, SWP_NOZORDER);
    HWND dialog = view.window();
    view.closeWindow();
    EXPECT_FALSE(IsWindow(dialog));
    TextLintConfig &config = TextLintConfig::getInstance();
    EXPECT_EQ(config.snapshot().resultWindowX, 100);
    EXPECT_EQ(config.snapshot().resultWindowY, 80);
    EXPECT_EQ(config.snapshot().resultWindowWidth, 640);
    EXPECT_EQ(config.snapshot().resultWindowHeight, 300);

    // The engine no longer tells the closed window; an update called anyway does nothing.
    publish(TargetMailInfo(), TWO_FINDINGS);
    view.updateLintResult();
    EXPECT_EQ(view.window(), nullptr);
}

TEST(ResultWindowCreation, MissingTemplateLeavesAnInertObject) {
    TextLintConfig &config = TextLintConfig::getInstance();
    config.update([&](TextLintSettings &s) {
        s.resultWindowX = 11;
        s.resultWindowY = 22;
        s.resultWindowWidth = 333;
        s.resultWindowHeight = 244;
    });

    LintResultController controller;
    LintResultViewDialog view;
    ::testing::internal::CaptureStdout();
    view.createWindow(GetModuleHandleW(L"kernel32.dll"));
    std::string output = ::testing::internal::GetCapturedStdout();
    EXPECT_EQ(output, "CreateDialog() failed. cannot create LintResultViewDialog.\n");
    EXPECT_EQ(view.window(), nullptr);

    view.setController(&controller);
    controller.addLintResultModelListener(&view);
    JobTicket job = controller.enterJob(TargetMailInfo(1, MIME_TEXT_PLAIN, "f", "s", "x"));
    EXPECT_EQ(controller.publishReport(job, TWO_FINDINGS).publication, Publication::Published);
    pumpMessages();
    view.closeWindow();
    EXPECT_EQ(config.snapshot().resultWindowX, 11);
    EXPECT_EQ(config.snapshot().resultWindowY, 22);
    EXPECT_EQ(config.snapshot().resultWindowWidth, 333);
    EXPECT_EQ(config.snapshot().resultWindowHeight, 244);
}

TEST_F(ResultWindowTest, WorkerUpdateDoesNotWaitForTheWindowThread) {
    publish(TargetMailInfo(0, MIME_TEXT_PLAIN, "before", "s", "x"), findingLine(1, 1, "old", "r"));

    std::promise<void> lockHeld;
    std::atomic<bool> published{false};
    std::thread worker([&] {
        JobTicket job = controller.enterJob(TargetMailInfo(1, MIME_TEXT_PLAIN, "worker", "s", "x"));
        std::lock_guard<std::recursive_mutex> lock(controller.mutex());
        lockHeld.set_value();
        // Long enough for the window's thread to be waiting for the lock.
        Sleep(300);
        controller.publishReport(job, TWO_FINDINGS);
        published = true;
    });
    lockHeld.get_future().wait();

    // The window's thread waits for the engine's lock without running its messages, as it
    // does when it enters a job. A bounded wait, so a deadlock fails instead of hanging.
    bool locked = false;
    for (int i = 0; i < 1000 && !locked; ++i) {
        locked = controller.mutex().try_lock();
        if (!locked)
            Sleep(10);
    }
    ASSERT_TRUE(locked) << "the worker's update waited for the window's thread";
    controller.mutex().unlock();
    worker.join();
    EXPECT_TRUE(published);

    EXPECT_EQ(rows(), std::vector<std::string>{"Line: 1, Index: 1, Msg: old, Rule: r"});
    pumpMessages();
    EXPECT_EQ(rows(), (std::vector<std::string>{"Line: 1, Index: 5, Msg: A, Rule: r1",
                                                "Line: 2, Index: 0, Msg: B, Rule: r2"}));
    EXPECT_EQ(fieldText(IDC_RESULT_MAIL), L"草稿 - From: worker");
    EXPECT_TRUE(IsWindowEnabled(list()));
}

} // namespace
} // namespace quill::test
