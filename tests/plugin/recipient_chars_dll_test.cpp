// Characters a recipient may not see, through the plug-in's exports in a stand-in host: the
// check lists them beside textlint's rows in a code page 932 window and not in a UTF-8 one,
// a weight on their rule stops a send (also without any textlint rule), and auto-fix
// replaces what has an unambiguous replacement after textlint's own fix.
#include "tests/plugin/plugin_session.h"
#include "tests/support/message_box_watcher.h"
#include "tools/standin_host/standin_host.h"

#include <gtest/gtest.h>

#include <cstdio>

namespace quill::test {
namespace {

using namespace quill::standin;

const std::string OWN_RULE = "Rule: quillcheck/";

// Line 1 holds a max-ten finding; lines 2 and 3 the characters.
const std::string MAIL = "今日は、雨が、降って、いて、とても、寒い。\r\n"
                         "①の件は㈱山田の髙橋さんへ。\r\n"
                         "ｶﾞｲﾄﾞをご覧ください。\r\n";

class RecipientCharsDllTest : public ::testing::Test {
  protected:
    void SetUp() override { resetHost(); }
    void TearDown() override { resetHost(); }

    static HWND composeWindow(const std::string &utf8Text, int codePage) {
        ComposeWindowOptions options;
        options.text = codePage == CP_UTF8 ? utf8Text : inCodePage(utf8Text, 932);
        options.codePage = codePage;
        return createComposeWindow(options);
    }
    static std::vector<std::string> checkRows(const std::string &mail, int codePage) {
        PluginSession plugin(iniText(textlintCmdPath()));
        EXPECT_NE(nullptr, plugin.module());
        plugin.start();
        EXPECT_TRUE(runComposeCommand(plugin, composeWindow(mail, codePage), false));
        std::vector<std::string> rows = resultRows(findResultWindow());
        plugin.exit();
        return rows;
    }
};

std::pair<int, int> placeOf(const std::string &row) {
    int line = 0;
    int index = 0;
    std::sscanf(row.c_str(), "Line: %d, Index: %d,", &line, &index);
    return {line, index};
}

std::vector<std::string> ownRows(const std::vector<std::string> &rows) {
    std::vector<std::string> own;
    for (const std::string &row : rows)
        if (row.find(OWN_RULE) != std::string::npos)
            own.push_back(row);
    return own;
}

TEST_F(RecipientCharsDllTest, CheckListsEachCharacterBesideTextlintsRowsOnlyInCodePage932) {
    const std::vector<std::string> rows = checkRows(MAIL, 932);
    const std::vector<std::string> own = ownRows(rows);
    ASSERT_EQ(4u, own.size()) << ::testing::PrintToString(rows);
    const struct {
        std::pair<int, int> place;
        const char *named;
        const char *rule;
    } expected[] = {
        {{2, 1}, "「①」", "machine-dependent-character"},
        {{2, 5}, "「㈱」", "machine-dependent-character"},
        {{2, 9}, "「髙」", "machine-dependent-character"},
        {{3, 1}, "「ｶﾞｲﾄﾞ」", "half-width-kana"},
    };
    for (std::size_t i = 0; i < own.size(); ++i) {
        EXPECT_EQ(expected[i].place, placeOf(own[i])) << own[i];
        EXPECT_NE(std::string::npos, own[i].find(expected[i].named)) << own[i];
        EXPECT_NE(std::string::npos, own[i].find(OWN_RULE + expected[i].rule)) << own[i];
    }
    EXPECT_GT(rows.size(), own.size()) << "textlint's rows stand beside them";
    EXPECT_EQ(1, placeOf(rows.front()).first) << "max-ten on line 1 comes first";
    for (std::size_t i = 1; i < rows.size(); ++i)
        EXPECT_LE(placeOf(rows[i - 1]), placeOf(rows[i])) << "line and column order";

    const std::vector<std::string> utf8Rows = checkRows(MAIL, CP_UTF8);
    EXPECT_TRUE(ownRows(utf8Rows).empty()) << ::testing::PrintToString(utf8Rows);
    EXPECT_FALSE(utf8Rows.empty()) << "textlint still checks a UTF-8 mail";
}

// Without any textlint rule the plug-in's own check still runs, and textlint is not started.
TEST_F(RecipientCharsDllTest, AWeightOnHalfWidthKanaStopsTheSendWithoutAnyTextlintRule) {
    RunLog runs;
    PluginSession plugin(
        iniText(fixturePath("plugin/count_runs.cmd"),
                "TextLintConfig={\"rules\":{\"quillcheck/half-width-kana\":true}}\r\n"
                "EvaluateWeightList={\"quillcheck/half-width-kana\":1}\r\n"
                "EnableEvaluateValueThreshold=true\r\n"
                "EvaluateValueThreshold=0\r\n"));
    ASSERT_NE(nullptr, plugin.module());
    const auto send = [&](const char *charset, const std::string &body) {
        const std::string source =
            std::string("Content-Type: text/plain; charset=") + charset + "\r\n\r\n" + body;
        return plugin.proc<int(WINAPI *)(LPCSTR)>("BKC_OnSend")(source.c_str());
    };
    MessageBoxRecorder boxes;
    // Shift_JIS is no charset of the table: the system's code page 932.
    EXPECT_EQ(-1, send("Shift_JIS", inCodePage("ｶﾞｲﾄﾞをご覧ください。\r\n", 932)));
    EXPECT_EQ(1u, boxes.count());
    EXPECT_EQ(0, send("Shift_JIS", inCodePage("ガイドをご覧ください。\r\n", 932)));
    EXPECT_EQ(0, send("UTF-8", "ｶﾞｲﾄﾞをご覧ください。\r\n"));
    EXPECT_EQ(1u, boxes.count());
    EXPECT_EQ(0u, runs.count());
    plugin.exit();
}

TEST_F(RecipientCharsDllTest, AutoFixWritesKanaInFullWidthReplacesCircledNumbersKeepsKanji) {
    PluginSession plugin(iniText(textlintCmdPath()));
    ASSERT_NE(nullptr, plugin.module());
    const HWND window = composeWindow("ｶﾞｲﾄﾞの①は髙橋さんへ。\r\n> ｶﾞｲﾄﾞ①\r\n", 932);
    ASSERT_TRUE(runComposeCommand(plugin, window, true));
    EXPECT_EQ("ガイドの(1)は髙橋さんへ。\n> ｶﾞｲﾄﾞ①\n", recode(composeText(window), 932, CP_UTF8))
        << "the quoted line stays as it was";
    plugin.exit();
}

} // namespace
} // namespace quill::test
