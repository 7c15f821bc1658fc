// The host functions exported by the stand-in host, found by the plug-in with
// GetProcAddress on the executable. Compile definitions leave some out for binding tests:
// STANDIN_WITHOUT_CONNECT, STANDIN_WITHOUT_SET_STATUS, STANDIN_WITHOUT_MOVE_MESSAGES.
#include "tools/standin_host/host_state.h"

using namespace quill::standin;
using namespace quill::standin::detail;

namespace {

// Copies `text` into a caller's buffer of `size` bytes, cut to fit (at a character boundary
// of the ANSI code page) and NUL-terminated, as the host cuts a value longer than the buffer.
void copyBounded(LPSTR buffer, int size, const std::string &text) {
    if (buffer == nullptr || size <= 0)
        return;
    size_t limit = static_cast<size_t>(size) - 1;
    size_t length = 0;
    while (length < text.size()) {
        size_t step = IsDBCSLeadByte(static_cast<BYTE>(text[length])) ? 2 : 1;
        if (length + step > limit || length + step > text.size())
            break;
        length += step;
    }
    text.copy(buffer, length);
    buffer[length] = '\0';
}

std::string textArg(LPCSTR text) {
    return text != nullptr ? std::string(text) : "(null)";
}

// The host's answer for text it does not have: a valid empty text.
char g_emptyText[1] = {'\0'};

} // namespace

extern "C" {

__declspec(dllexport) LPCSTR WINAPI BKA_GetVersion() {
    recordCall("BKA_GetVersion", {});
    std::lock_guard<std::recursive_mutex> lock(stateMutex());
    return version().c_str();
}

__declspec(dllexport) UINT WINAPI
    BKA_RegisterCommand(LPCSTR description, int menuType, CommandCallback callback) {
    recordCall("BKA_RegisterCommand", {textArg(description), argText(menuType),
                                       argText(reinterpret_cast<void *>(callback))});
    return registerCommand(textArg(description), menuType, callback);
}

__declspec(dllexport) LPSTR WINAPI BKA_GetText(LPSTR mimeType, int mimeTypeSize) {
    recordCall("BKA_GetText", {argText(mimeTypeSize)});
    std::lock_guard<std::recursive_mutex> lock(stateMutex());
    const ShownMail &mail = shownMail();
    copyBounded(mimeType, mimeTypeSize, mail.mimeType);
    return mail.text ? const_cast<LPSTR>(mail.text->c_str()) : nullptr;
}

__declspec(dllexport) int WINAPI BKA_GetCharSet(LPCSTR mailId, LPSTR charSet, int charSetSize) {
    recordCall("BKA_GetCharSet", {textArg(mailId), argText(charSetSize)});
    std::lock_guard<std::recursive_mutex> lock(stateMutex());
    copyBounded(charSet, charSetSize, shownMail().charSetName);
    return shownMail().codePage;
}

__declspec(dllexport) LPSTR WINAPI
    BKA_GetSpecifiedHeader(LPCSTR header, LPSTR value, int valueSize) {
    recordCall("BKA_GetSpecifiedHeader", {textArg(header), argText(valueSize)});
    std::lock_guard<std::recursive_mutex> lock(stateMutex());
    copyBounded(value, valueSize, headerValue(textArg(header)));
    return value;
}

__declspec(dllexport) LPSTR WINAPI BKA_CompGetText(HWND window, LPSTR mimeType, int mimeTypeSize) {
    recordCall("BKA_CompGetText", {argText(window), argText(mimeTypeSize)});
    std::lock_guard<std::recursive_mutex> lock(stateMutex());
    ComposeState *compose = findCompose(window);
    if (compose == nullptr) {
        copyBounded(mimeType, mimeTypeSize, "");
        return g_emptyText;
    }
    copyBounded(mimeType, mimeTypeSize, compose->mimeType);
    return compose->text ? const_cast<LPSTR>(compose->text->c_str()) : nullptr;
}

__declspec(dllexport) int WINAPI BKA_CompGetCharSet(HWND window, LPSTR charSet, int charSetSize) {
    recordCall("BKA_CompGetCharSet", {argText(window), argText(charSetSize)});
    std::lock_guard<std::recursive_mutex> lock(stateMutex());
    ComposeState *compose = findCompose(window);
    copyBounded(charSet, charSetSize, compose != nullptr ? compose->charSetName : "");
    return compose != nullptr ? compose->codePage : 0;
}

// Mode 0 replaces the whole text; other modes are only recorded.
__declspec(dllexport) int WINAPI BKA_CompSetText(HWND window, int mode, LPCSTR text) {
    recordCall("BKA_CompSetText", {argText(window), argText(mode), textArg(text)});
    {
        std::lock_guard<std::recursive_mutex> lock(stateMutex());
        ComposeState *compose = findCompose(window);
        if (compose == nullptr || mode != 0 || text == nullptr)
            return 0;
        compose->text = std::string(text);
    }
    refreshEditor(window);
    return 0;
}

// The functions the plug-in binds but never calls. They are cdecl so that a call with any
// number of arguments leaves the stack sound (the caller cleans it up).
#define STANDIN_UNCALLED(name)                                                                     \
    __declspec(dllexport) int __cdecl name() {                                                     \
        recordCall(#name, {});                                                                     \
        return 0;                                                                                  \
    }

STANDIN_UNCALLED(BKA_Command)
STANDIN_UNCALLED(BKA_GetWindowHandles)
STANDIN_UNCALLED(BKA_RegisterUICallback)
STANDIN_UNCALLED(BKA_GetDataFolder)
STANDIN_UNCALLED(BKA_GetTempFolder)
STANDIN_UNCALLED(BKA_GetTempFileName)
STANDIN_UNCALLED(BKA_GetCurrentMailBox)
STANDIN_UNCALLED(BKA_SetCurrentMailBox)
STANDIN_UNCALLED(BKA_GetCurrentFolder)
STANDIN_UNCALLED(BKA_SetCurrentFolder)
STANDIN_UNCALLED(BKA_GetFolderDisplayName)
STANDIN_UNCALLED(BKA_SetMessageText)
STANDIN_UNCALLED(BKA_GetCurrentMail)
STANDIN_UNCALLED(BKA_SetCurrentMail)
STANDIN_UNCALLED(BKA_GetNextMail)
STANDIN_UNCALLED(BKA_SetSel)
STANDIN_UNCALLED(BKA_AppendMessage)
STANDIN_UNCALLED(BKA_MoveSelectedMessages)
STANDIN_UNCALLED(BKA_GetStatus)
STANDIN_UNCALLED(BKA_ComposeMail)
STANDIN_UNCALLED(BKA_GetSource)
STANDIN_UNCALLED(BKA_SetSource)
STANDIN_UNCALLED(BKA_GetHeader)
STANDIN_UNCALLED(BKA_SetText)
STANDIN_UNCALLED(BKA_SetSpecifiedHeader)
STANDIN_UNCALLED(BKA_CompGetSource)
STANDIN_UNCALLED(BKA_CompSetSource)
STANDIN_UNCALLED(BKA_CompGetHeader)
STANDIN_UNCALLED(BKA_CompGetSpecifiedHeader)
STANDIN_UNCALLED(BKA_CompSetSpecifiedHeader)
STANDIN_UNCALLED(BKA_CompAttachFile)
STANDIN_UNCALLED(BKA_Alloc)
STANDIN_UNCALLED(BKA_ReAlloc)
STANDIN_UNCALLED(BKA_Free)
STANDIN_UNCALLED(BKA_ISO_2022_JP)
STANDIN_UNCALLED(BKA_ISO_2022_KR)
STANDIN_UNCALLED(BKA_HZ_GB2312)
STANDIN_UNCALLED(BKA_ISO_8859_2)
STANDIN_UNCALLED(BKA_EUC_JP)
STANDIN_UNCALLED(BKA_UTF_7)
STANDIN_UNCALLED(BKA_UTF_8)
STANDIN_UNCALLED(BKA_B64Convert)
STANDIN_UNCALLED(BKA_QPConvert)
STANDIN_UNCALLED(BKA_MIMEHeader)
STANDIN_UNCALLED(BKA_SerializeRcpts)
#ifndef STANDIN_WITHOUT_CONNECT
STANDIN_UNCALLED(BKA_Connect)
#endif
#ifndef STANDIN_WITHOUT_SET_STATUS
STANDIN_UNCALLED(BKA_SetStatus)
#endif
STANDIN_UNCALLED(BKA_NextUnread)
STANDIN_UNCALLED(BKA_ProcessMail)
STANDIN_UNCALLED(BKA_GetSize)
#ifndef STANDIN_WITHOUT_MOVE_MESSAGES
STANDIN_UNCALLED(BKA_MoveMessages)
#endif

} // extern "C"
