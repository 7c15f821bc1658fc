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
};

// Reads the text, code page and headers of a compose window into a target record.
ComposeContent readComposeWindow(HWND window, int isDraft);

void WINAPI onCheckCommand(HWND window, LPARAM parameter);
void WINAPI onAutoFixCommand(HWND window, LPARAM parameter);

} // namespace quill

extern "C" __declspec(nothrow) int WINAPI BKC_OnMenuInit(HWND window, HMENU menu, int menuType);
extern "C" __declspec(nothrow) int WINAPI BKC_OnOpenMail(LPCSTR mailId);
extern "C" __declspec(nothrow) int WINAPI BKC_OnEveryMinute();
