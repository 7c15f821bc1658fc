// The compose-window list, BKC_OnOpenCompose and the compose message hook.
#include "plugin/compose_hook.h"

#include "common/module_instance.h"
#include "config/text_lint_config.h"
#include "lint/lint_result_controller.h"
#include "plugin/commands.h"
#include "plugin/host_api.h"
#include "plugin/menu_state.h"

#include <algorithm>
#include <iterator>

namespace quill {
namespace {

const wchar_t ERROR_CAPTION[] = L"Quillcheck Plugin Error";
const char EDITOR_CLASS[] = "DanaEditWindowClass";
const char EDITOR_FRAME_CLASS[] = "AfxMDIFrame80s";

void showError(const wchar_t *text) {
    MessageBoxW(nullptr, text, ERROR_CAPTION, MB_OK);
}

bool hasClass(HWND window, const char *className) {
    char name[256] = {};
    if (GetClassNameA(window, name, static_cast<int>(std::size(name))) == 0)
        return false;
    return lstrcmpiA(name, className) == 0;
}

void applyItemState(HMENU menu, UINT id, MenuItemState state) {
    if (state == MenuItemState::Unchanged)
        return;
    EnableMenuItem(menu, id,
                   MF_BYCOMMAND | (state == MenuItemState::Enabled ? MF_ENABLED : MF_GRAYED));
}

// Sets the two items in the menu bar of `window` from the kind of text it holds. Child
// windows and windows without a menu bar have no items to set, so the host is not asked
// about them: the hook sees every message of the process and must stay cheap.
void updateComposeMenu(HWND window) {
    if (window == nullptr || (GetWindowLongW(window, GWL_STYLE) & WS_CHILD) != 0)
        return;
    const HMENU menu = GetMenu(window);
    if (menu == nullptr)
        return;
    char mimeType[64] = {};
    hostApi().BKA_CompGetText(window, mimeType, static_cast<int>(std::size(mimeType)));
    mimeType[std::size(mimeType) - 1] = '\0';

    const ComposeTextKind kind = composeTextKindOf(mimeType);
    const bool proofreadHtml = TextLintConfig::getInstance().snapshot().enableProofreadingHTMLMail;
    int editorState = EDITOR_NOT_FOUND;
    if (needsEditorSearch(kind, proofreadHtml))
        EnumChildWindows(window, findEditorWindow, reinterpret_cast<LPARAM>(&editorState));
    const ComposeMenuStates states =
        composeMenuStates(kind, proofreadHtml, static_cast<EditorState>(editorState));
    applyItemState(menu, checkCommandId.load(), states.check);
    applyItemState(menu, autoFixCommandId.load(), states.autoFix);
}

void unhookAll(std::vector<std::unique_ptr<ComposeWindowRecord>> records, bool reportFailure) {
    for (auto &record : records) {
        if (!record->hook.reset() && reportFailure)
            showError(L"UnhookWindowsHookEx() failed.");
    }
}

} // namespace

void ComposeWindowList::append(std::unique_ptr<ComposeWindowRecord> record) {
    std::lock_guard<std::mutex> lock(mutex_);
    records_.push_back(std::move(record));
}

bool ComposeWindowList::contains(HWND window) {
    return countOf(window) != 0;
}

std::size_t ComposeWindowList::countOf(HWND window) {
    std::lock_guard<std::mutex> lock(mutex_);
    return static_cast<std::size_t>(
        std::count_if(records_.begin(), records_.end(),
                      [window](const auto &record) { return record->window == window; }));
}

HHOOK ComposeWindowList::firstHookOf(HWND window) {
    std::lock_guard<std::mutex> lock(mutex_);
    for (const auto &record : records_) {
        if (record->window == window)
            return record->hook.get();
    }
    return nullptr;
}

std::size_t ComposeWindowList::size() {
    std::lock_guard<std::mutex> lock(mutex_);
    return records_.size();
}

std::vector<std::unique_ptr<ComposeWindowRecord>> ComposeWindowList::takeDisabled() {
    std::vector<std::unique_ptr<ComposeWindowRecord>> taken;
    std::lock_guard<std::mutex> lock(mutex_);
    auto kept = records_.begin();
    for (auto &record : records_) {
        if (IsWindowEnabled(record->window))
            *kept++ = std::move(record);
        else
            taken.push_back(std::move(record));
    }
    records_.erase(kept, records_.end());
    return taken;
}

std::vector<std::unique_ptr<ComposeWindowRecord>> ComposeWindowList::takeAll() {
    std::vector<std::unique_ptr<ComposeWindowRecord>> taken;
    std::lock_guard<std::mutex> lock(mutex_);
    taken.swap(records_);
    return taken;
}

ComposeWindowList &composeWindows() {
    static ComposeWindowList list;
    return list;
}

void purgeComposeWindows() {
    unhookAll(composeWindows().takeDisabled(), true);
}

void removeAllComposeWindows() {
    unhookAll(composeWindows().takeAll(), false);
}

BOOL CALLBACK findEditorWindow(HWND child, LPARAM state) {
    if (!hasClass(child, EDITOR_CLASS))
        return TRUE;
    const HWND parent = GetParent(child);
    const HWND grandparent = parent != nullptr ? GetParent(parent) : nullptr;
    if (grandparent == nullptr || !hasClass(grandparent, EDITOR_FRAME_CLASS))
        return TRUE;
    *reinterpret_cast<int *>(state) = IsWindowEnabled(child) ? EDITOR_ENABLED : EDITOR_DISABLED;
    return FALSE;
}

LRESULT CALLBACK composeMessageHook(int code, WPARAM wParam, LPARAM lParam) {
    try {
        const MSG *message = reinterpret_cast<const MSG *>(lParam);
        if (code < 0) {
            const HHOOK hook =
                message != nullptr ? composeWindows().firstHookOf(message->hwnd) : nullptr;
            return hook != nullptr ? CallNextHookEx(hook, code, wParam, lParam) : 0;
        }
        if (message == nullptr)
            return 0;
        updateComposeMenu(message->hwnd);
        if (message->message == WM_CLOSE) {
            purgeComposeWindows();
        } else if (message->message == WM_WINDOWPOSCHANGED && message->lParam != 0) {
            const auto *position = reinterpret_cast<const WINDOWPOS *>(message->lParam);
            if (position->hwndInsertAfter != nullptr)
                lintEngine().clearLintResult();
        }
    } catch (...) {
        // Nothing may unwind into the system's message retrieval.
    }
    return 0;
}

void trackComposeWindow(HWND window) {
    try {
        HHOOK hook = SetWindowsHookExA(WH_GETMESSAGE, composeMessageHook, moduleInstance(), 0);
        if (hook == nullptr) {
            showError(L"SetWindowHookEx() failed. cannot hook message of compose window.");
            return;
        }
        auto record = std::make_unique<ComposeWindowRecord>();
        record->window = window;
        record->hook.reset(hook);
        composeWindows().append(std::move(record));
    } catch (...) {
        // Nothing may unwind into the host.
    }
}

} // namespace quill
