// The reminder of a forgotten attachment through the module's send event in a stand-in
// host: the box that names the word found, its answers, the mails that go without a box,
// and its place before the send gate.
#include "tests/plugin/send_reminder_fixture.h"
#include "tests/support/message_box_watcher.h"
#include "tools/standin_host/standin_host.h"

#include <gtest/gtest.h>

#include <string>
#include <thread>

namespace quill::test {
namespace {

using namespace quill::standin;

const std::string PLAIN_HEAD = "Content-Type: text/plain; charset=UTF-8\r\n\r\n";
const std::string MENTION = "お世話になっております。\r\n資料を添付いたします。\r\n";
// No textlint rule: the gate, when on, would have nothing to run.
const std::string NO_RULES = "TextLintConfig={}\r\nEvaluateWeightList={}\r\n";

// The same words in a mail with a file: a multipart/mixed mail whose second part is one.
std::string withAttachedFile(const std::string &body, const std::string &fileHeader) {
    return "Content-Type: multipart/mixed; boundary=\"b\"\r\n\r\n"
           "--b\r\nContent-Type: text/plain; charset=UTF-8\r\n\r\n" +
           body + "--b\r\n" + fileHeader + "\r\n\r\nJVBERi0=\r\n--b--\r\n";
}

class AttachmentReminder : public SendReminderTest {};

TEST_F(AttachmentReminder, AMentionWithoutAFileAsksAndNoStopsTheSendYesLetsItGo) {
    PluginSession plugin(iniText(textlintCmdPath(), NO_RULES));
    ASSERT_NE(nullptr, plugin.module());
    {
        MessageBoxRecorder boxes; // answers No
        EXPECT_EQ(-1, send(plugin, PLAIN_HEAD + MENTION));
        ASSERT_EQ(1u, boxes.count());
        const ShownMessageBox box = boxes.boxes()[0];
        EXPECT_NE(std::string::npos, box.textUtf8().find("「添付」")) << box.textUtf8();
        EXPECT_EQ(hostMainWindow(), box.owner);
    }
    std::string asked;
    bool noIsTheDefault = false;
    std::thread answer([&] {
        if (std::optional<ShownMessageBox> box = waitForMessageBox()) {
            asked = box->textUtf8();
            noIsTheDefault = (GetWindowLongW(GetDlgItem(box->window, IDNO), GWL_STYLE) &
                              BS_DEFPUSHBUTTON) == BS_DEFPUSHBUTTON;
            pressMessageBoxButton(box->window, IDYES);
        }
    });
    EXPECT_EQ(0, send(plugin, PLAIN_HEAD + MENTION));
    answer.join();
    EXPECT_NE(std::string::npos, asked.find("「添付」")) << asked;
    EXPECT_TRUE(noIsTheDefault);
}

TEST_F(AttachmentReminder, AFileOrWordsThatAreNotTheWritersOwnOrTheSettingOffSendWithoutABox) {
    MessageBoxRecorder boxes;
    {
        PluginSession plugin(iniText(textlintCmdPath(), NO_RULES));
        ASSERT_NE(nullptr, plugin.module());
        for (const std::string &source : {
                 withAttachedFile(MENTION, "Content-Type: application/pdf; name=\"a.pdf\""),
                 withAttachedFile(MENTION, "Content-Type: application/octet-stream\r\n"
                                           "Content-Disposition: attachment"),
                 withAttachedFile(MENTION, "Content-Type: message/rfc822"),
                 PLAIN_HEAD + "お世話になっております。\r\n> 資料を添付いたします。\r\n",
                 PLAIN_HEAD +
                     "よろしくお願いします。\r\n-- \r\n添付ファイルは開く前に確かめてください\r\n",
                 PLAIN_HEAD + "こちらをご覧ください。\r\nhttps://example.jp/attach/doc.pdf\r\n",
                 PLAIN_HEAD +
                     "転送します。\r\n-----Original Message-----\r\n資料を添付します。\r\n",
                 PLAIN_HEAD + "明日の会議の件です。\r\n",
                 PLAIN_HEAD + "添付ファイルはございません。\r\n",
                 PLAIN_HEAD + "請求書の原本は郵送にて同封してお送りいたします。\r\n",
             })
            EXPECT_EQ(0, send(plugin, source)) << source;
    }
    PluginSession off(iniText(textlintCmdPath(), NO_RULES + "RemindForgottenAttachment=false\r\n"));
    ASSERT_NE(nullptr, off.module());
    EXPECT_EQ(0, send(off, PLAIN_HEAD + MENTION));
    EXPECT_EQ(0u, boxes.count()) << boxes.boxes()[0].textUtf8();
}

// The gate would stop any mail it checks (threshold -1); the reminder is asked first, and
// its No stops the send before textlint runs.
TEST_F(AttachmentReminder, TheReminderComesBeforeTheGateAndItsNoRunsNoCheck) {
    RunLog runs;
    PluginSession plugin(iniText(fixturePath("plugin/count_runs.cmd"),
                                 "EnableEvaluateValueThreshold=true\r\n"
                                 "EvaluateValueThreshold=-1\r\n"));
    ASSERT_NE(nullptr, plugin.module());
    MessageBoxRecorder boxes;
    EXPECT_EQ(-1, send(plugin, PLAIN_HEAD + MENTION));
    ASSERT_EQ(1u, boxes.count());
    EXPECT_NE(std::string::npos, boxes.boxes()[0].textUtf8().find("「添付」"));
    EXPECT_EQ(0u, runs.count()) << "the gate did not run";
    EXPECT_EQ(-1, send(plugin, PLAIN_HEAD + "資料をお送りします。\r\n"));
    EXPECT_EQ(1u, runs.count()) << "without a mention the gate runs";
    EXPECT_EQ(2u, boxes.count());
    plugin.exit();
}

} // namespace
} // namespace quill::test
