// The check while typing through the built plug-in, loaded by this program as its host (the
// stand-in host's exports), with the resident textlint on, the demo's rules and a compose
// window holding the demo's sample mail. Input is posted to the compose window's editor.
//   1. Latency: one keystroke, then the time until the result window shows the new check;
//      p50 and p95 over the rounds (the pause before a check is part of it).
//   2. A burst of 10 keys a second for 10 s: how often the text was read for a check during
//      the burst and after it.
//   typing_bench <Quillcheck.dll> <demo INI> <sample mail> [rounds] [pause ms]
#include "bench_files.h"
#include "bench_stats.h"
#include "resources/resource_ids.h"
#include "tools/standin_host/standin_host.h"

#include <windows.h>

#include <commctrl.h>

#include <cstdio>
#include <cstdlib>
#include <functional>
#include <string>
#include <vector>

namespace {

using namespace quill::standin;

std::size_t textReads() {
    return hostCallsTo("BKA_CompGetCharSet").size();
}

std::size_t rowCount(HWND result) {
    return static_cast<std::size_t>(
        SendDlgItemMessageW(result, IDC_RESULT_LIST, LVM_GETITEMCOUNT, 0, 0));
}

void clearRows(HWND result) {
    SendDlgItemMessageW(result, IDC_RESULT_LIST, LVM_DELETEALLITEMS, 0, 0);
}

// Pumps until `done` or `timeoutMs`; `nudge` runs every `nudgeMs` meanwhile. A nudge is input,
// so it must come less often than the pause it is meant to end in a check.
bool pumpUntil(const std::function<bool()> &done, DWORD timeoutMs,
               const std::function<void()> &nudge = nullptr, DWORD nudgeMs = 0) {
    const ULONGLONG end = GetTickCount64() + timeoutMs;
    ULONGLONG nextNudge = GetTickCount64() + nudgeMs;
    while (!done()) {
        if (GetTickCount64() > end)
            return false;
        if (nudge && GetTickCount64() > nextNudge) {
            nudge();
            nextNudge = GetTickCount64() + nudgeMs;
        }
        pumpMessages(2);
    }
    return true;
}

} // namespace

int main(int argc, char **argv) {
    if (argc < 4) {
        std::printf("usage: typing_bench <Quillcheck.dll> <demo INI> <sample mail> [rounds] "
                    "[pause ms]\n");
        return 2;
    }
    const int rounds = argc > 4 ? std::atoi(argv[4]) : 30;
    const int pause = argc > 5 ? std::atoi(argv[5]) : 1500;
    char temp[MAX_PATH];
    GetTempPathA(MAX_PATH, temp);
    const std::string folder = std::string(temp) + "QuillcheckTypingBench";
    CreateDirectoryA(folder.c_str(), nullptr);
    const std::string dll = folder + "\\Quillcheck.dll";
    CopyFileA(argv[1], dll.c_str(), FALSE);
    // The demo's own lines come first and win; these only add what it lacks.
    bench::writeFile(folder + "\\Quillcheck.ini",
                     bench::readFile(argv[2]) +
                         "EnableResidentTextLint=true\r\nCheckWhileTyping=true\r\n"
                         "CheckWhileTypingDelay=" +
                         std::to_string(pause) + "\r\n");

    resetHost();
    setHeader("From", "a@example.jp");
    setHeader("Subject", "bench");
    const HMODULE module = LoadLibraryA(dll.c_str());
    if (!module) {
        std::printf("cannot load %s\n", dll.c_str());
        return 1;
    }
    auto event = [module](const char *name) {
        return reinterpret_cast<void *>(GetProcAddress(module, name));
    };
    reinterpret_cast<int(WINAPI *)()>(event("BKC_OnStart"))();
    const HWND result = findResultWindow();
    ComposeWindowOptions options;
    options.text = recode(bench::readFile(argv[3]), CP_UTF8, 932);
    const HWND compose = createComposeWindow(options);
    reinterpret_cast<int(WINAPI *)(HWND, int)>(event("BKC_OnOpenCompose"))(compose, 0);
    SetForegroundWindow(compose);
    SetFocus(composeEditor(compose));
    SendMessageW(composeEditor(compose), EM_SETSEL, 0x7fffffff, 0x7fffffff);

    // Until the server serves, pauses check nothing: a key that changes nothing, once per
    // pause and a second, makes new pauses until one shows the findings.
    const double began = bench::milliseconds();
    postTyping(compose, L"ね");
    if (!result ||
        !pumpUntil([&] { return rowCount(result) > 0; }, 300000,
                   [&] { postKey(compose, VK_SHIFT); }, static_cast<DWORD>(pause) + 1000)) {
        std::printf("no findings appeared (text read %zu times for a check)\n", textReads());
        return 1;
    }
    std::printf("first check while typing after %.0f ms (the resident textlint's start)\n",
                bench::milliseconds() - began);

    // Each round changes the text (a character typed, then taken back), so each pause checks.
    std::vector<double> latencies;
    for (int i = 0; i < rounds; ++i) {
        pumpMessages(200);
        clearRows(result);
        postTyping(compose, i % 2 == 0 ? L"\b" : L"ね");
        const double at = bench::milliseconds();
        if (!pumpUntil([&] { return rowCount(result) > 0; }, 60000)) {
            std::printf("round %d: no result\n", i);
            return 1;
        }
        latencies.push_back(bench::milliseconds() - at);
    }
    std::printf("keystroke to result, pause %d ms: n=%d  p50 %.0f ms  p95 %.0f ms  "
                "(p50 beyond the pause %.0f ms)\n",
                pause, rounds, bench::percentile(latencies, 50), bench::percentile(latencies, 95),
                bench::percentile(latencies, 50) - pause);

    // The burst: 100 keys, one every 100 ms, alternately typed and taken back; it ends on a
    // text other than the one checked last.
    pumpMessages(static_cast<DWORD>(pause) + 500);
    clearRows(result);
    const std::size_t before = textReads();
    const double burstStart = bench::milliseconds();
    for (int i = 0; i < 100; ++i) {
        postTyping(compose, i % 2 == 0 ? L"の" : L"\b");
        const double due = burstStart + 100.0 * (i + 1);
        while (bench::milliseconds() < due)
            pumpMessages(static_cast<DWORD>(due - bench::milliseconds()) + 1);
    }
    const std::size_t during = textReads() - before;
    pumpUntil([&] { return rowCount(result) > 0; }, 60000);
    pumpMessages(static_cast<DWORD>(pause) * 2);
    const std::size_t after = textReads() - before - during;
    std::printf("burst of 10 keys/s for 10 s: text read for a check %zu times during it, %zu "
                "after it\n",
                during, after);

    reinterpret_cast<int(WINAPI *)()>(event("BKC_OnExit"))();
    DestroyWindow(compose);
    FreeLibrary(module);
    DeleteFileA((folder + "\\Quillcheck.ini").c_str());
    DeleteFileA(dll.c_str());
    RemoveDirectoryA(folder.c_str());
    return 0;
}
