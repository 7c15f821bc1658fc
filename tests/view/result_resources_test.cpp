// The module's result-window resources as the system reads them: Japanese texts intact
// through the UTF-8 resource script, the window styles, the context menu, and the version
// record a user sees in the module's properties.
#include "result_window_fixture.h"

#include "common/module_instance.h"
#include "tests/support/label_room.h"

#include <gmock/gmock.h>

#include <iterator>
#include <utility>

namespace quill::test {
namespace {

std::wstring windowText(HWND window) {
    wchar_t text[256] = {};
    GetWindowTextW(window, text, static_cast<int>(std::size(text)));
    return text;
}

TEST_F(ResultWindowTest, TemplateTextsAndStyles) {
    HWND dialog = view.window();
    EXPECT_EQ(windowText(dialog), L"Quillcheck校正結果");
    EXPECT_EQ(windowText(GetDlgItem(dialog, IDC_RESULT_MAIL_LABEL)), L"校正対象メール: ");
    EXPECT_EQ(windowText(GetDlgItem(dialog, IDC_RESULT_SUBJECT_LABEL)), L"件名:");
    EXPECT_EQ(windowText(GetDlgItem(dialog, IDC_RESULT_MIME_LABEL)), L"MIMEタイプ:");

    LONG style = GetWindowLongW(dialog, GWL_STYLE);
    EXPECT_EQ(style & (WS_CAPTION | WS_THICKFRAME), WS_CAPTION | WS_THICKFRAME);
    EXPECT_EQ(style & (WS_SYSMENU | WS_MINIMIZEBOX | WS_MAXIMIZEBOX), 0);
    for (int id : {IDC_RESULT_MAIL, IDC_RESULT_SUBJECT, IDC_RESULT_MIME}) {
        LONG field = GetWindowLongW(GetDlgItem(dialog, id), GWL_STYLE);
        EXPECT_EQ(field & ES_READONLY, ES_READONLY) << id;
        EXPECT_EQ(field & (WS_BORDER | WS_TABSTOP), 0) << id;
    }
    LONG listStyle = GetWindowLongW(list(), GWL_STYLE);
    EXPECT_EQ(listStyle & LVS_TYPEMASK, LVS_REPORT);
    EXPECT_EQ(listStyle & LVS_SINGLESEL, LVS_SINGLESEL);
}

// The header labels (校正対象メール:, 件名:, MIMEタイプ:) read whole, also in a font wider
// than the test bed's.
TEST(ResultResources, EveryLabelHasRoomForTheWidestJapaneseInterfaceFont) {
    EXPECT_THAT(labelsWithoutRoom(IDD_RESULT_WINDOW, 1.15), ::testing::IsEmpty());
}

TEST(ResultResources, ContextMenuHoldsCopyAndTheActionsOnAFinding) {
    HMENU menu = LoadMenuW(moduleInstance(), MAKEINTRESOURCEW(IDR_RESULT_MENU));
    ASSERT_NE(menu, nullptr);
    wchar_t text[64] = {};
    GetMenuStringW(menu, 0, text, static_cast<int>(std::size(text)), MF_BYPOSITION);
    EXPECT_STREQ(text, L"編集(&E)");
    HMENU popup = GetSubMenu(menu, 0);
    ASSERT_NE(popup, nullptr);
    const std::pair<int, const wchar_t *> items[] = {
        {IDM_RESULT_COPY, L"コピー(&C)"},
        {0, L""},
        {IDM_RESULT_FIX, L"この指摘を修正(&F)"},
        {IDM_RESULT_IGNORE, L"この指摘を無視(&I)"},
        {IDM_RESULT_NEVER_SHOW, L"今後この指摘を表示しない(&A)"},
        {IDM_RESULT_DISABLE_RULE, L"このルールを無効にする(&D)"},
    };
    ASSERT_EQ(GetMenuItemCount(popup), static_cast<int>(std::size(items)));
    for (int i = 0; i < static_cast<int>(std::size(items)); ++i) {
        EXPECT_EQ(GetMenuItemID(popup, i), static_cast<UINT>(items[i].first)) << i;
        text[0] = L'\0';
        GetMenuStringW(popup, static_cast<UINT>(i), text, static_cast<int>(std::size(text)),
                       MF_BYPOSITION);
        EXPECT_STREQ(text, items[i].second) << i;
    }
    DestroyMenu(menu);
}

TEST(ResultResources, VersionRecordNamesTheProduct) {
    wchar_t path[MAX_PATH] = {};
    GetModuleFileNameW(moduleInstance(), path, MAX_PATH);
    DWORD handle = 0;
    DWORD size = GetFileVersionInfoSizeW(path, &handle);
    ASSERT_GT(size, 0u);
    std::vector<char> data(size);
    ASSERT_TRUE(GetFileVersionInfoW(path, 0, size, data.data()));

    VS_FIXEDFILEINFO *fixed = nullptr;
    UINT length = 0;
    ASSERT_TRUE(VerQueryValueW(data.data(), L"\\", reinterpret_cast<void **>(&fixed), &length));
    EXPECT_EQ(fixed->dwFileVersionMS, MAKELONG(0, 1));
    EXPECT_EQ(fixed->dwProductVersionMS, MAKELONG(0, 1));

    struct Entry {
        const wchar_t *name;
        const wchar_t *value;
    };
    const Entry entries[] = {
        {L"CompanyName", L"Penwright"},
        {L"ProductName", L"Becky! Quill Check plug-in"},
        {L"FileDescription", L"Enabled proofreading E-Mail using textlint."},
        {L"FileVersion", L"1.0"},
        {L"ProductVersion", L"1.0"},
    };
    for (const Entry &entry : entries) {
        std::wstring key = std::wstring(L"\\StringFileInfo\\041104b0\\") + entry.name;
        wchar_t *value = nullptr;
        ASSERT_TRUE(
            VerQueryValueW(data.data(), key.c_str(), reinterpret_cast<void **>(&value), &length))
            << entry.name;
        EXPECT_STREQ(value, entry.value);
    }
}

} // namespace
} // namespace quill::test
