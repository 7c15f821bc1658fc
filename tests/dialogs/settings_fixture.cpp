// Per-case settings for the dialog tests.
#include "tests/dialogs/settings_fixture.h"

namespace quill::test {

void SettingsDialogFixture::SetUp() {
    temp_ = std::make_unique<TempDir>("qcdlg");
    TextLintConfig &c = config();
    savedIniPath_ = c.iniFilePath;
    saved_ =
        SettingsDialogData{c.getTextLintCmdPath(), c.getRules(), c.enableEvaluateValueThreshold,
                           c.evaluateValueThreshold, c.enableProofreadingHTMLMail};
    writeFileBytes(standInCommand(), "@echo off\r\n");
    c.iniFilePath = iniPath();
    ASSERT_TRUE(c.setTextLintCmdPath(standInCommand()));
    c.setRules(startingRules());
    c.enableEvaluateValueThreshold = false;
    c.evaluateValueThreshold = 5;
    c.enableProofreadingHTMLMail = true;
}

void SettingsDialogFixture::TearDown() {
    for (HWND window : opened_)
        if (IsWindow(window))
            DestroyWindow(window);
    TextLintConfig &c = config();
    c.iniFilePath = savedIniPath_;
    c.restoreTextLintCmdPath(saved_.textLintCmdPath);
    c.setRules(saved_.rules);
    c.enableEvaluateValueThreshold = saved_.enableEvaluateValueThreshold;
    c.evaluateValueThreshold = saved_.evaluateValueThreshold;
    c.enableProofreadingHTMLMail = saved_.enableProofreadingHTMLMail;
    pumpMessages(10);
    temp_.reset();
}

HWND SettingsDialogFixture::openDialog() {
    openSettingsDialog(nullptr);
    HWND window = config().settingsWindow;
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
