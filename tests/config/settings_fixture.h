// A test fixture that gives each case its own settings (INI file in a temporary folder,
// a known rule list) and puts the process-wide settings back afterwards.
#pragma once

#include "config/settings_dialog.h"
#include "config/text_lint_config.h"
#include "plugin/settings_check.h"
#include "tests/config/dialog_driver.h"
#include "tests/support/test_paths.h"

#include <gtest/gtest.h>

#include <memory>
#include <vector>

namespace quill::test {

class SettingsDialogFixture : public ::testing::Test {
  protected:
    void SetUp() override;
    void TearDown() override;

    // Opens a settings dialog that proves its entries with `testRun` and returns its window.
    HWND openDialog();

    // The rules every case starts with.
    static std::vector<TextLintRule> startingRules();

    TextLintConfig &config() { return TextLintConfig::getInstance(); }
    std::string iniPath() const { return temp_->file("Quillcheck.ini"); }
    // An existing file that stands in for textlint where no run is needed.
    std::string standInCommand() const { return temp_->file("textlint.cmd"); }

    // The real check of the plug-in unless a case puts a stand-in here.
    SettingsTestRun testRun = checkTestSentence;

  private:
    std::unique_ptr<TempDir> temp_;
    std::vector<HWND> opened_;
    std::string savedIniPath_;
    std::string savedCmdPath_;
    std::vector<TextLintRule> savedRules_;
    TextLintSettings savedSettings_;
};

} // namespace quill::test
