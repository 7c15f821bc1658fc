// OK in the settings dialog: the entries are applied, proved by a run of the real
// textlint, and saved; a failed run shows a message, puts the previous settings back and
// keeps the dialog open with the entries.
#include "resources/resource_ids.h"
#include "tests/config/settings_fixture.h"
#include "tests/support/message_box_watcher.h"

#include <commctrl.h>

namespace quill::test {
namespace {

using ConfirmTest = SettingsDialogFixture;

const char FAILURE_TEXT[] =
    "textlintの実行に失敗しました。設定値に誤りがないか、ルール名に誤りがないか確認して下さい。";

void setText(HWND dialog, int id, const std::string &text) {
    SetWindowTextW(GetDlgItem(dialog, id), wide(text).c_str());
}

void setChecked(HWND dialog, int row, bool checked) {
    LVITEMW item{};
    item.stateMask = LVIS_STATEIMAGEMASK;
    item.state = INDEXTOSTATEIMAGEMASK(checked ? 2 : 1);
    SendDlgItemMessageW(dialog, IDC_SETTINGS_RULES, LVM_SETITEMSTATE, static_cast<WPARAM>(row),
                        reinterpret_cast<LPARAM>(&item));
}

void setCell(HWND dialog, int row, int column, const std::string &text) {
    std::wstring w = wide(text);
    LVITEMW item{};
    item.iSubItem = column;
    item.pszText = w.data();
    SendDlgItemMessageW(dialog, IDC_SETTINGS_RULES, LVM_SETITEMTEXTW, static_cast<WPARAM>(row),
                        reinterpret_cast<LPARAM>(&item));
}

std::string iniValue(const std::string &ini, const char *key) {
    char value[4096] = {};
    GetPrivateProfileStringA("Quillcheck", key, "<missing>", value, sizeof value, ini.c_str());
    return value;
}

TEST_F(ConfirmTest, WorkingTextlintSavesEveryEntryAndCloses) {
    HWND dialog = openDialog();
    setText(dialog, IDC_SETTINGS_CMD_PATH, textlintCmdPath());
    // Rows as typed: an empty weight cell, empty option pieces, a cleared check box.
    setCell(dialog, 0, 1, "");
    setCell(dialog, 0, 2, ",\"max\":5,,");
    setChecked(dialog, 1, false);
    setChecked(dialog, 2, false);
    selectRows(dialog, {2});
    SendMessageW(dialog, WM_COMMAND, IDC_SETTINGS_REMOVE_RULE, 0);
    SendDlgItemMessageW(dialog, IDC_SETTINGS_ENABLE_THRESHOLD, BM_CLICK, 0, 0);
    setText(dialog, IDC_SETTINGS_THRESHOLD, "12abc");
    SendDlgItemMessageW(dialog, IDC_SETTINGS_ENABLE_HTML, BM_CLICK, 0, 0);
    SendDlgItemMessageW(dialog, IDC_SETTINGS_EXCLUDE_SIGNATURE, BM_CLICK, 0, 0);
    SendDlgItemMessageW(dialog, IDC_SETTINGS_CHECK_MACHINE_DEPENDENT, BM_CLICK, 0, 0);
    setText(dialog, IDC_SETTINGS_QUOTE_MARKS, "＞#");
    SendDlgItemMessageW(dialog, IDC_SETTINGS_CHECK_WHILE_TYPING, BM_CLICK, 0, 0);
    EXPECT_FALSE(IsWindowEnabled(GetDlgItem(dialog, IDC_SETTINGS_TYPING_DELAY)));
    setText(dialog, IDC_SETTINGS_TYPING_DELAY, "50");

    MessageBoxRecorder recorder;
    SendMessageW(dialog, WM_COMMAND, IDOK, 0);
    EXPECT_EQ(0u, recorder.count()) << (recorder.count() ? recorder.boxes()[0].textUtf8() : "");
    EXPECT_FALSE(IsWindow(dialog));

    EXPECT_EQ(textlintCmdPath(), config().getTextLintCmdPath());
    std::vector<TextLintRule> rules = config().getRules();
    ASSERT_EQ(2u, rules.size());
    EXPECT_EQ("max-ten", rules[0].name);
    EXPECT_EQ(0, rules[0].weight);
    EXPECT_EQ(std::vector<std::string>{"\"max\":5"}, rules[0].options);
    EXPECT_FALSE(rules[1].enabled);
    EXPECT_TRUE(config().snapshot().enableEvaluateValueThreshold);
    EXPECT_EQ(12, config().snapshot().evaluateValueThreshold);
    EXPECT_FALSE(config().snapshot().enableProofreadingHTMLMail);

    EXPECT_EQ(textlintCmdPath(), iniValue(iniPath(), "TextLintCmdPath"));
    EXPECT_EQ("true", iniValue(iniPath(), "EnableEvaluateValueThreshold"));
    EXPECT_EQ("12", iniValue(iniPath(), "EvaluateValueThreshold"));
    EXPECT_EQ("false", iniValue(iniPath(), "EnableProofreadingHTMLMail"));
    EXPECT_EQ("false", iniValue(iniPath(), "EnableResidentTextLint"));
    EXPECT_EQ("true", iniValue(iniPath(), "ExcludeQuotedLines"));
    EXPECT_EQ("\x81\x84#", iniValue(iniPath(), "QuoteMarks")); // CP932
    EXPECT_EQ("true", iniValue(iniPath(), "ExcludeSignature"));
    EXPECT_EQ("false", iniValue(iniPath(), "CheckMachineDependentCharacters"));
    EXPECT_EQ("false", iniValue(iniPath(), "CheckWhileTyping"));
    EXPECT_EQ("300", iniValue(iniPath(), "CheckWhileTypingDelay")) << "held to its range";
    EXPECT_EQ("{\"max-ten\":0,\"no-doubled-joshi\":1}", iniValue(iniPath(), "EvaluateWeightList"));
    EXPECT_EQ("{\"rules\":{\"max-ten\":{\"max\":5},\"no-doubled-joshi\":false}}",
              iniValue(iniPath(), "TextLintConfig"));
}

TEST_F(ConfirmTest, SettingsThatCannotBeSavedAreNotClosedAsSaved) {
    config().setIniFilePath("C:\\no such folder\\Quillcheck.ini");
    HWND dialog = openDialog();
    SendDlgItemMessageW(dialog, IDC_SETTINGS_ENABLE_THRESHOLD, BM_CLICK, 0, 0);

    MessageBoxRecorder recorder;
    SendMessageW(dialog, WM_COMMAND, IDOK, 0);
    ASSERT_TRUE(recorder.waitForCount(1, 1000));
    EXPECT_EQ("Quillcheck", recorder.boxes()[0].captionUtf8());
    EXPECT_EQ("設定をファイルに保存できませんでした。変更した内容は次回の起動時には失われます。",
              recorder.boxes()[0].textUtf8());
    EXPECT_FALSE(IsWindow(dialog));
    EXPECT_TRUE(config().snapshot().enableEvaluateValueThreshold);
}

// Runs OK with a recorder and checks that the run was refused: the message begins with
// `message` (a failed run's reason follows), the settings as they were, nothing saved, the
// dialog still open. The whole message goes to `shown` when given.
void expectRefused(HWND dialog, const std::string &iniPath,
                   const std::vector<TextLintRule> &rulesBefore, const std::string &pathBefore,
                   const std::string &message = FAILURE_TEXT, std::string *shown = nullptr) {
    MessageBoxRecorder recorder;
    SendMessageW(dialog, WM_COMMAND, IDOK, 0);
    ASSERT_TRUE(recorder.waitForCount(1, 1000));
    ASSERT_TRUE(IsWindow(dialog));
    EXPECT_EQ(1u, recorder.count());
    EXPECT_EQ("Quillcheck", recorder.boxes()[0].captionUtf8());
    const std::string text = recorder.boxes()[0].textUtf8();
    EXPECT_EQ(0u, text.find(message)) << text;
    if (shown != nullptr)
        *shown = text;
    EXPECT_TRUE(IsWindow(dialog));
    TextLintConfig &c = TextLintConfig::getInstance();
    EXPECT_EQ(pathBefore, c.getTextLintCmdPath());
    std::vector<TextLintRule> rules = c.getRules();
    ASSERT_EQ(rulesBefore.size(), rules.size());
    for (size_t i = 0; i < rules.size(); ++i) {
        EXPECT_EQ(rulesBefore[i].name, rules[i].name);
        EXPECT_EQ(rulesBefore[i].options, rules[i].options);
    }
    EXPECT_FALSE(c.snapshot().enableEvaluateValueThreshold);
    EXPECT_EQ(5, c.snapshot().evaluateValueThreshold);
    EXPECT_TRUE(c.snapshot().enableProofreadingHTMLMail);
    EXPECT_EQ(INVALID_FILE_ATTRIBUTES, GetFileAttributesA(iniPath.c_str()));
}

TEST_F(ConfirmTest, EmptyRuleListIsSavedWithoutATestRun) {
    int runs = 0;
    testRun = [&runs](std::wstring &) { return ++runs < 0; };
    HWND dialog = openDialog();
    selectRows(dialog, {0, 1, 2});
    SendMessageW(dialog, WM_COMMAND, IDC_SETTINGS_REMOVE_RULE, 0);
    MessageBoxRecorder recorder;
    SendMessageW(dialog, WM_COMMAND, IDOK, 0);
    EXPECT_EQ(0u, recorder.count());
    EXPECT_FALSE(IsWindow(dialog));
    EXPECT_EQ(0, runs);
    EXPECT_TRUE(config().getRules().empty());
    EXPECT_EQ("{}", iniValue(iniPath(), "TextLintConfig"));
    EXPECT_EQ("{}", iniValue(iniPath(), "EvaluateWeightList"));
}

TEST_F(ConfirmTest, OptionsThatWouldNotReadBackAreRefusedNamingTheRule) {
    int runs = 0;
    testRun = [&runs](std::wstring &) { return ++runs > 0; };
    std::vector<TextLintRule> before = config().getRules();
    HWND dialog = openDialog();
    // JSON5: textlint would take it, the settings could not read it back.
    setCell(dialog, 2, 2, "max: 120");
    MessageBoxRecorder recorder;
    SendMessageW(dialog, WM_COMMAND, IDOK, 0);
    ASSERT_TRUE(recorder.waitForCount(1, 1000));
    EXPECT_EQ("Quillcheck", recorder.boxes()[0].captionUtf8());
    EXPECT_EQ("ルール「sentence-length」のオプションを読み取れません。オプションはJSONの形で、"
              "\"max\":3 のように名前を二重引用符で囲んで入力して下さい。",
              recorder.boxes()[0].textUtf8());
    EXPECT_TRUE(IsWindow(dialog));
    EXPECT_EQ(0, runs);
    EXPECT_EQ("max: 120", rowsOf(dialog)[2].options);
    EXPECT_EQ(before[2].options, config().getRules()[2].options);
    EXPECT_EQ(INVALID_FILE_ATTRIBUTES, GetFileAttributesA(iniPath().c_str()));
}

TEST_F(ConfirmTest, RuleThatIsNotInstalledIsRefusedAndTheEntriesStay) {
    config().setTextLintCmdPath(textlintCmdPath());
    std::vector<TextLintRule> before = config().getRules();
    HWND dialog = openDialog();
    setCell(dialog, 0, 0, "no-such-rule-quillcheck");
    SendDlgItemMessageW(dialog, IDC_SETTINGS_ENABLE_THRESHOLD, BM_CLICK, 0, 0);
    setText(dialog, IDC_SETTINGS_THRESHOLD, "40");
    std::string shown;
    ASSERT_NO_FATAL_FAILURE(
        expectRefused(dialog, iniPath(), before, textlintCmdPath(), FAILURE_TEXT, &shown));
    // Why, and what to do, as a failed check says it.
    EXPECT_NE(std::string::npos, shown.find("npm install textlint-rule-no-such-rule-quillcheck"))
        << shown;
    EXPECT_EQ("no-such-rule-quillcheck", rowsOf(dialog)[0].name);
    EXPECT_EQ("40", windowTextUtf8(GetDlgItem(dialog, IDC_SETTINGS_THRESHOLD)));
}

TEST_F(ConfirmTest, CommandPathWhereNothingExistsIsRefusedInsteadOfDropped) {
    std::vector<TextLintRule> before = config().getRules();
    HWND dialog = openDialog();
    const std::string typed = "C:\\no such folder\\textlint.cmd";
    setText(dialog, IDC_SETTINGS_CMD_PATH, typed);
    selectRows(dialog, {0});
    SendMessageW(dialog, WM_COMMAND, IDC_SETTINGS_REMOVE_RULE, 0);
    ASSERT_NO_FATAL_FAILURE(
        expectRefused(dialog, iniPath(), before, standInCommand(),
                      "TextLintのコマンドパス「" + typed +
                          "」が見つかりません。パスに誤りがないか確認して下さい。"));
    EXPECT_EQ(typed, windowTextUtf8(GetDlgItem(dialog, IDC_SETTINGS_CMD_PATH)));
    EXPECT_EQ(2u, rowsOf(dialog).size());
}

TEST_F(ConfirmTest, FailedRunPutsBackAKeptPathWhereNothingExists) {
    const std::string gone = "C:\\gone\\textlint.cmd";
    config().restoreTextLintCmdPath(gone);
    std::vector<TextLintRule> before = config().getRules();
    HWND dialog = openDialog();
    setText(dialog, IDC_SETTINGS_CMD_PATH, textlintCmdPath());
    setCell(dialog, 0, 0, "no-such-rule-quillcheck");
    ASSERT_NO_FATAL_FAILURE(expectRefused(dialog, iniPath(), before, gone));
}

} // namespace
} // namespace quill::test
