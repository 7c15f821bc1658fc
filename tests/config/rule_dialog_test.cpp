// The rule property dialog, opened modally from the settings dialog and worked from a
// second thread: adding rows, editing the first selected row, Cancel, and the cuts.
#include "resources/resource_ids.h"
#include "tests/config/settings_fixture.h"

#include <commctrl.h>
#include <gmock/gmock.h>

#include <algorithm>

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

namespace quill::test {
namespace {

std::vector<std::string> offeredNames(HWND rule) {
    HWND combo = GetDlgItem(rule, IDC_RULE_NAME);
    std::vector<std::string> names;
    const int count = static_cast<int>(SendMessageW(combo, CB_GETCOUNT, 0, 0));
    for (int i = 0; i < count; ++i) {
        wchar_t text[256] = {};
        SendMessageW(combo, CB_GETLBTEXT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(text));
        names.push_back(utf8(text));
    }
    return names;
}

// Chooses the offered item `name` as a user does; false when it is not offered.
bool choose(HWND rule, const std::string &name) {
    HWND combo = GetDlgItem(rule, IDC_RULE_NAME);
    const LRESULT item = SendMessageW(combo, CB_FINDSTRINGEXACT, static_cast<WPARAM>(-1),
                                      reinterpret_cast<LPARAM>(wide(name).c_str()));
    if (item == CB_ERR)
        return false;
    SendMessageW(combo, CB_SETCURSEL, static_cast<WPARAM>(item), 0);
    SendMessageW(rule, WM_COMMAND, MAKEWPARAM(IDC_RULE_NAME, CBN_SELCHANGE),
                 reinterpret_cast<LPARAM>(combo));
    return true;
}

// The test bed's textlint (C:\textlint) has several rules beside it: each is offered by the
// name the settings use, with its package's description; a library among them is not; a
// name typed that is not installed shows no description and is stored as typed.
TEST_F(RuleDialogTest, OffersTheRulesInstalledBesideTextlintWithTheirDescriptions) {
    HWND settings = openDialog();
    SetDlgItemTextW(settings, IDC_SETTINGS_CMD_PATH, wide(textlintCmdPath()).c_str());
    std::vector<std::string> names;
    std::string chosenDescription, typedDescription;
    workRuleDialog(settings, IDC_SETTINGS_ADD_RULE, IDOK, [&](HWND rule) {
        names = offeredNames(rule);
        EXPECT_TRUE(choose(rule, "no-dropping-the-ra"));
        EXPECT_EQ("no-dropping-the-ra", fieldText(rule, IDC_RULE_NAME));
        chosenDescription = fieldText(rule, IDC_RULE_DESCRIPTION);
        EXPECT_TRUE(choose(rule, "max-ten"));
        setField(rule, IDC_RULE_NAME, "my-own-rule");
        SendMessageW(rule, WM_COMMAND, MAKEWPARAM(IDC_RULE_NAME, CBN_EDITCHANGE),
                     reinterpret_cast<LPARAM>(GetDlgItem(rule, IDC_RULE_NAME)));
        typedDescription = fieldText(rule, IDC_RULE_DESCRIPTION);
    });
    EXPECT_THAT(names, ::testing::IsSupersetOf({"max-ten", "no-doubled-joshi", "sentence-length",
                                                "preset-ja-spacing", "no-dropping-the-ra"}));
    EXPECT_TRUE(std::is_sorted(names.begin(), names.end()));
    EXPECT_THAT(names, ::testing::Not(::testing::Contains("helper")));
    EXPECT_EQ("ら抜き言葉を検出するtextlint rule", chosenDescription);
    EXPECT_EQ("", typedDescription);
    EXPECT_EQ("my-own-rule", rowsOf(settings).back().name);
}

// Scoped rules and presets take the names textlint reads; a folder nearer the command wins
// over one above it; a package without package.json is offered without a description.
TEST_F(RuleDialogTest, OfferedNamesOfScopedRulesAndPresetsFromEveryFolderAbove) {
    TempDir tree("qrn");
    const std::string inner = tree.file("tool");
    const std::string outerModules = tree.file("node_modules");
    const std::string innerModules = inner + "\\node_modules";
    for (const std::string &folder :
         {inner, outerModules, outerModules + "\\@quill",
          outerModules + "\\@quill\\textlint-rule-polite", outerModules + "\\textlint-rule-max-ten",
          innerModules, innerModules + "\\textlint-rule-preset-office",
          innerModules + "\\textlint-rule-max-ten", innerModules + "\\kuromoji"})
        ASSERT_TRUE(CreateDirectoryA(folder.c_str(), nullptr)) << folder;
    writeFileBytes(outerModules + "\\@quill\\textlint-rule-polite\\package.json",
                   "{\"name\":\"@quill/textlint-rule-polite\",\"description\":\"丁寧さを見る\"}");
    writeFileBytes(outerModules + "\\textlint-rule-max-ten\\package.json",
                   "{\"description\":\"outer\"}");
    writeFileBytes(innerModules + "\\textlint-rule-max-ten\\package.json",
                   "{\"description\":\"inner\"}");
    writeFileBytes(inner + "\\textlint.cmd", "@echo off\r\n");
    HWND settings = openDialog();
    SetDlgItemTextW(settings, IDC_SETTINGS_CMD_PATH, wide(inner + "\\textlint.cmd").c_str());
    std::vector<std::string> names;
    std::string polite, maxTen, preset;
    workRuleDialog(settings, IDC_SETTINGS_ADD_RULE, IDCANCEL, [&](HWND rule) {
        names = offeredNames(rule);
        choose(rule, "@quill/polite");
        polite = fieldText(rule, IDC_RULE_DESCRIPTION);
        choose(rule, "max-ten");
        maxTen = fieldText(rule, IDC_RULE_DESCRIPTION);
        choose(rule, "preset-office");
        preset = fieldText(rule, IDC_RULE_DESCRIPTION);
    });
    EXPECT_THAT(names, ::testing::ElementsAre("@quill/polite", "max-ten", "preset-office"));
    EXPECT_EQ("丁寧さを見る", polite);
    EXPECT_EQ("inner", maxTen);
    EXPECT_EQ("", preset);
}

} // namespace
} // namespace quill::test
