// The plug-in's one result window: a modeless dialog that shows the target mail of the
// last published check run and one list row per finding, with a context menu to copy a row,
// and a status line under the list: the number of findings, or why the latest check failed.
#pragma once

#include "lint/lint_result.h"
#include "lint/lint_result_model_listener.h"
#include "view/result_list_menu.h"
#include "view/result_row_tip.h"

#include <windows.h>

#include <atomic>
#include <cstdint>
#include <functional>
#include <mutex>
#include <string>
#include <vector>

namespace quill {

class LintResultController;
struct JobTicket;

// What the writer can do with one finding from its row.
enum class FindingAction { Fix, Ignore, NeverShow, SwitchRuleOff };

// Carries out an action on `finding`, a row of the list that the publication of `shown`
// filled. Runs on the window's thread.
using FindingActionHandler =
    std::function<void(FindingAction action, const LintResult &finding, JobTicket shown)>;

class LintResultViewDialog : public LintResultModelListener {
  public:
    // The process-wide window object, made on first use and kept until unload.
    static LintResultViewDialog &getInstance();

    // Tests make objects of their own; the plug-in uses getInstance().
    LintResultViewDialog() = default;
    LintResultViewDialog(const LintResultViewDialog &) = delete;
    LintResultViewDialog &operator=(const LintResultViewDialog &) = delete;

    // Creates the window from the module's dialog template and shows it at the stored
    // rectangle. A failure writes one diagnostic line and leaves the object without window.
    void createWindow();
    void createWindow(HINSTANCE module);

    // The engine the window reads; set once, after createWindow.
    void setController(LintResultController *controller) { controller_ = controller; }
    // Who carries out the actions of the rows' context menu; set once, after createWindow.
    void setFindingActions(FindingActionHandler handler) { findingActions_ = std::move(handler); }

    // Called by the engine with its lock held. On the window's thread the window redraws at
    // once; on any other thread it posts itself a message and returns without waiting, and
    // the window's thread reads the engine when it handles that message.
    void updateLintResult() override;
    // The status line changed without a publication: shown the same way, on the window's
    // thread at once, from any other by a posted message.
    void updateLintStatus() override;

    // Shows `text` in the status line under the list, above what the checks leave there (it
    // becomes the engine's note). Any thread may call it: the window's thread sets it, and
    // the text waits there when the window does not exist yet.
    void showStatus(const std::wstring &text);
    std::wstring statusText();

    // Leaves the engine's listeners, stores the window's rectangle into the settings and
    // destroys the window.
    void closeWindow();

    static INT_PTR CALLBACK resultDialogProc(HWND dialog, UINT message, WPARAM wParam,
                                             LPARAM lParam);

    HWND window() const { return dialog_; }

  private:
    void redraw();
    // The status line and the list's heading from the engine.
    void redrawStatus();
    void postToWindow(UINT message, std::atomic<bool> &posted);
    void fillList(const std::vector<LintResult> &results);
    void actOnSelectedRow(FindingAction action);
    // The suggestion of `row`'s fix, or empty.
    std::wstring suggestionOf(int row) const;
    void layOut(int clientWidth, int clientHeight);
    void fitColumn();
    INT_PTR handleMessage(UINT message, WPARAM wParam, LPARAM lParam);

    LintResultController *controller_ = nullptr;
    FindingActionHandler findingActions_;
    // The findings the rows show, and the publication they came from.
    std::vector<LintResult> shownResults_;
    std::uint64_t shownJob_ = 0;
    HINSTANCE module_ = nullptr;
    HWND dialog_ = nullptr;
    HWND resultList_ = nullptr;
    HWND mailField_ = nullptr;
    HWND subjectField_ = nullptr;
    HWND mimeTypeField_ = nullptr;
    HWND statusField_ = nullptr;
    std::mutex statusMutex_;
    std::wstring status_; // shown until an engine is set
    ResultListMenu menu_;
    ResultRowTip rowTip_;
    DWORD windowThreadId_ = 0;
    // Set while a redraw message is on its way, so a burst of worker updates posts one.
    std::atomic<bool> redrawPosted_{false};
    std::atomic<bool> statusPosted_{false};
};

} // namespace quill
