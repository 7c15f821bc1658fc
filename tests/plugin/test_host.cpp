// The BKA_* exports of the test host and its scripted state.
#include "tests/plugin/test_host.h"

#include <algorithm>
#include <cstring>
#include <map>
#include <mutex>

namespace quill::test {
namespace {

struct HostState {
    std::mutex mutex;
    std::map<HWND, HostComposeWindow> windows;
    std::string mailText, mailMimeType;
    int mailCodePage = 932;
    std::map<std::string, std::string> headers;
    std::vector<std::string> calls;
    std::vector<HostCommand> commands;
    bool nullTexts = false;
    std::string lastText; // kept alive for the pointer the plug-in copies
};

HostState &state() {
    static HostState host;
    return host;
}

void copyBounded(char *buffer, int size, const std::string &text) {
    if (buffer == nullptr || size <= 0)
        return;
    const std::size_t length = std::min(text.size(), static_cast<std::size_t>(size - 1));
    std::memcpy(buffer, text.data(), length);
    buffer[length] = '\0';
}

} // namespace

void resetHost() {
    HostState &host = state();
    std::lock_guard<std::mutex> lock(host.mutex);
    host.windows.clear();
    host.mailText.clear();
    host.mailMimeType.clear();
    host.headers.clear();
    host.calls.clear();
    host.commands.clear();
    host.nullTexts = false;
}

void setComposeWindow(HWND window, const HostComposeWindow &compose) {
    std::lock_guard<std::mutex> lock(state().mutex);
    state().windows[window] = compose;
}

HostComposeWindow composeWindowState(HWND window) {
    std::lock_guard<std::mutex> lock(state().mutex);
    return state().windows[window];
}

void setShownMail(const std::string &text, const std::string &mimeType, int codePage) {
    std::lock_guard<std::mutex> lock(state().mutex);
    state().mailText = text;
    state().mailMimeType = mimeType;
    state().mailCodePage = codePage;
}

void setHeader(const std::string &name, const std::string &value) {
    std::lock_guard<std::mutex> lock(state().mutex);
    state().headers[name] = value;
}

void setNullTexts(bool nullTexts) {
    std::lock_guard<std::mutex> lock(state().mutex);
    state().nullTexts = nullTexts;
}

std::vector<std::string> hostCalls() {
    std::lock_guard<std::mutex> lock(state().mutex);
    return state().calls;
}

std::size_t hostCallCount(const std::string &name) {
    const std::vector<std::string> calls = hostCalls();
    return static_cast<std::size_t>(std::count(calls.begin(), calls.end(), name));
}

std::vector<HostCommand> registeredCommands() {
    std::lock_guard<std::mutex> lock(state().mutex);
    return state().commands;
}

bool chooseCommand(UINT id, HWND window) {
    CommandCallback callback = nullptr;
    for (const HostCommand &command : registeredCommands())
        if (command.id == id)
            callback = command.callback;
    if (callback == nullptr)
        return false;
    callback(window, 0);
    return true;
}

HWND createComposeWindow(const wchar_t *className) {
    WNDCLASSW windowClass{};
    windowClass.lpfnWndProc = DefWindowProcW;
    windowClass.hInstance = GetModuleHandleW(nullptr);
    windowClass.lpszClassName = className;
    RegisterClassW(&windowClass); // fails harmlessly when already registered
    HMENU bar = CreateMenu();
    AppendMenuW(bar, MF_POPUP, reinterpret_cast<UINT_PTR>(CreatePopupMenu()), L"ファイル");
    AppendMenuW(bar, MF_POPUP, reinterpret_cast<UINT_PTR>(CreatePopupMenu()), L"編集");
    return CreateWindowExW(0, className, L"compose", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 10, 10, 400,
                           300, nullptr, bar, GetModuleHandleW(nullptr), nullptr);
}

} // namespace quill::test

using quill::test::state;

namespace {

void record(const char *name) {
    std::lock_guard<std::mutex> lock(state().mutex);
    state().calls.emplace_back(name);
}

} // namespace

#define QUILL_HOST_EXPORT extern "C" __declspec(dllexport)

QUILL_HOST_EXPORT LPCSTR WINAPI BKA_GetVersion() {
    return "2.80.00";
}

QUILL_HOST_EXPORT UINT WINAPI BKA_RegisterCommand(LPCSTR description, int menuType,
                                                  quill::test::CommandCallback callback) {
    record("BKA_RegisterCommand");
    std::lock_guard<std::mutex> lock(state().mutex);
    const UINT id = 32000 + static_cast<UINT>(state().commands.size());
    state().commands.push_back({id, description ? description : "", menuType, callback});
    return id;
}

QUILL_HOST_EXPORT LPSTR WINAPI BKA_GetText(LPSTR mimeType, int size) {
    record("BKA_GetText");
    std::lock_guard<std::mutex> lock(state().mutex);
    quill::test::copyBounded(mimeType, size, state().mailMimeType);
    state().lastText = state().mailText;
    return state().nullTexts ? nullptr : state().lastText.data();
}

QUILL_HOST_EXPORT int WINAPI BKA_GetCharSet(LPCSTR, LPSTR charSet, int size) {
    record("BKA_GetCharSet");
    std::lock_guard<std::mutex> lock(state().mutex);
    quill::test::copyBounded(charSet, size, "");
    return state().mailCodePage;
}

QUILL_HOST_EXPORT LPSTR WINAPI BKA_GetSpecifiedHeader(LPCSTR header, LPSTR value, int size) {
    record("BKA_GetSpecifiedHeader");
    std::lock_guard<std::mutex> lock(state().mutex);
    quill::test::copyBounded(value, size, state().headers[header ? header : ""]);
    return value;
}

QUILL_HOST_EXPORT LPSTR WINAPI BKA_CompGetText(HWND window, LPSTR mimeType, int size) {
    record("BKA_CompGetText");
    std::lock_guard<std::mutex> lock(state().mutex);
    auto found = state().windows.find(window);
    if (found == state().windows.end()) {
        quill::test::copyBounded(mimeType, size, "");
        state().lastText.clear();
    } else {
        quill::test::copyBounded(mimeType, size, found->second.mimeType);
        state().lastText = found->second.text;
    }
    return state().nullTexts ? nullptr : state().lastText.data();
}

QUILL_HOST_EXPORT int WINAPI BKA_CompGetCharSet(HWND window, LPSTR charSet, int size) {
    record("BKA_CompGetCharSet");
    std::lock_guard<std::mutex> lock(state().mutex);
    quill::test::copyBounded(charSet, size, "");
    auto found = state().windows.find(window);
    return found == state().windows.end() ? 0 : found->second.codePage;
}

QUILL_HOST_EXPORT int WINAPI BKA_CompSetText(HWND window, int, LPCSTR text) {
    record("BKA_CompSetText");
    std::lock_guard<std::mutex> lock(state().mutex);
    auto &compose = state().windows[window];
    compose.text = text ? text : "";
    compose.textsSet.push_back(compose.text);
    return 0;
}

// The functions the plug-in binds but never calls.
#define QUILL_UNUSED_HOST_FUNCTION(name)                                                           \
    QUILL_HOST_EXPORT int WINAPI name() {                                                          \
        record(#name);                                                                             \
        return 0;                                                                                  \
    }
QUILL_UNUSED_HOST_FUNCTION(BKA_Command)
QUILL_UNUSED_HOST_FUNCTION(BKA_GetWindowHandles)
QUILL_UNUSED_HOST_FUNCTION(BKA_RegisterUICallback)
QUILL_UNUSED_HOST_FUNCTION(BKA_GetDataFolder)
QUILL_UNUSED_HOST_FUNCTION(BKA_GetTempFolder)
QUILL_UNUSED_HOST_FUNCTION(BKA_GetTempFileName)
QUILL_UNUSED_HOST_FUNCTION(BKA_GetCurrentMailBox)
QUILL_UNUSED_HOST_FUNCTION(BKA_SetCurrentMailBox)
QUILL_UNUSED_HOST_FUNCTION(BKA_GetCurrentFolder)
QUILL_UNUSED_HOST_FUNCTION(BKA_SetCurrentFolder)
QUILL_UNUSED_HOST_FUNCTION(BKA_GetFolderDisplayName)
QUILL_UNUSED_HOST_FUNCTION(BKA_SetMessageText)
QUILL_UNUSED_HOST_FUNCTION(BKA_GetCurrentMail)
QUILL_UNUSED_HOST_FUNCTION(BKA_SetCurrentMail)
QUILL_UNUSED_HOST_FUNCTION(BKA_GetNextMail)
QUILL_UNUSED_HOST_FUNCTION(BKA_SetSel)
QUILL_UNUSED_HOST_FUNCTION(BKA_AppendMessage)
QUILL_UNUSED_HOST_FUNCTION(BKA_MoveSelectedMessages)
QUILL_UNUSED_HOST_FUNCTION(BKA_GetStatus)
QUILL_UNUSED_HOST_FUNCTION(BKA_ComposeMail)
QUILL_UNUSED_HOST_FUNCTION(BKA_GetSource)
QUILL_UNUSED_HOST_FUNCTION(BKA_SetSource)
QUILL_UNUSED_HOST_FUNCTION(BKA_GetHeader)
QUILL_UNUSED_HOST_FUNCTION(BKA_SetText)
QUILL_UNUSED_HOST_FUNCTION(BKA_SetSpecifiedHeader)
QUILL_UNUSED_HOST_FUNCTION(BKA_CompGetSource)
QUILL_UNUSED_HOST_FUNCTION(BKA_CompSetSource)
QUILL_UNUSED_HOST_FUNCTION(BKA_CompGetHeader)
QUILL_UNUSED_HOST_FUNCTION(BKA_CompGetSpecifiedHeader)
QUILL_UNUSED_HOST_FUNCTION(BKA_CompSetSpecifiedHeader)
QUILL_UNUSED_HOST_FUNCTION(BKA_CompAttachFile)
QUILL_UNUSED_HOST_FUNCTION(BKA_Alloc)
QUILL_UNUSED_HOST_FUNCTION(BKA_ReAlloc)
QUILL_UNUSED_HOST_FUNCTION(BKA_Free)
QUILL_UNUSED_HOST_FUNCTION(BKA_ISO_2022_JP)
QUILL_UNUSED_HOST_FUNCTION(BKA_ISO_2022_KR)
QUILL_UNUSED_HOST_FUNCTION(BKA_HZ_GB2312)
QUILL_UNUSED_HOST_FUNCTION(BKA_ISO_8859_2)
QUILL_UNUSED_HOST_FUNCTION(BKA_EUC_JP)
QUILL_UNUSED_HOST_FUNCTION(BKA_UTF_7)
QUILL_UNUSED_HOST_FUNCTION(BKA_UTF_8)
QUILL_UNUSED_HOST_FUNCTION(BKA_B64Convert)
QUILL_UNUSED_HOST_FUNCTION(BKA_QPConvert)
QUILL_UNUSED_HOST_FUNCTION(BKA_MIMEHeader)
QUILL_UNUSED_HOST_FUNCTION(BKA_SerializeRcpts)
QUILL_UNUSED_HOST_FUNCTION(BKA_Connect)
QUILL_UNUSED_HOST_FUNCTION(BKA_SetStatus)
