// The test helper that reads and dismisses message boxes: it must find our boxes, press
// the button asked for, and never take a dialog of ours for a message box.
#include "tests/support/message_box_watcher.h"

#include <gtest/gtest.h>

#include <future>
#include <string>
#include <vector>

namespace quill::test {
namespace {

TEST(MessageBoxWatcher, ReadsTheBoxAndPressesTheChosenButton) {
    auto answer = std::async(std::launch::async, [] {
        auto box = waitForMessageBox(10000);
        if (box)
            pressMessageBoxButton(box->window, IDNO);
        return box;
    });
    int result = MessageBoxW(nullptr, L"本文です", L"Quillcheck Plugin Info", MB_YESNO);
    auto box = answer.get();
    ASSERT_TRUE(box.has_value());
    EXPECT_EQ(result, IDNO);
    EXPECT_EQ(box->caption, L"Quillcheck Plugin Info");
    EXPECT_EQ(box->text, L"本文です");
    EXPECT_EQ(box->textUtf8(), "\xE6\x9C\xAC\xE6\x96\x87\xE3\x81\xA7\xE3\x81\x99");
}

TEST(MessageBoxWatcher, RecorderDismissesEveryBoxInOrder) {
    MessageBoxRecorder recorder;
    EXPECT_EQ(MessageBoxW(nullptr, L"one", L"first", MB_OK), IDOK);
    EXPECT_EQ(MessageBoxW(nullptr, L"two", L"second", MB_OKCANCEL), IDOK);
    EXPECT_EQ(MessageBoxW(nullptr, L"three", L"third", MB_YESNO), IDNO);
    auto boxes = recorder.boxes();
    std::string seen;
    for (const auto &box : boxes)
        seen += box.captionUtf8() + ": " + box.textUtf8() + "\n";
    ASSERT_EQ(boxes.size(), 3u) << seen;
    EXPECT_EQ(boxes[0].caption, L"first");
    EXPECT_EQ(boxes[2].text, L"three");
}

// A dialog with a static text of id -1 (0xFFFF, as resource scripts give their labels), an
// edit and a button, like the plug-in's dialogs.
std::vector<WORD> dialogTemplate() {
    std::vector<WORD> t;
    auto add = [&](std::initializer_list<WORD> words) { t.insert(t.end(), words); };
    auto align = [&] {
        if (t.size() % 2 != 0)
            t.push_back(0);
    };
    DWORD style = DS_MODALFRAME | WS_POPUP | WS_CAPTION | WS_VISIBLE;
    add({LOWORD(style), HIWORD(style), 0, 0, 3, 10, 10, 150, 60, 0, 0});
    add({'Q', 0});
    auto item = [&](DWORD itemStyle, WORD id, WORD atom, int y) {
        align();
        add({LOWORD(itemStyle), HIWORD(itemStyle), 0, 0, 5, static_cast<WORD>(y), 100, 12, id,
             0xFFFF, atom, 'x', 0, 0});
    };
    item(WS_CHILD | WS_VISIBLE, 0xFFFF, 0x0082, 5);
    item(WS_CHILD | WS_VISIBLE | WS_BORDER, 1001, 0x0081, 20);
    item(WS_CHILD | WS_VISIBLE | BS_PUSHBUTTON, IDOK, 0x0080, 35);
    return t;
}

INT_PTR CALLBACK ignoreMessages(HWND, UINT, WPARAM, LPARAM) {
    return FALSE;
}

TEST(MessageBoxWatcher, DialogsOfOursAreNotMessageBoxes) {
    std::vector<WORD> t = dialogTemplate();
    HWND dialog = CreateDialogIndirectParamW(GetModuleHandleW(nullptr),
                                             reinterpret_cast<LPCDLGTEMPLATEW>(t.data()), nullptr,
                                             ignoreMessages, 0);
    ASSERT_NE(dialog, nullptr);
    ASSERT_NE(GetDlgItem(dialog, 0xFFFF), nullptr);
    EXPECT_FALSE(findMessageBox().has_value());
    EXPECT_FALSE(waitForMessageBox(200).has_value());
    DestroyWindow(dialog);
}

} // namespace
} // namespace quill::test
