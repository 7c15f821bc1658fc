// The compose-window list, the tracking of a new compose window and the compose message
// hook.
#include "plugin/compose_hook.h"

#include "common/owner_window.h"
#include "config/text_lint_config.h"
#include "lint/lint_result_controller.h"
#include "plugin/boundary_guard.h"
#include "plugin/commands.h"
#include "plugin/host_api.h"
#include "plugin/menu_state.h"
#include "plugin/module_reference.h"
#include "plugin/plugin_texts.h"
#include "plugin/typing_check.h"

#include <algorithm>
#include <iterator>

namespace quill {
namespace {

const char EDITOR_CLASS[] = "DanaEditWindowClass";
const char EDITOR_FRAME_CLASS[] = "AfxMDIFrame80s";

void showError(const wchar_t *text) {
    MessageBoxW(hostOwnerWindow(), text, plugin_text::ERROR_CAPTION, MB_OK);
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

// Sets the two items in the menu bar of the compose window `window` from the kind of text
// it holds. A window without a menu bar has no items to set, so the host is not asked.
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

// Removes hooks of threads left without compose windows; a failure is told to the user, as
// the hook may then still run.
void removeHooks(std::vector<UniqueHook> hooks) {
    for (UniqueHook &hook : hooks) {
        if (!hook.reset())
            showError(plugin_text::UNHOOK_FAILED);
    }
}

// A window's parent when it is a child window; null for a top-level window, whose "parent"
// would be its owner.
HWND parentOf(HWND window) {
    return (GetWindowLongW(window, GWL_STYLE) & WS_CHILD) != 0 ? GetParent(window) : nullptr;
}

// What the hook does for a message of a tracked compose window or of a window inside it.
void onComposeMessage(HWND composeWindow, const MSG &message) {
    if (isTypingInput(message))
        noteTypingInput(composeWindow);
    if (message.hwnd == composeWindow)
        updateComposeMenu(composeWindow);
    if (message.message == WM_WINDOWPOSCHANGED && message.lParam != 0) {
        const auto *position = reinterpret_cast<const WINDOWPOS *>(message.lParam);
        if (position->hwndInsertAfter != nullptr)
            lintEngine().clearLintResult();
    }
}

} // namespace

bool ComposeWindowList::track(HWND window, DWORD threadId) {
    std::vector<UniqueHook> unused;
    bool tracked = false;
    {
        std::lock_guard<std::mutex> lock(mutex_);
        forgetDestroyedWindows(unused);
        const bool hooked =
            std::any_of(hooks_.begin(), hooks_.end(),
                        [threadId](const auto &entry) { return entry.threadId == threadId; });
        // No module handle: the procedure is in this process, and the hook is the thread's
        // alone, not the desktop's.
        UniqueHook hook(
            hooked ? nullptr
                   : SetWindowsHookExW(WH_GETMESSAGE, composeMessageHook, nullptr, threadId));
        if (hooked || hook) {
            if (hook)
                hooks_.push_back(ThreadHook{threadId, std::move(hook)});
            records_.push_back(ComposeWindowRecord{window, threadId});
            tracked = true;
        }
    }
    removeHooks(std::move(unused));
    return tracked;
}

std::size_t ComposeWindowList::countOf(HWND window) {
    std::vector<UniqueHook> unused;
    std::size_t count = 0;
    {
        std::lock_guard<std::mutex> lock(mutex_);
        forgetDestroyedWindows(unused);
        count = static_cast<std::size_t>(
            std::count_if(records_.begin(), records_.end(),
                          [window](const auto &record) { return record.window == window; }));
    }
    removeHooks(std::move(unused));
    return count;
}

bool ComposeWindowList::anyWindowExists() {
    std::lock_guard<std::mutex> lock(mutex_);
    for (const ComposeWindowRecord &record : records_)
        if (IsWindow(record.window))
            return true;
    return false;
}

HWND ComposeWindowList::composeWindowOf(HWND window, UniqueHook &unusedHook) {
    const DWORD thread = GetCurrentThreadId();
    std::lock_guard<std::mutex> lock(mutex_);
    // Only this thread's records: a window of another thread is nothing this thread's
    // messages can reach, and looking at them would cost every message more.
    records_.erase(std::remove_if(records_.begin(), records_.end(),
                                  [thread](const auto &record) {
                                      return record.threadId == thread && !IsWindow(record.window);
                                  }),
                   records_.end());
    const bool threadHasWindows =
        std::any_of(records_.begin(), records_.end(),
                    [thread](const auto &record) { return record.threadId == thread; });
    if (!threadHasWindows) {
        for (auto entry = hooks_.begin(); entry != hooks_.end(); ++entry) {
            if (entry->threadId == thread) {
                unusedHook = std::move(entry->hook);
                hooks_.erase(entry);
                break;
            }
        }
        return nullptr;
    }
    for (HWND candidate = window; candidate != nullptr; candidate = parentOf(candidate)) {
        const bool tracked =
            std::any_of(records_.begin(), records_.end(),
                        [candidate](const auto &record) { return record.window == candidate; });
        if (tracked)
            return candidate;
    }
    return nullptr;
}

std::vector<UniqueHook> ComposeWindowList::takeAllHooks() {
    std::vector<UniqueHook> taken;
    std::lock_guard<std::mutex> lock(mutex_);
    records_.clear();
    for (ThreadHook &entry : hooks_)
        taken.push_back(std::move(entry.hook));
    hooks_.clear();
    return taken;
}

void ComposeWindowList::forgetDestroyedWindows(std::vector<UniqueHook> &unused) {
    records_.erase(std::remove_if(records_.begin(), records_.end(),
                                  [](const auto &record) { return !IsWindow(record.window); }),
                   records_.end());
    for (auto entry = hooks_.begin(); entry != hooks_.end();) {
        const DWORD thread = entry->threadId;
        const bool used =
            std::any_of(records_.begin(), records_.end(),
                        [thread](const auto &record) { return record.threadId == thread; });
        if (used) {
            ++entry;
        } else {
            unused.push_back(std::move(entry->hook));
            entry = hooks_.erase(entry);
        }
    }
}

ComposeWindowList &composeWindows() {
    static ComposeWindowList list;
    return list;
}

void removeAllComposeWindows() {
    notePlugInEnded();
    // At exit nothing is told: the host is closing.
    for (UniqueHook &hook : composeWindows().takeAllHooks())
        hook.reset();
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

// Runs for every message the hooked threads retrieve: for a window that is not a tracked
// compose window nor inside one, it only looks the window up. The message always goes on
// to the hooks installed before this one.
LRESULT CALLBACK composeMessageHook(int code, WPARAM wParam, LPARAM lParam) {
    UniqueHook unusedHook;
    guarded("composeMessageHook()", [&unusedHook, code, lParam] {
        const MSG *message = reinterpret_cast<const MSG *>(lParam);
        if (code == HC_ACTION && message != nullptr) {
            const HWND composeWindow = composeWindows().composeWindowOf(message->hwnd, unusedHook);
            if (composeWindow != nullptr) {
                // The host calls and message boxes made here let the host run on.
                ModuleReference keepLoaded;
                onComposeMessage(composeWindow, *message);
            }
        }
    });
    const LRESULT result = CallNextHookEx(nullptr, code, wParam, lParam);
    // The thread has no compose window left: its hook goes after the message went on.
    if (unusedHook && !unusedHook.reset())
        showError(plugin_text::UNHOOK_FAILED);
    return result;
}

void trackComposeWindow(HWND window) {
    DWORD processId = 0;
    const DWORD threadId = GetWindowThreadProcessId(window, &processId);
    // Thread 0 would hook the whole desktop; another process's thread cannot be hooked
    // without a module handle.
    const bool ours = threadId != 0 && processId == GetCurrentProcessId();
    if (!ours || !composeWindows().track(window, threadId))
        showError(plugin_text::HOOK_FAILED);
}

} // namespace quill
