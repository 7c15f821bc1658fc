// Every event the plug-in exports to the host, each running its work through the boundary
// guard: no exception reaches the host, and the results the host gets are fixed here. The
// .def file exports them under their plain names, the ignored events that share a body under
// both of theirs.
#include "config/settings_dialog.h"
#include "plugin/boundary_guard.h"
#include "plugin/commands.h"
#include "plugin/compose_hook.h"
#include "plugin/lifecycle.h"
#include "plugin/plugin_info.h"
#include "plugin/send_gate.h"
#include "plugin/settings_check.h"

#include <windows.h>

extern "C" {

__declspec(nothrow) int WINAPI BKC_OnStart() {
    quill::guarded("BKC_OnStart()", quill::startPlugIn);
    return 0;
}

__declspec(nothrow) int WINAPI BKC_OnExit() {
    quill::guarded("BKC_OnExit()", quill::exitPlugIn);
    return 0;
}

__declspec(nothrow) int WINAPI BKC_OnPlugInInfo(LPVOID info) {
    quill::guarded("BKC_OnPlugInInfo()",
                   [info] { quill::writePlugInInfo(static_cast<char *>(info)); });
    return 0;
}

__declspec(nothrow) int WINAPI BKC_OnPlugInSetup(HWND hostWindow) {
    quill::guarded("BKC_OnPlugInSetup()", [hostWindow] {
        quill::openSettingsDialog(hostWindow, quill::checkTestSentence);
    });
    return 1;
}

__declspec(nothrow) int WINAPI BKC_OnMenuInit(HWND, HMENU menu, int menuType) {
    quill::guarded("BKC_OnMenuInit()",
                   [menu, menuType] { quill::addProofreadingCommands(menu, menuType); });
    return 0;
}

__declspec(nothrow) int WINAPI BKC_OnOpenMail(LPCSTR mailId) {
    quill::guarded("BKC_OnOpenMail()", [mailId] { quill::checkOpenedDraft(mailId); });
    return 0;
}

__declspec(nothrow) int WINAPI BKC_OnEveryMinute() {
    quill::guarded("BKC_OnEveryMinute()", quill::checkForegroundComposeWindow);
    return 0;
}

__declspec(nothrow) int WINAPI BKC_OnOpenCompose(HWND window, int) {
    quill::guarded("BKC_OnOpenCompose()", [window] {
        quill::trackComposeWindow(window);
        // Checks are likely now: the resident textlint comes up in the background.
        quill::noteComposeWindowOpened();
    });
    return 0;
}

// 0 lets the mail go, -1 stops it; an error lets it go.
__declspec(nothrow) int WINAPI BKC_OnSend(LPCSTR source) {
    return quill::guarded("BKC_OnSend()", 0, [source] { return quill::gateOutgoingMail(source); });
}

// The ignored events, one body per argument count.
__declspec(nothrow) int WINAPI BKC_OnOpenFolder(LPARAM) {
    return 0;
}
__declspec(nothrow) int WINAPI BKC_OnRetrieve(LPARAM, LPARAM) {
    return 0;
}
__declspec(nothrow) int WINAPI BKC_OnKeyDispatch(LPARAM, LPARAM, LPARAM) {
    return 0;
}
__declspec(nothrow) int WINAPI BKC_OnDragDrop(LPARAM, LPARAM, LPARAM, LPARAM) {
    return 0;
}

} // extern "C"
