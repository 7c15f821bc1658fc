// Check and auto-fix runs against .cmd fixtures that show on demand what a real textlint
// shows only by accident: errors, Node.js warnings, reports of a given size, slow children.
#include "lint/background_check.h"
#include "tests/lint/run_fixture.h"
#include "tests/support/child_processes.h"

#include <windows.h>

#include <cstdio>
#include <thread>

namespace quill::test {
namespace {

std::string fixture(const char *name) {
    return fixturePath(std::string("textlint/") + name);
}

const char FIXED[] = "修正された本文です。\n二行目も直りました。\n";
const char ORIGINAL[] = "元の本文です。\n";

class FixtureRun : public RunTest {
  protected:
    // Publishes the two findings of two_findings.txt (through a run whose standard error
    // holds a Node.js deprecation warning).
    void publishTwoFindings() {
        useCommand(fixture("check_node_warning.cmd"));
        bool result = false;
        std::string output = checkCapturingOutput(plainMail(ORIGINAL), result);
        ASSERT_TRUE(result) << output;
        ASSERT_EQ(engine_.getLintResults().size(), 2u);
        listener_.calls = 0;
    }

    bool fileExists(const std::string &path) {
        return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
    }
};

TEST_F(FixtureRun, NodeWarningsOnStandardErrorDoNotFailTheCheck) {
    publishTwoFindings();
    std::vector<LintResult> findings = engine_.getLintResults();
    EXPECT_EQ(findings[0].ruleName, "no-doubled-joshi");
    EXPECT_EQ(findings[1].line, 2);
    EXPECT_EQ(findings[1].index, 11);
    EXPECT_TRUE(leftovers().empty());
}

TEST_F(FixtureRun, AnythingElseOnStandardErrorFailsAndKeepsThePreviousFindings) {
    publishTwoFindings();
    useCommand(fixture("check_stderr.cmd"));
    bool result = true;
    std::string output = checkCapturingOutput(plainMail(ORIGINAL), result);
    EXPECT_FALSE(result);
    EXPECT_EQ(output.rfind("Some error occurred when execute textlint.LastError: ", 0), 0u)
        << output;
    EXPECT_EQ(listener_.calls, 0);
    EXPECT_EQ(engine_.getLintResults().size(), 2u);
    EXPECT_TRUE(leftovers().empty());
}

TEST_F(FixtureRun, ExitCodeWithEmptyReportFailsTheCheck) {
    publishTwoFindings();
    useCommand(fixture("no_rules.cmd"));
    bool result = true;
    std::string output = checkCapturingOutput(plainMail(ORIGINAL), result);
    EXPECT_FALSE(result);
    // The fixture's own output goes to the same stream, before the diagnostic.
    EXPECT_NE(output.find("textlint ended with exit code 1 and left an empty report.LastError: "),
              std::string::npos)
        << output;
    EXPECT_EQ(listener_.calls, 0);
    EXPECT_EQ(engine_.getLintResults().size(), 2u);
}

TEST_F(FixtureRun, InputFileNameEndsAsTheMailType) {
    useCommand(fixture("check_input_extension.cmd"));
    const std::pair<TargetMailInfo, const char *> cases[] = {
        {plainMail("a"), "Error - .txt"}, {htmlMail("<p>a</p>"), "Error - .html"}};
    for (const auto &c : cases) {
        bool result = false;
        std::string output = checkCapturingOutput(c.first, result);
        ASSERT_TRUE(result) << output;
        ASSERT_EQ(engine_.getLintResults().size(), 1u);
        EXPECT_EQ(engine_.getLintResults()[0].message, c.second);
    }
    EXPECT_TRUE(leftovers().empty());
}

// A report of `size` bytes made of findings of rule-a; returns how many.
int writeReportOfSize(const std::string &path, std::size_t size) {
    std::string report;
    int count = 0;
    auto findingLine = [](int n, std::size_t messageLength) {
        char head[64];
        std::snprintf(head, sizeof head, "Z:\\m.txt: line %d, col 1, Error - ", n);
        return std::string(head) + std::string(messageLength, 'm') + " (rule-a)\n";
    };
    while (size - report.size() > 200) {
        report += findingLine(++count, 60);
    }
    std::size_t rest = size - report.size() - findingLine(count + 1, 0).size();
    report += findingLine(++count, rest);
    EXPECT_EQ(report.size(), size);
    writeFileBytes(path, report);
    return count;
}

TEST_F(FixtureRun, ReportsAroundTheFirstBufferSizeArePublishedWhole) {
    useCommand(fixture("check_report.cmd"));
    for (std::size_t size : {19999u, 20000u, 20254u, 60000u}) {
        std::string report = temp_->file("report" + std::to_string(size));
        int count = writeReportOfSize(report, size);
        ScopedEnvironment env("QUILL_FIXTURE_REPORT", report);
        bool result = false;
        std::string output = checkCapturingOutput(plainMail(ORIGINAL), result);
        ASSERT_TRUE(result) << output;
        std::vector<LintResult> findings = engine_.getLintResults();
        ASSERT_EQ(findings.size(), static_cast<std::size_t>(count)) << size;
        EXPECT_EQ(findings.back().line, count);
        DeleteFileA(report.c_str());
        EXPECT_TRUE(leftovers().empty()) << size;
    }
}

TEST_F(FixtureRun, SupersededJobKeepsItsFindingsToItselfAndSucceeds) {
    useCommand(fixture("check_report.cmd"));
    ScopedEnvironment report("QUILL_FIXTURE_REPORT", fixture("two_findings.txt"));
    TargetMailInfo earlier(0, MIME_TEXT_PLAIN, "", "earlier", ORIGINAL);
    JobTicket job = engine_.enterJob(earlier);
    engine_.enterJob(TargetMailInfo(0, MIME_TEXT_PLAIN, "", "later", ORIGINAL));
    CheckOutcome outcome = engine_.runCheck(job, earlier);
    EXPECT_EQ(outcome.publication, Publication::Superseded);
    EXPECT_EQ(outcome.findings.size(), 2u);
    EXPECT_EQ(listener_.calls, 0);
    EXPECT_TRUE(engine_.getLintResults().empty());
    EXPECT_TRUE(leftovers().empty());
}

TEST_F(FixtureRun, ChildOutlivingTheWaitIsNotAwaitedFurther) {
    publishTwoFindings();
    engine_.setChildWaitCount(5);

    // Its report is already written: it is published as it is.
    useCommand(fixture("check_report.cmd"));
    {
        ScopedEnvironment report("QUILL_FIXTURE_REPORT", fixture("two_findings.txt"));
        ScopedEnvironment delay("QUILL_FIXTURE_DELAY", "4");
        TempDir marks;
        ScopedEnvironment done("QUILL_FIXTURE_DONE", marks.file("done"));
        bool result = false;
        std::string output = checkCapturingOutput(plainMail(ORIGINAL), result);
        EXPECT_TRUE(result) << output;
        EXPECT_EQ(listener_.calls, 1);
        // The run ended the child instead of waiting for it: it never got to its end.
        EXPECT_FALSE(fileExists(marks.file("done")));
        EXPECT_TRUE(descendantProcessNames().empty());
    }

    // Nothing written yet: no evidence of a check, so the run fails and nothing changes.
    useCommand(fixture("check_late_report.cmd"));
    bool result = true;
    std::string output = checkCapturingOutput(plainMail(ORIGINAL), result);
    EXPECT_FALSE(result);
    EXPECT_EQ(output.rfind("textlint did not end within 0.5 seconds and left an empty report.", 0),
              0u)
        << output;
    EXPECT_EQ(listener_.calls, 1);
    EXPECT_EQ(engine_.getLintResults().size(), 2u);
    EXPECT_TRUE(descendantProcessNames().empty());
    EXPECT_TRUE(leftovers().empty());
}

// The tree is cmd.exe running node.exe: both go when the wait ends, with the run's files.
TEST_F(FixtureRun, TextlintThatNeverEndsIsEndedWithItsWholeTree) {
    useCommand(fixture("never_ends.cmd"));
    std::string node = textlintCmdPath();
    node = node.substr(0, node.rfind('\\')) + "\\node.exe";
    TempDir marks;
    ScopedEnvironment nodePath("QUILL_FIXTURE_NODE", node);
    ScopedEnvironment mark("QUILL_FIXTURE_MARK", marks.file("node-runs"));
    engine_.setChildWaitCount(100);

    bool result = true;
    std::string output;
    std::thread run([&] { output = checkCapturingOutput(plainMail(ORIGINAL), result); });
    const bool nodeRan = waitForFile(marks.file("node-runs"), 10000);
    const std::vector<std::string> during = descendantProcessNames();
    run.join();

    ASSERT_TRUE(nodeRan) << output;
    EXPECT_TRUE(containsName(during, "cmd.exe") && containsName(during, "node.exe"));
    EXPECT_FALSE(result);
    EXPECT_EQ(output.rfind("textlint did not end within 10 seconds and left an empty report.", 0),
              0u)
        << output;
    EXPECT_TRUE(descendantProcessNames().empty());
    EXPECT_TRUE(leftovers().empty());
}

TEST_F(FixtureRun, FileNameTooLongForItsBufferFailsBeforeAnyChild) {
    // 200 bytes, the backslash and the run's own folder (45 bytes with its backslash):
    // GetTempFileName still works there, but the placeholder with ".html" no longer fits
    // into 260 bytes.
    std::string deep = temp_->path();
    while (deep.size() < 200) {
        deep += "\\" + std::string(std::min<std::size_t>(100, 199 - deep.size()), 'd');
        ASSERT_TRUE(CreateDirectoryA(deep.c_str(), nullptr)) << deep;
    }
    ASSERT_EQ(deep.size(), 200u);
    useTempFolder(deep);
    useCommand(fixture("check_input_extension.cmd"));
    bool result = true;
    std::string output = checkCapturingOutput(htmlMail("<p>a</p>"), result);
    EXPECT_FALSE(result);
    EXPECT_EQ(output.rfind("Exception: szInputTextFilePath would be longer than 259 bytes.\n"
                           "LastError: ",
                           0),
              0u)
        << output;
    EXPECT_EQ(listener_.calls, 0);

    TextLintFixResult fixed;
    output = fixCapturingOutput(htmlMail("<p>a</p>"), fixed);
    EXPECT_FALSE(fixed.succeeded);
    EXPECT_EQ(fixed.text, "<p>a</p>");
    EXPECT_EQ(output.rfind("Exception: szInputOutputTextFilePath would be longer than 259 "
                           "bytes.\nLastError: ",
                           0),
              0u)
        << output;
    EXPECT_TRUE(leftovers().empty());
}

TEST_F(FixtureRun, CommandLineTooLongForItsBufferFailsBeforeAnyChild) {
    // A command that would leave a mark, in a folder deep enough that with the temporary
    // names the line passes 1023 bytes.
    std::string marker = temp_->file("started");
    std::string commandDir = temp_->file(std::string(150, 'c'));
    ASSERT_TRUE(CreateDirectoryA(commandDir.c_str(), nullptr));
    std::string command = commandDir + "\\textlint.cmd";
    writeFileBytes(command, "@echo started> \"" + marker + "\"\r\n");
    std::string tempDir = temp_->file(std::string(150, 't'));
    ASSERT_TRUE(CreateDirectoryA(tempDir.c_str(), nullptr));
    useTempFolder(tempDir);
    useCommand(command);

    bool result = true;
    std::string output = checkCapturingOutput(plainMail(ORIGINAL), result);
    EXPECT_FALSE(result);
    EXPECT_EQ(output.rfind("The textlint command line does not fit into cmd (1024 bytes).", 0), 0u)
        << output;
    EXPECT_FALSE(fileExists(marker));
    EXPECT_TRUE(leftovers().empty());
}

// A configuration without a rule textlint would run means nothing to check or fix: an
// empty result is published and the text stays, without starting textlint (which would
// fail with "No rules found"). A disabled rule with options is off too: it keeps its
// options only in the settings.
TEST_F(FixtureRun, NoRuleToRunMeansNothingToCheckAndNoTextlint) {
    TempDir marks;
    const std::string marker = marks.file("started");
    const std::string command = marks.file("textlint.cmd");
    writeFileBytes(command, "@echo started> \"" + marker + "\"\r\n");
    TextLintRule off = rule("max-ten");
    off.enabled = false;
    TextLintRule offWithOptions = off;
    offWithOptions.options = {"\"max\":3"};
    const std::pair<std::vector<TextLintRule>, bool> cases[] = {
        {{}, false}, {{off}, false}, {{off, offWithOptions}, false}};
    for (const auto &c : cases) {
        publishTwoFindings();
        useCommand(command, c.first);
        bool result = false;
        std::string output = checkCapturingOutput(plainMail(ORIGINAL), result);
        TextLintFixResult fixed;
        output += fixCapturingOutput(plainMail(ORIGINAL), fixed);
        EXPECT_EQ(fileExists(marker), c.second) << c.first.size();
        DeleteFileA(marker.c_str());
        if (c.second)
            continue;
        EXPECT_TRUE(result) << output;
        EXPECT_EQ(listener_.calls, 1);
        EXPECT_TRUE(listener_.seen.empty());
        EXPECT_TRUE(fixed.succeeded) << output;
        EXPECT_EQ(fixed.text, ORIGINAL);
    }
}

TEST_F(FixtureRun, FixReturnsTheRewrittenTextAndClearsFindingsWithoutNotifying) {
    publishTwoFindings();
    useCommand(fixture("fix_rewrite.cmd"));
    TextLintFixResult fixed;
    std::string output = fixCapturingOutput(plainMail(ORIGINAL), fixed);
    EXPECT_TRUE(fixed.succeeded) << output;
    EXPECT_EQ(fixed.text, FIXED);
    EXPECT_TRUE(engine_.getLintResults().empty());
    EXPECT_EQ(listener_.calls, 0);
    EXPECT_TRUE(leftovers().empty());
}

// Each failure of a fix hands back the text it was given, byte for byte.
TEST_F(FixtureRun, FailedFixReturnsTheTextUnchanged) {
    struct Case {
        const char *command;
        unsigned waitCount;
        const char *diagnostic;
    };
    const Case cases[] = {
        // Still rewriting when the wait ends: the half-written file is never read.
        {"fix_half_written.cmd", 5,
         "textlint --fix did not end within 0.5 seconds; the text is "
         "left as it was.LastError: "},
        // The error comes only after the rewrite, just before textlint ends.
        {"fix_late_stderr.cmd", 100, "Some error occurred when execute textlint.LastError: "},
        {"no_rules.cmd", 100,
         "textlint --fix ended with exit code 1 and changed nothing.LastError: "},
    };
    const std::string text = "元の本文です。\r\n\t末尾に空白 \n";
    for (const Case &c : cases) {
        useCommand(fixture(c.command));
        engine_.setChildWaitCount(c.waitCount);
        TextLintFixResult fixed;
        std::string output = fixCapturingOutput(plainMail(text), fixed);
        EXPECT_FALSE(fixed.succeeded) << c.command;
        EXPECT_EQ(fixed.text, text) << c.command;
        EXPECT_NE(output.find(c.diagnostic), std::string::npos) << c.command << ": " << output;
    }
    EXPECT_TRUE(descendantProcessNames().empty());
    EXPECT_TRUE(leftovers().empty());
}

TEST_F(FixtureRun, BackgroundCheckRunsOnItsOwnCopyOfTheTarget) {
    useCommand(fixture("check_node_warning.cmd"));
    {
        TargetMailInfo target(1, MIME_TEXT_PLAIN, "from", "background", ORIGINAL);
        ASSERT_TRUE(startBackgroundCheck(engine_, target));
    }
    ASSERT_TRUE(listener_.waitForCalls(1, 30000));
    EXPECT_EQ(listener_.seen.size(), 2u);
    EXPECT_EQ(engine_.getTargetMailInfo().getSubject(), "background");
    EXPECT_EQ(engine_.getTargetMailInfo().isDraft, 1);
    // The run's files went before it published.
    EXPECT_TRUE(leftovers().empty());
}

// While one background check runs no other starts; of the requests made meanwhile only the
// newest runs after it, and the running one, superseded, publishes nothing.
TEST_F(FixtureRun, BackgroundChecksRunOneAtATimeAndTheNewestRequestWins) {
    useCommand(fixture("check_first_waits.cmd"));
    TempDir marks;
    ScopedEnvironment waiting("QUILL_FIXTURE_WAITING", marks.file("waiting"));
    ScopedEnvironment go("QUILL_FIXTURE_GO", marks.file("go"));
    ScopedEnvironment log("QUILL_RUN_LOG", marks.file("runs"));
    auto draft = [](const char *subject) {
        return TargetMailInfo(1, MIME_TEXT_PLAIN, "", subject, ORIGINAL);
    };
    ASSERT_TRUE(startBackgroundCheck(engine_, draft("A")));
    ASSERT_TRUE(waitForFile(marks.file("waiting"), 30000));
    ASSERT_TRUE(startBackgroundCheck(engine_, draft("B")));
    ASSERT_TRUE(startBackgroundCheck(engine_, draft("C")));
    writeFileBytes(marks.file("go"), "");
    ASSERT_TRUE(listener_.waitForCalls(1, 30000));
    EXPECT_EQ(listener_.calls, 1);
    EXPECT_TRUE(listener_.seen.empty()) << "C has no findings; A's two were not published";
    EXPECT_EQ(engine_.getTargetMailInfo().getSubject(), "C");
    EXPECT_EQ(readFileBytes(marks.file("runs")), "run\r\nrun\r\n");
}

} // namespace
} // namespace quill::test
