// The tracked compose windows, each with its own message hook, and the hook that keeps the
// proofreading items of a compose window's menu bar in step with what is being written.
#pragma once

#include "common/handles.h"

#include <windows.h>

#include <cstddef>
#include <memory>
#include <mutex>
#include <vector>

namespace quill {

struct ComposeWindowRecord {
    HWND window = nullptr;
    UniqueHook hook;
};

// The compose windows in the order they were opened. The hook runs on whichever host
// thread retrieves a message, so every access takes the lock; the lock is never held
// while the host, a message box or the next hook is called.
class ComposeWindowList {
  public:
    void append(std::unique_ptr<ComposeWindowRecord> record);
    bool contains(HWND window);
    // How many records hold `window`.
    std::size_t countOf(HWND window);
    // The hook of the first record holding `window`, or null.
    HHOOK firstHookOf(HWND window);
    std::size_t size();

    // Takes out, in list order, every record whose window is not enabled (a destroyed
    // window is not enabled either); the caller unhooks them.
    std::vector<std::unique_ptr<ComposeWindowRecord>> takeDisabled();
    std::vector<std::unique_ptr<ComposeWindowRecord>> takeAll();

  private:
    std::mutex mutex_;
    std::vector<std::unique_ptr<ComposeWindowRecord>> records_;
};

// The process-wide list, alive from module load.
ComposeWindowList &composeWindows();

// Hook procedure of every compose window (WH_GETMESSAGE).
LRESULT CALLBACK composeMessageHook(int code, WPARAM wParam, LPARAM lParam);

// Child-window enumeration callback: looks for the host's editor control two levels below
// an "AfxMDIFrame80s" frame and stores its EditorState into the int that `state` points to.
BOOL CALLBACK findEditorWindow(HWND child, LPARAM state);

// Drops the records of disabled or destroyed windows and removes their hooks (what a
// WM_CLOSE triggers).
void purgeComposeWindows();

// Empties the list and removes every hook (at exit).
void removeAllComposeWindows();

// The host opened a compose window: it is tracked and its messages are hooked. Never throws.
void trackComposeWindow(HWND window);

} // namespace quill
