// Start and exit of the plug-in, its information texts, and the ignored host events.
#include "plugin/exports.h"

#include "common/system_error.h"
#include "config/settings_dialog.h"
#include "config/text_lint_config.h"
#include "lint/lint_result_controller.h"
#include "plugin/compose_hook.h"
#include "plugin/plugin_info.h"
#include "view/lint_result_view_dialog.h"

extern "C" __declspec(nothrow) int WINAPI BKC_OnStart() {
    using namespace quill;
    try {
        LintResultViewDialog &view = LintResultViewDialog::getInstance();
        view.createWindow();
        view.setController(&lintEngine());
        // Registered even without a window: the window object then ignores updates.
        lintEngine().addLintResultModelListener(&view);
    } catch (...) {
        writeDiagnosticLine("BKC_OnStart() failed.");
    }
    return 0;
}

// Hooks first, so no compose message reaches the plug-in while it closes; the window
// stores its rectangle into the settings before they are written.
extern "C" __declspec(nothrow) int WINAPI BKC_OnExit() {
    using namespace quill;
    try {
        removeAllComposeWindows();
        closeSettingsWindows();
        LintResultViewDialog::getInstance().closeWindow();
        TextLintConfig &config = TextLintConfig::getInstance();
        // Without a path of its own (a module path too long for one) the plug-in writes
        // nowhere rather than into some other file.
        if (!config.iniFilePath.empty())
            config.writeConfigFile(config.iniFilePath);
    } catch (...) {
        writeDiagnosticLine("BKC_OnExit() failed.");
    }
    return 0;
}

extern "C" __declspec(nothrow) int WINAPI BKC_OnPlugInInfo(LPVOID info) {
    quill::writePlugInInfo(static_cast<char *>(info));
    return 0;
}

extern "C" __declspec(nothrow) int WINAPI BKC_OnOpenFolder(LPARAM) {
    return 0;
}
extern "C" __declspec(nothrow) int WINAPI BKC_OnRetrieve(LPARAM, LPARAM) {
    return 0;
}
extern "C" __declspec(nothrow) int WINAPI BKC_OnKeyDispatch(LPARAM, LPARAM, LPARAM) {
    return 0;
}
extern "C" __declspec(nothrow) int WINAPI BKC_OnDragDrop(LPARAM, LPARAM, LPARAM, LPARAM) {
    return 0;
}
