// The question about a greeted person nobody on To or Cc bears, through the module's send
// event in a stand-in host: the box that names both, its answers, the mails that go without
// a box, and its place between the attachment reminder and the send gate.
#include "tests/plugin/send_reminder_fixture.h"
#include "tests/support/message_box_watcher.h"
#include "tools/standin_host/standin_host.h"

#include <gtest/gtest.h>

#include <string>
#include <thread>
#include <vector>

namespace quill::test {
namespace {

using namespace quill::standin;

// 「山田 太郎」 in ISO-2022-JP, as Japanese mail clients write it; 「鈴木 一郎」 in UTF-8 Q.
const std::string TO_YAMADA = "To: =?ISO-2022-JP?B?GyRCOzNFRBsoQiAbJEJCQE86GyhC?= "
                              "<yamada@example.jp>\r\n";
const std::string CC_SUZUKI =
    "Cc: =?UTF-8?Q?=E9=88=B4=E6=9C=A8_=E4=B8=80=E9=83=8E?= <suzuki@example.jp>\r\n";
const std::string PLAIN = "Content-Type: text/plain; charset=UTF-8\r\n\r\n";
const std::string TO_SUZUKI_BODY = "鈴木様\r\n\r\nお世話になっております。\r\n";
const std::string NO_RULES = "TextLintConfig={}\r\nEvaluateWeightList={}\r\n";

// Answers the boxes as they come, in order, each with its button, and keeps what they
// showed and whether No was their default button.
class ScriptedAnswers {
  public:
    struct Answered {
        ShownMessageBox box;
        bool noIsDefault = false;
    };
    explicit ScriptedAnswers(std::vector<int> buttons)
        : thread_([this, buttons] {
              for (int button : buttons) {
                  std::optional<ShownMessageBox> box = waitForMessageBox();
                  if (!box)
                      return;
                  const LONG noStyle = GetWindowLongW(GetDlgItem(box->window, IDNO), GWL_STYLE);
                  answered_.push_back({*box, (noStyle & BS_DEFPUSHBUTTON) == BS_DEFPUSHBUTTON});
                  pressMessageBoxButton(box->window, button);
                  while (IsWindow(box->window))
                      Sleep(10);
              }
          }) {}
    std::vector<Answered> join() {
        thread_.join();
        return answered_;
    }

  private:
    std::vector<Answered> answered_;
    std::thread thread_;
};

class AddresseeReminder : public SendReminderTest {};

TEST_F(AddresseeReminder, AGreetedNameNobodyBearsAsksNamingBothAndNoStopsTheSendYesLetsItGo) {
    PluginSession plugin(iniText(textlintCmdPath(), NO_RULES));
    ASSERT_NE(nullptr, plugin.module());
    {
        MessageBoxRecorder boxes; // answers No
        EXPECT_EQ(-1, send(plugin, TO_YAMADA + PLAIN + TO_SUZUKI_BODY));
        ASSERT_EQ(1u, boxes.count());
        const ShownMessageBox box = boxes.boxes()[0];
        EXPECT_NE(std::string::npos, box.textUtf8().find("「鈴木様」")) << box.textUtf8();
        EXPECT_NE(std::string::npos, box.textUtf8().find("山田 太郎")) << box.textUtf8();
        EXPECT_EQ(hostMainWindow(), box.owner);
        EXPECT_EQ("Quillcheck Plugin Info", box.captionUtf8());
    }
    ScriptedAnswers yes({IDYES});
    EXPECT_EQ(0, send(plugin, TO_YAMADA + PLAIN + TO_SUZUKI_BODY));
    const std::vector<ScriptedAnswers::Answered> asked = yes.join();
    ASSERT_EQ(1u, asked.size());
    EXPECT_TRUE(asked[0].noIsDefault);

    // Many recipients: the first few by name, the rest counted.
    MessageBoxRecorder boxes;
    EXPECT_EQ(-1, send(plugin, "To: 山田 太郎 <y@example.jp>, 佐藤 花子 <s@example.jp>,\r\n"
                               " 田中 <t@example.jp>, 高橋 <h@example.jp>, w@example.jp\r\n" +
                                   PLAIN + TO_SUZUKI_BODY));
    ASSERT_EQ(1u, boxes.count());
    EXPECT_NE(std::string::npos,
              boxes.boxes()[0].textUtf8().find("山田 太郎、佐藤 花子、田中 ほか 2 名"))
        << boxes.boxes()[0].textUtf8();
}

TEST_F(AddresseeReminder, ARightNameNobodyInParticularOrNamesThatCannotBeComparedSendWithoutABox) {
    MessageBoxRecorder boxes;
    {
        PluginSession plugin(iniText(textlintCmdPath(), NO_RULES));
        ASSERT_NE(nullptr, plugin.module());
        for (const std::string &source : {
                 TO_YAMADA + PLAIN + "山田様\r\n\r\nお世話になっております。\r\n",
                 TO_YAMADA + PLAIN + "山田太郎 様\r\nお世話になっております。\r\n",
                 TO_YAMADA + PLAIN + "株式会社クイル 営業部 山田様\r\n\r\n先日はどうも。\r\n",
                 TO_YAMADA + PLAIN + "山田部長\r\n\r\nお疲れ様です。\r\n",
                 TO_YAMADA + PLAIN + "関係者各位\r\n\r\nお世話になっております。\r\n",
                 TO_YAMADA + CC_SUZUKI + PLAIN +
                     "山田様\r\n鈴木様\r\n\r\nお世話になっております。\r\n",
                 TO_YAMADA + CC_SUZUKI + PLAIN + TO_SUZUKI_BODY,
                 "To: yamada@example.jp\r\n" + PLAIN + TO_SUZUKI_BODY,
                 "To: Taro Yamada <yamada@example.jp>\r\n" + PLAIN + TO_SUZUKI_BODY,
                 TO_YAMADA + PLAIN +
                     "> 鈴木様\r\n> お世話になっております。\r\n\r\n承知しました。\r\n",
                 TO_YAMADA + PLAIN + "明日の会議の件です。\r\n",
             })
            EXPECT_EQ(0, send(plugin, source)) << source;
    }
    PluginSession off(iniText(textlintCmdPath(), NO_RULES + "RemindMismatchedAddressee=false\r\n"));
    ASSERT_NE(nullptr, off.module());
    EXPECT_EQ(0, send(off, TO_YAMADA + PLAIN + TO_SUZUKI_BODY));
    EXPECT_EQ(0u, boxes.count()) << boxes.boxes()[0].textUtf8();
}

// The gate would stop any mail it checks (threshold -1). The attachment is asked first,
// the addressee next, the gate last; a No at either reminder ends the send there.
TEST_F(AddresseeReminder, TheOrderIsAttachmentAddresseeGateAndANoRunsNothingAfterIt) {
    RunLog runs;
    PluginSession plugin(iniText(fixturePath("plugin/count_runs.cmd"),
                                 "EnableEvaluateValueThreshold=true\r\n"
                                 "EvaluateValueThreshold=-1\r\n"));
    ASSERT_NE(nullptr, plugin.module());
    const std::string both = TO_YAMADA + PLAIN + "鈴木様\r\n\r\n資料を添付いたします。\r\n";
    const auto texts = [](const std::vector<ScriptedAnswers::Answered> &boxes) {
        std::vector<std::string> found;
        for (const ScriptedAnswers::Answered &answered : boxes)
            found.push_back(
                answered.box.textUtf8().find("「添付」") != std::string::npos     ? "attachment"
                : answered.box.textUtf8().find("「鈴木様」") != std::string::npos ? "addressee"
                                                                                  : "gate");
        return found;
    };

    ScriptedAnswers attachmentNo({IDNO});
    EXPECT_EQ(-1, send(plugin, both));
    EXPECT_EQ(std::vector<std::string>{"attachment"}, texts(attachmentNo.join()));

    ScriptedAnswers addresseeNo({IDYES, IDNO});
    EXPECT_EQ(-1, send(plugin, both));
    EXPECT_EQ((std::vector<std::string>{"attachment", "addressee"}), texts(addresseeNo.join()));
    EXPECT_EQ(0u, runs.count()) << "the gate did not run";

    ScriptedAnswers allYes({IDYES, IDYES, IDOK});
    EXPECT_EQ(-1, send(plugin, both));
    EXPECT_EQ((std::vector<std::string>{"attachment", "addressee", "gate"}), texts(allYes.join()));
    EXPECT_EQ(1u, runs.count());
    plugin.exit();
}

} // namespace
} // namespace quill::test
