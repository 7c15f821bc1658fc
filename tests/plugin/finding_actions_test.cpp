// The actions of the result window's rows, through the built plug-in in the stand-in host
// with the real textlint: fixing one finding, ignoring it, never showing it again,
// switching its rule off (also while the settings dialog is open), the whole-mail fix after
// such choices, and the progress shown while a check the user chose runs.
#include "resources/resource_ids.h"
#include "tests/plugin/plugin_session.h"
#include "tests/support/message_box_watcher.h"
#include "tests/support/scoped_environment.h"
#include "tools/standin_host/standin_host.h"

#include <gtest/gtest.h>

#include <commctrl.h>

#include <cstring>

namespace quill::test {
namespace {

using namespace quill::standin;

// The resident textlint's start under Wine on a busy machine.
constexpr DWORD SERVING_WAIT_MS = 240000;
const std::string SPACING = "Rule: ja-spacing/ja-no-space-between-full-width";
const std::string WARM = "EnableResidentTextLint=true\r\nCheckWhileTypingDelay=300\r\n";

std::string utf8Of(const std::wstring &wide) {
    std::string text(wide.size() * 3 + 1, '\0');
    const int length =
        WideCharToMultiByte(CP_UTF8, 0, wide.c_str(), static_cast<int>(wide.size()), text.data(),
                            static_cast<int>(text.size()), nullptr, nullptr);
    text.resize(length > 0 ? static_cast<std::size_t>(length) : 0);
    return text;
}

std::string statusOf(HWND result) {
    wchar_t text[2048] = {};
    GetDlgItemTextW(result, IDC_RESULT_STATUS, text, static_cast<int>(std::size(text)));
    return utf8Of(text);
}

// Selects the first row holding `part` and chooses `command` of its context menu.
bool actOnRow(HWND result, const std::string &part, UINT command) {
    const int row = resultRowWith(result, part);
    if (row < 0)
        return false;
    selectResultRow(result, row);
    SendMessageW(result, WM_COMMAND, MAKEWPARAM(command, 0), 0);
    return true;
}

std::string replaced(std::string text, const std::string &from, const std::string &to) {
    text.replace(text.find(from), from.size(), to);
    return text;
}

// A compose window of the plug-in's with its two commands registered.
struct Compose {
    HWND window = nullptr;
    UINT check = 0;
    UINT fixAll = 0;
};

Compose openCompose(const PluginSession &plugin, const std::string &utf8) {
    ComposeWindowOptions options;
    options.text = inCodePage(utf8, 932);
    Compose compose;
    compose.window = createComposeWindow(options);
    const std::size_t before = registeredCommands().size();
    plugin.menuInit(compose.window, GetMenu(compose.window), 10);
    compose.check = registeredCommands().at(before).id;
    compose.fixAll = registeredCommands().at(before + 1).id;
    plugin.openCompose(compose.window);
    return compose;
}

// Waits until the resident textlint serves: a pause checks only then, so its rows show it.
bool waitWarm(const Compose &compose, HWND result, const std::string &rowPart) {
    SetForegroundWindow(compose.window);
    SetFocus(composeEditor(compose.window));
    return pumpUntil([&] { return anyRowHas(result, rowPart); }, SERVING_WAIT_MS,
                     [&] { postKey(compose.window, VK_SHIFT); });
}

std::string iniOf(const PluginSession &plugin) {
    return readFileBytes(plugin.file("Quillcheck.ini"));
}

class FindingActions : public ::testing::Test {
  protected:
    void SetUp() override { resetHost(); }
    void TearDown() override { resetHost(); }
};

TEST_F(FindingActions, FixFromTheRowReplacesExactlyItsRangeAndRefusesAChangedText) {
    const std::string mail =
        "お世話になっております。\r\n> 以前の 件です。\r\n今日は 晴れです。\r\n"
        "明日は 雨です。\r\n-- \r\n署名 太郎\r\n";
    PluginSession plugin(iniText(textlintCmdPath(), WARM));
    ASSERT_NE(nullptr, plugin.module());
    plugin.start();
    const HWND result = findResultWindow();
    const Compose compose = openCompose(plugin, mail);
    ASSERT_TRUE(waitWarm(compose, result, SPACING));
    ASSERT_TRUE(chooseCommand(compose.check, compose.window));
    ASSERT_GE(resultRowWith(result, "Line: 3, "), 0);
    EXPECT_LT(resultRowWith(result, "Line: 2,"), 0) << "a quoted line was checked";
    EXPECT_LT(resultRowWith(result, "Line: 6,"), 0) << "the signature was checked";

    // The selected row shows its suggestion; the fix changes that blank alone.
    selectResultRow(result, resultRowWith(result, "Line: 3, "));
    EXPECT_NE(statusOf(result).find("修正案: 「 」を削除"), std::string::npos) << statusOf(result);
    ASSERT_TRUE(actOnRow(result, "Line: 3, ", IDM_RESULT_FIX));
    const std::string fixed = replaced(mail, "今日は 晴れ", "今日は晴れ");
    EXPECT_EQ(composeText(compose.window), inCodePage(fixed, 932));
    EXPECT_LT(resultRowWith(result, "Line: 3, "), 0) << "checked again";
    ASSERT_GE(resultRowWith(result, "Line: 4, "), 0);

    // The writer typed since the check: nothing changes, and the status line says why.
    const std::string typed = inCodePage(fixed + "追記です。\r\n", 932);
    setComposeText(compose.window, typed);
    ASSERT_TRUE(actOnRow(result, "Line: 4, ", IDM_RESULT_FIX));
    EXPECT_EQ(composeText(compose.window), typed);
    EXPECT_NE(statusOf(result).find("校正した後に本文が変わりました"), std::string::npos)
        << statusOf(result);
    plugin.exit();
}

TEST_F(FindingActions, IgnoredFindingIsNeitherListedNorWeighedWhileTheSameWordingElsewhereIs) {
    const std::string line = "今日は 晴れです。\r\n";
    PluginSession plugin(iniText(textlintCmdPath(), WARM + "EnableEvaluateValueThreshold=true\r\n"
                                                           "EvaluateValueThreshold=0\r\n"
                                                           "EvaluateWeightList={\"preset-ja-"
                                                           "spacing\":1}\r\n"));
    ASSERT_NE(nullptr, plugin.module());
    plugin.start();
    const HWND result = findResultWindow();
    const Compose compose = openCompose(plugin, line);
    ASSERT_TRUE(waitWarm(compose, result, SPACING));
    ASSERT_TRUE(chooseCommand(compose.check, compose.window));
    ASSERT_TRUE(actOnRow(result, SPACING, IDM_RESULT_IGNORE));
    EXPECT_TRUE(resultRows(result).empty());
    EXPECT_NE(statusOf(result).find("無視した指摘 1 件"), std::string::npos) << statusOf(result);
    ASSERT_TRUE(chooseCommand(compose.check, compose.window));
    EXPECT_TRUE(resultRows(result).empty());
    EXPECT_NE(statusOf(result).find("無視した指摘 1 件"), std::string::npos) << statusOf(result);

    // The same wording on another line is listed and weighed.
    setComposeText(compose.window, inCodePage(line + "昨日は 晴れです。\r\n", 932));
    ASSERT_TRUE(chooseCommand(compose.check, compose.window));
    EXPECT_EQ(resultRows(result).size(), 1u);
    EXPECT_GE(resultRowWith(result, "Line: 2, "), 0);
    const std::string head = "Content-Type: text/plain; charset=UTF-8\r\n\r\n";
    const auto send = plugin.proc<int(WINAPI *)(LPCSTR)>("BKC_OnSend");
    MessageBoxRecorder boxes;
    EXPECT_EQ(0, send((head + line).c_str())) << "the only finding was ignored";
    EXPECT_EQ(-1, send((head + "昨日は 晴れです。\r\n").c_str()));
    plugin.exit();
}

TEST_F(FindingActions, NeverShownFindingStaysAwayWarmColdAndAfterARestart) {
    PluginSession plugin(iniText(textlintCmdPath(), WARM));
    ASSERT_NE(nullptr, plugin.module());
    plugin.start();
    const HWND result = findResultWindow();
    const Compose compose = openCompose(plugin, "今日は 晴れです。\r\n");
    ASSERT_TRUE(waitWarm(compose, result, SPACING));
    ASSERT_TRUE(chooseCommand(compose.check, compose.window));
    ASSERT_TRUE(actOnRow(result, SPACING, IDM_RESULT_NEVER_SHOW));
    EXPECT_TRUE(resultRows(result).empty());
    const std::string saved = iniOf(plugin);
    EXPECT_NE(saved.find("HiddenFindings=[{\"rule\":\"ja-spacing/ja-no-space-between-full-width\","
                         "\"message\":\""),
              std::string::npos)
        << saved;
    // Another line, warm.
    setComposeText(compose.window, inCodePage("私は彼は好きです。\r\n明日は 雨です。\r\n", 932));
    ASSERT_TRUE(chooseCommand(compose.check, compose.window));
    EXPECT_TRUE(anyRowHas(result, "no-doubled-joshi"));
    EXPECT_FALSE(anyRowHas(result, SPACING));
    plugin.exit();
    std::string ini = iniOf(plugin);
    plugin.unload();
    resetHost();

    // Another mail after a new start, cold.
    ini = replaced(ini, "EnableResidentTextLint=true", "EnableResidentTextLint=false");
    PluginSession cold(ini);
    ASSERT_NE(nullptr, cold.module());
    cold.start();
    const HWND coldResult = findResultWindow();
    const Compose other = openCompose(cold, "別の 件です。\r\n私は彼は好きです。\r\n");
    ASSERT_TRUE(chooseCommand(other.check, other.window));
    EXPECT_TRUE(anyRowHas(coldResult, "no-doubled-joshi"));
    EXPECT_FALSE(anyRowHas(coldResult, SPACING));
    cold.exit();
    cold.unload();
    resetHost();

    // textlint's configuration is the one it was before the choice, byte for byte.
    std::string configs[2];
    const std::string inis[2] = {iniText(textlintCmdPath()), ini};
    for (int i = 0; i < 2; ++i) {
        TempDir copies;
        ScopedEnvironment copy("QUILL_INPUT_COPY", copies.file("config.json"));
        const std::string fixture = fixturePath("plugin/copy_config.cmd");
        PluginSession session(replaced(inis[i], "TextLintCmdPath=" + textlintCmdPath(),
                                       "TextLintCmdPath=" + fixture));
        session.start();
        const Compose mail = openCompose(session, "今日は 晴れです。\r\n");
        ASSERT_TRUE(chooseCommand(mail.check, mail.window));
        configs[i] = readFileBytes(copies.file("config.json"));
        session.exit();
        session.unload();
        resetHost();
    }
    EXPECT_FALSE(configs[0].empty());
    EXPECT_EQ(configs[0], configs[1]);
}

TEST_F(FindingActions, RuleSwitchedOffFromItsRowStaysOffWithItsOptions) {
    PluginSession plugin(iniText(textlintCmdPath()));
    ASSERT_NE(nullptr, plugin.module());
    plugin.start();
    const HWND result = findResultWindow();
    const Compose compose = openCompose(plugin, "今日は、雨が、降って、いて、とても、寒い。\r\n");
    ASSERT_TRUE(chooseCommand(compose.check, compose.window));
    ASSERT_TRUE(actOnRow(result, "Rule: max-ten", IDM_RESULT_DISABLE_RULE));
    EXPECT_FALSE(anyRowHas(result, "Rule: max-ten"));
    plugin.exit();
    const std::string ini = iniOf(plugin);
    EXPECT_NE(ini.find("\"max-ten\":{\"max\":3}"), std::string::npos) << ini;
    EXPECT_NE(ini.find("DisabledRules=[\"max-ten\"]"), std::string::npos) << ini;
    plugin.unload();
    resetHost();

    PluginSession again(ini);
    ASSERT_NE(nullptr, again.module());
    again.start();
    const HWND againResult = findResultWindow();
    const Compose mail = openCompose(again, "今日は、雨が、降って、いて、とても、寒い。\r\n");
    ASSERT_TRUE(chooseCommand(mail.check, mail.window));
    EXPECT_FALSE(anyRowHas(againResult, "Rule: max-ten"));
    EXPECT_NE(statusOf(againResult).find("指摘 0 件"), std::string::npos) << statusOf(againResult);

    // The settings dialog shows it off, with its options.
    again.proc<int(WINAPI *)(HWND)>("BKC_OnPlugInSetup")(hostMainWindow());
    const HWND dialog = FindWindowW(nullptr, L"Quillcheckオプション");
    ASSERT_NE(nullptr, dialog);
    const HWND rules = GetDlgItem(dialog, IDC_SETTINGS_RULES);
    wchar_t name[64] = {};
    wchar_t options[64] = {};
    LVITEMW item{};
    item.pszText = name;
    item.cchTextMax = static_cast<int>(std::size(name));
    SendMessageW(rules, LVM_GETITEMTEXTW, 0, reinterpret_cast<LPARAM>(&item));
    item.iSubItem = 2;
    item.pszText = options;
    SendMessageW(rules, LVM_GETITEMTEXTW, 0, reinterpret_cast<LPARAM>(&item));
    EXPECT_STREQ(name, L"max-ten");
    EXPECT_STREQ(options, L"\"max\":3");
    const UINT state =
        static_cast<UINT>(SendMessageW(rules, LVM_GETITEMSTATE, 0, LVIS_STATEIMAGEMASK));
    EXPECT_EQ(state >> 12, 1u) << "unticked";
    again.exit();
}

TEST_F(FindingActions, FixAllKeepsTheLineOfAnIgnoredFinding) {
    const std::string mail = "今日は 晴れです。\r\n明日は 雨です。\r\n";
    PluginSession plugin(iniText(textlintCmdPath()));
    ASSERT_NE(nullptr, plugin.module());
    plugin.start();
    const HWND result = findResultWindow();
    const Compose compose = openCompose(plugin, mail);
    ASSERT_TRUE(chooseCommand(compose.check, compose.window));
    ASSERT_TRUE(actOnRow(result, "Line: 1, ", IDM_RESULT_IGNORE));
    ASSERT_TRUE(chooseCommand(compose.fixAll, compose.window));
    // The whole-mail fix gives the text back with LF line ends, as it always has.
    EXPECT_EQ(composeText(compose.window), inCodePage("今日は 晴れです。\n明日は雨です。\n", 932));
    plugin.exit();
}

// The row of the settings dialog's rule list named `name`, or -1.
int ruleRowNamed(HWND dialog, const std::wstring &name) {
    const HWND rules = GetDlgItem(dialog, IDC_SETTINGS_RULES);
    const int count = static_cast<int>(SendMessageW(rules, LVM_GETITEMCOUNT, 0, 0));
    for (int row = 0; row < count; ++row) {
        wchar_t text[128] = {};
        LVITEMW item{};
        item.pszText = text;
        item.cchTextMax = static_cast<int>(std::size(text));
        SendMessageW(rules, LVM_GETITEMTEXTW, static_cast<WPARAM>(row),
                     reinterpret_cast<LPARAM>(&item));
        if (name == text)
            return row;
    }
    return -1;
}

// A finding hidden and a rule switched off from the rows while the settings dialog is open
// survive its OK; an own rule unticked there fixes nothing in the whole-mail fix of the
// text already checked, and the rule switched off holds back no other rule's fix.
TEST_F(FindingActions, ChoicesSurviveTheOpenSettingsDialogAndFixAllFollowsTheRowsAsTheyAreNow) {
    const std::string mail = "ｶﾅです。\r\n今日は、雨が、降って、いて、とても、寒い 日です。\r\n"
                             "私は彼は好きです。\r\n";
    PluginSession plugin(
        replaced(iniText(textlintCmdPath()), "\"preset-ja-spacing\":true}}",
                 "\"preset-ja-spacing\":true,\"quillcheck/half-width-kana\":true}}"));
    ASSERT_NE(nullptr, plugin.module());
    plugin.start();
    const HWND result = findResultWindow();
    const Compose compose = openCompose(plugin, mail);
    ASSERT_TRUE(chooseCommand(compose.check, compose.window));
    ASSERT_TRUE(anyRowHas(result, "Rule: quillcheck/half-width-kana"));

    plugin.proc<int(WINAPI *)(HWND)>("BKC_OnPlugInSetup")(hostMainWindow());
    const HWND dialog = FindWindowW(nullptr, L"Quillcheckオプション");
    ASSERT_NE(nullptr, dialog);
    ASSERT_TRUE(actOnRow(result, "Rule: no-doubled-joshi", IDM_RESULT_NEVER_SHOW));
    ASSERT_TRUE(actOnRow(result, "Rule: max-ten", IDM_RESULT_DISABLE_RULE));
    const int kana = ruleRowNamed(dialog, L"quillcheck/half-width-kana");
    ASSERT_GE(kana, 0);
    LVITEMW unticked{};
    unticked.stateMask = LVIS_STATEIMAGEMASK;
    unticked.state = INDEXTOSTATEIMAGEMASK(1);
    SendDlgItemMessageW(dialog, IDC_SETTINGS_RULES, LVM_SETITEMSTATE, static_cast<WPARAM>(kana),
                        reinterpret_cast<LPARAM>(&unticked));
    MessageBoxRecorder boxes;
    SendMessageW(dialog, WM_COMMAND, IDOK, 0);
    ASSERT_FALSE(IsWindow(dialog)) << "the test run failed";
    const std::string ini = iniOf(plugin);
    EXPECT_NE(ini.find("HiddenFindings=[{\"rule\":\"no-doubled-joshi\""), std::string::npos) << ini;
    EXPECT_NE(ini.find("DisabledRules=[\"max-ten\",\"quillcheck/half-width-kana\"]"),
              std::string::npos)
        << ini;

    ASSERT_TRUE(chooseCommand(compose.fixAll, compose.window));
    EXPECT_EQ(composeText(compose.window),
              inCodePage("ｶﾅです。\n今日は、雨が、降って、いて、とても、寒い日です。\n"
                         "私は彼は好きです。\n",
                         932));
    plugin.exit();
}

// What the status line was set to on this thread, and whether the wait cursor was up then.
struct StatusSeen {
    std::string text;
    bool waitCursor = false;
};
std::vector<StatusSeen> statusSeen;
HWND watchedStatus = nullptr;

LRESULT CALLBACK watchStatus(int code, WPARAM wParam, LPARAM lParam) {
    const auto *message = reinterpret_cast<const CWPSTRUCT *>(lParam);
    if (code == HC_ACTION && message->hwnd == watchedStatus && message->message == WM_SETTEXT &&
        message->lParam != 0)
        statusSeen.push_back({utf8Of(reinterpret_cast<const wchar_t *>(message->lParam)),
                              GetCursor() == LoadCursor(nullptr, IDC_WAIT)});
    return CallNextHookEx(nullptr, code, wParam, lParam);
}

TEST_F(FindingActions, ColdCheckChosenByTheUserShowsItsProgressUntilItEnds) {
    RunLog runs;
    PluginSession plugin(iniText(fixturePath("plugin/slow_check.cmd")));
    ASSERT_NE(nullptr, plugin.module());
    plugin.start();
    const HWND result = findResultWindow();
    const Compose compose = openCompose(plugin, "今日は晴れです。\r\n");
    watchedStatus = GetDlgItem(result, IDC_RESULT_STATUS);
    statusSeen.clear();
    HHOOK hook = SetWindowsHookExW(WH_CALLWNDPROC, watchStatus, nullptr, GetCurrentThreadId());
    ASSERT_NE(nullptr, hook);
    ASSERT_TRUE(chooseCommand(compose.check, compose.window));
    UnhookWindowsHookEx(hook);
    EXPECT_EQ(1u, runs.count());
    ASSERT_GE(statusSeen.size(), 2u);
    for (std::size_t i = 0; i + 1 < statusSeen.size(); ++i) {
        EXPECT_EQ(statusSeen[i].text.rfind("校正中…", 0), 0u) << statusSeen[i].text;
        EXPECT_TRUE(statusSeen[i].waitCursor) << i;
    }
    EXPECT_EQ(statusSeen.back().text.find("校正中"), std::string::npos) << statusSeen.back().text;
    EXPECT_NE(GetCursor(), LoadCursor(nullptr, IDC_WAIT));
    plugin.exit();
}

} // namespace
} // namespace quill::test
