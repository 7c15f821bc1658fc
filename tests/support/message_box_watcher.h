// Finds the message boxes our process shows, reads them and presses their buttons, from a
// second thread while the code under test blocks in MessageBox.
#pragma once

#include <windows.h>

#include <condition_variable>
#include <mutex>
#include <optional>
#include <set>
#include <string>
#include <thread>
#include <vector>

namespace quill::test {

struct ShownMessageBox {
    HWND window = nullptr;
    HWND owner = nullptr;
    std::wstring caption;
    std::wstring text;
    // The same texts as UTF-8, for assertions against narrow literals and readable output.
    std::string captionUtf8() const;
    std::string textUtf8() const;
};

// A visible message box of this process, or none. Dialog boxes of the plug-in (settings,
// rules) are not message boxes even though they share the dialog class.
std::optional<ShownMessageBox> findMessageBox();

// Waits up to `timeoutMs` for a message box of this process.
std::optional<ShownMessageBox> waitForMessageBox(DWORD timeoutMs = 10000);

// Presses the button `buttonId` (IDOK, IDCANCEL, IDYES, ...) of a message box; false when
// the box has no such button.
bool pressMessageBoxButton(HWND box, int buttonId = IDOK);

// Watches for message boxes on its own thread while it lives: every box is recorded and
// dismissed (its OK button, or Cancel / No when it has no OK button), so that no test hangs
// on one. The destructor stops the watch.
class MessageBoxRecorder {
  public:
    explicit MessageBoxRecorder(DWORD pollMs = 20);
    ~MessageBoxRecorder();
    MessageBoxRecorder(const MessageBoxRecorder &) = delete;
    MessageBoxRecorder &operator=(const MessageBoxRecorder &) = delete;

    // Every box seen so far, in the order they appeared.
    std::vector<ShownMessageBox> boxes() const;
    size_t count() const;
    // Waits up to `timeoutMs` until at least `n` boxes were seen; true when they were.
    bool waitForCount(size_t n, DWORD timeoutMs = 10000) const;
    void clear();

  private:
    void watch();

    DWORD pollMs_;
    mutable std::mutex mutex_;
    mutable std::condition_variable changed_;
    std::vector<ShownMessageBox> boxes_;
    std::set<HWND> dismissed_;
    bool stop_ = false;
    std::thread thread_;
};

} // namespace quill::test
