// The send event of the built module, loaded by this program as its host, with settings
// from its INI file and the real textlint.
#include "tests/plugin/plugin_session.h"
#include "tests/support/message_box_watcher.h"
#include "tools/standin_host/standin_host.h"

#include <gtest/gtest.h>

#include <string>

namespace quill::test {
namespace {

using namespace quill::standin;

// Weighs 1 each (see iniText): a max-ten finding and a no-doubled-joshi finding.
const std::string MAIL_HEAD = "Content-Type: text/plain; charset=UTF-8\r\n\r\n";
const std::string MAX_TEN = "私は、今日、とても、眠い、けれど、働きます。";
const std::string DOUBLED_JOSHI = "私は彼は好きです。";

int send(const PluginSession &plugin, const std::string &source) {
    // Under Wine node.exe cannot write to an inherited console.
    ::testing::internal::CaptureStdout();
    int result = plugin.proc<int(WINAPI *)(LPCSTR)>("BKC_OnSend")(source.c_str());
    ::testing::internal::GetCapturedStdout();
    return result;
}

class SendGateModule : public ::testing::Test {
  protected:
    void SetUp() override { resetHost(); }
};

TEST_F(SendGateModule, OffSendsWithoutCallingTheHost) {
    PluginSession plugin(iniText(textlintCmdPath(), "EvaluateValueThreshold=-5\r\n"));
    ASSERT_NE(nullptr, plugin.module());
    const std::size_t callsBefore = hostCalls().size();
    EXPECT_EQ(0, send(plugin, MAIL_HEAD + MAX_TEN));
    EXPECT_EQ(callsBefore, hostCalls().size());
}

TEST_F(SendGateModule, StopsTheSendOnlyAboveTheThreshold) {
    PluginSession plugin(iniText(textlintCmdPath(), "EnableEvaluateValueThreshold=true\r\n"
                                                    "EvaluateValueThreshold=1\r\n"));
    ASSERT_NE(nullptr, plugin.module());
    setHeader("From", "a@example.jp");
    setHeader("Subject", "subject");
    MessageBoxRecorder boxes;
    EXPECT_EQ(0, send(plugin, MAIL_HEAD + MAX_TEN));
    EXPECT_EQ(2u, hostCallsTo("BKA_GetSpecifiedHeader").size());
    EXPECT_EQ(0u, boxes.count());

    EXPECT_EQ(-1, send(plugin, MAIL_HEAD + DOUBLED_JOSHI + "\r\n" + MAX_TEN));
    ASSERT_EQ(1u, boxes.count());
    EXPECT_EQ("Quillcheck Plugin Info", boxes.boxes()[0].captionUtf8());
    EXPECT_EQ("校正結果の評価が閾値を超えているためこのメールを送信するのを防止しました。",
              boxes.boxes()[0].textUtf8());
}

// A mail the gate could not check goes out, and the user hears of it once per reason while
// the plug-in runs, however many mails follow.
TEST_F(SendGateModule, UncheckedMailsGoWithOneNoticePerReason) {
    // With threshold -1 a mail that was checked would be stopped.
    PluginSession plugin(iniText("C:\\nowhere\\textlint.cmd",
                                 "EnableEvaluateValueThreshold=true\r\n"
                                 "EvaluateValueThreshold=-1\r\n"));
    ASSERT_NE(nullptr, plugin.module());
    MessageBoxRecorder boxes;
    // Wine has no converter for ISO-2022-JP: the body cannot be read.
    const std::string unreadable = "Content-Type: text/plain; charset=ISO-2022-JP\r\n\r\na\r\n";
    for (int i = 0; i < 2; ++i) {
        EXPECT_EQ(0, send(plugin, MAIL_HEAD + MAX_TEN));
        EXPECT_EQ(0, send(plugin, unreadable));
    }
    std::vector<std::string> notices;
    for (const auto &box : boxes.boxes())
        if (box.captionUtf8() == "Quillcheck Plugin Info")
            notices.push_back(box.textUtf8());
    ASSERT_EQ(2u, notices.size());
    // The reason names the path that holds no textlint.
    EXPECT_NE(std::string::npos, notices[0].find("textlint が見つかりません")) << notices[0];
    EXPECT_NE(std::string::npos, notices[0].find("C:\\nowhere\\textlint.cmd")) << notices[0];
    EXPECT_NE(std::string::npos, notices[1].find("文字コードから変換できなかった")) << notices[1];
    plugin.exit();
}

} // namespace
} // namespace quill::test
