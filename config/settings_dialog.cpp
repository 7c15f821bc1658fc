// The settings dialog: fills its controls from the settings, edits the rule list, and on
// OK applies what was entered, proves it by a textlint run and saves it, or puts the
// previous settings back when the run fails.
#include "config/settings_dialog.h"

#include "common/ansi_encoding.h"
#include "common/handles.h"
#include "common/module_instance.h"
#include "common/system_error.h"
#include "config/dialog_data.h"
#include "config/dialog_text.h"
#include "config/recommended_rules.h"
#include "config/rule_dialog.h"
#include "config/text_lint_config.h"
#include "resources/resource_ids.h"

#include <commctrl.h>
#include <commdlg.h>
#include <shlwapi.h>
#include <windowsx.h>

#include <algorithm>
#include <exception>
#include <optional>
#include <string_view>
#include <mutex>
#include <vector>

namespace quill {

namespace {

const wchar_t TEST_RUN_FAILED[] =
    L"textlintの実行に失敗しました。設定値に誤りがないか、ルール名に誤りがないか確認して下さい。";
// Shown when the proved settings could not be written: they hold until the plug-in ends,
// but the next start would quietly bring back the old ones.
const wchar_t SAVE_FAILED[] =
    L"設定をファイルに保存できませんでした。変更した内容は次回の起動時には失われます。";
// Shown when a rule's option text would not read back from the INI file; %s is the rule.
const wchar_t UNREADABLE_OPTIONS[] =
    L"ルール「%s」のオプションを読み取れません。オプションはJSONの形で、"
    L"\"max\":3 のように名前を二重引用符で囲んで入力して下さい。";
// Shown when nothing exists at the command path typed; %s is the path.
const wchar_t PATH_NOT_FOUND[] =
    L"TextLintのコマンドパス「%s」が見つかりません。パスに誤りがないか確認して下さい。";
// Shown under the command path when the path set names nothing and the one shown was
// found where npm puts textlint.
const wchar_t PATH_FOUND[] =
    L"※設定のパスにファイルがないため、npm が入れた textlint を見つけて使っています。";
// Asked before the recommended rules replace rows of the list.
const wchar_t RECOMMENDED_QUESTION[] =
    L"校正ルールの一覧を、おすすめのルールに置き換えます。"
    L"今の一覧にあってもおすすめにないルールは一覧から消えます。よろしいですか。";
// Shown under the command path when the one in use is the textlint that came with the
// plug-in.
const wchar_t PATH_BUNDLED[] =
    L"※プラグインに同梱の textlint（Quillcheck-textlint）を使っています。";
const wchar_t CANCEL_QUESTION[] = L"変更した内容は反映されませんが本当によろしいですか。";
const wchar_t CANCEL_CAPTION[] = L"Quillcheckオプション - 終了確認";

// Check-box state images of the list: 1 unticked, 2 ticked.
constexpr UINT UNTICKED_IMAGE = 1;
constexpr UINT TICKED_IMAGE = 2;

HWND ruleList(HWND dialog) {
    return GetDlgItem(dialog, IDC_SETTINGS_RULES);
}

void setupRuleList(HWND list) {
    const DWORD styles =
        LVS_EX_GRIDLINES | LVS_EX_CHECKBOXES | LVS_EX_HEADERDRAGDROP | LVS_EX_FULLROWSELECT;
    SendMessageW(list, LVM_SETEXTENDEDLISTVIEWSTYLE, styles, styles);
    struct Column {
        const wchar_t *header;
        int width;
    };
    const Column columns[] = {{L"ルール名", 400}, {L"重み", 100}, {L"オプション", 600}};
    for (int i = 0; i < static_cast<int>(std::size(columns)); ++i) {
        std::wstring header = columns[i].header;
        LVCOLUMNW column{};
        column.mask = LVCF_FMT | LVCF_WIDTH | LVCF_TEXT | LVCF_SUBITEM;
        column.fmt = LVCFMT_LEFT;
        column.cx = columns[i].width;
        column.pszText = header.data();
        column.iSubItem = i;
        SendMessageW(list, LVM_INSERTCOLUMNW, static_cast<WPARAM>(i),
                     reinterpret_cast<LPARAM>(&column));
    }
}

void appendRow(HWND list, const RuleRow &row) {
    int index = appendListRow(list, row.name);
    if (index < 0)
        return;
    setListCellText(list, index, 1, row.weight);
    setListCellText(list, index, 2, row.options);
    LVITEMW state{};
    state.stateMask = LVIS_STATEIMAGEMASK;
    state.state = INDEXTOSTATEIMAGEMASK(row.checked ? TICKED_IMAGE : UNTICKED_IMAGE);
    SendMessageW(list, LVM_SETITEMSTATE, static_cast<WPARAM>(index),
                 reinterpret_cast<LPARAM>(&state));
}

RuleRow readRow(HWND list, int index) {
    RuleRow row;
    row.name = listCellText(list, index, 0);
    row.weight = listCellText(list, index, 1);
    row.options = listCellText(list, index, 2);
    UINT state = static_cast<UINT>(
        SendMessageW(list, LVM_GETITEMSTATE, static_cast<WPARAM>(index), LVIS_STATEIMAGEMASK));
    row.checked = (state >> 12) != UNTICKED_IMAGE;
    return row;
}

void setRowSelected(HWND list, int index, bool selected) {
    LVITEMW state{};
    state.stateMask = LVIS_SELECTED | LVIS_FOCUSED;
    state.state = selected ? (LVIS_SELECTED | LVIS_FOCUSED) : 0;
    SendMessageW(list, LVM_SETITEMSTATE, static_cast<WPARAM>(index),
                 reinterpret_cast<LPARAM>(&state));
}

void checkButton(HWND dialog, int id, bool ticked) {
    CheckDlgButton(dialog, id, ticked ? BST_CHECKED : BST_UNCHECKED);
}

bool isTicked(HWND dialog, int id) {
    return IsDlgButtonChecked(dialog, id) == BST_CHECKED;
}

void enableThresholdControls(HWND dialog, bool enable) {
    EnableWindow(GetDlgItem(dialog, IDC_SETTINGS_THRESHOLD), enable);
    EnableWindow(GetDlgItem(dialog, IDC_SETTINGS_THRESHOLD_SPIN), enable);
}

SettingsDialogData currentSettings(TextLintConfig &config) {
    SettingsDialogData data;
    data.textLintCmdPath = config.getTextLintCmdPath();
    data.rules = config.getRules();
    const TextLintSettings settings = config.snapshot();
    data.enableEvaluateValueThreshold = settings.enableEvaluateValueThreshold;
    data.evaluateValueThreshold = settings.evaluateValueThreshold;
    data.enableProofreadingHTMLMail = settings.enableProofreadingHTMLMail;
    data.enableResidentTextLint = settings.enableResidentTextLint;
    data.excludeQuotedLines = settings.excludeQuotedLines;
    data.quoteMarks = settings.quoteMarks;
    data.excludeSignature = settings.excludeSignature;
    data.checkMachineDependentCharacters = settings.checkMachineDependentCharacters;
    data.checkDateWeekdays = settings.checkDateWeekdays;
    data.checkHonorifics = settings.checkHonorifics;
    data.remindForgottenAttachment = settings.remindForgottenAttachment;
    data.remindMismatchedAddressee = settings.remindMismatchedAddressee;
    data.checkWhileTyping = settings.checkWhileTyping;
    data.checkWhileTypingDelay = settings.checkWhileTypingDelay;
    data.hiddenFindings = config.getHiddenFindings();
    return data;
}

// Stores `data` into the settings. False when nothing exists at its command path, which
// then stays as it was.
bool applySettings(TextLintConfig &config, const SettingsDialogData &data) {
    bool pathAccepted = config.setTextLintCmdPath(data.textLintCmdPath);
    config.setRules(data.rules);
    config.update([&data](TextLintSettings &settings) {
        settings.enableEvaluateValueThreshold = data.enableEvaluateValueThreshold;
        settings.evaluateValueThreshold = data.evaluateValueThreshold;
        settings.enableProofreadingHTMLMail = data.enableProofreadingHTMLMail;
        settings.enableResidentTextLint = data.enableResidentTextLint;
        settings.excludeQuotedLines = data.excludeQuotedLines;
        settings.quoteMarks = data.quoteMarks;
        settings.excludeSignature = data.excludeSignature;
        settings.checkMachineDependentCharacters = data.checkMachineDependentCharacters;
        settings.checkDateWeekdays = data.checkDateWeekdays;
        settings.checkHonorifics = data.checkHonorifics;
        settings.remindForgottenAttachment = data.remindForgottenAttachment;
        settings.remindMismatchedAddressee = data.remindMismatchedAddressee;
        settings.checkWhileTyping = data.checkWhileTyping;
        settings.checkWhileTypingDelay = clampCheckWhileTypingDelay(data.checkWhileTypingDelay);
    });
    config.setHiddenFindings(data.hiddenFindings);
    return pathAccepted;
}

void fillDialog(HWND dialog, const SettingsDialogData &data) {
    setControlText(dialog, IDC_SETTINGS_CMD_PATH, data.textLintCmdPath);
    HWND list = ruleList(dialog);
    for (const TextLintRule &rule : data.rules)
        appendRow(list, rowOfRule(rule));
    CheckDlgButton(dialog, IDC_SETTINGS_ENABLE_THRESHOLD,
                   data.enableEvaluateValueThreshold ? BST_CHECKED : BST_UNCHECKED);
    setControlText(dialog, IDC_SETTINGS_THRESHOLD, std::to_string(data.evaluateValueThreshold));
    enableThresholdControls(dialog, data.enableEvaluateValueThreshold);
    CheckDlgButton(dialog, IDC_SETTINGS_ENABLE_HTML,
                   data.enableProofreadingHTMLMail ? BST_CHECKED : BST_UNCHECKED);
    checkButton(dialog, IDC_SETTINGS_ENABLE_RESIDENT, data.enableResidentTextLint);
    checkButton(dialog, IDC_SETTINGS_EXCLUDE_QUOTED, data.excludeQuotedLines);
    setControlText(dialog, IDC_SETTINGS_QUOTE_MARKS, data.quoteMarks);
    EnableWindow(GetDlgItem(dialog, IDC_SETTINGS_QUOTE_MARKS), data.excludeQuotedLines);
    checkButton(dialog, IDC_SETTINGS_EXCLUDE_SIGNATURE, data.excludeSignature);
    checkButton(dialog, IDC_SETTINGS_CHECK_MACHINE_DEPENDENT, data.checkMachineDependentCharacters);
    checkButton(dialog, IDC_SETTINGS_CHECK_DATE_WEEKDAYS, data.checkDateWeekdays);
    checkButton(dialog, IDC_SETTINGS_CHECK_HONORIFICS, data.checkHonorifics);
    checkButton(dialog, IDC_SETTINGS_REMIND_ATTACHMENT, data.remindForgottenAttachment);
    checkButton(dialog, IDC_SETTINGS_REMIND_ADDRESSEE, data.remindMismatchedAddressee);
    checkButton(dialog, IDC_SETTINGS_CHECK_WHILE_TYPING, data.checkWhileTyping);
    setControlText(dialog, IDC_SETTINGS_TYPING_DELAY, std::to_string(data.checkWhileTypingDelay));
    EnableWindow(GetDlgItem(dialog, IDC_SETTINGS_TYPING_DELAY), data.checkWhileTyping);
    // Inserted at the end, never sorted: a row's index is its entry's index.
    for (const HiddenFinding &finding : data.hiddenFindings)
        SendDlgItemMessageW(
            dialog, IDC_SETTINGS_HIDDEN, LB_INSERTSTRING, static_cast<WPARAM>(-1),
            reinterpret_cast<LPARAM>(wideFromAnsi(hiddenFindingLine(finding)).c_str()));
}

SettingsDialogData readDialog(HWND dialog) {
    SettingsDialogData data;
    data.textLintCmdPath = controlText(dialog, IDC_SETTINGS_CMD_PATH, DIALOG_TEXT_LIMIT);
    HWND list = ruleList(dialog);
    int count = static_cast<int>(SendMessageW(list, LVM_GETITEMCOUNT, 0, 0));
    for (int index = 0; index < count; ++index)
        data.rules.push_back(ruleOfRow(readRow(list, index)));
    data.enableEvaluateValueThreshold =
        IsDlgButtonChecked(dialog, IDC_SETTINGS_ENABLE_THRESHOLD) == BST_CHECKED;
    data.evaluateValueThreshold =
        leadingInteger(controlText(dialog, IDC_SETTINGS_THRESHOLD, DIALOG_TEXT_LIMIT));
    data.enableProofreadingHTMLMail =
        IsDlgButtonChecked(dialog, IDC_SETTINGS_ENABLE_HTML) == BST_CHECKED;
    data.enableResidentTextLint = isTicked(dialog, IDC_SETTINGS_ENABLE_RESIDENT);
    data.excludeQuotedLines = isTicked(dialog, IDC_SETTINGS_EXCLUDE_QUOTED);
    data.quoteMarks = controlText(dialog, IDC_SETTINGS_QUOTE_MARKS, DIALOG_TEXT_LIMIT);
    data.excludeSignature = isTicked(dialog, IDC_SETTINGS_EXCLUDE_SIGNATURE);
    data.checkMachineDependentCharacters = isTicked(dialog, IDC_SETTINGS_CHECK_MACHINE_DEPENDENT);
    data.checkDateWeekdays = isTicked(dialog, IDC_SETTINGS_CHECK_DATE_WEEKDAYS);
    data.checkHonorifics = isTicked(dialog, IDC_SETTINGS_CHECK_HONORIFICS);
    data.remindForgottenAttachment = isTicked(dialog, IDC_SETTINGS_REMIND_ATTACHMENT);
    data.remindMismatchedAddressee = isTicked(dialog, IDC_SETTINGS_REMIND_ADDRESSEE);
    data.checkWhileTyping = isTicked(dialog, IDC_SETTINGS_CHECK_WHILE_TYPING);
    // Held to the range as the INI file's value is: an empty field is the shortest pause.
    data.checkWhileTypingDelay = clampCheckWhileTypingDelay(
        leadingInteger(controlText(dialog, IDC_SETTINGS_TYPING_DELAY, DIALOG_TEXT_LIMIT)));
    return data;
}

// What one settings window keeps for its lifetime, in its DWLP_USER slot.
struct SettingsWindowState {
    SettingsTestRun testRun;
    // The hidden findings as the list shows them: OK keeps what is left.
    std::vector<HiddenFinding> hiddenFindings;
};

SettingsWindowState *stateOf(HWND dialog) {
    return reinterpret_cast<SettingsWindowState *>(GetWindowLongPtrW(dialog, DWLP_USER));
}

bool runTestCheck(HWND dialog, std::wstring &why) {
    SettingsWindowState *state = stateOf(dialog);
    return state != nullptr && state->testRun && state->testRun(why);
}

// Refuses options that textlint might accept but the settings could not read back at the
// next start (which would lose every rule): tells which rule; true when all are sound.
bool optionsReadBack(HWND dialog, const std::vector<TextLintRule> &rules) {
    const std::optional<std::size_t> bad = firstRuleWithUnreadableOptions(
        rules, [](std::string_view ansi) { return utf8FromAnsi(ansi); });
    if (!bad)
        return true;
    MessageBoxW(dialog, withAnsiName(UNREADABLE_OPTIONS, rules[*bad].name).c_str(), L"Quillcheck",
                MB_OK);
    return false;
}

void onConfirm(HWND dialog) {
    TextLintConfig &config = TextLintConfig::getInstance();
    SettingsDialogData entered = readDialog(dialog);
    if (SettingsWindowState *state = stateOf(dialog))
        entered.hiddenFindings = state->hiddenFindings;
    else
        entered.hiddenFindings = config.getHiddenFindings();
    if (!optionsReadBack(dialog, entered.rules))
        return;
    // A command path where nothing exists is refused with a word about the path, so the
    // path the user typed is never dropped while the dialog reports success.
    if (!PathFileExistsA(entered.textLintCmdPath.c_str())) {
        MessageBoxW(dialog, withAnsiName(PATH_NOT_FOUND, entered.textLintCmdPath).c_str(),
                    L"Quillcheck", MB_OK);
        return;
    }
    SettingsDialogData kept = currentSettings(config);
    bool succeeded = applySettings(config, entered);
    std::wstring why;
    // With no rule there is nothing for textlint to prove (it would only answer that it
    // has no rules), so the settings are saved as they are.
    if (succeeded && !entered.rules.empty()) {
        try {
            succeeded = runTestCheck(dialog, why);
        } catch (const std::exception &e) {
            writeDiagnosticLine(e.what());
            succeeded = false;
        }
    }
    if (succeeded) {
        if (!config.saveConfig())
            MessageBoxW(dialog, SAVE_FAILED, L"Quillcheck", MB_OK);
        DestroyWindow(dialog);
        return;
    }
    // Put the previous settings back before the message, so that a background check
    // meanwhile does not run with the refused ones. The kept path goes back even when
    // nothing exists there any more.
    applySettings(config, kept);
    config.restoreTextLintCmdPath(kept.textLintCmdPath);
    // What went wrong and what to do, as a failed check tells it, below the general word.
    const std::wstring message = why.empty() ? TEST_RUN_FAILED : TEST_RUN_FAILED + (L"\n\n" + why);
    MessageBoxW(dialog, message.c_str(), L"Quillcheck", MB_OK);
}

void onCancel(HWND dialog) {
    if (MessageBoxW(dialog, CANCEL_QUESTION, CANCEL_CAPTION, MB_OKCANCEL) == IDOK)
        DestroyWindow(dialog);
}

// "%APPDATA%\npm", empty when APPDATA is not set.
std::wstring npmCommandFolder() {
    wchar_t appData[MAX_PATH];
    DWORD length = GetEnvironmentVariableW(L"APPDATA", appData, MAX_PATH);
    if (length == 0 || length >= MAX_PATH)
        return std::wstring();
    return std::wstring(appData, length) + L"\\npm";
}

void onBrowse(HWND dialog) {
    std::vector<wchar_t> file(MAX_PATH * 4, L'\0');
    GetDlgItemTextW(dialog, IDC_SETTINGS_CMD_PATH, file.data(), MAX_PATH);
    OPENFILENAMEW ofn{};
    ofn.lStructSize = sizeof(ofn);
    ofn.hwndOwner = dialog;
    ofn.lpstrFilter = L"bat(*.cmd)\0*.cmd\0All files(*.*)\0*.*\0";
    ofn.nFilterIndex = 1;
    ofn.lpstrFile = file.data();
    ofn.nMaxFile = static_cast<DWORD>(file.size());
    ofn.lpstrTitle = L"textlintのバッチファイルを選択";
    ofn.lpstrDefExt = L"cmd";
    // A field that names nothing starts the dialog where npm puts textlint.
    std::wstring npmFolder;
    if (GetFileAttributesW(file.data()) == INVALID_FILE_ATTRIBUTES) {
        npmFolder = npmCommandFolder();
        if (!npmFolder.empty()) {
            file[0] = L'\0';
            ofn.lpstrInitialDir = npmFolder.c_str();
        }
    }
    ofn.Flags = OFN_FILEMUSTEXIST | OFN_HIDEREADONLY;
    if (GetOpenFileNameW(&ofn))
        SetDlgItemTextW(dialog, IDC_SETTINGS_CMD_PATH, file.data());
}

// Takes the selected hidden finding out of the list: after OK it is shown again.
void onUnhide(HWND dialog) {
    SettingsWindowState *state = stateOf(dialog);
    const LRESULT selected = SendDlgItemMessageW(dialog, IDC_SETTINGS_HIDDEN, LB_GETCURSEL, 0, 0);
    if (state == nullptr || selected == LB_ERR ||
        static_cast<std::size_t>(selected) >= state->hiddenFindings.size())
        return;
    state->hiddenFindings.erase(state->hiddenFindings.begin() + selected);
    SendDlgItemMessageW(dialog, IDC_SETTINGS_HIDDEN, LB_DELETESTRING, static_cast<WPARAM>(selected),
                        0);
}

// A finding hidden in the result window while this window is open: listed at once, so
// that OK keeps it instead of writing back the list as it was when the window opened.
void showHiddenFinding(HWND dialog, const HiddenFinding &finding) {
    SettingsWindowState *state = stateOf(dialog);
    if (state == nullptr || std::find(state->hiddenFindings.begin(), state->hiddenFindings.end(),
                                      finding) != state->hiddenFindings.end())
        return;
    state->hiddenFindings.push_back(finding);
    SendDlgItemMessageW(dialog, IDC_SETTINGS_HIDDEN, LB_INSERTSTRING, static_cast<WPARAM>(-1),
                        reinterpret_cast<LPARAM>(wideFromAnsi(hiddenFindingLine(finding)).c_str()));
}

// A rule switched off in the result window while this window is open: its row shows it at
// once, as the settings took it, so that OK keeps it. Only what the choice changed is
// written: the other rows keep their cells as typed.
void showRuleOff(HWND dialog, const std::string &ruleName) {
    HWND list = ruleList(dialog);
    const int count = static_cast<int>(SendMessageW(list, LVM_GETITEMCOUNT, 0, 0));
    std::vector<TextLintRule> rules;
    for (int index = 0; index < count; ++index)
        rules.push_back(ruleOfRow(readRow(list, index)));
    const std::vector<TextLintRule> before = rules;
    if (!switchRuleOffIn(rules, ruleName, ansiCharLength))
        return;
    for (std::size_t index = 0; index < rules.size(); ++index) {
        const RuleRow row = rowOfRule(rules[index]);
        if (index >= before.size()) {
            appendRow(list, row);
            continue;
        }
        const int at = static_cast<int>(index);
        if (rules[index].options != before[index].options)
            setListCellText(list, at, 2, row.options);
        if (rules[index].enabled != before[index].enabled) {
            LVITEMW state{};
            state.stateMask = LVIS_STATEIMAGEMASK;
            state.state = INDEXTOSTATEIMAGEMASK(UNTICKED_IMAGE);
            SendMessageW(list, LVM_SETITEMSTATE, static_cast<WPARAM>(at),
                         reinterpret_cast<LPARAM>(&state));
        }
    }
}

void onAddRule(HWND dialog) {
    setRowSelected(ruleList(dialog), -1, false);
    openRuleDialog(dialog);
}

void onRemoveRules(HWND dialog) {
    HWND list = ruleList(dialog);
    for (int index = firstSelectedRow(list); index >= 0; index = firstSelectedRow(list))
        if (!SendMessageW(list, LVM_DELETEITEM, static_cast<WPARAM>(index), 0))
            break;
}

// Puts the recommended rows into the list in place of its rows, asking first when that
// would replace rows other than exactly those. The settings change only at OK.
void onRecommendedRules(HWND dialog) {
    HWND list = ruleList(dialog);
    std::vector<RuleRow> recommended;
    for (const TextLintRule &rule : recommendedRules())
        recommended.push_back(rowOfRule(rule));
    std::vector<RuleRow> shown;
    const int count = static_cast<int>(SendMessageW(list, LVM_GETITEMCOUNT, 0, 0));
    for (int index = 0; index < count; ++index)
        shown.push_back(readRow(list, index));
    const auto sameRow = [](const RuleRow &a, const RuleRow &b) {
        return a.name == b.name && a.weight == b.weight && a.options == b.options &&
               a.checked == b.checked;
    };
    if (std::equal(shown.begin(), shown.end(), recommended.begin(), recommended.end(), sameRow))
        return;
    if (!shown.empty() && MessageBoxW(dialog, RECOMMENDED_QUESTION, L"Quillcheck",
                                      MB_OKCANCEL | MB_ICONQUESTION) != IDOK)
        return;
    SendMessageW(list, LVM_DELETEALLITEMS, 0, 0);
    for (const RuleRow &row : recommended)
        appendRow(list, row);
}

// Selects exactly the row under `screen` (or none).
void selectRowAt(HWND list, POINT screen) {
    POINT point = screen;
    ScreenToClient(list, &point);
    int count = static_cast<int>(SendMessageW(list, LVM_GETITEMCOUNT, 0, 0));
    for (int index = 0; index < count; ++index) {
        RECT bounds{};
        bounds.left = LVIR_BOUNDS;
        SendMessageW(list, LVM_GETITEMRECT, static_cast<WPARAM>(index),
                     reinterpret_cast<LPARAM>(&bounds));
        bool hit = point.x >= bounds.left && point.x <= bounds.right && point.y >= bounds.top &&
                   point.y <= bounds.bottom;
        setRowSelected(list, index, hit);
    }
}

void onContextMenu(HWND dialog, LPARAM lParam) {
    HWND list = ruleList(dialog);
    POINT screen{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
    if (screen.x == -1 && screen.y == -1) {
        // From the keyboard: keep the selection and show the menu at the list's corner.
        RECT corner{};
        GetWindowRect(list, &corner);
        screen = POINT{corner.left, corner.top};
    } else {
        selectRowAt(list, screen);
    }
    UniqueMenu menu(LoadMenuW(moduleInstance(), MAKEINTRESOURCEW(IDR_SETTINGS_MENU)));
    if (!menu)
        return;
    HMENU popup = GetSubMenu(menu.get(), 0);
    if (firstSelectedRow(list) < 0) {
        EnableMenuItem(popup, IDM_SETTINGS_REMOVE_RULE, MF_BYCOMMAND | MF_GRAYED);
        EnableMenuItem(popup, IDM_SETTINGS_EDIT_RULE, MF_BYCOMMAND | MF_GRAYED);
    }
    TrackPopupMenu(popup, TPM_LEFTALIGN | TPM_LEFTBUTTON, screen.x, screen.y, 0, dialog, nullptr);
}

void onSpin(HWND dialog, const NMUPDOWN &change) {
    std::string text = controlText(dialog, IDC_SETTINGS_THRESHOLD, THRESHOLD_SPIN_LIMIT);
    setControlText(dialog, IDC_SETTINGS_THRESHOLD, steppedThreshold(text, change.iDelta));
}

bool onCommand(HWND dialog, int id) {
    switch (id) {
    case IDOK:
        onConfirm(dialog);
        return true;
    case IDCANCEL:
        onCancel(dialog);
        return true;
    case IDC_SETTINGS_ENABLE_THRESHOLD:
        enableThresholdControls(dialog, IsDlgButtonChecked(dialog, id) == BST_CHECKED);
        return true;
    case IDC_SETTINGS_EXCLUDE_QUOTED:
        EnableWindow(GetDlgItem(dialog, IDC_SETTINGS_QUOTE_MARKS), isTicked(dialog, id));
        return true;
    case IDC_SETTINGS_CHECK_WHILE_TYPING:
        EnableWindow(GetDlgItem(dialog, IDC_SETTINGS_TYPING_DELAY), isTicked(dialog, id));
        return true;
    case IDC_SETTINGS_BROWSE:
        onBrowse(dialog);
        return true;
    case IDC_SETTINGS_UNHIDE:
        onUnhide(dialog);
        return true;
    case IDC_SETTINGS_ADD_RULE:
    case IDM_SETTINGS_ADD_RULE:
        onAddRule(dialog);
        return true;
    case IDM_SETTINGS_EDIT_RULE:
        openRuleDialog(dialog);
        return true;
    case IDC_SETTINGS_REMOVE_RULE:
    case IDM_SETTINGS_REMOVE_RULE:
        onRemoveRules(dialog);
        return true;
    case IDC_SETTINGS_RECOMMENDED_RULES:
        onRecommendedRules(dialog);
        return true;
    }
    return false;
}

} // namespace

// Every settings window still open, on the host's thread: the plug-in closes them at its
// end, since a window whose procedure lives in an unloaded module would crash the host.
namespace {
std::vector<HWND> &openSettingsWindows() {
    static std::vector<HWND> windows;
    return windows;
}
} // namespace

INT_PTR CALLBACK settingsDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
    try {
        switch (message) {
        case WM_INITDIALOG:
            SetWindowLongPtrW(dialog, DWLP_USER, static_cast<LONG_PTR>(lParam));
            return TRUE;
        case WM_CLOSE:
            PostMessageW(dialog, WM_COMMAND, IDCANCEL, 0);
            return TRUE;
        case WM_COMMAND:
            return onCommand(dialog, LOWORD(wParam)) ? TRUE : FALSE;
        case WM_NOTIFY: {
            const NMHDR *header = reinterpret_cast<const NMHDR *>(lParam);
            if (header->idFrom == IDC_SETTINGS_THRESHOLD_SPIN && header->code == UDN_DELTAPOS) {
                onSpin(dialog, *reinterpret_cast<const NMUPDOWN *>(lParam));
                SetWindowLongPtrW(dialog, DWLP_MSGRESULT, 0);
                return TRUE;
            }
            break;
        }
        case WM_CONTEXTMENU:
            if (reinterpret_cast<HWND>(wParam) == ruleList(dialog)) {
                onContextMenu(dialog, lParam);
                return TRUE;
            }
            break;
        case WM_DESTROY: {
            delete stateOf(dialog);
            SetWindowLongPtrW(dialog, DWLP_USER, 0);
            auto &open = openSettingsWindows();
            open.erase(std::remove(open.begin(), open.end(), dialog), open.end());
            break;
        }
        }
    } catch (const std::exception &e) {
        writeDiagnosticLine(std::string("settingsDialogProc failed. ") + e.what());
    } catch (...) {
        writeDiagnosticLine("settingsDialogProc failed.");
    }
    return FALSE;
}

void showHiddenFindingInSettingsWindows(const HiddenFinding &finding) {
    const std::vector<HWND> windows = openSettingsWindows();
    for (HWND window : windows)
        showHiddenFinding(window, finding);
}

void showRuleOffInSettingsWindows(const std::string &ruleName) {
    const std::vector<HWND> windows = openSettingsWindows();
    for (HWND window : windows)
        showRuleOff(window, ruleName);
}

void closeSettingsWindows() {
    // Destroying a window takes it off the list: work on a copy.
    const std::vector<HWND> windows = openSettingsWindows();
    for (HWND window : windows)
        DestroyWindow(window);
}

HWND openSettingsDialog(HWND, SettingsTestRun testRun) {
    try {
        // The template holds a list view and a spin control: their classes must exist first.
        INITCOMMONCONTROLSEX classes{sizeof(classes), ICC_LISTVIEW_CLASSES | ICC_UPDOWN_CLASS};
        InitCommonControlsEx(&classes);
        auto state =
            std::make_unique<SettingsWindowState>(SettingsWindowState{std::move(testRun), {}});
        HWND dialog = CreateDialogParamW(moduleInstance(), MAKEINTRESOURCEW(IDD_SETTINGS), nullptr,
                                         settingsDialogProc, reinterpret_cast<LPARAM>(state.get()));
        if (!dialog) {
            writeDiagnosticLine(
                "TextLintConfig::initWindow() failed. cannot create DialogBox of TextLintConfig.");
            return nullptr;
        }
        // The window owns its state from here on and deletes it when it is destroyed.
        state.release();
        // Owned until it is shown, so that a failure while filling leaves no hidden window.
        UniqueWindow owner(dialog);
        setupRuleList(ruleList(dialog));
        TextLintConfig &config = TextLintConfig::getInstance();
        // The path in use is shown, and said to be bundled, or found when it replaces the
        // one set.
        SettingsDialogData shown = currentSettings(config);
        shown.textLintCmdPath = config.commandPathInUse();
        stateOf(dialog)->hiddenFindings = shown.hiddenFindings;
        fillDialog(dialog, shown);
        if (config.commandPathIsBundled())
            SetDlgItemTextW(dialog, IDC_SETTINGS_CMD_FOUND, PATH_BUNDLED);
        else if (config.commandPathWasFound())
            SetDlgItemTextW(dialog, IDC_SETTINGS_CMD_FOUND, PATH_FOUND);
        openSettingsWindows().push_back(dialog);
        owner.release();
        ShowWindow(dialog, SW_SHOW);
        UpdateWindow(dialog);
        return dialog;
    } catch (...) {
        writeDiagnosticLine("BKC_OnPlugInSetup failed.");
        return nullptr;
    }
}

} // namespace quill
