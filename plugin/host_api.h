// The host's plug-in API: one pointer per BKA_* function of the host executable, bound by
// name once at process attach. Every other part of the plug-in calls the host through it.
#pragma once

#include <windows.h>

#include <functional>

namespace quill {

// The command callback the host calls with the window in which a command was chosen.
using HostCommandCallback = void(WINAPI *)(HWND window, LPARAM parameter);

// The eight host functions the plug-in calls. Texts are NUL-terminated multibyte strings.
using BkaGetVersion = LPCSTR(WINAPI *)();
using BkaRegisterCommand = UINT(WINAPI *)(LPCSTR description, int menuType,
                                          HostCommandCallback callback);
using BkaGetText = LPSTR(WINAPI *)(LPSTR mimeType, int mimeTypeSize);
using BkaGetCharSet = int(WINAPI *)(LPCSTR mailId, LPSTR charSet, int charSetSize);
using BkaGetSpecifiedHeader = LPSTR(WINAPI *)(LPCSTR header, LPSTR value, int valueSize);
using BkaCompGetText = LPSTR(WINAPI *)(HWND window, LPSTR mimeType, int mimeTypeSize);
using BkaCompGetCharSet = int(WINAPI *)(HWND window, LPSTR charSet, int charSetSize);
using BkaCompSetText = int(WINAPI *)(HWND window, int mode, LPCSTR text);

// The bound table. A non-null hostModule means "bound". The functions the plug-in binds
// but never calls are kept untyped.
struct HostApi {
    HMODULE hostModule = nullptr;

    // The 54 required functions, in lookup order.
    BkaGetVersion BKA_GetVersion = nullptr;
    FARPROC BKA_Command = nullptr;
    FARPROC BKA_GetWindowHandles = nullptr;
    BkaRegisterCommand BKA_RegisterCommand = nullptr;
    FARPROC BKA_RegisterUICallback = nullptr;
    FARPROC BKA_GetDataFolder = nullptr;
    FARPROC BKA_GetTempFolder = nullptr;
    FARPROC BKA_GetTempFileName = nullptr;
    FARPROC BKA_GetCurrentMailBox = nullptr;
    FARPROC BKA_SetCurrentMailBox = nullptr;
    FARPROC BKA_GetCurrentFolder = nullptr;
    FARPROC BKA_SetCurrentFolder = nullptr;
    FARPROC BKA_GetFolderDisplayName = nullptr;
    FARPROC BKA_SetMessageText = nullptr;
    FARPROC BKA_GetCurrentMail = nullptr;
    FARPROC BKA_SetCurrentMail = nullptr;
    FARPROC BKA_GetNextMail = nullptr;
    FARPROC BKA_SetSel = nullptr;
    FARPROC BKA_AppendMessage = nullptr;
    FARPROC BKA_MoveSelectedMessages = nullptr;
    FARPROC BKA_GetStatus = nullptr;
    FARPROC BKA_ComposeMail = nullptr;
    BkaGetCharSet BKA_GetCharSet = nullptr;
    FARPROC BKA_GetSource = nullptr;
    FARPROC BKA_SetSource = nullptr;
    FARPROC BKA_GetHeader = nullptr;
    BkaGetText BKA_GetText = nullptr;
    FARPROC BKA_SetText = nullptr;
    BkaGetSpecifiedHeader BKA_GetSpecifiedHeader = nullptr;
    FARPROC BKA_SetSpecifiedHeader = nullptr;
    BkaCompGetCharSet BKA_CompGetCharSet = nullptr;
    FARPROC BKA_CompGetSource = nullptr;
    FARPROC BKA_CompSetSource = nullptr;
    FARPROC BKA_CompGetHeader = nullptr;
    FARPROC BKA_CompGetSpecifiedHeader = nullptr;
    FARPROC BKA_CompSetSpecifiedHeader = nullptr;
    BkaCompGetText BKA_CompGetText = nullptr;
    BkaCompSetText BKA_CompSetText = nullptr;
    FARPROC BKA_CompAttachFile = nullptr;
    FARPROC BKA_Alloc = nullptr;
    FARPROC BKA_ReAlloc = nullptr;
    FARPROC BKA_Free = nullptr;
    FARPROC BKA_ISO_2022_JP = nullptr;
    FARPROC BKA_ISO_2022_KR = nullptr;
    FARPROC BKA_HZ_GB2312 = nullptr;
    FARPROC BKA_ISO_8859_2 = nullptr;
    FARPROC BKA_EUC_JP = nullptr;
    FARPROC BKA_UTF_7 = nullptr;
    FARPROC BKA_UTF_8 = nullptr;
    FARPROC BKA_B64Convert = nullptr;
    FARPROC BKA_QPConvert = nullptr;
    FARPROC BKA_MIMEHeader = nullptr;
    FARPROC BKA_SerializeRcpts = nullptr;
    FARPROC BKA_Connect = nullptr;

    // The 5 optional functions; a missing one stays null.
    FARPROC BKA_SetStatus = nullptr;
    FARPROC BKA_NextUnread = nullptr;
    FARPROC BKA_ProcessMail = nullptr;
    FARPROC BKA_GetSize = nullptr;
    FARPROC BKA_MoveMessages = nullptr;
};

// The process-wide table.
HostApi &hostApi();

// Binds the process-wide table to the functions exported by the process's executable.
// Called once from process attach; a later call returns true without looking anything up.
// False when the executable lacks a required function, or reports version "2.00.06" or
// later without BKA_SetStatus; the module handle is then null again.
bool bindHostApi();

// The binding steps on a given table, with the executable module and the name lookup
// given (GetProcAddress in the plug-in). bindHostApi uses it; the tests too.
using HostProcLookup = std::function<FARPROC(HMODULE module, LPCSTR name)>;
bool bindHostApi(HostApi &api, HMODULE executable, const HostProcLookup &lookup);

} // namespace quill
