// The stand-in host's windows: compose windows with a menu bar and an editor control laid
// out as the plug-in expects to find it, and a main window.
#include "tools/standin_host/host_state.h"

#include <iterator>

namespace quill::standin {

using namespace detail;

namespace {

const wchar_t COMPOSE_CLASS[] = L"QuillcheckStandinCompose";
const wchar_t MAIN_CLASS[] = L"QuillcheckStandinMain";
const wchar_t MDI_FRAME_CLASS[] = L"AfxMDIFrame80s";
const wchar_t OTHER_FRAME_CLASS[] = L"QuillcheckStandinFrame";
const wchar_t VIEW_CLASS[] = L"QuillcheckStandinView";
const wchar_t DANA_EDIT_CLASS[] = L"DanaEditWindowClass";

// Asks a compose window to show its text again, from a thread that does not own it.
constexpr UINT WM_STANDIN_REFRESH = WM_APP + 1;

HWND g_mainWindow = nullptr;
// Set while the host itself writes into an editor, so that the change is not taken for
// the user's typing.
thread_local bool t_settingText = false;

WNDPROC g_editProc = nullptr;

// Containers give their only child their whole client area, so the editor fills the window.
void fillWithFirstChild(HWND window) {
    HWND child = GetWindow(window, GW_CHILD);
    RECT rect;
    if (child != nullptr && GetClientRect(window, &rect))
        MoveWindow(child, 0, 0, rect.right, rect.bottom, TRUE);
}

std::wstring toWide(const std::string &text, int codePage) {
    int size = MultiByteToWideChar(static_cast<UINT>(codePage), 0, text.data(),
                                   static_cast<int>(text.size()), nullptr, 0);
    if (size <= 0)
        return {};
    std::wstring wide(static_cast<size_t>(size), L'\0');
    MultiByteToWideChar(static_cast<UINT>(codePage), 0, text.data(), static_cast<int>(text.size()),
                        wide.data(), size);
    return wide;
}

std::string fromWide(const std::wstring &text, int codePage) {
    int size = WideCharToMultiByte(static_cast<UINT>(codePage), 0, text.data(),
                                   static_cast<int>(text.size()), nullptr, 0, nullptr, nullptr);
    if (size <= 0)
        return {};
    std::string bytes(static_cast<size_t>(size), '\0');
    WideCharToMultiByte(static_cast<UINT>(codePage), 0, text.data(), static_cast<int>(text.size()),
                        bytes.data(), size, nullptr, nullptr);
    return bytes;
}

// The user typed into the editor: the host's text becomes what the editor shows.
void takeEditorText(HWND composeWindow) {
    std::lock_guard<std::recursive_mutex> lock(stateMutex());
    ComposeState *compose = findCompose(composeWindow);
    if (compose == nullptr || compose->editor == nullptr)
        return;
    int length = GetWindowTextLengthW(compose->editor);
    std::wstring wide(static_cast<size_t>(length) + 1, L'\0');
    int copied = GetWindowTextW(compose->editor, wide.data(), length + 1);
    wide.resize(static_cast<size_t>(copied > 0 ? copied : 0));
    compose->text = fromWide(wide, compose->codePage);
}

LRESULT CALLBACK composeProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_SIZE:
        fillWithFirstChild(window);
        return 0;
    case WM_COMMAND:
        if (lParam == 0 && HIWORD(wParam) == 0) {
            if (chooseCommand(LOWORD(wParam), window))
                return 0;
        } else if (HIWORD(wParam) == EN_CHANGE && !t_settingText) {
            takeEditorText(window);
        }
        break;
    case WM_STANDIN_REFRESH:
        refreshEditor(window);
        return 0;
    case WM_NCDESTROY: {
        std::lock_guard<std::recursive_mutex> lock(stateMutex());
        composeWindows().erase(window);
        break;
    }
    }
    return DefWindowProcW(window, message, wParam, lParam);
}

LRESULT CALLBACK mainProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_NCDESTROY && window == g_mainWindow)
        g_mainWindow = nullptr;
    if (message == WM_COMMAND && lParam == 0 && HIWORD(wParam) == 0 &&
        chooseCommand(LOWORD(wParam), window))
        return 0;
    return DefWindowProcW(window, message, wParam, lParam);
}

// Frames and views: pass the editor's notices up to the compose window.
LRESULT CALLBACK containerProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_SIZE) {
        fillWithFirstChild(window);
        return 0;
    }
    if (message == WM_COMMAND && lParam != 0)
        return SendMessageW(GetParent(window), message, wParam, lParam);
    return DefWindowProcW(window, message, wParam, lParam);
}

LRESULT CALLBACK danaEditProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    return CallWindowProcW(g_editProc, window, message, wParam, lParam);
}

void registerClasses() {
    static bool registered = false;
    if (registered)
        return;
    registered = true;
    HINSTANCE instance = GetModuleHandleW(nullptr);
    auto registerClass = [&](const wchar_t *name, WNDPROC proc, HBRUSH background) {
        WNDCLASSEXW windowClass = {};
        windowClass.cbSize = sizeof windowClass;
        windowClass.lpfnWndProc = proc;
        windowClass.hInstance = instance;
        windowClass.hCursor = LoadCursorW(nullptr, reinterpret_cast<LPCWSTR>(IDC_ARROW));
        windowClass.hbrBackground = background;
        windowClass.lpszClassName = name;
        RegisterClassExW(&windowClass);
    };
    HBRUSH face = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    registerClass(COMPOSE_CLASS, composeProc, face);
    registerClass(MAIN_CLASS, mainProc, face);
    registerClass(MDI_FRAME_CLASS, containerProc, face);
    registerClass(OTHER_FRAME_CLASS, containerProc, face);
    registerClass(VIEW_CLASS, containerProc, face);

    // The host's editor control is an edit control under its own class name.
    WNDCLASSEXW edit = {};
    edit.cbSize = sizeof edit;
    GetClassInfoExW(nullptr, L"EDIT", &edit);
    g_editProc = edit.lpfnWndProc;
    edit.lpfnWndProc = danaEditProc;
    edit.hInstance = instance;
    edit.lpszClassName = DANA_EDIT_CLASS;
    RegisterClassExW(&edit);
}

// A menu bar with three pop-ups; the plug-in appends its items to the second one.
HMENU createMenuBar() {
    HMENU bar = CreateMenu();
    const wchar_t *titles[] = {L"ファイル(&F)", L"編集(&E)", L"ツール(&T)"};
    UINT id = 100;
    for (const wchar_t *title : titles) {
        HMENU popup = CreatePopupMenu();
        AppendMenuW(popup, MF_STRING, id++, L"(host item)");
        AppendMenuW(bar, MF_POPUP | MF_STRING, reinterpret_cast<UINT_PTR>(popup), title);
    }
    return bar;
}

HWND createChild(const wchar_t *className, HWND parent, DWORD style = 0) {
    return CreateWindowExW(0, className, L"", WS_CHILD | WS_VISIBLE | style, 0, 0, 0, 0, parent,
                           nullptr, GetModuleHandleW(nullptr), nullptr);
}

const DWORD EDIT_STYLE = WS_VSCROLL | ES_MULTILINE | ES_AUTOVSCROLL | ES_WANTRETURN;

HWND createEditor(HWND composeWindow, ComposeEditor kind) {
    if (kind == ComposeEditor::PlainEdit)
        return createChild(L"EDIT", composeWindow, EDIT_STYLE);
    const wchar_t *frameClass =
        kind == ComposeEditor::DanaOutsideMdiFrame ? OTHER_FRAME_CLASS : MDI_FRAME_CLASS;
    HWND frame = createChild(frameClass, composeWindow);
    HWND view = createChild(VIEW_CLASS, frame);
    HWND editor = createChild(DANA_EDIT_CLASS, view, EDIT_STYLE);
    if (kind == ComposeEditor::DanaDisabled)
        EnableWindow(editor, FALSE);
    return editor;
}

} // namespace

namespace detail {

void refreshEditor(HWND composeWindow) {
    if (GetWindowThreadProcessId(composeWindow, nullptr) != GetCurrentThreadId()) {
        PostMessageW(composeWindow, WM_STANDIN_REFRESH, 0, 0);
        return;
    }
    HWND editor = nullptr;
    std::wstring shown;
    {
        std::lock_guard<std::recursive_mutex> lock(stateMutex());
        ComposeState *compose = findCompose(composeWindow);
        if (compose == nullptr)
            return;
        editor = compose->editor;
        // An edit control breaks lines only at CR LF.
        for (wchar_t c : toWide(compose->text.value_or(""), compose->codePage)) {
            if (c == L'\n' && (shown.empty() || shown.back() != L'\r'))
                shown += L'\r';
            shown += c;
        }
    }
    t_settingText = true;
    SetWindowTextW(editor, shown.c_str());
    t_settingText = false;
}

void destroyHostWindows() {
    std::vector<HWND> windows;
    {
        std::lock_guard<std::recursive_mutex> lock(stateMutex());
        for (const auto &entry : composeWindows())
            windows.push_back(entry.first);
    }
    for (HWND window : windows)
        DestroyWindow(window);
    if (g_mainWindow != nullptr)
        DestroyWindow(g_mainWindow);
}

} // namespace detail

HWND createComposeWindow(const ComposeWindowOptions &options) {
    registerClasses();
    HWND window =
        CreateWindowExW(0, COMPOSE_CLASS, options.title.c_str(), WS_OVERLAPPEDWINDOW, 60, 60, 640,
                        420, nullptr, createMenuBar(), GetModuleHandleW(nullptr), nullptr);
    if (window == nullptr)
        return nullptr;
    {
        std::lock_guard<std::recursive_mutex> lock(stateMutex());
        ComposeState &compose = composeWindows()[window];
        compose.text = options.text;
        compose.mimeType = options.mimeType;
        compose.codePage = options.codePage;
        compose.charSetName = options.charSetName;
    }
    HWND editor = createEditor(window, options.editor);
    SendMessageW(editor, WM_SETFONT, reinterpret_cast<WPARAM>(GetStockObject(DEFAULT_GUI_FONT)),
                 FALSE);
    {
        std::lock_guard<std::recursive_mutex> lock(stateMutex());
        composeWindows()[window].editor = editor;
    }
    fillWithFirstChild(window);
    refreshEditor(window);
    if (options.visible) {
        ShowWindow(window, SW_SHOW);
        UpdateWindow(window);
    }
    return window;
}

std::string composeText(HWND window) {
    std::lock_guard<std::recursive_mutex> lock(stateMutex());
    ComposeState *compose = findCompose(window);
    return compose != nullptr ? compose->text.value_or("") : std::string();
}

void setComposeText(HWND window, const std::optional<std::string> &text) {
    {
        std::lock_guard<std::recursive_mutex> lock(stateMutex());
        ComposeState *compose = findCompose(window);
        if (compose == nullptr)
            return;
        compose->text = text;
    }
    refreshEditor(window);
}

void setComposeMimeType(HWND window, const std::string &mimeType) {
    std::lock_guard<std::recursive_mutex> lock(stateMutex());
    if (ComposeState *compose = findCompose(window))
        compose->mimeType = mimeType;
}

HWND composeEditor(HWND window) {
    std::lock_guard<std::recursive_mutex> lock(stateMutex());
    ComposeState *compose = findCompose(window);
    return compose != nullptr ? compose->editor : nullptr;
}

void postTyping(HWND window, const std::wstring &text) {
    const HWND editor = composeEditor(window);
    for (wchar_t c : text)
        PostMessageW(editor, WM_CHAR, c == L'\n' ? L'\r' : c, 1);
}

void postKey(HWND window, UINT virtualKey) {
    const HWND editor = composeEditor(window);
    PostMessageW(editor, WM_KEYDOWN, virtualKey, 1);
    PostMessageW(editor, WM_KEYUP, virtualKey, static_cast<LPARAM>(0xC0000001u));
}

HWND hostMainWindow() {
    if (g_mainWindow == nullptr) {
        registerClasses();
        g_mainWindow =
            CreateWindowExW(0, MAIN_CLASS, L"Stand-in host", WS_OVERLAPPEDWINDOW, 20, 20, 800, 600,
                            nullptr, createMenuBar(), GetModuleHandleW(nullptr), nullptr);
    }
    return g_mainWindow;
}

} // namespace quill::standin
