// Times the result window's update for 5,000 and 50,000 findings: from the engine's call
// until every row is in the list and the window has painted. Median of five runs each.
// Run under Wine with a display; the per-finding diagnostic lines go to standard output,
// so send that to /dev/null. Figures are written to standard error.
#include "lint/lint_result_controller.h"
#include "resources/resource_ids.h"
#include "view/lint_result_view_dialog.h"

#include <commctrl.h>

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

namespace {

std::string reportOf(int findings) {
    std::string report;
    report.reserve(static_cast<std::size_t>(findings) * 120);
    for (int i = 0; i < findings; ++i) {
        report += "C:\\t\\in.txt: line " + std::to_string(i + 1) + ", col " +
                  std::to_string(i % 80 + 1) + ", error - 一文に使用できる読点の数は3つまでです。" +
                  std::to_string(i) + " (max-ten)\n";
    }
    report += "\n" + std::to_string(findings) + " problems\n";
    return report;
}

double millisecondsSince(LARGE_INTEGER start) {
    LARGE_INTEGER now, frequency;
    QueryPerformanceCounter(&now);
    QueryPerformanceFrequency(&frequency);
    return 1000.0 * static_cast<double>(now.QuadPart - start.QuadPart) /
           static_cast<double>(frequency.QuadPart);
}

void pumpMessages() {
    MSG message;
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
}

} // namespace

int main() {
    using namespace quill;
    LintResultController controller;
    LintResultViewDialog view;
    view.createWindow();
    if (view.window() == nullptr)
        return 1;
    view.setController(&controller);
    HWND list = GetDlgItem(view.window(), IDC_RESULT_LIST);
    int failures = 0;

    for (int findings : {5000, 50000}) {
        // The engine holds the findings before the window is told, as after a check run.
        quill::JobTicket job =
            controller.enterJob(TargetMailInfo(0, MIME_TEXT_PLAIN, "bench@example.jp", "s", "x"));
        controller.publishReport(job, reportOf(findings));
        std::vector<double> times;
        for (int run = 0; run < 5; ++run) {
            pumpMessages();
            LARGE_INTEGER start;
            QueryPerformanceCounter(&start);
            {
                std::lock_guard<std::recursive_mutex> lock(controller.mutex());
                view.updateLintResult();
            }
            times.push_back(millisecondsSince(start));
            if (SendMessageW(list, LVM_GETITEMCOUNT, 0, 0) != findings)
                ++failures;
        }
        std::sort(times.begin(), times.end());
        double limit = findings == 5000 ? 500.0 : 5000.0;
        std::fprintf(
            stderr,
            "update with %d findings: median %.1f ms (min %.1f, max %.1f), limit %.0f ms: %s\n",
            findings, times[2], times.front(), times.back(), limit,
            times[2] <= limit ? "met" : "MISSED");
        if (times[2] > limit)
            ++failures;
    }
    view.closeWindow();
    return failures == 0 ? 0 : 2;
}
