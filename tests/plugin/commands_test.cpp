// The check and auto-fix commands and their menu items, driven through the plug-in's
// exports in a stand-in host, with the real textlint where a run is involved.
#include "tests/plugin/plugin_session.h"
#include "tests/support/message_box_watcher.h"
#include "tools/standin_host/standin_host.h"

#include <gtest/gtest.h>

namespace quill::test {
namespace {

using namespace quill::standin;

constexpr int MENU_BAR = 10;
constexpr int POPUP_MENU = 11;

std::wstring menuText(HMENU menu, int position) {
    wchar_t text[128] = {};
    GetMenuStringW(menu, static_cast<UINT>(position), text, 128, MF_BYPOSITION);
    return text;
}

std::size_t callsTo(const char *function) {
    return hostCallsTo(function).size();
}

bool anyRowHas(const std::vector<std::string> &rows, const std::string &part) {
    for (const std::string &row : rows)
        if (row.find(part) != std::string::npos)
            return true;
    return false;
}

class CommandsTest : public ::testing::Test {
  protected:
    void SetUp() override { resetHost(); }
    void TearDown() override { resetHost(); }
    static HWND composeWindow(const std::string &utf8Text, const char *mimeType = "text/plain",
                              int codePage = 932, ComposeEditor editor = ComposeEditor::PlainEdit) {
        ComposeWindowOptions options;
        options.text = inCodePage(utf8Text, 932);
        options.mimeType = mimeType;
        options.codePage = codePage;
        options.editor = editor;
        return createComposeWindow(options);
    }
    // Registers the commands through `window`'s menu bar; returns {check id, auto-fix id}.
    std::pair<UINT, UINT> initMenu(const PluginSession &plugin, HWND window) {
        const std::size_t before = registeredCommands().size();
        plugin.menuInit(window, GetMenu(window), MENU_BAR);
        const auto commands = registeredCommands();
        return {commands.at(before).id, commands.at(before + 1).id};
    }
};

TEST_F(CommandsTest, MenuInitRegistersBothCommandsAndAddsTheirItems) {
    PluginSession plugin(iniText(textlintCmdPath()));
    ASSERT_NE(nullptr, plugin.module());
    const HWND window = composeWindow("");
    const HMENU popup = GetSubMenu(GetMenu(window), 1);

    EXPECT_EQ(0, plugin.menuInit(window, GetMenu(window), MENU_BAR));
    auto commands = registeredCommands();
    ASSERT_EQ(2u, commands.size());
    EXPECT_EQ(inCodePage("校正", 932), commands[0].description);
    EXPECT_EQ(inCodePage("自動修正校正", 932), commands[1].description);
    EXPECT_EQ(MENU_BAR, commands[0].menuType);
    // The plug-in appends after whatever the host put into the pop-up.
    const int count = GetMenuItemCount(popup);
    ASSERT_GE(count, 3);
    EXPECT_EQ(static_cast<UINT>(MF_SEPARATOR),
              GetMenuState(popup, static_cast<UINT>(count - 3), MF_BYPOSITION) & MF_SEPARATOR);
    EXPECT_EQ(L"校正(&R)", menuText(popup, count - 2));
    EXPECT_EQ(commands[0].id, GetMenuItemID(popup, count - 2));
    EXPECT_EQ(L"自動修正校正(&I)", menuText(popup, count - 1));
    EXPECT_EQ(commands[1].id, GetMenuItemID(popup, count - 1));
    const HMENU firstPopup = GetSubMenu(GetMenu(window), 0);
    for (int i = 0; i < GetMenuItemCount(firstPopup); ++i)
        EXPECT_NE(commands[0].id, GetMenuItemID(firstPopup, i)) << "only the second pop-up";

    HMENU context = CreatePopupMenu();
    EXPECT_EQ(0, plugin.menuInit(window, context, POPUP_MENU));
    commands = registeredCommands();
    ASSERT_EQ(4u, commands.size());
    EXPECT_EQ(POPUP_MENU, commands[2].menuType);
    ASSERT_EQ(3, GetMenuItemCount(context));
    EXPECT_EQ(commands[2].id, GetMenuItemID(context, 1));
    EXPECT_EQ(commands[3].id, GetMenuItemID(context, 2));

    EXPECT_EQ(0, plugin.menuInit(window, context, 12));
    EXPECT_EQ(4u, registeredCommands().size());
    EXPECT_EQ(3, GetMenuItemCount(context));
    DestroyMenu(context);
}

// Item states after a message of the window passed the hook, from both starting states:
// "unchanged" keeps whichever state the item had.
TEST_F(CommandsTest, HookSetsTheItemsByTheStateTable) {
    using Editor = ComposeEditor;
    enum Expect { ON, GRAY, KEEP };
    struct Case {
        const char *mimeType;
        bool proofreadHtml;
        Editor editor;
        Expect check, autoFix;
    } cases[] = {
        {"text/plain", false, Editor::PlainEdit, ON, ON},
        {"Text/Plain", true, Editor::DanaDisabled, ON, ON},
        {"text/html", false, Editor::DanaEnabled, GRAY, GRAY},
        {"text/html", true, Editor::DanaEnabled, ON, ON},
        {"TEXT/HTML", true, Editor::DanaDisabled, ON, GRAY},
        {"text/html", true, Editor::PlainEdit, KEEP, KEEP},
        {"text/html", true, Editor::DanaOutsideMdiFrame, KEEP, KEEP},
        {"", true, Editor::DanaEnabled, KEEP, KEEP},
        {"multipart/mixed", false, Editor::PlainEdit, KEEP, KEEP},
    };
    for (bool proofreadHtml : {false, true}) {
        PluginSession plugin(
            iniText(textlintCmdPath(), proofreadHtml ? "EnableProofreadingHTMLMail=true\r\n"
                                                     : "EnableProofreadingHTMLMail=false\r\n"));
        ASSERT_NE(nullptr, plugin.module());
        for (const Case &c : cases) {
            if (c.proofreadHtml != proofreadHtml)
                continue;
            for (UINT initial : {static_cast<UINT>(MF_ENABLED), static_cast<UINT>(MF_GRAYED)}) {
                const HWND window = composeWindow("本文", c.mimeType, 932, c.editor);
                const auto [checkId, autoFixId] = initMenu(plugin, window);
                plugin.openCompose(window);
                const HMENU menu = GetMenu(window);
                EnableMenuItem(menu, checkId, MF_BYCOMMAND | initial);
                EnableMenuItem(menu, autoFixId, MF_BYCOMMAND | initial);
                PostMessageW(window, WM_NULL, 0, 0);
                pumpMessages();
                auto expected = [initial](Expect e) {
                    return e == KEEP ? initial : e == ON ? MF_ENABLED : MF_GRAYED;
                };
                const std::string label = std::string(c.mimeType) + " html " +
                                          (proofreadHtml ? "on" : "off") + " editor " +
                                          std::to_string(static_cast<int>(c.editor)) + " from " +
                                          std::to_string(initial);
                EXPECT_EQ(expected(c.check), GetMenuState(menu, checkId, MF_BYCOMMAND) & MF_GRAYED)
                    << label;
                EXPECT_EQ(expected(c.autoFix),
                          GetMenuState(menu, autoFixId, MF_BYCOMMAND) & MF_GRAYED)
                    << label;
            }
        }
        plugin.exit();
    }
}

TEST_F(CommandsTest, CheckPublishesFindingsOnlyForATrackedComposeWindow) {
    PluginSession plugin(iniText(textlintCmdPath()));
    ASSERT_NE(nullptr, plugin.module());
    plugin.start();
    const HWND result = findResultWindow();
    ASSERT_NE(nullptr, result);
    setHeader("From", "taro@example.jp");
    setHeader("Subject", inCodePage("打ち合わせ", 932));
    const HWND tracked = composeWindow("今日は、雨が、降って、いて、とても、寒い。\r\n");
    const HWND untracked = composeWindow("これは、あれと、それと、どれと、なにか、です。\r\n");
    const auto [checkId, autoFixId] = initMenu(plugin, tracked);
    plugin.openCompose(tracked);

    ASSERT_TRUE(chooseCommand(checkId, tracked));
    const std::vector<std::string> rows = resultRows(result);
    EXPECT_TRUE(anyRowHas(rows, "Rule: max-ten")) << (rows.empty() ? "no rows" : rows[0]);
    EXPECT_EQ(1u, callsTo("BKA_CompGetCharSet"));

    ASSERT_TRUE(chooseCommand(checkId, untracked));
    ASSERT_TRUE(chooseCommand(autoFixId, untracked));
    EXPECT_EQ(1u, callsTo("BKA_CompGetCharSet")) << "an untracked window is not read";
    EXPECT_EQ(rows, resultRows(result));
    EXPECT_EQ(0u, callsTo("BKA_CompSetText"));

    // A host that hands out no text: checked as an empty text.
    setComposeText(tracked, std::nullopt);
    ASSERT_TRUE(chooseCommand(checkId, tracked));
    EXPECT_EQ(2u, callsTo("BKA_CompGetCharSet"));
    EXPECT_TRUE(resultRows(result).empty());
    plugin.exit();
}

TEST_F(CommandsTest, AutoFixReplacesTheTextWithTextlintsFixAndLineFeeds) {
    PluginSession plugin(iniText(textlintCmdPath()));
    ASSERT_NE(nullptr, plugin.module());
    const HWND window = composeWindow("これは Apple です。\r\n二行目です。\r\n");
    const UINT autoFixId = initMenu(plugin, window).second;
    plugin.openCompose(window);

    ASSERT_TRUE(chooseCommand(autoFixId, window));
    EXPECT_EQ(1u, callsTo("BKA_CompSetText"));
    EXPECT_EQ(inCodePage("これはAppleです。\n二行目です。\n", 932), composeText(window));
    plugin.exit();
}

TEST_F(CommandsTest, AutoFixLeavesTheTextAloneWhenTheFixOrAConversionFails) {
    struct Case {
        const char *fixture;
        int codePage;
        std::size_t messageBoxes;
        std::size_t textlintStarts;
        bool hostGivesNoText;
    } cases[] = {
        // A failed fix says why.
        {"plugin/failing_fix.cmd", 932, 1, 0, false},
        // A fix that changed nothing is not written back.
        {"plugin/count_runs.cmd", 932, 0, 1, false},
        // A text that cannot be read is not handed to textlint at all.
        {"plugin/count_runs.cmd", 12345, 1, 0, false},
        // Nor is a null text pointer: the fix of an empty text must not wipe the window.
        {"plugin/count_runs.cmd", 932, 0, 0, true},
        // Nor is a fix that left nothing.
        {"plugin/empty_fix.cmd", 932, 0, 0, false},
        // Characters code page 932 cannot hold would become "?" or a look-alike.
        {"plugin/foreign_char_fix.cmd", 932, 1, 0, false},
    };
    for (const Case &c : cases) {
        RunLog runs;
        MessageBoxRecorder boxes;
        PluginSession plugin(iniText(fixturePath(c.fixture)));
        ASSERT_NE(nullptr, plugin.module());
        const HWND window = composeWindow("これは Apple です。\r\n", "text/plain", c.codePage);
        const UINT autoFixId = initMenu(plugin, window).second;
        plugin.openCompose(window);
        if (c.hostGivesNoText)
            setComposeText(window, std::nullopt);
        ASSERT_TRUE(chooseCommand(autoFixId, window));
        if (!c.hostGivesNoText) {
            EXPECT_EQ(inCodePage("これは Apple です。\r\n", 932), composeText(window)) << c.fixture;
        }
        EXPECT_EQ(0u, callsTo("BKA_CompSetText")) << c.fixture;
        EXPECT_EQ(c.messageBoxes, boxes.count()) << c.fixture;
        EXPECT_EQ(c.textlintStarts, runs.count()) << c.fixture;
        if (std::string(c.fixture) == "plugin/foreign_char_fix.cmd" && boxes.count() == 1) {
            EXPECT_EQ("Quillcheck Plugin Error", boxes.boxes()[0].captionUtf8());
            EXPECT_EQ(window, boxes.boxes()[0].owner);
        }
        plugin.exit();
        DestroyWindow(window);
    }
}

// The host's own message hook, installed before the plug-in's, and what it saw.
std::vector<std::pair<HWND, UINT>> hostHookSaw;
LRESULT CALLBACK hostHook(int code, WPARAM wParam, LPARAM lParam) {
    const MSG *message = reinterpret_cast<const MSG *>(lParam);
    if (code == HC_ACTION && message->message == WM_NULL)
        hostHookSaw.emplace_back(message->hwnd, message->message);
    return CallNextHookEx(nullptr, code, wParam, lParam);
}

TEST_F(CommandsTest, HookPassesEveryMessageOnAndTouchesOnlyComposeWindows) {
    hostHookSaw.clear();
    HHOOK earlier = SetWindowsHookExW(WH_GETMESSAGE, hostHook, nullptr, GetCurrentThreadId());
    ASSERT_NE(nullptr, earlier);
    PluginSession plugin(iniText(textlintCmdPath()));
    ASSERT_NE(nullptr, plugin.module());
    const HWND compose = composeWindow("本文");
    const auto [checkId, autoFixId] = initMenu(plugin, compose);
    plugin.openCompose(compose);
    // The host's main window on the same thread, holding items with the same ids.
    const HWND main = hostMainWindow();
    const HMENU mainPopup = GetSubMenu(GetMenu(main), 1);
    AppendMenuW(mainPopup, MF_STRING | MF_GRAYED, checkId, L"check");
    AppendMenuW(mainPopup, MF_STRING | MF_GRAYED, autoFixId, L"fix");
    EnableMenuItem(GetMenu(compose), checkId, MF_BYCOMMAND | MF_GRAYED);
    clearHostCalls();

    PostMessageW(main, WM_NULL, 0, 0);
    PostMessageW(compose, WM_NULL, 0, 0);
    PostMessageW(composeEditor(compose), WM_NULL, 0, 0);
    pumpMessages();

    const std::vector<std::pair<HWND, UINT>> expected = {
        {main, WM_NULL}, {compose, WM_NULL}, {composeEditor(compose), WM_NULL}};
    EXPECT_EQ(expected, hostHookSaw) << "the earlier hook still gets every message";
    EXPECT_EQ(static_cast<UINT>(MF_ENABLED),
              GetMenuState(GetMenu(compose), checkId, MF_BYCOMMAND) & MF_GRAYED);
    for (UINT id : {checkId, autoFixId})
        EXPECT_EQ(static_cast<UINT>(MF_GRAYED),
                  GetMenuState(mainPopup, id, MF_BYCOMMAND) & MF_GRAYED)
            << "the main window's items are not the plug-in's to set";
    const auto reads = hostCallsTo("BKA_CompGetText");
    EXPECT_FALSE(reads.empty());
    for (const HostCall &call : reads)
        EXPECT_EQ(argText(compose), call.args.at(0)) << "only the compose window is asked";
    plugin.exit();
    UnhookWindowsHookEx(earlier);
}

// A disabled compose window (a modal dialog is open over it) keeps its record; a destroyed
// one is forgotten, and a thread left without compose windows loses the hook, so the module
// can go without leaving the hook behind.
TEST_F(CommandsTest, ARecordLivesExactlyAsLongAsItsWindow) {
    RunLog runs;
    PluginSession plugin(iniText(fixturePath("plugin/count_runs.cmd")));
    ASSERT_NE(nullptr, plugin.module());
    const HWND disabled = composeWindow("a");
    const HWND destroyed = composeWindow("b");
    const auto [checkId, autoFixId] = initMenu(plugin, disabled);
    for (HWND window : {disabled, destroyed})
        plugin.openCompose(window);
    EnableWindow(disabled, FALSE);
    const HWND closing = createComposeWindow();
    PostMessageW(closing, WM_CLOSE, 0, 0);
    pumpMessages();
    ASSERT_FALSE(IsWindow(closing));

    ASSERT_TRUE(chooseCommand(checkId, disabled));
    ASSERT_TRUE(chooseCommand(autoFixId, disabled));
    EXPECT_EQ(2u, callsTo("BKA_CompGetCharSet")) << "both commands still read the window";
    EXPECT_EQ(2u, runs.count());

    DestroyWindow(destroyed);
    ASSERT_TRUE(chooseCommand(checkId, destroyed));
    EXPECT_EQ(2u, callsTo("BKA_CompGetCharSet")) << "a destroyed window is not tracked";

    DestroyWindow(disabled);
    PostMessageW(hostMainWindow(), WM_NULL, 0, 0);
    pumpMessages();
    // A hook left behind would now run into the unloaded module.
    plugin.unload();
    PostMessageW(hostMainWindow(), WM_NULL, 0, 0);
    pumpMessages();
    SUCCEED();
}

} // namespace
} // namespace quill::test
