// The rule property dialog. It works on the rows of the owner's rule list only; the
// settings change when the settings dialog is confirmed.
#include "config/rule_dialog.h"

#include "common/module_instance.h"
#include "common/system_error.h"
#include "config/dialog_data.h"
#include "config/dialog_text.h"
#include "resources/resource_ids.h"

#include <commctrl.h>

#include <exception>

namespace quill {

namespace {

HWND ownerRuleList(HWND dialog) {
    HWND owner = GetWindow(dialog, GW_OWNER);
    return GetDlgItem(owner ? owner : GetParent(dialog), IDC_SETTINGS_RULES);
}

void onInitDialog(HWND dialog) {
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
    DialogBoxParamW(moduleInstance(), MAKEINTRESOURCEW(IDD_RULE_PROPERTY), settingsDialog,
                    ruleDialogProc, 0);
}

INT_PTR CALLBACK ruleDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM) {
    try {
        switch (message) {
        case WM_INITDIALOG:
            onInitDialog(dialog);
            return TRUE;
        case WM_COMMAND:
            switch (LOWORD(wParam)) {
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
