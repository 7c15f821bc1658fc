// The settings dialog driven with messages: what it shows, its threshold controls, removing
// rows, the context menu, and the Cancel question.
#include "config/recommended_rules.h"
#include "resources/resource_ids.h"
#include "tests/config/settings_fixture.h"
#include "tests/support/label_room.h"
#include "tests/support/message_box_watcher.h"

#include <commctrl.h>

#include <gmock/gmock.h>

#include <functional>

namespace quill::test {
namespace {

using SettingsDialogTest = SettingsDialogFixture;

bool enabled(HWND dialog, int id) {
    return IsWindowEnabled(GetDlgItem(dialog, id)) != FALSE;
}

void click(HWND dialog, int id) {
    SendMessageW(GetDlgItem(dialog, id), BM_CLICK, 0, 0);
}

TEST_F(SettingsDialogTest, OpensFilledFromTheSettings) {
    HWND dialog = openDialog();
    ASSERT_TRUE(IsWindow(dialog));
    EXPECT_TRUE(IsWindowVisible(dialog));
    EXPECT_EQ("Quillcheckオプション", windowTextUtf8(dialog));
    EXPECT_EQ(standInCommand(), windowTextUtf8(GetDlgItem(dialog, IDC_SETTINGS_CMD_PATH)));
    EXPECT_THAT(rowsOf(dialog),
                ::testing::ElementsAre(
                    RuleRow{"max-ten", "3", "\"max\":3", true},
                    RuleRow{"no-doubled-joshi", "1", "", false},
                    RuleRow{"sentence-length", "2", "\"max\":100,\"skipPatterns\":[]", true}));
    EXPECT_EQ(BST_UNCHECKED, IsDlgButtonChecked(dialog, IDC_SETTINGS_ENABLE_THRESHOLD));
    EXPECT_EQ("5", windowTextUtf8(GetDlgItem(dialog, IDC_SETTINGS_THRESHOLD)));
    EXPECT_FALSE(enabled(dialog, IDC_SETTINGS_THRESHOLD));
    EXPECT_FALSE(enabled(dialog, IDC_SETTINGS_THRESHOLD_SPIN));
    EXPECT_EQ(BST_CHECKED, IsDlgButtonChecked(dialog, IDC_SETTINGS_ENABLE_HTML));
    EXPECT_EQ(BST_UNCHECKED, IsDlgButtonChecked(dialog, IDC_SETTINGS_ENABLE_RESIDENT));
    EXPECT_EQ(BST_CHECKED, IsDlgButtonChecked(dialog, IDC_SETTINGS_EXCLUDE_QUOTED));
    EXPECT_EQ("|>", windowTextUtf8(GetDlgItem(dialog, IDC_SETTINGS_QUOTE_MARKS)));
    EXPECT_TRUE(enabled(dialog, IDC_SETTINGS_QUOTE_MARKS));
    EXPECT_EQ(BST_UNCHECKED, IsDlgButtonChecked(dialog, IDC_SETTINGS_EXCLUDE_SIGNATURE));
    EXPECT_EQ(BST_CHECKED, IsDlgButtonChecked(dialog, IDC_SETTINGS_CHECK_MACHINE_DEPENDENT));
    click(dialog, IDC_SETTINGS_EXCLUDE_QUOTED);
    EXPECT_FALSE(enabled(dialog, IDC_SETTINGS_QUOTE_MARKS));

    HWND header = reinterpret_cast<HWND>(
        SendDlgItemMessageW(dialog, IDC_SETTINGS_RULES, LVM_GETHEADER, 0, 0));
    EXPECT_EQ(3, SendMessageW(header, HDM_GETITEMCOUNT, 0, 0));
    DWORD styles = static_cast<DWORD>(
        SendDlgItemMessageW(dialog, IDC_SETTINGS_RULES, LVM_GETEXTENDEDLISTVIEWSTYLE, 0, 0));
    EXPECT_EQ(static_cast<DWORD>(LVS_EX_GRIDLINES | LVS_EX_CHECKBOXES | LVS_EX_HEADERDRAGDROP |
                                 LVS_EX_FULLROWSELECT),
              styles);
}

TEST_F(SettingsDialogTest, ThresholdControlsFollowTheSendGateCheckBox) {
    config().update([&](TextLintSettings &s) { s.enableEvaluateValueThreshold = true; });
    HWND dialog = openDialog();
    EXPECT_TRUE(enabled(dialog, IDC_SETTINGS_THRESHOLD));
    EXPECT_TRUE(enabled(dialog, IDC_SETTINGS_THRESHOLD_SPIN));
    click(dialog, IDC_SETTINGS_ENABLE_THRESHOLD);
    EXPECT_FALSE(enabled(dialog, IDC_SETTINGS_THRESHOLD));
    EXPECT_FALSE(enabled(dialog, IDC_SETTINGS_THRESHOLD_SPIN));
    click(dialog, IDC_SETTINGS_ENABLE_THRESHOLD);
    EXPECT_TRUE(enabled(dialog, IDC_SETTINGS_THRESHOLD));
    EXPECT_TRUE(enabled(dialog, IDC_SETTINGS_THRESHOLD_SPIN));
}

TEST_F(SettingsDialogTest, SpinArrowsStepTheTypedThreshold) {
    config().update([&](TextLintSettings &s) { s.enableEvaluateValueThreshold = true; });
    HWND dialog = openDialog();
    HWND threshold = GetDlgItem(dialog, IDC_SETTINGS_THRESHOLD);
    HWND spin = GetDlgItem(dialog, IDC_SETTINGS_THRESHOLD_SPIN);
    auto press = [&](WPARAM key) {
        SendMessageW(spin, WM_KEYDOWN, key, 0);
        SendMessageW(spin, WM_KEYUP, key, 0);
    };
    SetWindowTextW(threshold, L"abc");
    press(VK_UP);
    EXPECT_EQ("1", windowTextUtf8(threshold));
    SetWindowTextW(threshold, L"0");
    press(VK_DOWN);
    EXPECT_EQ("-1", windowTextUtf8(threshold));
    press(VK_DOWN);
    EXPECT_EQ("-2", windowTextUtf8(threshold));
    // The control's own range (100 to 0) plays no part.
    SetWindowTextW(threshold, L"100");
    press(VK_UP);
    EXPECT_EQ("101", windowTextUtf8(threshold));
}

TEST_F(SettingsDialogTest, RemoveTakesEverySelectedRow) {
    config().setRules(
        {{"a", true, 1, {}}, {"b", true, 2, {}}, {"c", true, 3, {}}, {"d", true, 4, {}}});
    HWND dialog = openDialog();
    selectRows(dialog, {0, 2, 3});
    SendMessageW(dialog, WM_COMMAND, IDC_SETTINGS_REMOVE_RULE, 0);
    ASSERT_EQ(1u, rowsOf(dialog).size());
    EXPECT_EQ("b", rowsOf(dialog)[0].name);

    SendMessageW(dialog, WM_COMMAND, IDM_SETTINGS_REMOVE_RULE, 0); // nothing selected
    EXPECT_EQ(1u, rowsOf(dialog).size());
    selectRows(dialog, {0});
    SendMessageW(dialog, WM_COMMAND, IDM_SETTINGS_REMOVE_RULE, 0);
    EXPECT_TRUE(rowsOf(dialog).empty());
    // The settings change only on OK.
    EXPECT_EQ(4u, config().getRules().size());
}

TEST_F(SettingsDialogTest, OpeningTwiceGivesTwoIndependentWindows) {
    HWND first = openDialog();
    HWND second = openDialog();
    ASSERT_TRUE(IsWindow(first));
    ASSERT_TRUE(IsWindow(second));
    EXPECT_NE(first, second);
    selectRows(first, {0});
    SendMessageW(first, WM_COMMAND, IDC_SETTINGS_REMOVE_RULE, 0);
    EXPECT_EQ(2u, rowsOf(first).size());
    EXPECT_EQ(3u, rowsOf(second).size());
}

// Opens the context menu at `screen` and reports the grey state of edit and remove.
struct MenuState {
    bool seen = false;
    bool editGrey = false;
    bool removeGrey = false;
};
MenuState menuStateOf;

BOOL CALLBACK findMenuWindow(HWND window, LPARAM context) {
    wchar_t className[16] = {};
    GetClassNameW(window, className, 16);
    DWORD process = 0;
    GetWindowThreadProcessId(window, &process);
    if (process == GetCurrentProcessId() && std::wstring(className) == L"#32768" &&
        IsWindowVisible(window)) {
        *reinterpret_cast<HWND *>(context) = window;
        return FALSE;
    }
    return TRUE;
}

void CALLBACK inspectMenu(HWND, UINT, UINT_PTR timer, DWORD) {
    HWND menuWindow = nullptr;
    EnumWindows(findMenuWindow, reinterpret_cast<LPARAM>(&menuWindow));
    if (!menuWindow)
        return;
    HMENU menu = reinterpret_cast<HMENU>(SendMessageW(menuWindow, MN_GETHMENU, 0, 0));
    menuStateOf.seen = menu != nullptr;
    menuStateOf.editGrey =
        (GetMenuState(menu, IDM_SETTINGS_EDIT_RULE, MF_BYCOMMAND) & MF_GRAYED) != 0;
    menuStateOf.removeGrey =
        (GetMenuState(menu, IDM_SETTINGS_REMOVE_RULE, MF_BYCOMMAND) & MF_GRAYED) != 0;
    KillTimer(nullptr, timer);
    EndMenu();
}

MenuState openContextMenuAt(HWND dialog, POINT screen) {
    menuStateOf = MenuState{};
    UINT_PTR timer = SetTimer(nullptr, 0, 100, inspectMenu);
    HWND list = GetDlgItem(dialog, IDC_SETTINGS_RULES);
    SendMessageW(dialog, WM_CONTEXTMENU, reinterpret_cast<WPARAM>(list),
                 MAKELPARAM(screen.x, screen.y));
    KillTimer(nullptr, timer);
    pumpMessages(20);
    return menuStateOf;
}

TEST_F(SettingsDialogTest, ContextMenuSelectsTheRowUnderThePointer) {
    HWND dialog = openDialog();
    pumpMessages(50);
    HWND list = GetDlgItem(dialog, IDC_SETTINGS_RULES);
    RECT row{};
    row.left = LVIR_BOUNDS;
    SendMessageW(list, LVM_GETITEMRECT, 1, reinterpret_cast<LPARAM>(&row));
    POINT onRow{row.left + 20, (row.top + row.bottom) / 2};
    ClientToScreen(list, &onRow);
    selectRows(dialog, {0, 2});

    MenuState state = openContextMenuAt(dialog, onRow);
    EXPECT_TRUE(state.seen);
    EXPECT_FALSE(state.editGrey);
    EXPECT_FALSE(state.removeGrey);
    EXPECT_EQ(std::vector<int>{1}, selectedRows(dialog));

    RECT client{};
    GetClientRect(list, &client);
    POINT empty{client.left + 20, client.bottom - 4};
    ClientToScreen(list, &empty);
    state = openContextMenuAt(dialog, empty);
    EXPECT_TRUE(state.seen);
    EXPECT_TRUE(state.editGrey);
    EXPECT_TRUE(state.removeGrey);
    EXPECT_TRUE(selectedRows(dialog).empty());
}

// The findings never to be shown are listed in their order; one taken back is shown again
// once OK has saved the settings.
TEST_F(SettingsDialogTest, HiddenFindingsAreListedAndOneTakenBackGoesAtOk) {
    config().setHiddenFindings({{"r1", "m1"}, {"r0", "m2"}});
    testRun = [](std::wstring &) { return true; };
    HWND dialog = openDialog();
    HWND list = GetDlgItem(dialog, IDC_SETTINGS_HIDDEN);
    ASSERT_EQ(2, SendMessageW(list, LB_GETCOUNT, 0, 0));
    wchar_t text[64] = {};
    SendMessageW(list, LB_GETTEXT, 1, reinterpret_cast<LPARAM>(text));
    EXPECT_STREQ(text, L"r0: m2");
    SendMessageW(list, LB_SETCURSEL, 0, 0);
    SendMessageW(dialog, WM_COMMAND, IDC_SETTINGS_UNHIDE, 0);
    EXPECT_EQ(1, SendMessageW(list, LB_GETCOUNT, 0, 0));
    EXPECT_THAT(config().getHiddenFindings(), ::testing::SizeIs(2)) << "nothing before OK";
    SendMessageW(dialog, WM_COMMAND, IDOK, 0);
    EXPECT_FALSE(IsWindow(dialog));
    EXPECT_THAT(config().getHiddenFindings(), ::testing::ElementsAre(HiddenFinding{"r0", "m2"}));
    EXPECT_NE(
        readFileBytes(iniPath()).find("HiddenFindings=[{\"rule\":\"r0\",\"message\":\"m2\"}]"),
        std::string::npos);
}

// Choices made in the result window are saved at once: one made before the window opened
// is shown, and one made while it is open is shown too and kept by its OK, beside the
// edits typed meanwhile.
TEST_F(SettingsDialogTest, ChoicesMadeElsewhereAreShownAndKeptAtOk) {
    std::vector<TextLintRule> rules = startingRules();
    rules.push_back(TextLintRule{"preset-ja-spacing", true, 0, {}});
    config().setRules(rules);
    config().addHiddenFinding({"r1", "m1"});
    ASSERT_TRUE(config().switchRuleOff("max-ten"));
    testRun = [](std::wstring &) { return true; };
    HWND dialog = openDialog();
    HWND hidden = GetDlgItem(dialog, IDC_SETTINGS_HIDDEN);
    ASSERT_EQ(1, SendMessageW(hidden, LB_GETCOUNT, 0, 0));
    EXPECT_FALSE(rowsOf(dialog).at(0).checked) << "max-ten";

    SetDlgItemTextW(dialog, IDC_SETTINGS_THRESHOLD, L"7");
    const auto hide = [this](const HiddenFinding &finding) {
        config().addHiddenFinding(finding);
        showHiddenFindingInSettingsWindows(finding);
    };
    const auto switchOff = [this](const std::string &rule) {
        ASSERT_TRUE(config().switchRuleOff(rule));
        showRuleOffInSettingsWindows(rule);
    };
    hide({"r2", "m2"});
    hide({"r1", "m1"}); // listed once
    switchOff("sentence-length");
    switchOff("ja-spacing/ja-no-space-around-parentheses");
    switchOff("quillcheck/half-width-kana");
    EXPECT_EQ(2, SendMessageW(hidden, LB_GETCOUNT, 0, 0));
    EXPECT_THAT(
        rowsOf(dialog),
        ::testing::ElementsAre(
            RuleRow{"max-ten", "3", "\"max\":3", false},
            RuleRow{"no-doubled-joshi", "1", "", false},
            RuleRow{"sentence-length", "2", "\"max\":100,\"skipPatterns\":[]", false},
            RuleRow{"preset-ja-spacing", "0", "\"ja-no-space-around-parentheses\":false", true},
            RuleRow{"quillcheck/half-width-kana", "0", "", false}));

    SendMessageW(dialog, WM_COMMAND, IDOK, 0);
    ASSERT_FALSE(IsWindow(dialog));
    EXPECT_THAT(config().getHiddenFindings(),
                ::testing::ElementsAre(HiddenFinding{"r1", "m1"}, HiddenFinding{"r2", "m2"}));
    EXPECT_EQ(config().snapshot().evaluateValueThreshold, 7);
    EXPECT_FALSE(config().findRule("sentence-length")->enabled);
    EXPECT_FALSE(config().findRule("quillcheck/half-width-kana")->enabled);
    EXPECT_TRUE(config().isOwnRuleOff("quillcheck/half-width-kana"));
    const std::string ini = readFileBytes(iniPath());
    EXPECT_NE(ini.find("DisabledRules=[\"max-ten\",\"sentence-length\",\"quillcheck/half-width-"
                       "kana\"]"),
              std::string::npos)
        << ini;
    EXPECT_NE(ini.find("\"ja-no-space-around-parentheses\":false"), std::string::npos) << ini;
}

TEST_F(SettingsDialogTest, CancelAsksFirstAndItsCancelKeepsTheEdits) {
    HWND dialog = openDialog();
    selectRows(dialog, {0});
    SendMessageW(dialog, WM_COMMAND, IDC_SETTINGS_REMOVE_RULE, 0);
    std::optional<ShownMessageBox> question;
    runWhileBlocked([&] { SendMessageW(dialog, WM_COMMAND, IDCANCEL, 0); },
                    [&] {
                        question = waitForMessageBox();
                        if (question)
                            pressMessageBoxButton(question->window, IDCANCEL);
                    });
    ASSERT_TRUE(question.has_value());
    EXPECT_EQ("Quillcheckオプション - 終了確認", question->captionUtf8());
    EXPECT_EQ("変更した内容は反映されませんが本当によろしいですか。", question->textUtf8());
    EXPECT_TRUE(IsWindow(dialog));
    EXPECT_EQ(2u, rowsOf(dialog).size());
}

TEST_F(SettingsDialogTest, CancelConfirmedClosesWithoutApplying) {
    HWND dialog = openDialog();
    selectRows(dialog, {0});
    SendMessageW(dialog, WM_COMMAND, IDC_SETTINGS_REMOVE_RULE, 0);
    click(dialog, IDC_SETTINGS_ENABLE_HTML);
    {
        MessageBoxRecorder recorder;
        // The close box asks the same question: the close request becomes Cancel.
        PostMessageW(dialog, WM_CLOSE, 0, 0);
        for (int i = 0; i < 100 && IsWindow(dialog); ++i)
            pumpMessages(20);
        EXPECT_EQ(1u, recorder.count());
    }
    EXPECT_FALSE(IsWindow(dialog));
    EXPECT_EQ(3u, config().getRules().size());
    EXPECT_TRUE(config().snapshot().enableProofreadingHTMLMail);
    EXPECT_EQ(INVALID_FILE_ATTRIBUTES, GetFileAttributesA(iniPath().c_str()));

    HWND again = openDialog();
    EXPECT_EQ(3u, rowsOf(again).size());
    EXPECT_EQ(BST_CHECKED, IsDlgButtonChecked(again, IDC_SETTINGS_ENABLE_HTML));
}

TEST_F(SettingsDialogTest, BrowsePutsThePickedFileIntoThePathAndCancelKeepsIt) {
    HWND dialog = openDialog();
    HWND path = GetDlgItem(dialog, IDC_SETTINGS_CMD_PATH);
    const std::string picked = textlintCmdPath();
    auto browse = [&](const std::function<void(HWND)> &answer) {
        runWhileBlocked([&] { SendMessageW(dialog, WM_COMMAND, IDC_SETTINGS_BROWSE, 0); },
                        [&] {
                            HWND open = waitForDialog(L"textlintのバッチファイルを選択");
                            ASSERT_TRUE(open != nullptr);
                            answer(open);
                        });
    };
    browse([](HWND open) { PostMessageW(open, WM_COMMAND, IDCANCEL, 0); });
    EXPECT_EQ(standInCommand(), windowTextUtf8(path));

    browse([&](HWND open) {
        // The file name box of the system's dialog (combo box 0x47C or edit 0x480).
        HWND name = GetDlgItem(open, 0x47C);
        if (!name)
            name = GetDlgItem(open, 0x480);
        SendMessageW(name, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(wide(picked).c_str()));
        PostMessageW(open, WM_COMMAND, IDOK, 0);
    });
    EXPECT_EQ(picked, windowTextUtf8(path));
}

} // namespace
} // namespace quill::test

namespace quill::test {
namespace {

std::vector<RuleRow> recommendedRows() {
    std::vector<RuleRow> rows;
    for (const TextLintRule &rule : recommendedRules())
        rows.push_back(rowOfRule(rule));
    return rows;
}

// Presses the recommended-rules button; the second thread answers a question with `answer`.
std::optional<ShownMessageBox> pressRecommended(HWND dialog, int answer) {
    std::optional<ShownMessageBox> question;
    runWhileBlocked([&] { SendMessageW(dialog, WM_COMMAND, IDC_SETTINGS_RECOMMENDED_RULES, 0); },
                    [&] {
                        question = waitForMessageBox(1500);
                        if (question)
                            pressMessageBoxButton(question->window, answer);
                    });
    return question;
}

// Replacing rows asks first: its Cancel keeps them, its OK puts the recommended rows in
// their place. An empty list, or one that already holds them, is filled without a word.
TEST_F(SettingsDialogTest, RecommendedRulesButtonAsksBeforeReplacingRowsAndRestoresThem) {
    HWND dialog = openDialog();
    const std::vector<RuleRow> before = rowsOf(dialog);
    std::optional<ShownMessageBox> question = pressRecommended(dialog, IDCANCEL);
    ASSERT_TRUE(question.has_value());
    EXPECT_EQ(dialog, question->owner);
    EXPECT_THAT(question->textUtf8(), ::testing::HasSubstr("おすすめのルール"));
    EXPECT_EQ(before, rowsOf(dialog));

    ASSERT_TRUE(pressRecommended(dialog, IDOK).has_value());
    EXPECT_EQ(recommendedRows(), rowsOf(dialog));
    EXPECT_FALSE(pressRecommended(dialog, IDOK).has_value());

    SendDlgItemMessageW(dialog, IDC_SETTINGS_RULES, LVM_DELETEALLITEMS, 0, 0);
    EXPECT_FALSE(pressRecommended(dialog, IDOK).has_value());
    EXPECT_EQ(recommendedRows(), rowsOf(dialog));
}

TEST(DialogResources, EveryLabelHasRoomForTheWidestJapaneseInterfaceFont) {
    EXPECT_THAT(labelsWithoutRoom(IDD_SETTINGS, 1.15), ::testing::IsEmpty());
    EXPECT_THAT(labelsWithoutRoom(IDD_RULE_PROPERTY, 1.15), ::testing::IsEmpty());
}

} // namespace
} // namespace quill::test
