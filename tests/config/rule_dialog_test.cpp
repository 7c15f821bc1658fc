// The rule property dialog, opened modally from the settings dialog and worked from a
// second thread: adding rows, editing the first selected row, Cancel, and the cuts.
#include "resources/resource_ids.h"
#include "tests/config/settings_fixture.h"

#include <commctrl.h>

namespace quill::test {
namespace {

using RuleDialogTest = SettingsDialogFixture;

const wchar_t RULE_DIALOG_CAPTION[] = L"校正ルールプロパティ";

struct Fields {
    std::string name, weight, options;
};

std::string fieldText(HWND dialog, int id) {
    return windowTextUtf8(GetDlgItem(dialog, id));
}

// Sends `command` to the settings dialog, which blocks in the rule dialog; the second
// thread records the fields as loaded, lets `edit` change them, then presses `button`.
Fields workRuleDialog(HWND settings, int command, int button,
                      const std::function<void(HWND)> &edit = nullptr) {
    Fields loaded;
    bool found = false;
    runWhileBlocked([&] { SendMessageW(settings, WM_COMMAND, static_cast<WPARAM>(command), 0); },
                    [&] {
                        HWND rule = waitForDialog(RULE_DIALOG_CAPTION);
                        if (!rule)
                            return;
                        found = true;
                        loaded =
                            Fields{fieldText(rule, IDC_RULE_NAME), fieldText(rule, IDC_RULE_WEIGHT),
                                   fieldText(rule, IDC_RULE_OPTIONS)};
                        EXPECT_FALSE(IsWindowEnabled(settings));
                        if (edit)
                            edit(rule);
                        PostMessageW(rule, WM_COMMAND, static_cast<WPARAM>(button), 0);
                    });
    EXPECT_TRUE(found) << "no rule dialog appeared";
    return loaded;
}

void setField(HWND rule, int id, const std::string &text) {
    SendMessageW(GetDlgItem(rule, id), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(wide(text).c_str()));
}

TEST_F(RuleDialogTest, AddWithFieldsUntouchedAppendsAnEmptyUntickedRow) {
    HWND settings = openDialog();
    selectRows(settings, {1}); // Add deselects first, so nothing is edited.
    Fields loaded = workRuleDialog(settings, IDC_SETTINGS_ADD_RULE, IDOK);
    EXPECT_EQ("", loaded.name);
    EXPECT_EQ("0", loaded.weight);
    EXPECT_EQ("", loaded.options);
    std::vector<RuleRow> rows = rowsOf(settings);
    ASSERT_EQ(4u, rows.size());
    EXPECT_EQ("no-doubled-joshi", rows[1].name);
    EXPECT_EQ("", rows[3].name);
    EXPECT_EQ("0", rows[3].weight);
    EXPECT_EQ("", rows[3].options);
    EXPECT_FALSE(rows[3].checked);
    EXPECT_TRUE(IsWindowEnabled(settings));
}

TEST_F(RuleDialogTest, AddFromTheMenuStoresTheTypedFieldsAndAnEmptyWeightAsZero) {
    HWND settings = openDialog();
    workRuleDialog(settings, IDM_SETTINGS_ADD_RULE, IDOK, [](HWND rule) {
        setField(rule, IDC_RULE_NAME, "ja-no-redundant-expression");
        setField(rule, IDC_RULE_WEIGHT, "");
        setField(rule, IDC_RULE_OPTIONS, "\"allowNounFollowingKotoAndMono\":true");
    });
    std::vector<RuleRow> rows = rowsOf(settings);
    ASSERT_EQ(4u, rows.size());
    EXPECT_EQ("ja-no-redundant-expression", rows[3].name);
    EXPECT_EQ("0", rows[3].weight);
    EXPECT_EQ("\"allowNounFollowingKotoAndMono\":true", rows[3].options);
}

TEST_F(RuleDialogTest, EditWorksOnTheFirstSelectedRow) {
    HWND settings = openDialog();
    selectRows(settings, {2, 0});
    Fields loaded = workRuleDialog(settings, IDM_SETTINGS_EDIT_RULE, IDOK, [](HWND rule) {
        setField(rule, IDC_RULE_NAME, "max-ten2");
        setField(rule, IDC_RULE_WEIGHT, "9");
    });
    EXPECT_EQ("max-ten", loaded.name);
    EXPECT_EQ("3", loaded.weight);
    EXPECT_EQ("\"max\":3", loaded.options);
    std::vector<RuleRow> rows = rowsOf(settings);
    ASSERT_EQ(3u, rows.size());
    EXPECT_EQ("max-ten2", rows[0].name);
    EXPECT_EQ("9", rows[0].weight);
    EXPECT_EQ("\"max\":3", rows[0].options);
    EXPECT_TRUE(rows[0].checked); // the check box is not touched
    EXPECT_EQ("sentence-length", rows[2].name);
}

TEST_F(RuleDialogTest, EditThenCancelChangesNothing) {
    HWND settings = openDialog();
    std::vector<RuleRow> before = rowsOf(settings);
    selectRows(settings, {1});
    workRuleDialog(settings, IDM_SETTINGS_EDIT_RULE, IDCANCEL, [](HWND rule) {
        setField(rule, IDC_RULE_NAME, "changed");
        setField(rule, IDC_RULE_OPTIONS, "\"x\":1");
    });
    std::vector<RuleRow> after = rowsOf(settings);
    ASSERT_EQ(before.size(), after.size());
    for (size_t i = 0; i < before.size(); ++i) {
        EXPECT_EQ(before[i].name, after[i].name);
        EXPECT_EQ(before[i].weight, after[i].weight);
        EXPECT_EQ(before[i].options, after[i].options);
    }
}

TEST_F(RuleDialogTest, EditCutsALongOptionCellAt255BytesWithoutSplittingACharacter) {
    // 254 ASCII bytes then a character of two bytes in the ANSI code page (932).
    const std::string ascii = "\"allow\":[\"" + std::string(242, 'x') + "\"]";
    ASSERT_EQ(254u, ascii.size());
    const std::string sjisA = "\x82\xa0"; // HIRAGANA A in code page 932
    config().setRules({{"long", true, 1, {ascii + sjisA + "tail"}}, {"short", true, 1, {}}});
    HWND settings = openDialog();
    ASSERT_EQ(ascii.size() + 6, rowsOf(settings)[0].options.size());
    selectRows(settings, {0});
    workRuleDialog(settings, IDM_SETTINGS_EDIT_RULE, IDOK);
    EXPECT_EQ(ascii, rowsOf(settings)[0].options);

    const std::string fits = std::string(250, 'y') + sjisA;
    config().setRules({{"long", true, 1, {fits + "zzzzz"}}});
    HWND second = openDialog();
    selectRows(second, {0});
    workRuleDialog(second, IDM_SETTINGS_EDIT_RULE, IDOK);
    EXPECT_EQ(fits + "zzz", rowsOf(second)[0].options);
}

TEST_F(RuleDialogTest, StoringCutsEachFieldAt1023Bytes) {
    HWND settings = openDialog();
    workRuleDialog(settings, IDC_SETTINGS_ADD_RULE, IDOK, [](HWND rule) {
        setField(rule, IDC_RULE_NAME, std::string(1500, 'n'));
        setField(rule, IDC_RULE_OPTIONS, std::string(1500, 'o'));
    });
    std::vector<RuleRow> rows = rowsOf(settings);
    ASSERT_EQ(4u, rows.size());
    EXPECT_EQ(std::string(1023, 'n'), rows[3].name);
    EXPECT_EQ(std::string(1023, 'o'), rows[3].options);
}

} // namespace
} // namespace quill::test
