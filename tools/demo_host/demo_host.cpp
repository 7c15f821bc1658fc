// The demo as a user meets it: a stand-in host loads the plug-in, opens a compose window
// with the sample mail, chooses the check and the auto-fix commands from its menu, prints
// what the plug-in shows, saves pictures of both windows, and exits the plug-in.
#include "tools/standin_host/standin_host.h"

#include <windows.h>

#include <cstdio>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

namespace {

using namespace quill::standin;

// Standard output carries the ANSI code page, like the plug-in's own diagnostic lines that
// share it, so that the demo script can turn the whole stream into UTF-8 at once.
void print(const std::string &utf8) {
    const std::string ansi = recode(utf8, CP_UTF8, CP_ACP);
    std::fwrite(ansi.data(), 1, ansi.size(), stdout);
    std::fflush(stdout);
}

std::string readFile(const std::string &path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream bytes;
    bytes << in.rdbuf();
    return bytes.str();
}

// The window as it is on the screen, as a 24-bit BMP file.
bool saveWindowPicture(HWND window, const std::string &path) {
    SetForegroundWindow(window);
    BringWindowToTop(window);
    RedrawWindow(window, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN);
    pumpMessages(500);
    RECT rect{};
    GetWindowRect(window, &rect);
    const int width = rect.right - rect.left, height = rect.bottom - rect.top;
    if (width <= 0 || height <= 0)
        return false;
    HDC screen = GetDC(nullptr);
    HDC memory = CreateCompatibleDC(screen);
    HBITMAP bitmap = CreateCompatibleBitmap(screen, width, height);
    HGDIOBJ old = SelectObject(memory, bitmap);
    BitBlt(memory, 0, 0, width, height, screen, rect.left, rect.top, SRCCOPY);
    SelectObject(memory, old);

    BITMAPINFOHEADER info{};
    info.biSize = sizeof info;
    info.biWidth = width;
    info.biHeight = height;
    info.biPlanes = 1;
    info.biBitCount = 24;
    info.biCompression = BI_RGB;
    const DWORD stride = ((static_cast<DWORD>(width) * 3 + 3) / 4) * 4;
    std::vector<char> pixels(stride * static_cast<DWORD>(height));
    GetDIBits(memory, bitmap, 0, static_cast<UINT>(height), pixels.data(),
              reinterpret_cast<BITMAPINFO *>(&info), DIB_RGB_COLORS);
    DeleteObject(bitmap);
    DeleteDC(memory);
    ReleaseDC(nullptr, screen);

    BITMAPFILEHEADER file{};
    file.bfType = 0x4d42;
    file.bfOffBits = sizeof file + sizeof info;
    file.bfSize = file.bfOffBits + static_cast<DWORD>(pixels.size());
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char *>(&file), sizeof file);
    out.write(reinterpret_cast<const char *>(&info), sizeof info);
    out.write(pixels.data(), static_cast<std::streamsize>(pixels.size()));
    return static_cast<bool>(out);
}

int run(const std::string &dllPath, const std::string &samplePath, const std::string &outDir) {
    const std::string sample = readFile(samplePath);
    if (sample.empty()) {
        print("demo host: cannot read " + samplePath + "\n");
        return 1;
    }
    PluginHost host;
    if (!host.load(dllPath)) {
        print("demo host: the plug-in refused to load (error " + std::to_string(host.lastError()) +
              ")\n");
        return 1;
    }
    host.onStart();
    setHeader("From", "sato@quill.example.jp");
    setHeader("Subject", recode("打ち合わせのお礼", CP_UTF8, 932));

    ComposeWindowOptions options;
    options.text = recode(sample, CP_UTF8, 932);
    options.mimeType = "text/plain";
    options.codePage = 932;
    options.charSetName = "ISO-2022-JP";
    options.title = L"打ち合わせのお礼 - 作成";
    const HWND compose = createComposeWindow(options);
    SetWindowPos(compose, nullptr, 20, 20, 640, 520, SWP_NOZORDER);
    host.onMenuInit(compose, GetMenu(compose), 10);
    host.onOpenCompose(compose);
    pumpMessages(300);

    const UINT checkId = commandIdOf(recode("校正", CP_UTF8, CP_ACP));
    const UINT autoFixId = commandIdOf(recode("自動修正校正", CP_UTF8, CP_ACP));
    print("Choosing \"校正(&R)\" in the compose window...\n");
    chooseCommand(checkId, compose);
    pumpMessages(300);
    const HWND result = findResultWindow();
    if (result == nullptr) {
        print("demo host: no result window\n");
        return 1;
    }
    SetWindowPos(result, nullptr, 680, 20, 580, 420, SWP_NOZORDER);
    const std::vector<std::string> rows = resultRows(result);
    print("The result window lists " + std::to_string(rows.size()) + " findings:\n");
    for (const std::string &row : rows)
        print("  " + row + "\n");
    saveWindowPicture(result, outDir + "\\demo-result-window.bmp");

    print("\nChoosing \"自動修正校正(&I)\" in the compose window...\n");
    chooseCommand(autoFixId, compose);
    pumpMessages(300);
    print("The compose window now holds:\n");
    print(recode(composeText(compose), 932, CP_UTF8) + "\n");
    saveWindowPicture(compose, outDir + "\\demo-compose-window.bmp");

    host.onExit();
    print("\nThe plug-in has exited and written its settings beside itself.\n");
    DestroyWindow(compose);
    host.unload();
    return 0;
}

} // namespace

int main(int argc, char **argv) {
    if (argc != 4) {
        print("usage: QuillcheckDemoHost <Quillcheck.dll> <sample mail, UTF-8> <picture folder>\n");
        return 2;
    }
    try {
        return run(argv[1], argv[2], argv[3]);
    } catch (const std::exception &failure) {
        print(std::string("demo host: ") + failure.what() + "\n");
        return 1;
    }
}
