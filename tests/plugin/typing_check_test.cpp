// The check while typing, through the built plug-in in the stand-in host with the real
// textlint served resident: input posted to a compose window, pauses, the minute tick, and
// the switch in the settings dialog.
#include "resources/resource_ids.h"
#include "tests/plugin/plugin_session.h"
#include "tests/support/child_processes.h"
#include "tests/support/message_box_watcher.h"
#include "tools/standin_host/standin_host.h"

#include <gtest/gtest.h>

#include <commctrl.h>

#include <algorithm>
#include <functional>

namespace quill::test {
namespace {

using namespace quill::standin;

// The resident textlint's start under Wine on a busy machine.
constexpr DWORD SERVING_WAIT_MS = 240000;
// Long enough for several warm checks, which take well under 200 ms.
constexpr DWORD QUIET_MS = 1200;

std::size_t textReads() {
    return hostCallsTo("BKA_CompGetCharSet").size();
}

void clearRows(HWND result) {
    SendDlgItemMessageW(result, IDC_RESULT_LIST, LVM_DELETEALLITEMS, 0, 0);
}

// The class of a window and whether it is ours, for messages about who took the focus.
std::string describe(HWND window) {
    char name[128] = "(none)";
    if (window != nullptr)
        GetClassNameA(window, name, static_cast<int>(sizeof name));
    DWORD process = 0;
    GetWindowThreadProcessId(window, &process);
    return std::string(name) + (process == GetCurrentProcessId() ? "" : " of another process");
}

DWORD caretOf(HWND editor) {
    DWORD start = 0;
    DWORD end = 0;
    SendMessageW(editor, EM_GETSEL, reinterpret_cast<WPARAM>(&start),
                 reinterpret_cast<LPARAM>(&end));
    return end;
}

class TypingCheckTest : public ::testing::Test {
  protected:
    void SetUp() override { resetHost(); }
    void TearDown() override { resetHost(); }
};

TEST_F(TypingCheckTest, PausesCheckChangedTextsWarmWithoutTakingTheFocus) {
    PluginSession plugin(iniText(textlintCmdPath(), "EnableResidentTextLint=true\r\n"
                                                    "CheckWhileTypingDelay=300\r\n"));
    ASSERT_NE(nullptr, plugin.module());
    plugin.start();
    const HWND result = findResultWindow();
    ASSERT_NE(nullptr, result);
    const HWND compose = createComposeWindow();
    const HWND editor = composeEditor(compose);
    plugin.openCompose(compose);
    SetForegroundWindow(compose);
    SetFocus(editor);
    ASSERT_EQ(compose, GetForegroundWindow());

    // Typed and left alone: its findings show without any command. Until the resident
    // textlint serves, a pause checks nothing, so a key that changes nothing makes new ones.
    postTyping(compose, L"今日は、雨が、降って、いて、とても、寒い。");
    ASSERT_TRUE(pumpUntil([&] { return anyRowHas(result, "Rule: max-ten"); }, SERVING_WAIT_MS,
                          [&] { postKey(compose, VK_SHIFT); }));
    // The server's start may have moved the focus; from here on only checks run.
    SetForegroundWindow(compose);
    SetFocus(editor);
    ASSERT_EQ(compose, GetForegroundWindow());

    // A pause after input that changed nothing reads the text and checks nothing; nor does
    // the minute tick while the result window shows the check of that text.
    clearRows(result);
    std::size_t reads = textReads();
    postKey(compose, VK_SHIFT);
    ASSERT_TRUE(pumpUntil([&] { return textReads() == reads + 1; }, 10000));
    EXPECT_EQ(0, plugin.everyMinute());
    EXPECT_EQ(reads + 2, textReads());
    pumpMessages(QUIET_MS);
    EXPECT_TRUE(resultRows(result).empty()) << "the same text was checked again";

    // A burst faster than the pause: no read and no check until it ends, then one of the
    // whole text.
    reads = textReads();
    const DWORD caret = caretOf(editor);
    const std::wstring burst =
        L"\n彼は今日は休みだと聞いたので、明日の打ち合わせは延期にしましょう。";
    for (wchar_t c : burst) {
        postTyping(compose, std::wstring(1, c));
        pumpMessages(50);
    }
    EXPECT_EQ(reads, textReads()) << "read while the user was typing";
    ASSERT_TRUE(pumpUntil([&] { return anyRowHas(result, "Rule: no-doubled-joshi"); }, 10000));
    EXPECT_TRUE(anyRowHas(result, "Rule: max-ten"));
    EXPECT_EQ(reads + 1, textReads());
    EXPECT_EQ(compose, GetForegroundWindow()) << describe(GetForegroundWindow());
    EXPECT_EQ(compose, GetActiveWindow()) << describe(GetActiveWindow());
    EXPECT_EQ(editor, GetFocus()) << describe(GetFocus());
    // The return became CR LF.
    EXPECT_EQ(caret + burst.size() + 1, caretOf(editor)) << "the caret stays where typing left it";

    // Switched off in the settings dialog: input starts nothing at all.
    MessageBoxRecorder boxes;
    plugin.proc<int(WINAPI *)(HWND)>("BKC_OnPlugInSetup")(hostMainWindow());
    const HWND dialog = FindWindowW(nullptr, L"Quillcheckオプション");
    ASSERT_NE(nullptr, dialog);
    EXPECT_EQ(BST_CHECKED, IsDlgButtonChecked(dialog, IDC_SETTINGS_CHECK_WHILE_TYPING));
    SendDlgItemMessageW(dialog, IDC_SETTINGS_CHECK_WHILE_TYPING, BM_CLICK, 0, 0);
    SendMessageW(dialog, WM_COMMAND, IDOK, 0);
    EXPECT_FALSE(IsWindow(dialog));
    EXPECT_EQ(0u, boxes.count());
    SetForegroundWindow(compose);
    SetFocus(editor);
    clearRows(result);
    reads = textReads();
    postTyping(compose, L"もう一つ、文を、足して、みる、ことに、する。");
    pumpMessages(QUIET_MS);
    EXPECT_EQ(reads, textReads());
    EXPECT_TRUE(resultRows(result).empty());
    plugin.exit();
}

std::size_t commandInterpreters() {
    const std::vector<std::string> names = descendantProcessNames();
    return static_cast<std::size_t>(std::count(names.begin(), names.end(), "cmd.exe"));
}

// A compose window in a code page the system cannot convert, while the resident textlint
// serves: its pauses show no box, start no textlint and leave the rows of the last check.
TEST_F(TypingCheckTest, PauseOverATextThatDoesNotConvertDoesNothing) {
    PluginSession plugin(iniText(textlintCmdPath(), "EnableResidentTextLint=true\r\n"
                                                    "CheckWhileTypingDelay=300\r\n"));
    ASSERT_NE(nullptr, plugin.module());
    plugin.start();
    const HWND result = findResultWindow();
    ASSERT_NE(nullptr, result);
    const HWND good = createComposeWindow();
    plugin.openCompose(good);
    postTyping(good, L"今日は、雨が、降って、いて、とても、寒い。");
    ASSERT_TRUE(pumpUntil([&] { return anyRowHas(result, "Rule: max-ten"); }, SERVING_WAIT_MS,
                          [&] { postKey(good, VK_SHIFT); }));
    const std::vector<std::string> rows = resultRows(result);
    const std::size_t interpreters = commandInterpreters(); // the server's own

    ComposeWindowOptions options;
    options.codePage = 12345;
    const HWND bad = createComposeWindow(options);
    plugin.openCompose(bad);
    MessageBoxRecorder boxes;
    std::size_t started = 0;
    for (int pause = 0; pause < 3; ++pause) {
        const std::size_t reads = textReads();
        postTyping(bad, L"あ");
        ASSERT_TRUE(pumpUntil([&] { return textReads() > reads; }, 10000));
        for (ULONGLONG end = GetTickCount64() + QUIET_MS; GetTickCount64() < end;) {
            pumpMessages(20);
            const std::size_t now = commandInterpreters();
            started = std::max(started, now > interpreters ? now - interpreters : 0);
        }
    }
    EXPECT_EQ(0u, boxes.count()) << boxes.boxes()[0].textUtf8();
    EXPECT_EQ(0u, started) << "a textlint was started";
    EXPECT_EQ(rows, resultRows(result));
    plugin.exit();
}

} // namespace
} // namespace quill::test
