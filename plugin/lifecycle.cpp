// Start and exit of the plug-in.
#include "plugin/lifecycle.h"

#include "common/system_error.h"
#include "config/settings_dialog.h"
#include "config/text_lint_config.h"
#include "config/unreadable_settings_notice.h"
#include "lint/background_check.h"
#include "lint/lint_result_controller.h"
#include "lint/resident_textlint.h"
#include "plugin/compose_hook.h"
#include "view/lint_result_view_dialog.h"

namespace quill {

void startPlugIn() {
    try {
        LintResultViewDialog &view = LintResultViewDialog::getInstance();
        view.createWindow();
        view.setController(&lintEngine());
        // Registered even without a window: the window object then ignores updates.
        lintEngine().addLintResultModelListener(&view);
        // In the background: the host's thread never waits for textlint to come up.
        residentTextLint().start();
        // Said here rather than at load, where the loader lock forbids any window.
        showUnreadableSettingsNotice(nullptr);
    } catch (...) {
        writeDiagnosticLine("BKC_OnStart() failed.");
    }
}

// Hooks first, so no compose message reaches the plug-in while it closes; the window
// stores its rectangle into the settings before they are written.
void exitPlugIn() {
    try {
        removeAllComposeWindows();
        closeSettingsWindows();
        LintResultViewDialog::getInstance().closeWindow();
        dropWaitingBackgroundCheck();
        residentTextLint().stop();
        TextLintConfig &config = TextLintConfig::getInstance();
        // Without a path of its own (a module path too long for one) the plug-in writes
        // nowhere rather than into some other file.
        const std::string iniPath = config.getIniFilePath();
        if (!iniPath.empty())
            config.writeConfigFile(iniPath);
    } catch (...) {
        writeDiagnosticLine("BKC_OnExit() failed.");
    }
}

} // namespace quill
