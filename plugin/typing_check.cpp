// The pause timers of the compose windows and the check after a pause.
#include "plugin/typing_check.h"

#include "config/text_lint_config.h"
#include "lint/background_check.h"
#include "lint/lint_result_controller.h"
#include "lint/resident/resident_textlint.h"
#include "plugin/boundary_guard.h"
#include "plugin/commands.h"
#include "plugin/compose_checks.h"
#include "plugin/compose_hook.h"
#include "plugin/module_reference.h"

#include <imm.h>

#include <algorithm>
#include <mutex>
#include <vector>

namespace quill {

namespace {

// The timer's identifier on the compose window: an address in this module, which no
// identifier the host chose for its own timers can equal.
const char pauseTimerTag = 0;
const UINT_PTR PAUSE_TIMER_ID = reinterpret_cast<UINT_PTR>(&pauseTimerTag);
// How long past its end a pause may wait for its timer before the timer counts as lost.
constexpr DWORD LOST_TIMER_MS = 5000;

// A compose window whose pause timer runs, and when its latest input came.
struct Pause {
    HWND window = nullptr;
    DWORD lastInput = 0;
};

std::mutex pausesMutex;
std::vector<Pause> pauses;
// False from the plug-in's end until its next start: no pause timer is set meanwhile.
bool pausesAllowed = true;

// Under pausesMutex.
Pause *pauseOf(HWND window) {
    for (Pause &pause : pauses)
        if (pause.window == window)
            return &pause;
    return nullptr;
}

// The check after a pause, on the window's thread: only warm, only for a text or settings
// that differ from the window's last check. Nothing here shows, raises or focuses a window:
// a text that does not convert is left for the command the user chooses to tell.
void checkAfterPause(HWND window) {
    if (!composeWindows().contains(window))
        return;
    if (!TextLintConfig::getInstance().snapshot().checkWhileTyping)
        return;
    // A cold start would cost seconds of the user's machine for every pause.
    if (!residentTextLint().isServing())
        return;
    const ComposeContent content = readComposeWindow(window, 0, ConversionFailure::Quiet);
    if (!content.hostGaveText || !content.converted)
        return;
    const std::string settingsKey = checkSettingsKey();
    JobTicket last;
    if (isLastComposeCheck(window, content.target, settingsKey, last))
        return;
    JobTicket job;
    if (startBackgroundCheck(lintEngine(), content.target, &job))
        recordComposeCheck(window, content.target, settingsKey, job);
}

void CALLBACK onPauseTimer(HWND window, UINT, UINT_PTR id, DWORD) {
    // The host calls made here let the host run on, and it could unload the plug-in.
    ModuleReference keepLoaded;
    guarded("onPauseTimer()", [window, id] {
        {
            std::lock_guard<std::mutex> lock(pausesMutex);
            Pause *pause = pauseOf(window);
            if (pause != nullptr) {
                const DWORD delay = static_cast<DWORD>(
                    TextLintConfig::getInstance().snapshot().checkWhileTypingDelay);
                const DWORD idle = GetTickCount() - pause->lastInput;
                // Input came after the timer was set: wait for the rest of the pause.
                if (idle < delay && SetTimer(window, id, delay - idle, onPauseTimer) != 0)
                    return;
            }
            KillTimer(window, id);
            // A timer nobody waits for any more (the plug-in ended) only goes.
            if (pause == nullptr)
                return;
            pauses.erase(
                std::remove_if(pauses.begin(), pauses.end(),
                               [window](const Pause &entry) { return entry.window == window; }),
                pauses.end());
        }
        checkAfterPause(window);
    });
}

} // namespace

bool isTypingInput(const MSG &message) {
    switch (message.message) {
    case WM_KEYDOWN:
    case WM_CHAR:
    case WM_IME_CHAR:
    case WM_PASTE:
    case WM_CUT:
    case WM_UNDO:
    case WM_CLEAR:
    case WM_DROPFILES:
    case WM_LBUTTONUP:
    case WM_RBUTTONUP:
    case WM_MBUTTONUP:
        return true;
    case WM_IME_COMPOSITION:
        return (message.lParam & GCS_RESULTSTR) != 0;
    case WM_COMMAND:
        // From a menu (0) or an accelerator (1), not a control's notice.
        return message.lParam == 0;
    default:
        return false;
    }
}

void noteTypingInput(HWND composeWindow) {
    const TextLintSettings settings = TextLintConfig::getInstance().snapshot();
    if (!settings.checkWhileTyping)
        return;
    const DWORD now = GetTickCount();
    const UINT delay = static_cast<UINT>(settings.checkWhileTypingDelay);
    std::lock_guard<std::mutex> lock(pausesMutex);
    // Input on another thread right after the end: nobody would stop its timer.
    if (!pausesAllowed)
        return;
    if (Pause *pause = pauseOf(composeWindow)) {
        // A pause long past its end has lost its timer (its window was closed and the handle
        // given to a new one): it is set anew.
        const bool timerLost = now - pause->lastInput > delay + LOST_TIMER_MS;
        pause->lastInput = now;
        if (timerLost)
            SetTimer(composeWindow, PAUSE_TIMER_ID, delay, onPauseTimer);
        return;
    }
    pauses.erase(std::remove_if(pauses.begin(), pauses.end(),
                                [](const Pause &entry) { return !IsWindow(entry.window); }),
                 pauses.end());
    if (SetTimer(composeWindow, PAUSE_TIMER_ID, delay, onPauseTimer) != 0)
        pauses.push_back(Pause{composeWindow, now});
}

void startTypingChecks() {
    std::lock_guard<std::mutex> lock(pausesMutex);
    pausesAllowed = true;
}

void stopTypingChecks() {
    std::lock_guard<std::mutex> lock(pausesMutex);
    pausesAllowed = false;
    for (const Pause &pause : pauses)
        KillTimer(pause.window, PAUSE_TIMER_ID);
    pauses.clear();
    forgetComposeChecks();
}

} // namespace quill
