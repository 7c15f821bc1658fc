// The rule property dialog. It works on the rows of the owner's rule list only; the
// settings change when the settings dialog is confirmed.
#include "config/rule_dialog.h"

#include "common/ansi_encoding.h"
#include "common/module_instance.h"
#include "common/system_error.h"
#include "config/dialog_data.h"
#include "config/dialog_text.h"
#include "config/installed_rules.h"
#include "config/text_lint_config.h"
#include "config/textlint_lookup.h"
#include "resources/resource_ids.h"

#include <commctrl.h>

#include <exception>
#include <vector>

namespace quill {

namespace {

HWND ownerRuleList(HWND dialog) {
    HWND owner = GetWindow(dialog, GW_OWNER);
    return GetDlgItem(owner ? owner : GetParent(dialog), IDC_SETTINGS_RULES);
}

const std::vector<InstalledRule> *offeredRules(HWND dialog) {
    return reinterpret_cast<const std::vector<InstalledRule> *>(
        GetWindowLongPtrW(dialog, DWLP_USER));
}

// The textlint the settings dialog names: the path typed there when it names a file,
// otherwise the one in use.
std::string commandOfSettingsDialog(HWND settingsDialog) {
    const std::string typed = controlText(settingsDialog, IDC_SETTINGS_CMD_PATH, DIALOG_TEXT_LIMIT);
    if (commandFileExists(typed))
        return typed;
    return TextLintConfig::getInstance().commandPathInUse();
}

// Shows the description of the installed rule whose name is in the name field, or none
// for a name typed that is not installed there.
void showDescription(HWND dialog) {
    const std::vector<InstalledRule> *rules = offeredRules(dialog);
    const std::string name = controlText(dialog, IDC_RULE_NAME, DIALOG_TEXT_LIMIT);
    std::wstring description;
    if (rules != nullptr)
        for (const InstalledRule &rule : *rules)
            if (rule.name == name)
                description = rule.description;
    SetDlgItemTextW(dialog, IDC_RULE_DESCRIPTION, description.c_str());
}

// The list of the name field: the rules installed beside textlint, in order, so that an
// item's index is its rule's.
void offerRules(HWND dialog) {
    const std::vector<InstalledRule> *rules = offeredRules(dialog);
    if (rules == nullptr)
        return;
    for (const InstalledRule &rule : *rules)
        SendDlgItemMessageW(dialog, IDC_RULE_NAME, CB_ADDSTRING, 0,
                            reinterpret_cast<LPARAM>(wideFromAnsi(rule.name).c_str()));
}

void onInitDialog(HWND dialog, LPARAM rules) {
    SetWindowLongPtrW(dialog, DWLP_USER, static_cast<LONG_PTR>(rules));
    offerRules(dialog);
    setControlText(dialog, IDC_RULE_WEIGHT, "0");
    HWND list = ownerRuleList(dialog);
    int row = firstSelectedRow(list);
    if (row < 0)
        return;
    setControlText(dialog, IDC_RULE_NAME,
                   cutAnsi(listCellText(list, row, 0), RULE_FIELD_LOAD_LIMIT));
    setControlText(dialog, IDC_RULE_WEIGHT,
                   cutAnsi(listCellText(list, row, 1), RULE_FIELD_LOAD_LIMIT));
    setControlText(dialog, IDC_RULE_OPTIONS,
                   cutAnsi(listCellText(list, row, 2), RULE_FIELD_LOAD_LIMIT));
    showDescription(dialog);
}

void storeIntoRow(HWND dialog) {
    HWND list = ownerRuleList(dialog);
    int row = firstSelectedRow(list);
    std::string name = controlText(dialog, IDC_RULE_NAME, DIALOG_TEXT_LIMIT);
    if (row < 0) {
        // A new row starts with its check box unticked, the list's default.
        row = appendListRow(list, name);
        if (row < 0)
            return;
    } else {
        setListCellText(list, row, 0, name);
    }
    setListCellText(list, row, 1,
                    weightCellOf(controlText(dialog, IDC_RULE_WEIGHT, DIALOG_TEXT_LIMIT)));
    setListCellText(list, row, 2, controlText(dialog, IDC_RULE_OPTIONS, DIALOG_TEXT_LIMIT));
}

} // namespace

void openRuleDialog(HWND settingsDialog) {
    // Looked up at every opening: a rule installed meanwhile is offered at once.
    std::vector<InstalledRule> rules = installedRules(commandOfSettingsDialog(settingsDialog));
    DialogBoxParamW(moduleInstance(), MAKEINTRESOURCEW(IDD_RULE_PROPERTY), settingsDialog,
                    ruleDialogProc, reinterpret_cast<LPARAM>(&rules));
}

INT_PTR CALLBACK ruleDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
    try {
        switch (message) {
        case WM_INITDIALOG:
            onInitDialog(dialog, lParam);
            return TRUE;
        case WM_COMMAND:
            switch (LOWORD(wParam)) {
            case IDC_RULE_NAME:
                // A chosen item reaches the field's text only after this notification.
                if (HIWORD(wParam) == CBN_SELCHANGE) {
                    const LRESULT item =
                        SendDlgItemMessageW(dialog, IDC_RULE_NAME, CB_GETCURSEL, 0, 0);
                    const std::vector<InstalledRule> *rules = offeredRules(dialog);
                    if (item != CB_ERR && rules != nullptr &&
                        static_cast<std::size_t>(item) < rules->size())
                        SetDlgItemTextW(
                            dialog, IDC_RULE_DESCRIPTION,
                            (*rules)[static_cast<std::size_t>(item)].description.c_str());
                } else if (HIWORD(wParam) == CBN_EDITCHANGE) {
                    showDescription(dialog);
                }
                return TRUE;
            case IDOK:
                storeIntoRow(dialog);
                EndDialog(dialog, IDOK);
                return TRUE;
            case IDCANCEL:
                EndDialog(dialog, IDCANCEL);
                return TRUE;
            }
            break;
        }
    } catch (const std::exception &e) {
        writeDiagnosticLine(std::string("ruleDialogProc failed. ") + e.what());
    } catch (...) {
        writeDiagnosticLine("ruleDialogProc failed.");
    }
    return FALSE;
}

} // namespace quill
