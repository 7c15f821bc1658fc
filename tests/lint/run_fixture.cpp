// The textlint run fixture.
#include "tests/lint/run_fixture.h"

#include <windows.h>

namespace quill::test {

TextLintRule rule(const std::string &name) {
    TextLintRule r;
    r.name = name;
    r.enabled = true;
    return r;
}

void RunTest::SetUp() {
    TextLintConfig &settings = TextLintConfig::getInstance();
    oldCmdPath_ = settings.getTextLintCmdPath();
    oldRules_ = settings.getRules();
    oldHtml_ = settings.snapshot().enableProofreadingHTMLMail;
    oldTmp_ = environmentValue("TMP");
    oldTemp_ = environmentValue("TEMP");
    temp_ = std::make_unique<TempDir>("qcrun");
    useTempFolder(temp_->path());
    engine_.addLintResultModelListener(&listener_);
}

void RunTest::TearDown() {
    engine_.removeLintResultModelListener(&listener_);
    SetEnvironmentVariableA("TMP", oldTmp_.c_str());
    SetEnvironmentVariableA("TEMP", oldTemp_.c_str());
    TextLintConfig &settings = TextLintConfig::getInstance();
    if (!oldCmdPath_.empty())
        settings.setTextLintCmdPath(oldCmdPath_);
    settings.setRules(oldRules_);
    settings.update([&](TextLintSettings &s) { s.enableProofreadingHTMLMail = oldHtml_; });
    temp_.reset();
}

void RunTest::useCommand(const std::string &commandPath, const std::vector<TextLintRule> &rules) {
    TextLintConfig &settings = TextLintConfig::getInstance();
    ASSERT_TRUE(settings.setTextLintCmdPath(commandPath)) << commandPath;
    settings.setRules(rules);
    settings.update([&](TextLintSettings &s) { s.enableProofreadingHTMLMail = false; });
}

void RunTest::useTempFolder(const std::string &dir) {
    tempFolder_ = dir;
    SetEnvironmentVariableA("TMP", dir.c_str());
    SetEnvironmentVariableA("TEMP", dir.c_str());
}

std::vector<std::string> RunTest::leftovers() const {
    std::vector<std::string> names;
    WIN32_FIND_DATAA data;
    HANDLE find = FindFirstFileA((tempFolder_ + "\\*").c_str(), &data);
    if (find == INVALID_HANDLE_VALUE)
        return names;
    do {
        std::string name = data.cFileName;
        if (name.rfind("Qui", 0) == 0)
            names.push_back(name);
    } while (FindNextFileA(find, &data));
    FindClose(find);
    return names;
}

TargetMailInfo RunTest::plainMail(const std::string &text) {
    return TargetMailInfo(0, MIME_TEXT_PLAIN, "taro@example.jp", "subject", text);
}

TargetMailInfo RunTest::htmlMail(const std::string &text) {
    return TargetMailInfo(0, MIME_TEXT_HTML, "taro@example.jp", "subject", text);
}

std::string RunTest::checkCapturingOutput(const TargetMailInfo &target, bool &result) {
    ::testing::internal::CaptureStdout();
    result = engine_.executeProofreadingTool(ProofreadingToolControlType::Check, target);
    return ::testing::internal::GetCapturedStdout();
}

std::string RunTest::fixCapturingOutput(const TargetMailInfo &target, TextLintFixResult &result) {
    ::testing::internal::CaptureStdout();
    result = engine_.executeTextLintFix(target);
    return ::testing::internal::GetCapturedStdout();
}

} // namespace quill::test
