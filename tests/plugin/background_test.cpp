// Checks the plug-in starts on its own: a draft opened from the outbox, the minute tick, and
// an unload while such a check is still running.
#include "tests/plugin/plugin_session.h"
#include "tools/standin_host/standin_host.h"

#include <gtest/gtest.h>

namespace quill::test {
namespace {

using namespace quill::standin;

const char DRAFT_ID[] = "0a1b2c3d/!!!!Outbox\\!!!Draft\\42.msg";

class BackgroundTest : public ::testing::Test {
  protected:
    void SetUp() override {
        resetHost();
        ShownMail mail;
        mail.text = inCodePage("下書きの本文です。\r\n", 932);
        setShownMail(mail);
    }
    void TearDown() override { resetHost(); }
    RunLog runs_;
};

// Ends the plug-in, lets it go and waits, bounded, until its module is gone: a background
// worker keeps the module loaded until its last check ended, so then no check runs any more.
bool endAndWaitForBackgroundChecks(PluginSession &plugin) {
    const std::string dllPath = plugin.file("Quillcheck.dll");
    plugin.exit();
    plugin.unload();
    const ULONGLONG end = GetTickCount64() + 60000;
    while (GetModuleHandleA(dllPath.c_str()) != nullptr && GetTickCount64() < end)
        Sleep(50);
    return GetModuleHandleA(dllPath.c_str()) == nullptr;
}

TEST_F(BackgroundTest, OnlyADraftFromTheOutboxStartsOneCheck) {
    PluginSession plugin(iniText(fixturePath("plugin/count_runs.cmd")));
    ASSERT_NE(nullptr, plugin.module());
    const std::size_t callsAtLoad = hostCalls().size();
    for (const char *mailId : {"0a1b2c3d/!!!!Inbox\\42.msg", "!!!!outbox\\!!!draft\\1",
                               "!!!!Outbox\\!!Draft\\1", "\x81!!!!Outbox\\!!!Draft", ""}) {
        EXPECT_EQ(0, plugin.openMail(mailId));
    }
    EXPECT_EQ(0, plugin.openMail(nullptr));
    EXPECT_EQ(callsAtLoad, hostCalls().size()) << "no host call for a mail that is not a draft";

    EXPECT_EQ(0, plugin.openMail(DRAFT_ID));
    EXPECT_TRUE(runs_.waitForCount(1, 60000));
    ASSERT_TRUE(endAndWaitForBackgroundChecks(plugin));
    EXPECT_EQ(1u, runs_.count());
    EXPECT_EQ(1u, hostCallsTo("BKA_GetText").size());
    EXPECT_EQ(1u, hostCallsTo("BKA_GetCharSet").size());
}

TEST_F(BackgroundTest, MinuteTickStartsOneCheckPerRecordOfTheForegroundWindow) {
    PluginSession plugin(iniText(fixturePath("plugin/count_runs.cmd")));
    ASSERT_NE(nullptr, plugin.module());
    ComposeWindowOptions options;
    options.text = inCodePage("本文です。", 932);
    const HWND compose = createComposeWindow(options);
    const HWND other = createComposeWindow();
    plugin.openCompose(compose);
    plugin.openCompose(compose);

    SetForegroundWindow(other);
    ASSERT_EQ(other, GetForegroundWindow());
    EXPECT_EQ(0, plugin.everyMinute());
    EXPECT_EQ(0u, hostCallsTo("BKA_CompGetCharSet").size()) << "an untracked window is not read";

    SetForegroundWindow(compose);
    ASSERT_EQ(compose, GetForegroundWindow());
    EXPECT_EQ(0, plugin.everyMinute());
    EXPECT_TRUE(runs_.waitForCount(2, 60000));
    ASSERT_TRUE(endAndWaitForBackgroundChecks(plugin));
    EXPECT_EQ(2u, runs_.count());
    EXPECT_EQ(2u, hostCallsTo("BKA_CompGetCharSet").size());
}

// The end of the plug-in ends the check's textlint; the worker, which keeps the module
// loaded until its check is over, lets it go soon after, and the host survives.
TEST_F(BackgroundTest, UnloadingWhileADraftIsCheckedDoesNotEndTheHost) {
    PluginSession plugin(iniText(fixturePath("plugin/slow_check.cmd")));
    ASSERT_NE(nullptr, plugin.module());
    const std::string dllPath = plugin.file("Quillcheck.dll");
    plugin.start();
    EXPECT_EQ(0, plugin.openMail(DRAFT_ID));
    ASSERT_TRUE(runs_.waitForCount(1, 60000));
    plugin.exit();
    plugin.unload();

    const ULONGLONG end = GetTickCount64() + 60000;
    while (GetModuleHandleA(dllPath.c_str()) != nullptr && GetTickCount64() < end)
        Sleep(100);
    EXPECT_EQ(nullptr, GetModuleHandleA(dllPath.c_str())) << "released when the check ended";
}

} // namespace
} // namespace quill::test
