// The stand-in host that the plug-in's tests drive: what its functions answer, what it
// records, and the compose windows it makes.
#include "plugin/host_api.h"
#include "tools/standin_host/standin_host.h"

#include <gtest/gtest.h>

#include <string>

namespace quill {
namespace {

using namespace standin;

class StandinHostTest : public testing::Test {
  protected:
    void SetUp() override {
        resetHost();
        ASSERT_TRUE(bindHostApi());
        api = &hostApi();
    }
    void TearDown() override { resetHost(); }
    HostApi *api = nullptr;
};

// Shift_JIS "日本語" and a header value longer than the plug-in's buffers.
const std::string NIHONGO_SHIFT_JIS = "\x93\xFA\x96\x7B\x8C\xEA";

TEST_F(StandinHostTest, ComposeWindowAnswersItsTextTypeAndCodePage) {
    ComposeWindowOptions options;
    options.text = NIHONGO_SHIFT_JIS + "\r\n";
    options.mimeType = "text/html";
    options.codePage = 932;
    options.charSetName = "ISO-2022-JP";
    HWND window = createComposeWindow(options);
    ASSERT_NE(window, nullptr);

    char mimeType[64] = "junk";
    LPSTR text = api->BKA_CompGetText(window, mimeType, 64);
    ASSERT_NE(text, nullptr);
    EXPECT_EQ(std::string(text), NIHONGO_SHIFT_JIS + "\r\n");
    EXPECT_STREQ(mimeType, "text/html");
    char charSet[64] = {};
    EXPECT_EQ(api->BKA_CompGetCharSet(window, charSet, 64), 932);
    EXPECT_STREQ(charSet, "ISO-2022-JP");

    auto calls = hostCallsTo("BKA_CompGetText");
    ASSERT_EQ(calls.size(), 1u);
    EXPECT_EQ(calls[0].args, (std::vector<std::string>{argText(window), "64"}));
    EXPECT_EQ(calls[0].threadId, GetCurrentThreadId());
}

TEST_F(StandinHostTest, CompSetTextReplacesTheTextAndTheEditorShowsIt) {
    HWND window = createComposeWindow();
    api->BKA_CompSetText(window, 0, (NIHONGO_SHIFT_JIS + "\nline 2").c_str());
    EXPECT_EQ(composeText(window), NIHONGO_SHIFT_JIS + "\nline 2");
    wchar_t shown[64] = {};
    GetWindowTextW(composeEditor(window), shown, 64);
    EXPECT_STREQ(shown, L"日本語\r\nline 2");
    auto calls = hostCallsTo("BKA_CompSetText");
    ASSERT_EQ(calls.size(), 1u);
    EXPECT_EQ(calls[0].args,
              (std::vector<std::string>{argText(window), "0", NIHONGO_SHIFT_JIS + "\nline 2"}));
}

TEST_F(StandinHostTest, NullAndUnknownTexts) {
    ComposeWindowOptions options;
    options.text = std::nullopt;
    HWND window = createComposeWindow(options);
    char mimeType[64];
    EXPECT_EQ(api->BKA_CompGetText(window, mimeType, 64), nullptr);
    // A window the host does not know gives an empty text and type.
    LPSTR text = api->BKA_CompGetText(hostMainWindow(), mimeType, 64);
    ASSERT_NE(text, nullptr);
    EXPECT_STREQ(text, "");
    EXPECT_STREQ(mimeType, "");
    ShownMail mail;
    mail.text = std::nullopt;
    setShownMail(mail);
    EXPECT_EQ(api->BKA_GetText(mimeType, 64), nullptr);
}

TEST_F(StandinHostTest, ValuesLongerThanTheBufferAreCutAtACharacterBoundary) {
    std::string value = "a";
    for (int i = 0; i < 600; ++i)
        value += NIHONGO_SHIFT_JIS.substr(0, 2);
    setHeader("Subject", value);
    char buffer[1024];
    memset(buffer, 'x', sizeof buffer);
    api->BKA_GetSpecifiedHeader("subject", buffer, 1024);
    // 1 + 2 * 511 = 1023 bytes fit before the NUL.
    EXPECT_EQ(std::string(buffer), value.substr(0, 1023));
    char small[5];
    api->BKA_GetSpecifiedHeader("Subject", small, 5);
    EXPECT_EQ(std::string(small), value.substr(0, 3)); // the second character would not fit
    api->BKA_GetSpecifiedHeader("From", buffer, 1024);
    EXPECT_STREQ(buffer, "");
}

TEST_F(StandinHostTest, ShownMailAnswersTextAndCodePage) {
    ShownMail mail;
    mail.text = NIHONGO_SHIFT_JIS;
    mail.mimeType = "text/plain";
    mail.codePage = 65001;
    mail.charSetName = "UTF-8";
    setShownMail(mail);
    char mimeType[64], charSet[64];
    EXPECT_EQ(std::string(api->BKA_GetText(mimeType, 64)), NIHONGO_SHIFT_JIS);
    EXPECT_STREQ(mimeType, "text/plain");
    EXPECT_EQ(api->BKA_GetCharSet("!!!!Outbox\\!!!Draft\\1.eml", charSet, 64), 65001);
    EXPECT_EQ(hostCallsTo("BKA_GetCharSet")[0].args[0], "!!!!Outbox\\!!!Draft\\1.eml");
}

int g_chosenCount = 0;
HWND g_chosenWindow = nullptr;
void WINAPI onChosen(HWND window, LPARAM) {
    ++g_chosenCount;
    g_chosenWindow = window;
}

TEST_F(StandinHostTest, CommandsChosenByCallOrFromTheMenuReachTheCallback) {
    HWND window = createComposeWindow();
    HMENU bar = GetMenu(window);
    ASSERT_NE(bar, nullptr);
    EXPECT_GE(GetMenuItemCount(bar), 2);
    EXPECT_NE(GetSubMenu(bar, 1), nullptr);

    UINT first = api->BKA_RegisterCommand("校正", 10, onChosen);
    UINT second = api->BKA_RegisterCommand("校正", 10, onChosen);
    EXPECT_NE(first, second);
    EXPECT_EQ(commandIdOf("校正", 10), second);
    EXPECT_EQ(commandIdOf("校正", 11), 0u);

    g_chosenCount = 0;
    EXPECT_TRUE(chooseCommand(first, window));
    EXPECT_EQ(g_chosenCount, 1);
    EXPECT_EQ(g_chosenWindow, window);
    EXPECT_FALSE(chooseCommand(first + 100, window));

    SendMessageW(window, WM_COMMAND, MAKEWPARAM(second, 0), 0);
    EXPECT_EQ(g_chosenCount, 2);
}

TEST_F(StandinHostTest, EditorLayoutsAsThePluginLooksForThem) {
    struct Case {
        ComposeEditor editor;
        const wchar_t *editorClass;
        const wchar_t *grandparentClass;
        bool enabled;
    } cases[] = {
        {ComposeEditor::PlainEdit, L"Edit", nullptr, true},
        {ComposeEditor::DanaEnabled, L"DanaEditWindowClass", L"AfxMDIFrame80s", true},
        {ComposeEditor::DanaDisabled, L"DanaEditWindowClass", L"AfxMDIFrame80s", false},
        {ComposeEditor::DanaOutsideMdiFrame, L"DanaEditWindowClass", L"QuillcheckStandinFrame",
         true},
    };
    for (const Case &c : cases) {
        ComposeWindowOptions options;
        options.editor = c.editor;
        HWND window = createComposeWindow(options);
        HWND editor = composeEditor(window);
        wchar_t className[256] = {};
        GetClassNameW(editor, className, 256);
        EXPECT_EQ(lstrcmpiW(className, c.editorClass), 0) << static_cast<int>(c.editor);
        EXPECT_EQ(IsWindowEnabled(editor) != FALSE, c.enabled);
        if (c.grandparentClass != nullptr) {
            GetClassNameW(GetParent(GetParent(editor)), className, 256);
            EXPECT_STREQ(className, c.grandparentClass);
        }
    }
}

TEST_F(StandinHostTest, DestroyedWindowLeavesTheHost) {
    HWND window = createComposeWindow();
    setComposeText(window, std::string("text"));
    EXPECT_EQ(composeText(window), "text");
    DestroyWindow(window);
    EXPECT_EQ(composeText(window), "");
}

} // namespace
} // namespace quill
