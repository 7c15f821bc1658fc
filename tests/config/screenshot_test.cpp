// Writes a picture of the settings dialog filled with the demo's rules to
// <build>/settings-dialog.png, and checks that the capture shows a drawn dialog.
#include "resources/resource_ids.h"
#include "tests/config/settings_fixture.h"

#include <objidl.h>
#include <gdiplus.h>

#include <set>

namespace quill::test {
namespace {

using SettingsDialogScreenshot = SettingsDialogFixture;

// The demo's rule set, used when the demo's own INI file is not in the tree.
std::vector<TextLintRule> demoRules() {
    return {
        TextLintRule{"ja-spacing/ja-no-space-between-full-width", true, 1, {}},
        TextLintRule{"max-ten", true, 3, {"\"max\":3"}},
        TextLintRule{"no-doubled-joshi", true, 2, {"\"min_interval\":1", "\"strict\":false"}},
        TextLintRule{"no-dropping-the-ra", false, 1, {}},
        TextLintRule{"sentence-length", true, 2, {"\"max\":100"}},
    };
}

bool writePng(HBITMAP bitmap, const std::wstring &path) {
    ULONG_PTR token = 0;
    Gdiplus::GdiplusStartupInput input;
    if (Gdiplus::GdiplusStartup(&token, &input, nullptr) != Gdiplus::Ok)
        return false;
    bool written = false;
    {
        // The PNG encoder of GDI+.
        const CLSID png = {
            0x557cf406, 0x1a04, 0x11d3, {0x9a, 0x73, 0x00, 0x00, 0xf8, 0x1e, 0xf3, 0x2e}};
        Gdiplus::Bitmap image(bitmap, nullptr);
        written = image.Save(path.c_str(), &png, nullptr) == Gdiplus::Ok;
    }
    Gdiplus::GdiplusShutdown(token);
    return written;
}

TEST_F(SettingsDialogScreenshot, WritesAPictureOfTheFilledDialog) {
    const std::string demoIni = sourceDir() + "\\tools\\demo\\Quillcheck.ini";
    // Reading the demo's INI file must not move the result window of later tests.
    const TextLintSettings kept = config().snapshot();
    config().setRules({});
    if (GetFileAttributesA(demoIni.c_str()) == INVALID_FILE_ATTRIBUTES ||
        !config().readConfigFile(demoIni) || config().getRules().empty())
        config().setRules(demoRules());
    config().update([&](TextLintSettings &s) {
        s.resultWindowX = kept.resultWindowX;
        s.resultWindowY = kept.resultWindowY;
        s.resultWindowWidth = kept.resultWindowWidth;
        s.resultWindowHeight = kept.resultWindowHeight;
        s.enableEvaluateValueThreshold = true;
        s.evaluateValueThreshold = 10;
        // The mail-aware switches as a new user finds them.
        s.enableResidentTextLint = true;
        s.excludeQuotedLines = true;
        s.quoteMarks = DEFAULT_QUOTE_MARKS;
        s.excludeSignature = true;
    });

    HWND dialog = openDialog();
    SetWindowPos(dialog, HWND_TOP, 40, 40, 0, 0, SWP_NOSIZE | SWP_SHOWWINDOW);
    SetForegroundWindow(dialog);
    pumpMessages(300);
    RedrawWindow(dialog, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN);
    pumpMessages(300);

    RECT rect{};
    GetWindowRect(dialog, &rect);
    const int w = rect.right - rect.left, h = rect.bottom - rect.top;
    HDC screen = GetDC(nullptr);
    HDC memory = CreateCompatibleDC(screen);
    HBITMAP bitmap = CreateCompatibleBitmap(screen, w, h);
    HGDIOBJ old = SelectObject(memory, bitmap);
    BitBlt(memory, 0, 0, w, h, screen, rect.left, rect.top, SRCCOPY);

    // A drawn dialog has many colours (text, grid lines, buttons); a blank capture has one.
    std::set<COLORREF> colours;
    for (int py = 0; py < h; py += 3)
        for (int px = 0; px < w; px += 3)
            colours.insert(GetPixel(memory, px, py));
    SelectObject(memory, old);
    DeleteDC(memory);
    ReleaseDC(nullptr, screen);
    EXPECT_GT(colours.size(), 8u);

    const std::wstring path = wide(binaryDir()) + L"\\settings-dialog.png";
    EXPECT_TRUE(writePng(bitmap, path));
    DeleteObject(bitmap);
    EXPECT_NE(INVALID_FILE_ATTRIBUTES, GetFileAttributesW(path.c_str()));
}

} // namespace
} // namespace quill::test
