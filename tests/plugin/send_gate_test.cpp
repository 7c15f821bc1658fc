// The send event through the core library: what text it checks, and whether it refuses the
// send, with the real textlint and real rules. This program stands in for the host's
// header call.
#include "config/text_lint_config.h"
#include "lint/background_check.h"
#include "lint/lint_result_controller.h"
#include "plugin/host_api.h"
#include "plugin/send_gate.h"
#include "tests/support/child_processes.h"
#include "tests/support/counting_listener.h"
#include "tests/support/message_box_watcher.h"
#include "tests/support/test_paths.h"
#include "tests/support/scoped_environment.h"

#include <gtest/gtest.h>

#include <condition_variable>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace quill {
namespace {

std::vector<std::string> headerCalls;

LPSTR WINAPI fakeGetSpecifiedHeader(LPCSTR header, LPSTR value, int valueSize) {
    headerCalls.push_back(header);
    std::string answer = std::string(header) == "From" ? "from@example.jp" : "件名";
    lstrcpynA(value, answer.c_str(), valueSize);
    return value;
}

const char REFUSAL[] = "校正結果の評価が閾値を超えているためこのメールを送信するのを防止しました。";
const char CONVERT_FAILED[] =
    "convertCharSet() failed. cannot convert MultiByteChar to WideChar for result of lint text.";

// Each sentence gives exactly one finding of the rule named beside it.
const char MAX_TEN[] = "私は、今日、とても、眠い、けれど、働きます。"; // max-ten
const char DOUBLED_JOSHI[] = "私は彼は好きです。";                     // no-doubled-joshi
const char REDUNDANT[] = "解決することができる。";                     // ja-no-redundant-expression
const char SPACING[] = "日本語 です。"; // ja-spacing/ja-no-space-between-full-width

class SendGate : public ::testing::Test {
  protected:
    // A mail that cannot be checked still goes, with a notice the first time in the
    // process; every box is recorded and closed here, so no test waits on one.
    test::MessageBoxRecorder boxes;
    bool shown(const char *captionUtf8, const char *textUtf8 = nullptr) const {
        for (const auto &box : boxes.boxes())
            if (box.captionUtf8() == captionUtf8 && (!textUtf8 || box.textUtf8() == textUtf8))
                return true;
        return false;
    }
    void SetUp() override {
        hostApi().BKA_GetSpecifiedHeader = &fakeGetSpecifiedHeader;
        headerCalls.clear();
        config().update([&](TextLintSettings &s) {
            s.enableEvaluateValueThreshold = true;
            s.evaluateValueThreshold = 0;
        });
        config().setTextLintCmdPath(test::textlintCmdPath());
        config().setRules({rule("max-ten", 1)});
    }

    static TextLintConfig &config() { return TextLintConfig::getInstance(); }
    static TextLintRule rule(const char *name, int weight, bool enabled = true) {
        TextLintRule r;
        r.name = name;
        r.enabled = enabled;
        r.weight = weight;
        return r;
    }
    // A command that cannot start: the run fails at once, after the job took the target.
    static void useFailingCommand() { config().setTextLintCmdPath(test::sourceDir()); }
    static TargetMailInfo checked() { return lintEngine().getTargetMailInfo(); }
    // Under Wine node.exe cannot write to an inherited console: the run's standard output
    // goes to a file while the event runs, as it would to no console in the host.
    static int send(const std::string &source) {
        ::testing::internal::CaptureStdout();
        int result = gateOutgoingMail(source.c_str());
        output = ::testing::internal::GetCapturedStdout();
        return result;
    }
    static inline std::string output;
    static constexpr char UTF8_HEADER[] = "Content-Type: text/plain; charset=UTF-8\r\n\r\n";
    static bool check(const std::string &text) {
        ::testing::internal::CaptureStdout();
        bool result = lintEngine().executeProofreadingTool(
            ProofreadingToolControlType::Check, TargetMailInfo(0, MIME_TEXT_PLAIN, "", "", text));
        ::testing::internal::GetCapturedStdout();
        return result;
    }
};

TEST_F(SendGate, OffSendsWithoutAskingTheHostOrChecking) {
    config().update([&](TextLintSettings &s) { s.enableEvaluateValueThreshold = false; });
    lintEngine().enterJob(TargetMailInfo(1, MIME_TEXT_PLAIN, "", "before", ""));
    EXPECT_EQ(send("\r\nanything\r\n"), 0);
    EXPECT_TRUE(headerCalls.empty());
    EXPECT_EQ(checked().getSubject(), "before");
}

TEST_F(SendGate, ChecksTheTextInTheCodePageOfItsCharset) {
    useFailingCommand();
    std::string utf8 = std::string(MAX_TEN) + "\r\n最後の行";
    std::string sjis = "\x93\xfa\x96\x7b\x8c\xea"; // 日本語 in code page 932
    struct Case {
        std::string source;
        std::string text;
        MimeType type;
    };
    const Case cases[] = {
        {"Content-Type: text/plain; CHARSET=UTF-8\r\n\r\n" + utf8,
         std::string(MAX_TEN) + "\n最後の行", MIME_TEXT_PLAIN},
        {"Content-Type: text/plain; format=flowed;\r\n charset=\"utf-8\"\r\n\r\n" + utf8 + "\r\n",
         std::string(MAX_TEN) + "\n最後の行\n", MIME_TEXT_PLAIN},
        {"Content-Type: text/plain\r\n\r\n" + sjis + "\r\r\n", "日本語\n\n", MIME_TEXT_PLAIN},
        {"Content-Type: text/plain; charset=Shift_JIS\r\n\r\n" + sjis, "日本語", MIME_TEXT_PLAIN},
        {"content-type: TEXT/HTML; charset=utf-8\r\n\r\n<p>" + utf8 + "</p>",
         "<p>" + std::string(MAX_TEN) + "\n最後の行</p>", MIME_TEXT_HTML},
    };
    for (const Case &c : cases) {
        EXPECT_EQ(send(c.source), 0) << c.source;
        EXPECT_EQ(checked().getMailText(), c.text) << c.source;
        EXPECT_EQ(checked().mimeType, c.type) << c.source;
    }
    EXPECT_EQ(checked().getFrom(), "from@example.jp");
    EXPECT_EQ(checked().getSubject(), "件名");
    EXPECT_EQ(headerCalls.back(), "Subject");
}

TEST_F(SendGate, MultipartMailIsCheckedAsItsPlainTextPart) {
    useFailingCommand();
    const std::string head =
        "Content-Type: multipart/alternative; boundary=\"b\"\r\n\r\npreamble\r\n";
    struct Case {
        std::string parts;
        std::string text;
    };
    const Case cases[] = {
        {"--b\r\nContent-Type: text/plain; charset=UTF-8\r\n\r\n本文\r\n--b\r\n"
         "Content-Type: text/html\r\n\r\n<p>x</p>\r\n--b--\r\n",
         "本文\n"},
        {"--b\r\nContent-Type: text/plain; charset=UTF-8\r\nContent-Transfer-Encoding: base64\r\n"
         "\r\n5pys5paH\r\n--b--\r\n",
         "preamble\n"},
    };
    for (const Case &c : cases) {
        EXPECT_EQ(send(head + c.parts), 0);
        EXPECT_EQ(checked().getMailText(), c.text) << c.parts;
        EXPECT_EQ(checked().mimeType, MIME_TEXT_PLAIN);
    }
}

TEST_F(SendGate, QuotedIso2022JpSelectsItsCodePage) {
    // Wine has no converter for code page 50220: the failure proves the page was chosen.
    useFailingCommand();
    EXPECT_EQ(send("Content-Type: text/plain; charset=\"ISO-2022-JP\"\r\n\r\na\r\nb\r\n"), 0);
    EXPECT_TRUE(shown(CONVERT_FAILED));
}

TEST_F(SendGate, FailedCheckSendsInsteadOfWeighingOlderFindings) {
    config().update([&](TextLintSettings &s) { s.evaluateValueThreshold = 0; });
    ASSERT_TRUE(check(std::string(MAX_TEN) + "\n"));
    ASSERT_TRUE(lintEngine().isEvaluateValueOverThreshold());
    useFailingCommand();
    EXPECT_EQ(send("\r\nclean\r\n"), 0);
    EXPECT_FALSE(shown("Quillcheck Plugin Info", REFUSAL));
}

// The timeout is told apart from other failures; the module's own wait is a minute, too
// long for its tests.
TEST_F(SendGate, TextlintThatDoesNotEndInTimeSendsWithItsOwnNotice) {
    config().setTextLintCmdPath(test::fixturePath("plugin/slow_check.cmd"));
    lintEngine().setChildWaitCount(5);
    EXPECT_EQ(send(UTF8_HEADER + std::string(MAX_TEN)), 0);
    lintEngine().setChildWaitCount(600);
    bool told = false;
    for (const auto &box : boxes.boxes())
        told = told ||
               (box.captionUtf8() == "Quillcheck Plugin Info" &&
                box.textUtf8().find("textlint が 1 秒以内に終わらなかった") != std::string::npos);
    EXPECT_TRUE(told);
}

TEST_F(SendGate, RefusesOnlyWhenTheWeightsExceedTheThreshold) {
    config().update([&](TextLintSettings &s) { s.evaluateValueThreshold = 10; });
    config().setRules(
        {rule("max-ten", 4), rule("no-doubled-joshi", 6), rule("ja-no-redundant-expression", 1)});
    const std::string ten = UTF8_HEADER + std::string(DOUBLED_JOSHI) + "\r\n" + MAX_TEN;
    EXPECT_EQ(send(ten), 0);                                       // 4 + 6 equals the threshold
    EXPECT_EQ(lintEngine().getLintResults().size(), 2u) << output; // the unended last line too
    EXPECT_EQ(boxes.count(), 0u);
    EXPECT_EQ(send(ten + "\r\n" + REDUNDANT + "\r\n"), -1);
    ASSERT_EQ(boxes.count(), 1u);
    EXPECT_EQ(boxes.boxes()[0].captionUtf8(), "Quillcheck Plugin Info");
    EXPECT_EQ(boxes.boxes()[0].textUtf8(), REFUSAL);
}

TEST_F(SendGate, PresetWeightsCountAndRulesInOtherCaseWeighNothing) {
    // The preset reports its findings under "ja-spacing/...": the preset's weight counts.
    config().setRules(
        {rule("MAX-TEN", 100, false), rule("max-ten", 0), rule("preset-ja-spacing", 0)});
    const std::string source = UTF8_HEADER + std::string(MAX_TEN) + "\r\n" + SPACING + "\r\n";
    EXPECT_EQ(send(source), 0);
    EXPECT_EQ(lintEngine().getLintResults().size(), 2u) << output;
    config().setRules(
        {rule("MAX-TEN", 100, false), rule("max-ten", 0), rule("preset-ja-spacing", 1)});
    EXPECT_EQ(send(source), -1);
    EXPECT_EQ(boxes.count(), 1u);
}

TEST_F(SendGate, NoRuleToRunLetsTheMailGo) {
    config().setRules({});
    // Weighing nothing would still refuse at this threshold: nothing is weighed.
    config().update([&](TextLintSettings &s) { s.evaluateValueThreshold = -1; });
    test::MessageBoxRecorder boxes;
    EXPECT_EQ(send(UTF8_HEADER + std::string(MAX_TEN)), 0);
    EXPECT_EQ(boxes.count(), 0u);
}

// The send's textlint is held until a background check, started later, has published its
// clean result: the send is still refused on its own two findings.
TEST_F(SendGate, SendOvertakenByABackgroundCheckIsJudgedOnItsOwnFindings) {
    test::TempDir marks;
    test::ScopedEnvironment waitingMark("QUILL_FIXTURE_WAITING", marks.file("waiting"));
    test::ScopedEnvironment goMark("QUILL_FIXTURE_GO", marks.file("go"));
    config().setTextLintCmdPath(test::fixturePath("textlint/check_first_waits.cmd"));
    config().setRules({rule("no-doubled-joshi", 1)});
    test::CountingListener published;
    lintEngine().addLintResultModelListener(&published);
    // Dismisses the refusal shown from the sending thread.
    test::MessageBoxRecorder boxes;

    int result = 0;
    std::thread sending([&] { result = send(UTF8_HEADER + std::string(DOUBLED_JOSHI)); });
    const bool sendRuns = test::waitForFile(marks.file("waiting"), 30000);
    const bool started =
        sendRuns && startBackgroundCheck(lintEngine(), TargetMailInfo(1, MIME_TEXT_PLAIN, "",
                                                                      "background", "clean\n"));
    const bool backgroundPublished = started && published.waitForCalls(1, 30000);
    test::writeFileBytes(marks.file("go"), "");
    sending.join();
    lintEngine().removeLintResultModelListener(&published);

    ASSERT_TRUE(sendRuns);
    ASSERT_TRUE(backgroundPublished);
    EXPECT_EQ(result, -1) << output;
    // The window keeps the background check's result.
    EXPECT_TRUE(lintEngine().getLintResults().empty());
    EXPECT_EQ(checked().getSubject(), "background");
}

} // namespace
} // namespace quill
