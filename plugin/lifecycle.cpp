// Start and exit of the plug-in.
#include "plugin/lifecycle.h"

#include "config/settings_dialog.h"
#include "config/text_lint_config.h"
#include "config/unreadable_settings_notice.h"
#include "lint/background_check.h"
#include "lint/lint_result_controller.h"
#include "lint/resident/resident_textlint.h"
#include "plugin/boundary_guard.h"
#include "plugin/compose_hook.h"
#include "plugin/finding_actions.h"
#include "plugin/module_reference.h"
#include "plugin/plugin_texts.h"
#include "plugin/typing_check.h"
#include "process/child_jobs.h"
#include "process/private_temp_folder.h"
#include "view/lint_result_view_dialog.h"

#include <windows.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <string>

namespace quill {

namespace {

// Without a request for this long and without a compose window, the resident textlint ends
// and gives its memory back; the next need starts it again.
constexpr std::chrono::minutes RESIDENT_IDLE_END{15};

// A whole number of milliseconds from the environment variable `name`; 0 when unset.
long millisecondsFromEnvironment(const char *name) {
    char value[16] = "";
    DWORD n = GetEnvironmentVariableA(name, value, sizeof(value));
    if (n == 0 || n >= sizeof(value))
        return 0;
    return std::max(0L, std::strtol(value, nullptr, 10));
}

// The tests shorten the resident textlint's waits after failures and its idle time, which
// take minutes.
void applyTimesOfTheTests() {
    if (long backOff = millisecondsFromEnvironment("QUILLCHECK_TEST_FIRST_BACK_OFF_MS"))
        residentTextLint().setFirstBackOff(std::chrono::milliseconds(backOff));
}

} // namespace

// Each step of the start and the exit runs through the guard, so that it runs even when one
// before it failed.
void startPlugIn() {
    guarded("Allowing textlint to start", allowChildStarts);
    guarded("Allowing the checks while typing", [] {
        notePlugInStarted();
        startTypingChecks();
    });
    // Folders left by a mail client that was killed while textlint ran hold copies of mails.
    guarded("Removing abandoned temporary folders", removeAbandonedPrivateFolders);
    guarded("BKC_OnStart()", [] {
        LintResultViewDialog &view = LintResultViewDialog::getInstance();
        view.createWindow();
        view.setController(&lintEngine());
        view.setFindingActions(
            [](FindingAction action, const LintResult &finding, JobTicket shown) {
                guarded("Acting on a finding", [&] { actOnFinding(action, finding, shown); });
            });
        // Registered even without a window: the window object then ignores updates.
        lintEngine().addLintResultModelListener(&view);
    });
    guarded("Starting the resident textlint", [] {
        residentTextLint().setGiveUpNotice(
            [] { LintResultViewDialog::getInstance().showStatus(plugin_text::RESIDENT_GIVEN_UP); });
        applyTimesOfTheTests();
        long idle = millisecondsFromEnvironment("QUILLCHECK_TEST_RESIDENT_IDLE_MS");
        residentTextLint().setIdleEnd(idle > 0 ? std::chrono::milliseconds(idle)
                                               : std::chrono::milliseconds(RESIDENT_IDLE_END),
                                      [] { return composeWindows().anyWindowExists(); });
        // In the background: the host's thread never waits for textlint to come up. With the
        // send gate on it is started now, as the next send waits for a check; otherwise at
        // the first compose window or check.
        residentTextLint().start(
            TextLintConfig::getInstance().snapshot().enableEvaluateValueThreshold);
    });
    // Said here rather than at load, where the loader lock forbids any window.
    guarded("Showing the settings notice", [] { showUnreadableSettingsNotice(nullptr); });
}

// Hooks first, so no compose message reaches the plug-in while it closes; the window
// stores its rectangle into the settings before they are written. The settings are written
// before any textlint is ended, and nothing here waits for textlint: the ends of the
// server and of a check under way take a few seconds at most.
void exitPlugIn() {
    guarded("Removing the compose hooks", removeAllComposeWindows);
    guarded("Stopping the checks while typing", stopTypingChecks);
    guarded("Closing the settings windows", closeSettingsWindows);
    guarded("Closing the result window", [] { LintResultViewDialog::getInstance().closeWindow(); });
    guarded("Dropping the waiting background check", dropWaitingBackgroundCheck);
    guarded("Writing the INI file", [] {
        TextLintConfig &config = TextLintConfig::getInstance();
        // Without a path of its own (a module path too long for one) the plug-in writes
        // nowhere rather than into some other file.
        const std::string iniPath = config.getIniFilePath();
        if (!iniPath.empty())
            config.writeConfigFile(iniPath);
    });
    guarded("Ending every textlint of the plug-in", endEveryChildTree);
    guarded("Stopping the resident textlint", [] { residentTextLint().stop(); });
}

void noteComposeWindowOpened() {
    guarded("Starting the resident textlint", [] { residentTextLint().need(); });
}

} // namespace quill
