// The stand-in host's state: version, shown mail, headers, commands and the call log.
#include "tools/standin_host/host_state.h"

#include "common/encoding.h"

#include <algorithm>

namespace quill::standin {

namespace detail {

namespace {

// Menu item ids the host hands out for registered commands, clear of the ids of the host's
// own menus.
constexpr UINT FIRST_COMMAND_ID = 40001;

struct HostState {
    std::string version = "2.80.00";
    std::map<HWND, ComposeState> composeWindows;
    ShownMail shownMail;
    std::map<std::string, std::string> headers; // keyed by lower-case name
    std::vector<RegisteredCommand> commands;
    UINT nextCommandId = FIRST_COMMAND_ID;
    std::vector<HostCall> calls;
};

HostState &state() {
    static HostState instance;
    return instance;
}

} // namespace

std::recursive_mutex &stateMutex() {
    static std::recursive_mutex mutex;
    return mutex;
}

void recordCall(const char *function, std::vector<std::string> args) {
    std::lock_guard<std::recursive_mutex> lock(stateMutex());
    state().calls.push_back(HostCall{function, std::move(args), GetCurrentThreadId()});
}

const std::string &version() {
    return state().version;
}

std::map<HWND, ComposeState> &composeWindows() {
    return state().composeWindows;
}

ComposeState *findCompose(HWND window) {
    auto found = state().composeWindows.find(window);
    return found == state().composeWindows.end() ? nullptr : &found->second;
}

const ShownMail &shownMail() {
    return state().shownMail;
}

std::string headerValue(const std::string &name) {
    auto found = state().headers.find(lowerAscii(name));
    return found == state().headers.end() ? std::string() : found->second;
}

UINT registerCommand(const std::string &description, int menuType, CommandCallback callback) {
    std::lock_guard<std::recursive_mutex> lock(stateMutex());
    UINT id = state().nextCommandId++;
    state().commands.push_back(RegisteredCommand{id, description, menuType, callback});
    return id;
}

CommandCallback commandCallback(UINT id) {
    std::lock_guard<std::recursive_mutex> lock(stateMutex());
    for (const RegisteredCommand &command : state().commands)
        if (command.id == id)
            return command.callback;
    return nullptr;
}

} // namespace detail

using namespace detail;

std::string argText(const void *handle) {
    return std::to_string(reinterpret_cast<uintptr_t>(handle));
}

std::string argText(long long value) {
    return std::to_string(value);
}

void resetHost() {
    destroyHostWindows();
    std::lock_guard<std::recursive_mutex> lock(stateMutex());
    state() = HostState();
}

void setHostVersion(const std::string &newVersion) {
    std::lock_guard<std::recursive_mutex> lock(stateMutex());
    state().version = newVersion;
}

void setShownMail(const ShownMail &mail) {
    std::lock_guard<std::recursive_mutex> lock(stateMutex());
    state().shownMail = mail;
}

void setHeader(const std::string &name, const std::string &value) {
    std::lock_guard<std::recursive_mutex> lock(stateMutex());
    state().headers[lowerAscii(name)] = value;
}

std::vector<HostCall> hostCalls() {
    std::lock_guard<std::recursive_mutex> lock(stateMutex());
    return state().calls;
}

std::vector<HostCall> hostCallsTo(const std::string &function) {
    std::lock_guard<std::recursive_mutex> lock(stateMutex());
    std::vector<HostCall> calls;
    std::copy_if(state().calls.begin(), state().calls.end(), std::back_inserter(calls),
                 [&](const HostCall &call) { return call.function == function; });
    return calls;
}

void clearHostCalls() {
    std::lock_guard<std::recursive_mutex> lock(stateMutex());
    state().calls.clear();
}

std::vector<RegisteredCommand> registeredCommands() {
    std::lock_guard<std::recursive_mutex> lock(stateMutex());
    return state().commands;
}

UINT commandIdOf(const std::string &description, int menuType) {
    std::lock_guard<std::recursive_mutex> lock(stateMutex());
    for (auto it = state().commands.rbegin(); it != state().commands.rend(); ++it)
        if (it->description == description && it->menuType == menuType)
            return it->id;
    return 0;
}

bool chooseCommand(UINT id, HWND window, LPARAM parameter) {
    // Not under the lock: the plug-in calls back into the host, maybe from other threads.
    CommandCallback callback = commandCallback(id);
    if (callback == nullptr)
        return false;
    callback(window, parameter);
    return true;
}

void pumpMessages(DWORD milliseconds) {
    DWORD start = GetTickCount();
    for (;;) {
        MSG message;
        while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&message);
            DispatchMessageW(&message);
        }
        DWORD elapsed = GetTickCount() - start;
        if (elapsed >= milliseconds)
            return;
        MsgWaitForMultipleObjects(0, nullptr, FALSE, milliseconds - elapsed, QS_ALLINPUT);
    }
}

} // namespace quill::standin
