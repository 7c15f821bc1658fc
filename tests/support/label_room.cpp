// Creates a dialog from its template and measures each label's text with the dialog's font.
#include "tests/support/label_room.h"

#include <commctrl.h>

#include <cmath>
#include <iterator>

namespace quill::test {

namespace {

INT_PTR CALLBACK quietDialogProc(HWND, UINT message, WPARAM, LPARAM) {
    return message == WM_INITDIALOG ? TRUE : FALSE;
}

std::string utf8Of(const std::wstring &text) {
    const int size = WideCharToMultiByte(CP_UTF8, 0, text.c_str(), static_cast<int>(text.size()),
                                         nullptr, 0, nullptr, nullptr);
    std::string bytes(static_cast<std::size_t>(size > 0 ? size : 0), '\0');
    WideCharToMultiByte(CP_UTF8, 0, text.c_str(), static_cast<int>(text.size()), bytes.data(), size,
                        nullptr, nullptr);
    return bytes;
}

// The text as drawn: an ampersand marks the next character and takes no room.
std::wstring shownText(const std::wstring &text) {
    std::wstring shown;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == L'&' && i + 1 < text.size())
            ++i;
        shown += text[i];
    }
    return shown;
}

// Room a control of `className` with `style` leaves around its text: the check mark of a
// check box, the frame of a push button; a static text has none.
int chromeOf(const std::wstring &className, LONG style) {
    if (className != L"Button")
        return 0;
    const LONG kind = style & BS_TYPEMASK;
    if (kind == BS_CHECKBOX || kind == BS_AUTOCHECKBOX || kind == BS_RADIOBUTTON ||
        kind == BS_AUTORADIOBUTTON || kind == BS_3STATE || kind == BS_AUTO3STATE)
        return GetSystemMetrics(SM_CXMENUCHECK) + 4;
    if (kind == BS_PUSHBUTTON || kind == BS_DEFPUSHBUTTON)
        return 8;
    return -1; // a group box: its caption may run over the frame
}

} // namespace

std::vector<std::string> labelsWithoutRoom(int templateId, double fontMargin) {
    INITCOMMONCONTROLSEX classes{sizeof(classes), ICC_LISTVIEW_CLASSES | ICC_UPDOWN_CLASS};
    InitCommonControlsEx(&classes);
    HWND dialog = CreateDialogParamW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(templateId),
                                     nullptr, quietDialogProc, 0);
    if (dialog == nullptr)
        return {"cannot create"};
    std::vector<std::string> short_;
    HDC dc = GetDC(dialog);
    for (HWND child = GetWindow(dialog, GW_CHILD); child != nullptr;
         child = GetWindow(child, GW_HWNDNEXT)) {
        wchar_t className[64] = {};
        GetClassNameW(child, className, static_cast<int>(std::size(className)));
        const LONG style = GetWindowLongW(child, GWL_STYLE);
        const int chrome = chromeOf(className, style);
        if (chrome < 0 || (std::wstring(className) != L"Static" && chrome == 0))
            continue;
        wchar_t text[512] = {};
        GetWindowTextW(child, text, static_cast<int>(std::size(text)));
        const std::wstring shown = shownText(text);
        if (shown.empty())
            continue;
        HGDIOBJ font = reinterpret_cast<HGDIOBJ>(SendMessageW(child, WM_GETFONT, 0, 0));
        HGDIOBJ previous = SelectObject(dc, font);
        SIZE extent{};
        GetTextExtentPoint32W(dc, shown.c_str(), static_cast<int>(shown.size()), &extent);
        SelectObject(dc, previous);
        RECT client{};
        GetClientRect(child, &client);
        const int needed = static_cast<int>(std::ceil(extent.cx * fontMargin)) + chrome;
        if (needed > client.right)
            short_.push_back("\"" + utf8Of(text) + "\" needs " + std::to_string(needed) +
                             " px, has " + std::to_string(client.right));
    }
    ReleaseDC(dialog, dc);
    DestroyWindow(dialog);
    return short_;
}

} // namespace quill::test
