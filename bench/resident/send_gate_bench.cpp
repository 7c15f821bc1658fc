// BKC_OnSend of the demo's sample mail through the built plug-in, loaded by this program as
// its host (the stand-in host's exports), with the send gate on (threshold high enough to
// let the mail go) and the resident textlint on: sends until one is warm, then p50 and p95.
//   send_gate_bench <Quillcheck.dll> <demo INI> <sample mail> [sends]
#include "bench/resident/bench_files.h"
#include "bench/resident/bench_stats.h"
#include "tools/standin_host/standin_host.h"

#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

int main(int argc, char **argv) {
    if (argc < 4) {
        std::printf("usage: send_gate_bench <Quillcheck.dll> <demo INI> <sample mail> [sends]\n");
        return 2;
    }
    int sends = argc > 4 ? std::atoi(argv[4]) : 50;
    char temp[MAX_PATH];
    GetTempPathA(MAX_PATH, temp);
    std::string folder = std::string(temp) + "QuillcheckSendBench";
    CreateDirectoryA(folder.c_str(), nullptr);
    std::string dll = folder + "\\Quillcheck.dll";
    CopyFileA(argv[1], dll.c_str(), FALSE);
    std::string ini = bench::readFile(argv[2]);
    ini += "EnableEvaluateValueThreshold=true\r\nEvaluateValueThreshold=1000\r\n"
           "EnableResidentTextLint=true\r\n";
    // The demo's own lines come first and win; these only add what it lacks.
    bench::writeFile(folder + "\\Quillcheck.ini", ini);

    quill::standin::resetHost();
    quill::standin::setHeader("From", "a@example.jp");
    quill::standin::setHeader("Subject", "bench");
    HMODULE module = LoadLibraryA(dll.c_str());
    if (!module) {
        std::printf("cannot load %s\n", dll.c_str());
        return 1;
    }
    auto start = reinterpret_cast<int(WINAPI *)()>(
        reinterpret_cast<void *>(GetProcAddress(module, "BKC_OnStart")));
    auto exitPlugin = reinterpret_cast<int(WINAPI *)()>(
        reinterpret_cast<void *>(GetProcAddress(module, "BKC_OnExit")));
    auto send = reinterpret_cast<int(WINAPI *)(LPCSTR)>(
        reinterpret_cast<void *>(GetProcAddress(module, "BKC_OnSend")));
    std::string source =
        "Content-Type: text/plain; charset=UTF-8\r\n\r\n" + bench::readFile(argv[3]);

    start();
    // Cold sends until the server answers: a send far below a cold check's time is warm.
    double first = 0;
    double began = bench::milliseconds();
    for (int i = 0;; ++i) {
        double at = bench::milliseconds();
        int result = send(source.c_str());
        double elapsed = bench::milliseconds() - at;
        if (i == 0)
            first = elapsed;
        if (result != 0) {
            std::printf("the gate stopped the mail (%d)\n", result);
            return 1;
        }
        if (elapsed < 500 || bench::milliseconds() - began > 300000)
            break;
    }
    std::vector<double> times;
    for (int i = 0; i < sends; ++i) {
        double at = bench::milliseconds();
        send(source.c_str());
        times.push_back(bench::milliseconds() - at);
    }
    std::printf("first (cold) send %.0f ms; warm after %.0f ms\n", first,
                bench::milliseconds() - began);
    std::printf("warm sends n=%d  p50 %.1f ms  p95 %.1f ms\n", sends, bench::percentile(times, 50),
                bench::percentile(times, 95));
    exitPlugin();
    FreeLibrary(module);
    DeleteFileA((folder + "\\Quillcheck.ini").c_str());
    DeleteFileA(dll.c_str());
    RemoveDirectoryA(folder.c_str());
    return 0;
}
