// The plug-in's own rules of dates and honorifics through the module's exports in a
// stand-in host: their rows at textlint's places and none in a quoted line, the auto-fix of a
// doubled verb that leaves every other byte, and a weight on their rule that stops a send.
#include "tests/plugin/plugin_session.h"
#include "tests/support/message_box_watcher.h"
#include "tests/support/scoped_environment.h"
#include "tools/standin_host/standin_host.h"

#include <gtest/gtest.h>

#include <cstdio>

namespace quill::test {
namespace {

using namespace quill::standin;

// No textlint rule: only the plug-in's own rules run, and textlint is not started.
const std::string OWN_RULES_ONLY = "TextLintConfig={}\r\nEvaluateWeightList={}\r\n";

class OwnRulesDllTest : public ::testing::Test {
  protected:
    void SetUp() override { resetHost(); }
    void TearDown() override { resetHost(); }

    static HWND composeWindow(const std::string &utf8Text) {
        ComposeWindowOptions options;
        options.text = utf8Text;
        options.codePage = CP_UTF8;
        return createComposeWindow(options);
    }
};

TEST_F(OwnRulesDllTest, DateAndHonorificRowsStandAtTheirPlacesButNoneInAQuotedLine) {
    ScopedEnvironment today("QUILLCHECK_TEST_TODAY", "2026-12-08");
    PluginSession plugin(iniText(textlintCmdPath(), OWN_RULES_ONLY));
    ASSERT_NE(nullptr, plugin.module());
    plugin.start();
    // Answers the box that says no textlint rule is configured.
    MessageBoxRecorder boxes;
    const std::string mail = "会議は12月5日(金)です。1月5日(火)と2026年12月25日(金)も。\r\n"
                             "2月30日(月)に山田部長様と関係者各位様へ。\r\n"
                             "お客様各位、社長がおっしゃられる件です。\r\n"
                             "> 12月5日(金)、2月30日(月)、山田部長様、各位様、おっしゃられる\r\n";
    ASSERT_TRUE(runComposeCommand(plugin, composeWindow(mail), false));
    const std::vector<std::string> rows = resultRows(findResultWindow());
    plugin.exit();

    const struct {
        int line, index;
        const char *rule, *says;
    } expected[] = {
        {1, 4, "date-weekday", "2026年12月5日は土曜日です"},
        {2, 1, "date-weekday", "日付はありません"},
        {2, 12, "honorific", "「部長様」"},
        {2, 19, "honorific", "「各位様」"},
        {3, 10, "honorific", "「おっしゃられる」は二重敬語"},
    };
    ASSERT_EQ(std::size(expected), rows.size()) << ::testing::PrintToString(rows);
    for (std::size_t i = 0; i < rows.size(); ++i) {
        int line = 0;
        int index = 0;
        std::sscanf(rows[i].c_str(), "Line: %d, Index: %d,", &line, &index);
        EXPECT_EQ(expected[i].line, line) << rows[i];
        EXPECT_EQ(expected[i].index, index) << rows[i];
        EXPECT_NE(std::string::npos, rows[i].find(std::string("quillcheck/") + expected[i].rule))
            << rows[i];
        EXPECT_NE(std::string::npos, rows[i].find(expected[i].says)) << rows[i];
    }
}

TEST_F(OwnRulesDllTest, AutoFixMendsTheDoubledVerbAndLeavesEveryOtherByte) {
    PluginSession plugin(iniText(textlintCmdPath(), OWN_RULES_ONLY));
    ASSERT_NE(nullptr, plugin.module());
    plugin.start();
    MessageBoxRecorder boxes;
    const HWND window = composeWindow("山田部長様がおっしゃられる件は、12月5日(金)に。\r\n"
                                      "> おっしゃられる\r\n"
                                      "-- \r\n"
                                      "おっしゃられる\r\n");
    ASSERT_TRUE(runComposeCommand(plugin, window, true));
    EXPECT_EQ("山田部長様がおっしゃる件は、12月5日(金)に。\n"
              "> おっしゃられる\n"
              "-- \n"
              "おっしゃられる\n",
              composeText(window));
    plugin.exit();
}

TEST_F(OwnRulesDllTest, AWeightOnHonorificStopsASendWhoseOnlyFindingIsADoubledHonorific) {
    PluginSession plugin(iniText(textlintCmdPath(),
                                 "TextLintConfig={\"rules\":{\"quillcheck/honorific\":true}}\r\n"
                                 "EvaluateWeightList={\"quillcheck/honorific\":1}\r\n"
                                 "EnableEvaluateValueThreshold=true\r\n"
                                 "EvaluateValueThreshold=0\r\n"));
    ASSERT_NE(nullptr, plugin.module());
    const auto send = [&](const std::string &body) {
        const std::string source = "Content-Type: text/plain; charset=UTF-8\r\n\r\n" + body;
        return plugin.proc<int(WINAPI *)(LPCSTR)>("BKC_OnSend")(source.c_str());
    };
    MessageBoxRecorder boxes;
    EXPECT_EQ(-1, send("先日おっしゃられた件です。\r\n"));
    ASSERT_EQ(1u, boxes.count());
    EXPECT_NE(std::string::npos, boxes.boxes()[0].textUtf8().find("閾値"));
    EXPECT_EQ(0, send("先日おっしゃった件です。\r\n"));
    EXPECT_EQ(0, send("> 先日おっしゃられた件です。\r\n"));
    EXPECT_EQ(1u, boxes.count());
    plugin.exit();
}

} // namespace
} // namespace quill::test
