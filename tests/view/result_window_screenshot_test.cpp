// A real check of the demo's sample mail through the installed textlint, shown in the result
// window, and a screenshot of that window saved as result-window.png in the build folder;
// and long messages with the tip of one of them under the real pointer, result-window-long.png.
#include "png_file.h"
#include "result_window_fixture.h"
#include "tests/support/test_paths.h"

#include "mail/target_mail_info.h"

#include <gtest/gtest.h>

#include <commctrl.h>
#include <shlwapi.h>

#include <cstdio>

namespace quill::test {
namespace {

// The window as it is on the screen, as rows of RGB triples. Without a window manager (Xvfb)
// its frame and caption stay dark; PrintWindow would draw them but not the controls.
bool captureWindow(HWND window, int &width, int &height, std::vector<std::uint8_t> &rgb) {
    RECT outer;
    GetWindowRect(window, &outer);
    width = outer.right - outer.left;
    height = outer.bottom - outer.top;
    HDC screen = GetDC(nullptr);
    HDC memory = CreateCompatibleDC(screen);
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(info.bmiHeader);
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height; // top row first
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    void *bits = nullptr;
    HBITMAP bitmap = CreateDIBSection(memory, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    HGDIOBJ old = SelectObject(memory, bitmap);
    bool ok = BitBlt(memory, 0, 0, width, height, screen, outer.left, outer.top, SRCCOPY);
    GdiFlush();
    rgb.clear();
    const auto *pixels = static_cast<const std::uint8_t *>(bits);
    for (int i = 0; ok && i < width * height; ++i) {
        rgb.push_back(pixels[i * 4 + 2]);
        rgb.push_back(pixels[i * 4 + 1]);
        rgb.push_back(pixels[i * 4]);
    }
    SelectObject(memory, old);
    DeleteObject(bitmap);
    DeleteDC(memory);
    ReleaseDC(nullptr, screen);
    return ok;
}

// Paints the window at once and saves what the screen shows of it as `name` (PNG) in the
// build folder.
void saveScreenshot(HWND window, const char *name) {
    RedrawWindow(window, nullptr, nullptr,
                 RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN | RDW_UPDATENOW);
    pumpMessages();
    int width = 0, height = 0;
    std::vector<std::uint8_t> rgb;
    ASSERT_TRUE(captureWindow(window, width, height, rgb));
    std::string path = binaryDir() + "\\" + name;
    writeFileBytes(path, encodePng(width, height, rgb));
    std::printf("screenshot: %s (%dx%d)\n", path.c_str(), width, height);
}

// A result window on an engine of its own, at (40, 40) with the given outer size.
class ResultWindowScreenshot : public ::testing::Test {
  protected:
    void open(int width, int height) {
        TextLintConfig::getInstance().update([&](TextLintSettings &s) {
            s.resultWindowX = 40;
            s.resultWindowY = 40;
            s.resultWindowWidth = width;
            s.resultWindowHeight = height;
        });
        view.createWindow();
        ASSERT_NE(view.window(), nullptr);
        view.setController(&controller);
        controller.addLintResultModelListener(&view);
    }
    void TearDown() override { view.closeWindow(); }

    LintResultController controller;
    LintResultViewDialog view;
};

TEST_F(ResultWindowScreenshot, RealCheckOfTheSampleMail) {
    if (!PathFileExistsA(textlintCmdPath().c_str()))
        GTEST_SKIP() << "textlint is not installed (script/install-textlint)";

    TextLintConfig &config = TextLintConfig::getInstance();
    ASSERT_TRUE(config.readConfigFile(sourceDir() + "\\tools\\demo\\Quillcheck.ini"));
    config.setTextLintCmdPath(textlintCmdPath());
    open(760, 360);

    std::string mail = readFileBytes(sourceDir() + "\\tools\\demo\\sample-mail.txt");
    TargetMailInfo target(1, MIME_TEXT_PLAIN, ansi(L"佐藤花子 <sato@quill.example.jp>"),
                          ansi(L"先日の打ち合わせのお礼"), normalizeLineEnds(mail));
    ASSERT_TRUE(controller.executeProofreadingTool(ProofreadingToolControlType::Check, target));
    pumpMessages();

    HWND list = GetDlgItem(view.window(), IDC_RESULT_LIST);
    int rows = static_cast<int>(SendMessageW(list, LVM_GETITEMCOUNT, 0, 0));
    ASSERT_EQ(static_cast<std::size_t>(rows), controller.getLintResults().size());
    EXPECT_GT(rows, 0) << "the sample mail holds findings for every rule of the demo";

    saveScreenshot(view.window(), "result-window.png");
}

TEST_F(ResultWindowScreenshot, LongMessagesAndTheTipUnderThePointer) {
    open(640, 300);

    // The report is textlint's, in UTF-8.
    const std::string report =
        findingLine(2, 10, "一つの文で\"、\"を4つ以上使用しています", "max-ten") +
        findingLine(4, 1,
                    "文の長さ(152)が最大値(100)を超えています。読点で区切るか、"
                    "二つ以上の文に分けると読みやすくなります。主語と述語の対応も"
                    "確かめてください。",
                    "sentence-length") +
        findingLine(6, 22, "一文に二回以上利用されている助詞 \"は\" がみつかりました。",
                    "no-doubled-joshi");
    JobTicket job = controller.enterJob(TargetMailInfo(0, MIME_TEXT_PLAIN,
                                                       ansi(L"山田太郎 <taro@quill.example.jp>"),
                                                       ansi(L"Re: 来週の打ち合わせ"), "x"));
    ASSERT_EQ(controller.publishReport(job, report).publication, Publication::Published);
    pumpMessages();

    // The real pointer rests on the long row: the system's hover notice brings the tip.
    HWND list = GetDlgItem(view.window(), IDC_RESULT_LIST);
    RECT row{};
    row.left = LVIR_BOUNDS;
    SendMessageW(list, LVM_GETITEMRECT, 1, reinterpret_cast<LPARAM>(&row));
    POINT rest{row.left + 40, (row.top + row.bottom) / 2};
    ClientToScreen(list, &rest);
    SetCursorPos(rest.x - 5, rest.y);
    pumpMessages();
    SetCursorPos(rest.x, rest.y);
    bool tipShown = false;
    for (int i = 0; i < 100 && !tipShown; ++i) {
        pumpMessages();
        tipShown = visibleTip(view.window()) != nullptr;
        if (!tipShown)
            MsgWaitForMultipleObjects(0, nullptr, FALSE, 50, QS_ALLINPUT);
    }
    EXPECT_TRUE(tipShown) << "no tip within 5 s of the pointer resting on a long row";

    // The tip is a window of its own: capture the screen area that holds both.
    saveScreenshot(view.window(), "result-window-long.png");
}

} // namespace
} // namespace quill::test
