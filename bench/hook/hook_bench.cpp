// Times the retrieval of 200,000 posted messages (or as many as the first argument says) on
// one thread: without a hook, with the
// compose hook for a window that is no compose window, and for a window inside a tracked
// compose window (the hook then holds the module while it works). Then the hook procedure
// alone, called directly, for the same two windows: under Wine the system's own work per
// hooked message hides the procedure's. The same for typed characters (WM_CHAR) inside the
// compose window, which restart its pause before a check while typing. Median of five
// rounds; nanoseconds per message on standard error.
#include "plugin/compose_hook.h"
#include "plugin/typing_check.h"

#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <vector>

namespace {

// Messages per round; the first argument may give another count.
int MESSAGES = 200000;

// The message the measurements post or play: WM_NULL, or a typed character.
UINT measuredMessage = WM_NULL;

double nanosecondsPerMessage(HWND target) {
    LARGE_INTEGER start, end, frequency;
    QueryPerformanceFrequency(&frequency);
    QueryPerformanceCounter(&start);
    MSG message;
    // Posted in batches well below the queue's limit of 10,000 messages.
    for (int sent = 0; sent < MESSAGES; sent += 1000) {
        for (int i = 0; i < 1000; ++i)
            PostMessageW(target, measuredMessage, L'a', 1);
        while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE))
            DispatchMessageW(&message);
    }
    QueryPerformanceCounter(&end);
    return 1e9 * static_cast<double>(end.QuadPart - start.QuadPart) /
           static_cast<double>(frequency.QuadPart) / MESSAGES;
}

double nanosecondsPerCall(HWND target) {
    LARGE_INTEGER start, end, frequency;
    QueryPerformanceFrequency(&frequency);
    MSG message = {};
    message.hwnd = target;
    message.message = measuredMessage;
    message.wParam = L'a';
    QueryPerformanceCounter(&start);
    for (int i = 0; i < MESSAGES; ++i)
        quill::composeMessageHook(HC_ACTION, PM_REMOVE, reinterpret_cast<LPARAM>(&message));
    QueryPerformanceCounter(&end);
    return 1e9 * static_cast<double>(end.QuadPart - start.QuadPart) /
           static_cast<double>(frequency.QuadPart) / MESSAGES;
}

// What the restart of a compose window's pause costs per typed character by itself.
double nanosecondsPerPauseRestart(HWND composeWindow) {
    LARGE_INTEGER start, end, frequency;
    QueryPerformanceFrequency(&frequency);
    QueryPerformanceCounter(&start);
    for (int i = 0; i < MESSAGES; ++i)
        quill::noteTypingInput(composeWindow);
    QueryPerformanceCounter(&end);
    return 1e9 * static_cast<double>(end.QuadPart - start.QuadPart) /
           static_cast<double>(frequency.QuadPart) / MESSAGES;
}

double median(HWND target, double (*measure)(HWND) = nanosecondsPerMessage) {
    std::vector<double> rounds;
    for (int i = 0; i < 5; ++i)
        rounds.push_back(measure(target));
    std::sort(rounds.begin(), rounds.end());
    return rounds[rounds.size() / 2];
}

HWND topLevel() {
    return CreateWindowExW(0, L"STATIC", L"", WS_OVERLAPPEDWINDOW, 0, 0, 100, 100, nullptr, nullptr,
                           nullptr, nullptr);
}

} // namespace

int main(int argc, char **argv) {
    if (argc > 1 && std::atoi(argv[1]) >= 1000)
        MESSAGES = std::atoi(argv[1]) / 1000 * 1000;
    const HWND other = topLevel();
    const HWND compose = topLevel();
    const HWND inside = CreateWindowExW(0, L"STATIC", L"", WS_CHILD, 0, 0, 10, 10, compose, nullptr,
                                        nullptr, nullptr);
    const double unhooked = median(other);
    quill::trackComposeWindow(compose);
    const double untracked = median(other);
    const double tracked = median(inside);
    const double untrackedCall = median(other, nanosecondsPerCall);
    const double trackedCall = median(inside, nanosecondsPerCall);
    measuredMessage = WM_CHAR;
    const double typed = median(inside);
    const double typedCall = median(inside, nanosecondsPerCall);
    const double pauseRestart = median(compose, nanosecondsPerPauseRestart);
    quill::removeAllComposeWindows();
    quill::stopTypingChecks();
    std::fprintf(stderr,
                 "ns per retrieved message: no hook %.0f, hook with an untracked window %.0f, "
                 "hook with a window inside a compose window %.0f\n"
                 "ns per call of the hook procedure: untracked window %.0f, window inside a "
                 "compose window %.0f\n"
                 "ns per typed character inside a compose window: retrieved %.0f, hook "
                 "procedure alone %.0f, restart of the pause alone %.0f\n",
                 unhooked, untracked, tracked, untrackedCall, trackedCall, typed, typedCall,
                 pauseRestart);
    return 0;
}
