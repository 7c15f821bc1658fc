// Fixing one finding from its row, through the built plug-in loaded by this program as its
// host (the stand-in host's exports), with the resident textlint on, the demo's rules and a
// compose window holding the demo's sample mail. Each round puts the sample back, checks it
// (warm), then chooses "この指摘を修正(&F)" on the first row that has a fix and waits until it
// returns with the re-checked list; then checks the fixed text once more on its own. The
// difference is what the fix costs beyond textlint's own check.
//   fix_bench <Quillcheck.dll> <demo INI> <sample mail> [rounds]
#include "bench_files.h"
#include "bench_stats.h"
#include "resources/resource_ids.h"
#include "tools/standin_host/standin_host.h"

#include <windows.h>

#include <commctrl.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

namespace {

using namespace quill::standin;

std::size_t rowsWith(HWND result, const std::string &part) {
    std::size_t count = 0;
    for (const std::string &row : resultRows(result))
        count += row.find(part) != std::string::npos ? 1 : 0;
    return count;
}

// Milliseconds that `work` takes.
template <typename Work> double timed(Work work) {
    const double start = bench::milliseconds();
    work();
    return bench::milliseconds() - start;
}

} // namespace

int main(int argc, char **argv) {
    if (argc < 4) {
        std::printf("usage: fix_bench <Quillcheck.dll> <demo INI> <sample mail> [rounds]\n");
        return 2;
    }
    const int rounds = argc > 4 ? std::atoi(argv[4]) : 30;
    char temp[MAX_PATH];
    GetTempPathA(MAX_PATH, temp);
    const std::string folder = std::string(temp) + "QuillcheckFixBench";
    CreateDirectoryA(folder.c_str(), nullptr);
    const std::string dll = folder + "\\Quillcheck.dll";
    CopyFileA(argv[1], dll.c_str(), FALSE);
    bench::writeFile(folder + "\\Quillcheck.ini",
                     bench::readFile(argv[2]) +
                         "EnableResidentTextLint=true\r\nCheckWhileTyping=false\r\n");

    resetHost();
    PluginHost plugin;
    if (!plugin.load(dll)) {
        std::printf("cannot load %s\n", dll.c_str());
        return 1;
    }
    plugin.onStart();
    const HWND result = findResultWindow();
    const std::string sample = recode(bench::readFile(argv[3]), CP_UTF8, 932);
    ComposeWindowOptions options;
    options.text = sample;
    const HWND compose = createComposeWindow(options);
    const std::size_t before = registeredCommands().size();
    plugin.onMenuInit(compose, GetMenu(compose), 10);
    plugin.onOpenCompose(compose);
    const UINT check = registeredCommands().at(before).id;

    // Until the resident textlint serves, a check starts textlint and its rows offer no fix:
    // check until the status line shows a suggestion for the spacing row.
    const std::string spacing = "ja-no-space-between-full-width";
    auto selectSpacingRow = [&] {
        const int row = resultRowWith(result, spacing);
        if (row < 0)
            return false;
        selectResultRow(result, row);
        wchar_t status[2048] = {};
        GetDlgItemTextW(result, IDC_RESULT_STATUS, status, 2048);
        return std::wstring(status).find(L"修正案") != std::wstring::npos;
    };
    const double began = bench::milliseconds();
    for (;;) {
        chooseCommand(check, compose);
        if (selectSpacingRow())
            break;
        if (bench::milliseconds() - began > 300000) {
            std::printf("no check offered a fix\n");
            return 1;
        }
        pumpMessages(1000);
    }
    std::printf("first warm check after %.0f ms (the resident textlint's start)\n",
                bench::milliseconds() - began);

    std::vector<double> fixes, checks, beyond;
    for (int i = 0; i < rounds; ++i) {
        setComposeText(compose, sample);
        chooseCommand(check, compose);
        if (!selectSpacingRow()) {
            std::printf("round %d: the spacing row offers no fix\n", i);
            return 1;
        }
        const std::size_t spacingRows = rowsWith(result, spacing);
        const double fix =
            timed([&] { SendMessageW(result, WM_COMMAND, MAKEWPARAM(IDM_RESULT_FIX, 0), 0); });
        if (composeText(compose) == sample || rowsWith(result, spacing) != spacingRows - 1) {
            std::printf("round %d: the fix was not applied\n", i);
            return 1;
        }
        const double alone = timed([&] { chooseCommand(check, compose); });
        fixes.push_back(fix);
        checks.push_back(alone);
        beyond.push_back(fix - alone);
    }
    std::printf("fix from the row to the re-checked list: n=%d  p50 %.1f ms  p95 %.1f ms\n", rounds,
                bench::percentile(fixes, 50), bench::percentile(fixes, 95));
    std::printf("warm check of the fixed text alone:       p50 %.1f ms  p95 %.1f ms\n",
                bench::percentile(checks, 50), bench::percentile(checks, 95));
    std::printf("the fix beyond the check:                 p50 %.1f ms  p95 %.1f ms\n",
                bench::percentile(beyond, 50), bench::percentile(beyond, 95));

    plugin.onExit();
    DestroyWindow(compose);
    plugin.unload();
    DeleteFileA((folder + "\\Quillcheck.ini").c_str());
    DeleteFileA(dll.c_str());
    RemoveDirectoryA(folder.c_str());
    return 0;
}
