// Per-case settings for the dialog tests.
#include "tests/config/settings_fixture.h"

namespace quill::test {

void SettingsDialogFixture::SetUp() {
    temp_ = std::make_unique<TempDir>("qcdlg");
    TextLintConfig &c = config();
    savedIniPath_ = c.getIniFilePath();
    savedCmdPath_ = c.getTextLintCmdPath();
    savedRules_ = c.getRules();
    savedSettings_ = c.snapshot();
    writeFileBytes(standInCommand(), "@echo off\r\n");
    c.setIniFilePath(iniPath());
    ASSERT_TRUE(c.setTextLintCmdPath(standInCommand()));
    c.setRules(startingRules());
    c.update([&](TextLintSettings &s) {
        s.enableEvaluateValueThreshold = false;
        s.evaluateValueThreshold = 5;
        s.enableProofreadingHTMLMail = true;
        s.enableResidentTextLint = false;
        s.excludeQuotedLines = true;
        s.quoteMarks = "|>";
        s.excludeSignature = false;
    });
}

void SettingsDialogFixture::TearDown() {
    for (HWND window : opened_)
        if (IsWindow(window))
            DestroyWindow(window);
    TextLintConfig &c = config();
    c.setIniFilePath(savedIniPath_);
    c.restoreTextLintCmdPath(savedCmdPath_);
    c.setRules(savedRules_);
    c.update([this](TextLintSettings &s) { s = savedSettings_; });
    c.setHiddenFindings({});
    pumpMessages(10);
    temp_.reset();
}

HWND SettingsDialogFixture::openDialog() {
    HWND window = openSettingsDialog(nullptr, testRun);
    opened_.push_back(window);
    return window;
}

std::vector<TextLintRule> SettingsDialogFixture::startingRules() {
    return {
        TextLintRule{"max-ten", true, 3, {"\"max\":3"}},
        TextLintRule{"no-doubled-joshi", false, 1, {}},
        TextLintRule{"sentence-length", true, 2, {"\"max\":100", "\"skipPatterns\":[]"}},
    };
}

} // namespace quill::test
