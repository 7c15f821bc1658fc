// The result window: creation, the redraw after each published check run, the layout,
// and closing with its rectangle kept in the settings.
#include "view/lint_result_view_dialog.h"

#include "common/ansi_encoding.h"
#include "common/module_instance.h"
#include "common/system_error.h"
#include "config/text_lint_config.h"
#include "lint/lint_result_controller.h"
#include "resources/resource_ids.h"
#include "view/result_layout.h"
#include "view/result_text.h"

#include <commctrl.h>

#include <iterator>
#include <mutex>

namespace quill {

namespace {

// Posted to the window by an update on another thread: redraw from the engine.
constexpr UINT WM_QUILL_REDRAW = WM_APP + 1;
// Posted likewise when only the status line changed.
constexpr UINT WM_QUILL_STATUS = WM_APP + 2;

// The list's heading; after a failed check it says that the rows are the earlier ones.
const wchar_t RESULT_HEADING[] = L"校正結果";
const wchar_t RESULT_HEADING_AFTER_FAILURE[] =
    L"校正結果 ※最新の校正は失敗しました。表示は前回の校正結果です。";

// The column's width until the list has a size: the window then fits it to the list.
constexpr int RESULT_COLUMN_WIDTH = 400;

} // namespace

LintResultViewDialog &LintResultViewDialog::getInstance() {
    static LintResultViewDialog instance;
    return instance;
}

void LintResultViewDialog::createWindow() {
    createWindow(moduleInstance());
}

void LintResultViewDialog::createWindow(HINSTANCE module) {
    if (dialog_ != nullptr)
        return;
    INITCOMMONCONTROLSEX controls{sizeof(controls), ICC_LISTVIEW_CLASSES};
    InitCommonControlsEx(&controls);

    HWND dialog = CreateDialogParamW(module, MAKEINTRESOURCEW(IDD_RESULT_WINDOW), nullptr,
                                     resultDialogProc, reinterpret_cast<LPARAM>(this));
    if (dialog == nullptr) {
        writeDiagnosticLine("CreateDialog() failed. cannot create LintResultViewDialog.");
        return;
    }
    module_ = module;
    dialog_ = dialog;
    windowThreadId_ = GetCurrentThreadId();
    resultList_ = GetDlgItem(dialog, IDC_RESULT_LIST);
    mailField_ = GetDlgItem(dialog, IDC_RESULT_MAIL);
    subjectField_ = GetDlgItem(dialog, IDC_RESULT_SUBJECT);
    mimeTypeField_ = GetDlgItem(dialog, IDC_RESULT_MIME);
    statusField_ = GetDlgItem(dialog, IDC_RESULT_STATUS);

    LVCOLUMNW column{};
    column.mask = LVCF_FMT | LVCF_TEXT | LVCF_WIDTH | LVCF_SUBITEM;
    column.fmt = LVCFMT_LEFT;
    column.cx = RESULT_COLUMN_WIDTH;
    column.pszText = const_cast<wchar_t *>(RESULT_HEADING);
    column.iSubItem = 0;
    SendMessageW(resultList_, LVM_INSERTCOLUMNW, 0, reinterpret_cast<LPARAM>(&column));
    EnableWindow(resultList_, FALSE);
    menu_.attach(dialog, resultList_, module);
    rowTip_.attach(resultList_);
    rowTip_.setExtraText([this](int row) { return suggestionOf(row); });

    const TextLintSettings settings = TextLintConfig::getInstance().snapshot();
    SetWindowPos(dialog, nullptr, settings.resultWindowX, settings.resultWindowY,
                 settings.resultWindowWidth, settings.resultWindowHeight, SWP_NOZORDER);
    redrawStatus();
    ShowWindow(dialog, SW_SHOW);
    UpdateWindow(dialog);
}

void LintResultViewDialog::showStatus(const std::wstring &text) {
    {
        std::lock_guard<std::mutex> lock(statusMutex_);
        status_ = text;
    }
    // With an engine the text becomes its status note, which tells this window in turn.
    if (LintResultController *controller = controller_) {
        controller->setStatusText(text);
        return;
    }
    updateLintStatus();
}

std::wstring LintResultViewDialog::statusText() {
    if (LintResultController *controller = controller_)
        return controller->statusText();
    std::lock_guard<std::mutex> lock(statusMutex_);
    return status_;
}

void LintResultViewDialog::updateLintResult() {
    if (dialog_ == nullptr)
        return;
    if (GetCurrentThreadId() == windowThreadId_) {
        try {
            redraw();
        } catch (...) {
            writeDiagnosticLine("LintResultViewDialog::updateLintResult() failed.");
        }
        return;
    }
    postToWindow(WM_QUILL_REDRAW, redrawPosted_);
}

void LintResultViewDialog::updateLintStatus() {
    if (dialog_ == nullptr)
        return;
    if (GetCurrentThreadId() == windowThreadId_) {
        try {
            redrawStatus();
        } catch (...) {
            writeDiagnosticLine("LintResultViewDialog::updateLintStatus() failed.");
        }
        return;
    }
    postToWindow(WM_QUILL_STATUS, statusPosted_);
}

void LintResultViewDialog::postToWindow(UINT message, std::atomic<bool> &posted) {
    // The window's thread may be waiting for the engine's lock, which this thread holds:
    // a sent message would never return. Post, and let that thread read the engine.
    if (posted.exchange(true))
        return;
    if (!PostMessageW(dialog_, message, 0, 0)) {
        posted = false;
        writeLastErrorDiagnostic("PostMessage() failed. cannot update LintResultViewDialog. ",
                                 GetLastError());
    }
}

void LintResultViewDialog::redrawStatus() {
    if (dialog_ == nullptr)
        return;
    std::wstring status = statusText();
    bool failed = false;
    if (controller_ != nullptr) {
        std::lock_guard<std::recursive_mutex> lock(controller_->mutex());
        status = controller_->statusText();
        failed = controller_->latestCheckFailed();
    }
    // The edit control breaks lines at CR LF only.
    std::wstring shown;
    for (wchar_t c : status) {
        if (c == L'\n')
            shown += L'\r';
        shown += c;
    }
    // The selected row's suggestion follows on a line of its own.
    const std::wstring suggestion = suggestionOf(menu_.selectedRow());
    if (!suggestion.empty())
        shown += (shown.empty() ? L"" : L"\r\n") + suggestion;
    SetWindowTextW(statusField_, shown.c_str());
    // A check the user waits for blocks this thread: the line must show before it does.
    UpdateWindow(statusField_);
    LVCOLUMNW column{};
    column.mask = LVCF_TEXT;
    column.pszText = const_cast<wchar_t *>(failed ? RESULT_HEADING_AFTER_FAILURE : RESULT_HEADING);
    SendMessageW(resultList_, LVM_SETCOLUMNW, 0, reinterpret_cast<LPARAM>(&column));
}

void LintResultViewDialog::redraw() {
    if (dialog_ == nullptr || controller_ == nullptr)
        return;
    EnableWindow(resultList_, FALSE);
    UpdateWindow(dialog_);

    TargetMailInfo target;
    std::vector<LintResult> results;
    {
        // One consistent run: no publication between the two reads.
        std::lock_guard<std::recursive_mutex> lock(controller_->mutex());
        target = controller_->getTargetMailInfo();
        results = controller_->getLintResults();
        shownJob_ = controller_->publishedJob().id;
    }

    std::string kind = ansiFromWide(target.isDraft != 0 ? L"草稿" : L"新規");
    SetWindowTextA(mailField_, composeMailLine(kind, target.getFrom(), ansiCharLength).c_str());
    SetWindowTextA(subjectField_, target.getSubject().c_str());
    SetWindowTextW(mimeTypeField_, target.mimeType == MIME_TEXT_HTML
                                       ? L"text/html ※校正箇所はメールのHTMLソース内の位置です。"
                                       : L"text/plain");
    shownResults_ = results;
    fillList(results);
    redrawStatus();

    EnableWindow(resultList_, TRUE);
    UpdateWindow(dialog_);
}

void LintResultViewDialog::fillList(const std::vector<LintResult> &results) {
    // Without redrawing row by row, and with room for every row made at once, tens of
    // thousands of findings go in quickly.
    SendMessageW(resultList_, WM_SETREDRAW, FALSE, 0);
    SendMessageW(resultList_, LVM_DELETEALLITEMS, 0, 0);
    SendMessageW(resultList_, LVM_SETITEMCOUNT, results.size(), LVSICF_NOINVALIDATEALL);

    rowTip_.hide();
    std::string diagnostics;
    int row = 0;
    for (const LintResult &result : results) {
        diagnostics += composeFindingDiagnostic(result);
        diagnostics += '\n';
        std::string text = composeRowText(result, ansiCharLength);
        LVITEMA item{};
        item.mask = LVIF_TEXT;
        item.iItem = row++;
        item.pszText = text.data();
        SendMessageA(resultList_, LVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&item));
    }
    if (!diagnostics.empty()) {
        diagnostics.pop_back();
        writeDiagnosticLine(diagnostics);
    }

    SendMessageW(resultList_, WM_SETREDRAW, TRUE, 0);
    // The rows may have brought a vertical scroll bar, which narrows the list's client area.
    fitColumn();
    InvalidateRect(resultList_, nullptr, TRUE);
}

void LintResultViewDialog::fitColumn() {
    // The one column takes the list's whole width, so a message is cut only where the
    // window ends; the row tip shows the rest.
    // A horizontal scroll bar that goes can take the vertical one with it: fit once more.
    for (int pass = 0; pass < 2 && resultList_ != nullptr; ++pass) {
        RECT client{};
        if (!GetClientRect(resultList_, &client) ||
            SendMessageW(resultList_, LVM_GETCOLUMNWIDTH, 0, 0) == client.right)
            return;
        SendMessageW(resultList_, LVM_SETCOLUMNWIDTH, 0, MAKELPARAM(client.right, 0));
    }
}

std::wstring LintResultViewDialog::suggestionOf(int row) const {
    if (row < 0 || static_cast<std::size_t>(row) >= shownResults_.size() ||
        !shownResults_[static_cast<std::size_t>(row)].fix)
        return std::wstring();
    return wideFromUtf8(composeSuggestion(*shownResults_[static_cast<std::size_t>(row)].fix));
}

void LintResultViewDialog::actOnSelectedRow(FindingAction action) {
    const int row = menu_.selectedRow();
    if (row < 0 || static_cast<std::size_t>(row) >= shownResults_.size() || !findingActions_)
        return;
    // A copy: the action re-checks, which refills the rows.
    const LintResult finding = shownResults_[static_cast<std::size_t>(row)];
    findingActions_(action, finding, JobTicket{shownJob_});
}

void LintResultViewDialog::closeWindow() {
    if (controller_ != nullptr)
        controller_->removeLintResultModelListener(this);
    if (dialog_ == nullptr)
        return;
    rowTip_.detach();
    menu_.detach();
    RECT outer;
    if (GetWindowRect(dialog_, &outer)) {
        TextLintConfig::getInstance().update([&outer](TextLintSettings &settings) {
            settings.resultWindowWidth = outer.right - outer.left;
            settings.resultWindowHeight = outer.bottom - outer.top;
            settings.resultWindowX = outer.left;
            settings.resultWindowY = outer.top;
        });
    }
    DestroyWindow(dialog_);
    dialog_ = resultList_ = mailField_ = subjectField_ = mimeTypeField_ = statusField_ = nullptr;
}

void LintResultViewDialog::layOut(int clientWidth, int clientHeight) {
    if (resultList_ == nullptr)
        return;
    int lineHeight = 0;
    if (HDC dc = GetDC(dialog_)) {
        TEXTMETRICW metrics;
        if (GetTextMetricsW(dc, &metrics))
            lineHeight = metrics.tmHeight + metrics.tmExternalLeading;
        ReleaseDC(dialog_, dc);
    }
    auto labelSize = [this](int id) {
        RECT client{};
        GetClientRect(GetDlgItem(dialog_, id), &client);
        return LabelSize{client.right, client.bottom};
    };
    ResultLayout layout =
        computeResultLayout(clientWidth, clientHeight, lineHeight, labelSize(IDC_RESULT_MAIL_LABEL),
                            labelSize(IDC_RESULT_SUBJECT_LABEL), labelSize(IDC_RESULT_MIME_LABEL));
    auto place = [](HWND control, const LayoutRect &rect) {
        SetWindowPos(control, nullptr, rect.x, rect.y, rect.width, rect.height,
                     SWP_NOZORDER | SWP_NOACTIVATE);
    };
    place(mailField_, layout.mailField);
    place(subjectField_, layout.subjectField);
    place(mimeTypeField_, layout.mimeField);
    place(resultList_, layout.list);
    place(statusField_, layout.status);
    fitColumn();
}

INT_PTR CALLBACK LintResultViewDialog::resultDialogProc(HWND dialog, UINT message, WPARAM wParam,
                                                        LPARAM lParam) {
    if (message == WM_INITDIALOG)
        SetWindowLongPtrW(dialog, DWLP_USER, lParam);
    auto *self = reinterpret_cast<LintResultViewDialog *>(GetWindowLongPtrW(dialog, DWLP_USER));
    if (self == nullptr || self->dialog_ != dialog)
        return FALSE;
    try {
        return self->handleMessage(message, wParam, lParam);
    } catch (...) {
        writeDiagnosticLine("LintResultViewDialog::resultDialogProc() failed.");
        return FALSE;
    }
}

INT_PTR LintResultViewDialog::handleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_SIZE:
        layOut(LOWORD(lParam), HIWORD(lParam));
        return TRUE;
    case WM_CLOSE:
        return TRUE;
    case WM_CONTEXTMENU:
        if (reinterpret_cast<HWND>(wParam) != resultList_)
            return FALSE;
        menu_.show(lParam, [this](int row) {
            return row >= 0 && static_cast<std::size_t>(row) < shownResults_.size() &&
                   shownResults_[static_cast<std::size_t>(row)].fix.has_value();
        });
        return TRUE;
    case WM_COMMAND:
        switch (LOWORD(wParam)) {
        case IDM_RESULT_COPY:
            return menu_.copySelectedRow() ? TRUE : FALSE;
        case IDM_RESULT_FIX:
            actOnSelectedRow(FindingAction::Fix);
            return TRUE;
        case IDM_RESULT_IGNORE:
            actOnSelectedRow(FindingAction::Ignore);
            return TRUE;
        case IDM_RESULT_NEVER_SHOW:
            actOnSelectedRow(FindingAction::NeverShow);
            return TRUE;
        case IDM_RESULT_DISABLE_RULE:
            actOnSelectedRow(FindingAction::SwitchRuleOff);
            return TRUE;
        }
        return FALSE;
    case WM_NOTIFY:
        // A row selected shows its suggestion in the status line.
        if (reinterpret_cast<const NMHDR *>(lParam)->hwndFrom == resultList_ &&
            reinterpret_cast<const NMHDR *>(lParam)->code == LVN_ITEMCHANGED &&
            (reinterpret_cast<const NMLISTVIEW *>(lParam)->uChanged & LVIF_STATE) != 0 &&
            ((reinterpret_cast<const NMLISTVIEW *>(lParam)->uNewState ^
              reinterpret_cast<const NMLISTVIEW *>(lParam)->uOldState) &
             LVIS_SELECTED) != 0) {
            redrawStatus();
            return TRUE;
        }
        // Emptying the list needs no notice per row; with tens of thousands of rows the
        // notices would cost more than the emptying.
        if (reinterpret_cast<const NMHDR *>(lParam)->hwndFrom == resultList_ &&
            reinterpret_cast<const NMHDR *>(lParam)->code == LVN_DELETEALLITEMS) {
            SetWindowLongPtrW(dialog_, DWLP_MSGRESULT, TRUE);
            return TRUE;
        }
        return FALSE;
    case WM_QUILL_REDRAW:
        redrawPosted_ = false;
        redraw();
        return TRUE;
    case WM_QUILL_STATUS:
        statusPosted_ = false;
        redrawStatus();
        return TRUE;
    default:
        return FALSE;
    }
}

} // namespace quill
