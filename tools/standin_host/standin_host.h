// The stand-in host: a program of ours that exports the host's BKA_* functions, answers them
// from a scripted state, records every call, and loads the plug-in like the mail client.
// Test programs built with quillcheck_add_host_test are such a host themselves.
#pragma once

#include <windows.h>

#include <initializer_list>
#include <optional>
#include <string>
#include <vector>

namespace quill::standin {

// The callback a plug-in registers with BKA_RegisterCommand.
using CommandCallback = void(WINAPI *)(HWND window, LPARAM parameter);

// One call of a BKA_* function: its name and its arguments as text (texts as given, in
// their own bytes; handles and numbers in decimal, see argText), and the calling thread.
struct HostCall {
    std::string function;
    std::vector<std::string> args;
    DWORD threadId = 0;
};

std::string argText(const void *handle);
std::string argText(long long value);

// The editor control inside a compose window. The plug-in looks for a "DanaEditWindowClass"
// control whose grandparent is an "AfxMDIFrame80s" window.
enum class ComposeEditor {
    PlainEdit,           // an ordinary EDIT control, no frame
    DanaEnabled,         // DanaEditWindowClass under an AfxMDIFrame80s grandparent, enabled
    DanaDisabled,        // the same, disabled
    DanaOutsideMdiFrame, // DanaEditWindowClass whose grandparent has another class
};

struct ComposeWindowOptions {
    // The text bytes in `codePage`; nullopt makes BKA_CompGetText return a null pointer.
    std::optional<std::string> text = std::string();
    std::string mimeType = "text/plain";
    int codePage = 932;
    std::string charSetName = "ISO-2022-JP";
    ComposeEditor editor = ComposeEditor::PlainEdit;
    std::wstring title = L"Compose";
    bool visible = true;
};

// The mail the host shows (BKA_GetText, BKA_GetCharSet).
struct ShownMail {
    std::optional<std::string> text = std::string();
    std::string mimeType = "text/plain";
    int codePage = 932;
    std::string charSetName = "ISO-2022-JP";
};

struct RegisteredCommand {
    UINT id = 0;
    std::string description;
    int menuType = 0;
    CommandCallback callback = nullptr;
};

// Back to the start: compose windows and the main window destroyed, no mail shown, no
// headers, no commands, empty call log, version "2.80.00".
void resetHost();

void setHostVersion(const std::string &version);

// A real top-level window with a menu bar of three pop-ups ("File", "Edit", "Tools") and an
// editor control showing its text. Owned by the calling thread; it leaves the host's state
// when destroyed. Choosing a registered command from its menu calls the command's callback.
HWND createComposeWindow(const ComposeWindowOptions &options = {});
// The text bytes as the host holds them now (after BKA_CompSetText too); "" for an unknown
// window.
std::string composeText(HWND window);
void setComposeText(HWND window, const std::optional<std::string> &text);
void setComposeMimeType(HWND window, const std::string &mimeType);
// The editor control of a compose window.
HWND composeEditor(HWND window);
// Posts `text` to the compose window's editor as the keyboard would, one WM_CHAR per UTF-16
// unit ('\n' as a return); the editor takes it when this thread's messages are pumped.
void postTyping(HWND window, const std::wstring &text);
// Posts a key press (WM_KEYDOWN, WM_KEYUP) of `virtualKey` to the compose window's editor.
void postKey(HWND window, UINT virtualKey);

// The host's main window (created on first use, on the calling thread), with a menu bar.
HWND hostMainWindow();

void setShownMail(const ShownMail &mail);
// The value BKA_GetSpecifiedHeader gives for `name` (letter case ignored); "" when unset.
void setHeader(const std::string &name, const std::string &value);

std::vector<HostCall> hostCalls();
std::vector<HostCall> hostCallsTo(const std::string &function);
void clearHostCalls();

std::vector<RegisteredCommand> registeredCommands();
// The id of the latest command registered with this description and menu type, or 0.
UINT commandIdOf(const std::string &description, int menuType = 10);
// Calls the callback registered under `id` with `window`, as the host does when the user
// chooses the command there. False when no command has that id.
bool chooseCommand(UINT id, HWND window, LPARAM parameter = 0);

// Retrieves and dispatches this thread's messages (so that message hooks see them) until
// none is left and `milliseconds` have passed.
void pumpMessages(DWORD milliseconds = 0);

// The plug-in's result window in this process (the window holding its result list and
// its mail field), or null.
HWND findResultWindow();
// Every row of the result window's list (its first column), as UTF-8.
std::vector<std::string> resultRows(HWND resultWindow);
// The index of the first row holding `part` (UTF-8), or -1.
int resultRowWith(HWND resultWindow, const std::string &part);
// Selects and focuses `row` of the result list, as a click on it does.
void selectResultRow(HWND resultWindow, int row);

// `bytes` in code page `from` re-encoded in code page `to`.
std::string recode(const std::string &bytes, UINT from, UINT to);

// The plug-in module, loaded with LoadLibraryA and driven through its exported events.
class PluginHost {
  public:
    PluginHost() = default;
    ~PluginHost();
    PluginHost(const PluginHost &) = delete;
    PluginHost &operator=(const PluginHost &) = delete;

    // False when the module refused to load; lastError() then tells why.
    bool load(const std::string &dllPath);
    // FreeLibrary; true when it succeeded or nothing was loaded.
    bool unload();
    HMODULE module() const { return module_; }
    DWORD lastError() const { return lastError_; }

    bool hasEvent(const char *name) const;
    // Calls an exported event with 32-bit arguments (0 to 4 of them); throws
    // std::runtime_error when the module does not export it.
    int callEvent(const char *name, std::initializer_list<DWORD_PTR> args = {});

    int onStart() { return callEvent("BKC_OnStart"); }
    int onExit() { return callEvent("BKC_OnExit"); }
    int onMenuInit(HWND window, HMENU menu, int menuType);
    int onOpenCompose(HWND window, int mode = 0);
    int onOpenMail(const char *mailId);
    int onEveryMinute() { return callEvent("BKC_OnEveryMinute"); }
    int onSend(const char *source);
    int onPlugInSetup(HWND window);
    int onPlugInInfo(void *info);

  private:
    HMODULE module_ = nullptr;
    DWORD lastError_ = 0;
};

} // namespace quill::standin
