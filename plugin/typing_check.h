// Checking a compose window while its user writes: input restarts the window's pause timer,
// and once the window has had no input for the set delay, a changed text is checked in the
// background by the resident textlint.
#pragma once

#include <windows.h>

namespace quill {

// Whether a retrieved message is input that may change a compose window's text: keys,
// IME results, edit commands, a menu or accelerator command, dropped files, a released
// mouse button (the end of a drag and drop).
bool isTypingInput(const MSG &message);

// For input in `composeWindow`, on the window's own thread: restarts its pause. Costs a
// time stamp unless the window has no timer running yet.
void noteTypingInput(HWND composeWindow);

// At start: pause timers may be set again after an earlier end.
void startTypingChecks();

// At exit: every pause timer stopped and forgotten, and none set from then on.
void stopTypingChecks();

} // namespace quill
