// A real result window on a real engine, with helpers that publish findings and read back
// what the window shows.
#pragma once

#include "config/text_lint_config.h"
#include "lint/lint_result_controller.h"
#include "resources/resource_ids.h"
#include "view/lint_result_view_dialog.h"

#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>

#include <string>
#include <vector>

namespace quill::test {

class ResultWindowTest : public ::testing::Test {
  protected:
    void SetUp() override;
    void TearDown() override;

    // Enters a job for `target` on this thread and publishes `report` (compact format, UTF-8).
    void publish(const TargetMailInfo &target, const std::string &report);

    HWND list() const { return GetDlgItem(view.window(), IDC_RESULT_LIST); }
    std::vector<std::string> rows() const; // the rows' texts, ANSI bytes
    std::wstring fieldText(int id) const;  // a header field as UTF-16
    RECT rowRect(int row) const;           // in the list's client coordinates
    int selectedRow() const;

    LintResultController controller;
    LintResultViewDialog view;
};

// A compact report line of one finding on the input file C:\t\in.txt.
std::string findingLine(int line, int col, const std::string &message, const std::string &rule);

// Dispatches every message waiting for this thread.
void pumpMessages();

// The visible tooltip that `dialog` owns, or null; and the text of a tooltip's tool.
HWND visibleTip(HWND dialog);
std::wstring tipText(HWND tip);

// UTF-16 text in the ANSI code page.
std::string ansi(const wchar_t *text);

} // namespace quill::test
