// The stand-in host's scripted state, shared by its exported functions and its test API.
#pragma once

#include "tools/standin_host/standin_host.h"

#include <map>
#include <mutex>

namespace quill::standin::detail {

struct ComposeState {
    std::optional<std::string> text;
    std::string mimeType;
    int codePage = 0;
    std::string charSetName;
    HWND editor = nullptr;
};

// Guards everything below: the plug-in may call the host from any of its threads.
std::recursive_mutex &stateMutex();

void recordCall(const char *function, std::vector<std::string> args);

const std::string &version();
std::map<HWND, ComposeState> &composeWindows();
ComposeState *findCompose(HWND window);
const ShownMail &shownMail();
std::string headerValue(const std::string &name);
UINT registerCommand(const std::string &description, int menuType, CommandCallback callback);
// The callback registered under `id`, or null.
CommandCallback commandCallback(UINT id);

// Shows the compose window's text in its editor control (on the window's own thread).
void refreshEditor(HWND composeWindow);
// Destroys the windows the host made; called by resetHost.
void destroyHostWindows();

} // namespace quill::standin::detail
