// A small test host the send-gate tests use: exports the host's BKA_* functions, answers
// the eight the plug-in calls from a scripted state, and records every call.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

namespace quill::test {

using CommandCallback = void(WINAPI *)(HWND window, LPARAM parameter);

struct HostComposeWindow {
    std::string text;     // in the window's code page
    std::string mimeType; // what BKA_CompGetText puts into its buffer
    int codePage = 932;
    std::vector<std::string> textsSet; // every text BKA_CompSetText received
};

struct HostCommand {
    UINT id = 0;
    std::string description; // as the plug-in passed it (ANSI code page)
    int menuType = 0;
    CommandCallback callback = nullptr;
};

// Forgets every window, mail, header, command and recorded call.
void resetHost();
void setComposeWindow(HWND window, const HostComposeWindow &state);
HostComposeWindow composeWindowState(HWND window);
// The mail BKA_GetText and BKA_GetCharSet describe.
void setShownMail(const std::string &text, const std::string &mimeType, int codePage);
void setHeader(const std::string &name, const std::string &value);
// When set, BKA_CompGetText and BKA_GetText return a null pointer.
void setNullTexts(bool nullTexts);

// The names of the host functions called so far, in order.
std::vector<std::string> hostCalls();
std::size_t hostCallCount(const std::string &name);
std::vector<HostCommand> registeredCommands();
// Runs the callback of the command with `id`, as the host does when the user chooses it.
bool chooseCommand(UINT id, HWND window);

// A top-level window with a menu bar of two pop-ups ("ファイル", "編集"), as the host's
// compose windows have; `className` is registered on first use.
HWND createComposeWindow(const wchar_t *className = L"QuillTestCompose");

} // namespace quill::test
