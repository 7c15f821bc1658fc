// The check and auto-fix commands, their menu items, and the two background triggers (a
// draft opened from the outbox, the minute tick).
#pragma once

#include "mail/target_mail_info.h"

#include <windows.h>

#include <atomic>
#include <string>

namespace quill {

// The identifiers the host gave the two commands at the last menu-bar registration; 0
// until then. The compose hook reads them on any thread.
extern std::atomic<UINT> checkCommandId;
extern std::atomic<UINT> autoFixCommandId;

// A compose window's content as the commands use it.
struct ComposeContent {
    TargetMailInfo target;
    int codePage = 0;          // the window's code page, as the host reported it
    bool converted = false;    // false when the text could not be converted to UTF-8
    bool hostGaveText = false; // false when the host answered with a null text pointer
    std::string hostText;      // the text as the host gave it, in its code page
};

// The check command's work for `window`, a tracked compose window: reads it, checks it on
// this thread with the progress shown, and tells a failure in a message box owned by it.
void checkComposeWindow(HWND window);

// Shows that a check or fix the user waits for runs on this thread, for as long as it
// lives: the status line says so and the pointer is the wait cursor.
class WorkInProgress {
  public:
    WorkInProgress();
    ~WorkInProgress();
    WorkInProgress(const WorkInProgress &) = delete;
    WorkInProgress &operator=(const WorkInProgress &) = delete;

  private:
    HCURSOR previous_ = nullptr;
};

// Whether a text that cannot be converted is reported (a diagnostic line and a box), or
// only marked as not converted.
enum class ConversionFailure { Shown, Quiet };

// Reads the text, code page and headers of a compose window into a target record.
ComposeContent readComposeWindow(HWND window, int isDraft,
                                 ConversionFailure failure = ConversionFailure::Shown);

// The two command callbacks the host calls; each runs through the boundary guard.
void WINAPI onCheckCommand(HWND window, LPARAM parameter);
void WINAPI onAutoFixCommand(HWND window, LPARAM parameter);

// The host's menu event: registers both commands and appends their items to a menu bar's
// second pop-up (type 10) or to a pop-up menu (type 11).
void addProofreadingCommands(HMENU menu, int menuType);

// The host opened a mail: a draft from the outbox is checked on a worker thread.
void checkOpenedDraft(LPCSTR mailId);

// The minute tick: each record of the foreground window starts a background check, unless
// the result window shows the check of its text and settings already.
void checkForegroundComposeWindow();

} // namespace quill
