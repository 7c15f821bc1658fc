// Quoted lines and the signature of a reply, through the plug-in's exports in a stand-in
// host: the check lists only the writer's findings where they stand in the mail, the send
// gate weighs only the writer's text, auto-fix leaves the other lines byte for byte (or the
// whole reply, when the fix moved its lines), and with both switches off textlint gets the
// text as it was.
#include "tests/plugin/plugin_session.h"
#include "tests/support/message_box_watcher.h"
#include "tests/support/scoped_environment.h"
#include "tools/standin_host/standin_host.h"

#include <gtest/gtest.h>

#include <cstdio>

namespace quill::test {
namespace {

using namespace quill::standin;

const std::string ONE_RUN_PER_CHECK = "EnableResidentTextLint=false\r\n";
const std::string BOTH_OFF = "ExcludeQuotedLines=false\r\nExcludeSignature=false\r\n";

// Findings of max-ten on lines 3 (the writer's), 5 and 6 (quoted) and 9 (the signature).
const std::string REPLY = "田中様\r\n"
                          "\r\n"
                          "今日は、雨が、降って、いて、とても、寒い。\r\n"
                          "\r\n"
                          "> これは、あれと、それと、どれと、なにか、です。\r\n"
                          "＞あれは、これと、それと、どれと、なにか、です。\r\n"
                          "\r\n"
                          "-- \r\n"
                          "私は、今日、とても、眠い、けれど、働きます。\r\n";

class MailAwareTest : public ::testing::Test {
  protected:
    void SetUp() override { resetHost(); }
    void TearDown() override { resetHost(); }

    static HWND composeWindow(const std::string &utf8Text, const char *mimeType = "text/plain") {
        ComposeWindowOptions options;
        options.text = inCodePage(utf8Text, 932);
        options.mimeType = mimeType;
        return createComposeWindow(options);
    }
    // Runs the check or the auto-fix command once on `window` in a started plug-in.
    static void runCommand(const PluginSession &plugin, HWND window, bool autoFix) {
        ASSERT_TRUE(runComposeCommand(plugin, window, autoFix));
    }
    static std::vector<std::string> checkRows(const std::string &mail, const std::string &ini) {
        PluginSession plugin(iniText(textlintCmdPath(), ONE_RUN_PER_CHECK + ini));
        EXPECT_NE(nullptr, plugin.module());
        plugin.start();
        runCommand(plugin, composeWindow(mail), false);
        std::vector<std::string> rows = resultRows(findResultWindow());
        plugin.exit();
        return rows;
    }
};

int lineOf(const std::string &row) {
    int line = 0;
    return std::sscanf(row.c_str(), "Line: %d,", &line) == 1 ? line : 0;
}

std::vector<std::string> rowsOfLine(const std::vector<std::string> &rows, int line) {
    std::vector<std::string> kept;
    for (const std::string &row : rows)
        if (lineOf(row) == line)
            kept.push_back(row);
    return kept;
}

TEST_F(MailAwareTest, CheckListsOnlyTheWritersFindingsWhereTheyStandInTheMail) {
    const std::vector<std::string> everything = checkRows(REPLY, BOTH_OFF);
    const std::vector<std::string> own = checkRows(REPLY, "");

    ASSERT_FALSE(rowsOfLine(everything, 5).empty()) << "the quoted part holds findings";
    ASSERT_FALSE(rowsOfLine(everything, 6).empty()) << "also under the full-width mark";
    ASSERT_FALSE(rowsOfLine(everything, 9).empty()) << "the signature holds findings";
    ASSERT_FALSE(own.empty());
    // Same rows, same columns as in the whole mail, and nothing else.
    EXPECT_EQ(rowsOfLine(everything, 3), own);
}

TEST_F(MailAwareTest, SendGateLetsAReplyGoWhenOnlyTheQuotedPartIsBad) {
    const std::string source = "Content-Type: text/plain; charset=UTF-8\r\n\r\n"
                               "本日はありがとうございました。\r\n"
                               "\r\n"
                               "> これは、あれと、それと、どれと、なにか、です。\r\n";
    for (const std::string &ini : {std::string(), BOTH_OFF}) {
        PluginSession plugin(iniText(textlintCmdPath(), ONE_RUN_PER_CHECK + ini +
                                                            "EnableEvaluateValueThreshold=true\r\n"
                                                            "EvaluateValueThreshold=0\r\n"));
        ASSERT_NE(nullptr, plugin.module());
        MessageBoxRecorder boxes;
        // Under Wine node.exe cannot write to an inherited console.
        ::testing::internal::CaptureStdout();
        const int result = plugin.proc<int(WINAPI *)(LPCSTR)>("BKC_OnSend")(source.c_str());
        ::testing::internal::GetCapturedStdout();
        EXPECT_EQ(ini.empty() ? 0 : -1, result) << (ini.empty() ? "defaults" : "both off");
        plugin.exit();
    }
}

TEST_F(MailAwareTest, AutoFixLeavesQuotedLinesAndTheSignatureByteForByte) {
    const std::string mail = "これは Apple です。\r\n"
                             "\r\n"
                             "> これは Apple です。\r\n"
                             "＞これは Apple です。\r\n"
                             "-- \r\n"
                             "Apple 社 です\r\n";
    for (const std::string &ini : {std::string(), BOTH_OFF}) {
        PluginSession plugin(iniText(textlintCmdPath(), ONE_RUN_PER_CHECK + ini));
        ASSERT_NE(nullptr, plugin.module());
        const HWND window = composeWindow(mail);
        runCommand(plugin, window, true);
        const std::string fixed = recode(composeText(window), 932, CP_UTF8);
        if (ini.empty()) {
            EXPECT_EQ("これはAppleです。\n\n> これは Apple です。\n＞これは Apple です。\n"
                      "-- \nApple 社 です\n",
                      fixed);
        } else {
            EXPECT_EQ(std::string::npos, fixed.find("> これは Apple です。"))
                << "textlint fixes the quoted lines when they are not excluded: " << fixed;
        }
        plugin.exit();
    }
}

TEST_F(MailAwareTest, AFixThatAddsALineLeavesAReplyUntouchedAndOtherMailsFixedAsBefore) {
    struct Case {
        std::string mail;
        std::string after;
        std::size_t setTextCalls;
    } cases[] = {
        {"本文です。\r\n> 引用です。\r\n", "本文です。\r\n> 引用です。\r\n", 0},
        {"本文です。\r\n", "本文です。\nadded\r\n", 1},
    };
    for (const Case &c : cases) {
        resetHost();
        MessageBoxRecorder boxes;
        PluginSession plugin(iniText(fixturePath("plugin/fix_adds_line.cmd"), ONE_RUN_PER_CHECK));
        ASSERT_NE(nullptr, plugin.module());
        const HWND window = composeWindow(c.mail);
        runCommand(plugin, window, true);
        EXPECT_EQ(c.after, recode(composeText(window), 932, CP_UTF8)) << c.mail;
        EXPECT_EQ(c.setTextCalls, hostCallsTo("BKA_CompSetText").size()) << c.mail;
        // A fix refused for the reply's sake says so.
        EXPECT_EQ(1 - c.setTextCalls, boxes.count()) << c.mail;
        plugin.exit();
    }
}

TEST_F(MailAwareTest, TextlintGetsTheMailAsItWasWithBothSwitchesOffAndForHtml) {
    TempDir dir("qcm");
    const std::string copy = dir.file("input.txt");
    ScopedEnvironment copyTo("QUILL_INPUT_COPY", copy);
    const std::string asWritten =
        "田中様\n\n今日は、雨が、降って、いて、とても、寒い。\n\n> これは、あれと、それと、"
        "どれと、なにか、です。\n＞あれは、これと、それと、どれと、なにか、です。\n\n-- "
        "\n私は、今日、とても、眠い、けれど、働きます。\n";
    struct Case {
        const char *label;
        std::string ini;
        const char *mimeType;
        std::string handedToTextlint;
    } cases[] = {
        {"both off", BOTH_OFF, "text/plain", asWritten},
        {"html", "EnableProofreadingHTMLMail=true\r\n", "text/html", asWritten},
        {"defaults", "", "text/plain",
         "田中様\n\n今日は、雨が、降って、いて、とても、寒い。\n\n\n\n\n\n\n"},
    };
    for (const Case &c : cases) {
        DeleteFileA(copy.c_str());
        PluginSession plugin(
            iniText(fixturePath("plugin/copy_input.cmd"), ONE_RUN_PER_CHECK + c.ini));
        ASSERT_NE(nullptr, plugin.module());
        runCommand(plugin, composeWindow(REPLY, c.mimeType), false);
        EXPECT_EQ(c.handedToTextlint, readFileBytes(copy)) << c.label;
        plugin.exit();
    }
}

} // namespace
} // namespace quill::test
