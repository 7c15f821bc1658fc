// A test fixture for textlint runs: a private temporary folder as TMP/TEMP (so leftovers
// can be counted), settings pointing at a command, a listener counting publications.
#pragma once

#include "config/text_lint_config.h"
#include "lint/lint_result_controller.h"
#include "tests/support/counting_listener.h"
#include "tests/support/scoped_environment.h"
#include "tests/support/test_paths.h"

#include <gtest/gtest.h>

#include <chrono>
#include <condition_variable>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

namespace quill::test {

// One enabled rule without options.
TextLintRule rule(const std::string &name);

class RunTest : public ::testing::Test {
  protected:
    void SetUp() override;
    void TearDown() override;

    // Points the settings at `commandPath` with `rules` (by default one rule that only a
    // fixture would take); the HTML switch is off.
    void useCommand(const std::string &commandPath,
                    const std::vector<TextLintRule> &rules = {rule("fixture-rule")});
    // Makes `dir` the temporary folder of this process (and of the children it starts).
    void useTempFolder(const std::string &dir);
    // Names of the files and folders of runs left in the temporary folder (a run's own
    // folder and GetTempFileName's files start with "Qui"; the tests' marks do not).
    std::vector<std::string> leftovers() const;

    static TargetMailInfo plainMail(const std::string &text);
    static TargetMailInfo htmlMail(const std::string &text);

    // Runs a check and returns what it wrote to standard output.
    std::string checkCapturingOutput(const TargetMailInfo &target, bool &result);
    std::string fixCapturingOutput(const TargetMailInfo &target, TextLintFixResult &result);

    std::unique_ptr<TempDir> temp_;
    std::string tempFolder_;
    LintResultController engine_;
    CountingListener listener_{engine_};

  private:
    std::string oldTmp_, oldTemp_, oldCmdPath_;
    std::vector<TextLintRule> oldRules_;
    bool oldHtml_ = false;
};

} // namespace quill::test
