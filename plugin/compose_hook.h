// The tracked compose windows and the message hook on their threads, which keeps the
// proofreading items of a compose window's menu bar in step with what is being written.
#pragma once

#include "common/handles.h"

#include <windows.h>

#include <cstddef>
#include <mutex>
#include <vector>

namespace quill {

// A compose window the host opened, and the thread that owns it.
struct ComposeWindowRecord {
    HWND window = nullptr;
    DWORD threadId = 0;
};

// The compose windows in the order they were opened, and one message hook for each thread
// that owns any of them. A record lives as long as its window: whoever looks at the list
// first drops the records of windows that no longer exist, and a thread left without a
// record loses its hook. The hook runs on the threads of the windows, the commands on the
// host's thread, so every access takes the lock; it is never held while the host, a
// message box or the next hook is called.
class ComposeWindowList {
  public:
    // Appends a record, hooking the window's thread unless it has its hook already. False
    // when the thread could not be hooked: the window then stays untracked.
    bool track(HWND window, DWORD threadId);

    // How many records hold `window`.
    std::size_t countOf(HWND window);
    bool contains(HWND window) { return countOf(window) != 0; }
    // Whether any tracked window still exists.
    bool anyWindowExists();

    // For a message retrieved on the calling thread: the tracked compose window that
    // `window` is or lies in, or null. When the thread has no tracked window left, its hook
    // is handed to `unusedHook`, for the caller to remove once it has passed the message on.
    HWND composeWindowOf(HWND window, UniqueHook &unusedHook);

    // Empties the list and hands out every hook (at exit).
    std::vector<UniqueHook> takeAllHooks();

  private:
    struct ThreadHook {
        DWORD threadId = 0;
        UniqueHook hook;
    };
    // With the lock held: drops the records of destroyed windows and moves the hooks of
    // threads without a record into `unused`.
    void forgetDestroyedWindows(std::vector<UniqueHook> &unused);

    std::mutex mutex_;
    std::vector<ComposeWindowRecord> records_;
    std::vector<ThreadHook> hooks_;
};

// The process-wide list, alive from module load.
ComposeWindowList &composeWindows();

// Hook procedure of every thread with compose windows (WH_GETMESSAGE).
LRESULT CALLBACK composeMessageHook(int code, WPARAM wParam, LPARAM lParam);

// Child-window enumeration callback: looks for the host's editor control two levels below
// an "AfxMDIFrame80s" frame and stores its EditorState into the int that `state` points to.
BOOL CALLBACK findEditorWindow(HWND child, LPARAM state);

// Empties the list and removes every hook (at exit).
void removeAllComposeWindows();

// The host opened a compose window: it is tracked and its thread's messages are hooked.
void trackComposeWindow(HWND window);

} // namespace quill
