// The result window test fixture.
#include "result_window_fixture.h"

#include <commctrl.h>

#include <iterator>

namespace quill::test {

void ResultWindowTest::SetUp() {
    TextLintConfig &config = TextLintConfig::getInstance();
    config.update([&](TextLintSettings &s) {
        s.resultWindowX = 120;
        s.resultWindowY = 100;
        s.resultWindowWidth = 520;
        s.resultWindowHeight = 300;
    });
    view.createWindow();
    ASSERT_NE(view.window(), nullptr);
    view.setController(&controller);
    controller.addLintResultModelListener(&view);
}

void ResultWindowTest::TearDown() {
    view.closeWindow();
    pumpMessages();
}

void ResultWindowTest::publish(const TargetMailInfo &target, const std::string &report) {
    JobTicket job = controller.enterJob(target);
    ASSERT_EQ(controller.publishReport(job, report).publication, Publication::Published);
}

std::vector<std::string> ResultWindowTest::rows() const {
    std::vector<std::string> texts;
    int count = static_cast<int>(SendMessageW(list(), LVM_GETITEMCOUNT, 0, 0));
    for (int row = 0; row < count; ++row) {
        char text[1024] = {};
        LVITEMA item{};
        item.pszText = text;
        item.cchTextMax = static_cast<int>(std::size(text));
        SendMessageA(list(), LVM_GETITEMTEXTA, static_cast<WPARAM>(row),
                     reinterpret_cast<LPARAM>(&item));
        texts.emplace_back(text);
    }
    return texts;
}

std::wstring ResultWindowTest::fieldText(int id) const {
    wchar_t text[1100] = {};
    GetDlgItemTextW(view.window(), id, text, static_cast<int>(std::size(text)));
    return text;
}

RECT ResultWindowTest::rowRect(int row) const {
    RECT bounds{};
    bounds.left = LVIR_BOUNDS;
    SendMessageW(list(), LVM_GETITEMRECT, static_cast<WPARAM>(row),
                 reinterpret_cast<LPARAM>(&bounds));
    return bounds;
}

int ResultWindowTest::selectedRow() const {
    return static_cast<int>(
        SendMessageW(list(), LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_SELECTED));
}

std::string findingLine(int line, int col, const std::string &message, const std::string &rule) {
    return "C:\\t\\in.txt: line " + std::to_string(line) + ", col " + std::to_string(col) + ", " +
           message + " (" + rule + ")\n";
}

void pumpMessages() {
    MSG message;
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
}

namespace {

struct TipSearch {
    HWND dialog;
    HWND found;
};

BOOL CALLBACK findVisibleTip(HWND window, LPARAM data) {
    auto *search = reinterpret_cast<TipSearch *>(data);
    wchar_t name[64] = {};
    GetClassNameW(window, name, 64);
    if (std::wstring(name) == TOOLTIPS_CLASSW && GetWindow(window, GW_OWNER) == search->dialog &&
        IsWindowVisible(window))
        search->found = window;
    return search->found == nullptr;
}

} // namespace

HWND visibleTip(HWND dialog) {
    TipSearch search{dialog, nullptr};
    EnumThreadWindows(GetCurrentThreadId(), findVisibleTip, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

std::wstring tipText(HWND tip) {
    TTTOOLINFOW tool{};
    tool.cbSize = sizeof(tool);
    SendMessageW(tip, TTM_ENUMTOOLSW, 0, reinterpret_cast<LPARAM>(&tool));
    std::wstring text(1100, L'\0');
    tool.lpszText = text.data();
    SendMessageW(tip, TTM_GETTEXTW, text.size(), reinterpret_cast<LPARAM>(&tool));
    text.resize(wcslen(text.c_str()));
    return text;
}

std::string ansi(const wchar_t *text) {
    char bytes[2048] = {};
    WideCharToMultiByte(CP_ACP, 0, text, -1, bytes, static_cast<int>(std::size(bytes)), nullptr,
                        nullptr);
    return bytes;
}

} // namespace quill::test
