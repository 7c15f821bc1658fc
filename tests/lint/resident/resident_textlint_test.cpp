// The resident textlint against the real textlint in the Wine prefix: its answers must be
// those of the cold run, and every case it cannot answer soundly must run cold.
#include "common/handles.h"
#include "lint/resident/resident_textlint.h"
#include "tests/lint/resident/probe_rule.h"
#include "tests/lint/run_fixture.h"
#include "tests/support/child_processes.h"

#include <windows.h>

#include <tlhelp32.h>

#include <atomic>
#include <chrono>
#include <random>

namespace quill::test {
namespace {

using std::chrono::seconds;

// Start, version, proof, handshake and the dictionary under Wine take 10-15 s; the bound
// leaves room for a machine busy with other tests.
constexpr seconds SERVING_WAIT{180};

const std::vector<TextLintRule> RULES = {rule("max-ten"), rule("no-doubled-joshi"),
                                         rule("preset-ja-spacing"), rule("no-mix-dearu-desumasu")};

struct Row {
    int line;
    int index;
    std::string message;
    std::string rule;
    bool operator==(const Row &o) const {
        return line == o.line && index == o.index && message == o.message && rule == o.rule;
    }
};

std::ostream &operator<<(std::ostream &out, const Row &r) {
    return out << "(" << r.line << ", " << r.index << ", '" << r.message << "', " << r.rule << ")";
}

struct Mail {
    const char *name;
    TargetMailInfo target;
};

// Plain and HTML mails; one whose finding has a message over several lines; one without
// findings.
std::vector<Mail> mails() {
    return {
        {"plain", TargetMailInfo(0, MIME_TEXT_PLAIN, "a@example.jp", "s",
                                 "私は彼は好きです。\n日本語 の文章です。\n"
                                 "これは、とても、良い、文章、です、ね。\n")},
        {"html", TargetMailInfo(0, MIME_TEXT_HTML, "a@example.jp", "s",
                                "<html><body>\n<!-- これは、とても、良い、文章、です、ね -->\n"
                                "<p>日本語 の 文章です。</p>\n</body></html>\n")},
        {"multi-line message", TargetMailInfo(0, MIME_TEXT_PLAIN, "a@example.jp", "s",
                                              "今日は晴れです。\n明日は雨である。\n"
                                              "明後日も晴れです。\n")},
        {"no findings",
         TargetMailInfo(0, MIME_TEXT_PLAIN, "a@example.jp", "s", "今日は晴れです。\n")},
    };
}

class ResidentTextLintTest : public RunTest {
  protected:
    void TearDown() override {
        residentTextLint().stop();
        RunTest::TearDown();
    }

    struct Outcome {
        bool result = false;
        std::string output;
        std::vector<Row> rows;
        int published = 0;
    };

    Outcome check(const TargetMailInfo &target) {
        Outcome outcome;
        listener_.calls = 0;
        outcome.output = checkCapturingOutput(target, outcome.result);
        outcome.published = listener_.calls;
        for (const LintResult &r : engine_.getLintResults())
            outcome.rows.push_back({r.line, r.index, r.message, r.ruleName});
        return outcome;
    }

    void expectSame(const Outcome &warm, const Outcome &cold, const char *name) {
        EXPECT_EQ(warm.result, cold.result) << name << "\n" << warm.output << cold.output;
        EXPECT_EQ(warm.published, cold.published) << name;
        EXPECT_EQ(warm.rows, cold.rows) << name;
    }
};

TEST_F(ResidentTextLintTest, WarmChecksAndFixesAreThoseOfTheColdRun) {
    useCommand(textlintCmdPath(), RULES);
    TextLintConfig::getInstance().update(
        [](TextLintSettings &s) { s.enableProofreadingHTMLMail = true; });
    // Cold first: nothing is resident before the start.
    std::vector<Outcome> cold;
    for (const Mail &mail : mails())
        cold.push_back(check(mail.target));
    TextLintFixResult coldFix = engine_.executeTextLintFix(mails()[0].target);
    ASSERT_TRUE(coldFix.succeeded);
    ASSERT_EQ(cold[2].rows.size(), 1u);
    EXPECT_NE(cold[2].rows[0].message.find("Total:"), std::string::npos);

    EXPECT_FALSE(residentTextLint().isServing());
    residentTextLint().start();
    ASSERT_TRUE(residentTextLint().waitUntilServing(SERVING_WAIT));
    EXPECT_TRUE(residentTextLint().isServing());
    for (std::size_t i = 0; i < cold.size(); ++i) {
        unsigned long answered = residentTextLint().answeredRequests();
        Outcome warm = check(mails()[i].target);
        EXPECT_EQ(residentTextLint().answeredRequests(), answered + 1) << mails()[i].name;
        expectSame(warm, cold[i], mails()[i].name);
    }
    unsigned long answered = residentTextLint().answeredRequests();
    TextLintFixResult warmFix = engine_.executeTextLintFix(mails()[0].target);
    EXPECT_EQ(residentTextLint().answeredRequests(), answered + 1);
    EXPECT_TRUE(warmFix.succeeded);
    EXPECT_EQ(warmFix.text, coldFix.text);
    EXPECT_NE(warmFix.text, mails()[0].target.getMailText());
}

// textlint serves a configuration it cannot load as one without rules, answering "no
// findings"; the cold run fails such a check. It must fail with the server running too.
TEST_F(ResidentTextLintTest, ConfigurationTextlintCannotLoadFailsTheCheckAsWhenCold) {
    const std::vector<TextLintRule> broken = {rule("max-ten"), rule("no-such-rule-installed")};
    const TargetMailInfo mail = mails()[0].target;
    useCommand(textlintCmdPath(), broken);
    Outcome cold = check(mail);
    ASSERT_FALSE(cold.result);

    useCommand(textlintCmdPath(), RULES);
    residentTextLint().start();
    ASSERT_TRUE(residentTextLint().waitUntilServing(SERVING_WAIT));
    Outcome good = check(mail);
    ASSERT_TRUE(good.result);
    useCommand(textlintCmdPath(), broken);
    unsigned long answered = residentTextLint().answeredRequests();
    for (int attempt = 0; attempt < 2; ++attempt) {
        Outcome warm = check(mail);
        EXPECT_FALSE(warm.result);
        EXPECT_EQ(warm.output, cold.output);
        EXPECT_EQ(warm.published, 0);
        EXPECT_EQ(warm.rows, good.rows); // the findings before stay
    }
    EXPECT_EQ(residentTextLint().answeredRequests(), answered);
}

std::string exeNameOf(DWORD pid) {
    UniqueHandle snapshot(CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0));
    PROCESSENTRY32 entry = {};
    entry.dwSize = sizeof(entry);
    for (BOOL more = Process32First(snapshot.get(), &entry); more;
         more = Process32Next(snapshot.get(), &entry))
        if (entry.th32ProcessID == pid)
            return entry.szExeFile;
    return "";
}

// Also through a command path with a blank, which the server's command line must keep whole.
TEST_F(ResidentTextLintTest, KilledServerLeavesTheNextCheckColdAndComesBack) {
    useCommand("C:\\tl dir\\textlint.cmd", RULES);
    const TargetMailInfo mail = mails()[0].target;
    Outcome cold = check(mail);
    ASSERT_TRUE(cold.result) << cold.output;
    residentTextLint().start();
    ASSERT_TRUE(residentTextLint().waitUntilServing(SERVING_WAIT));

    DWORD node = 0;
    for (DWORD pid : residentTextLint().processIds())
        if (_stricmp(exeNameOf(pid).c_str(), "node.exe") == 0)
            node = pid;
    ASSERT_NE(node, 0u);
    UniqueHandle process(OpenProcess(PROCESS_TERMINATE | SYNCHRONIZE, FALSE, node));
    ASSERT_TRUE(process);
    ASSERT_TRUE(TerminateProcess(process.get(), 9));
    ASSERT_EQ(WaitForSingleObject(process.get(), 30000), WAIT_OBJECT_0);

    unsigned long answered = residentTextLint().answeredRequests();
    expectSame(check(mail), cold, "after the kill");
    EXPECT_EQ(residentTextLint().answeredRequests(), answered);

    ASSERT_TRUE(residentTextLint().waitUntilServing(SERVING_WAIT));
    expectSame(check(mail), cold, "after the restart");
    EXPECT_EQ(residentTextLint().answeredRequests(), answered + 1);
}

// npm rewrites its lock file at every install and update: the plug-in's sign of a change.
void touchNpmLockFile() {
    const std::string lock = textlintFolder() + "\\node_modules\\.package-lock.json";
    writeFileBytes(lock, readFileBytes(lock));
}

// Node keeps the modules it loaded: a rule updated on disk is run only by a new server, and
// no answer of the old one may count once the change is seen.
TEST_F(ResidentTextLintTest, RuleUpdatedOnDiskIsAnsweredByANewServer) {
    ProbeRule probe("probe-old");
    useCommand(textlintCmdPath(), {rule(probe.name())});
    const TargetMailInfo mail = plainMail("\xE3\x83\x97\xE3\x83\xAD\xE3\x83\xBC\xE3\x83\x96\n");
    residentTextLint().start();
    ASSERT_TRUE(residentTextLint().waitUntilServing(SERVING_WAIT));
    unsigned long answered = residentTextLint().answeredRequests();
    Outcome before = check(mail);
    ASSERT_EQ(residentTextLint().answeredRequests(), answered + 1);
    ASSERT_EQ(before.rows.size(), 1u) << before.output;
    EXPECT_EQ(before.rows[0].message, "Error - probe-old");

    probe.setMessage("probe-new");
    touchNpmLockFile();
    for (ULONGLONG end = GetTickCount64() + 30000;
         residentTextLint().isServing() && GetTickCount64() < end;)
        Sleep(20);
    ASSERT_TRUE(residentTextLint().waitUntilServing(SERVING_WAIT));
    answered = residentTextLint().answeredRequests();
    Outcome after = check(mail);
    EXPECT_EQ(residentTextLint().answeredRequests(), answered + 1);
    ASSERT_EQ(after.rows.size(), 1u) << after.output;
    EXPECT_EQ(after.rows[0].message, "Error - probe-new");
}

// The watch alone, on folders of the test's own: a `@scope` folder removed and created again
// (as npm does with a scope's last package) is a new folder, which the old notification no
// longer sees. The watch counts the change, is whole again, and sees a change inside the
// new folder.
TEST(RuleFolderWatchTest, ScopeFolderCreatedAgainIsWatchedAgain) {
    TempDir dir("qcwatch");
    const std::string modules = dir.file("node_modules");
    const std::string scope = modules + "\\@scope";
    ASSERT_TRUE(CreateDirectoryA(modules.c_str(), nullptr));
    ASSERT_TRUE(CreateDirectoryA(scope.c_str(), nullptr));
    writeFileBytes(dir.file("textlint.cmd"), "");
    RuleFolderWatch watch;
    std::atomic<int> told{0};
    watch.watch(dir.file("textlint.cmd"), [&told] { ++told; });
    ASSERT_FALSE(watch.changePending());
    // Counted, told and nothing pending any more; then quiet for a moment.
    const auto settledAfter = [&watch, &told](unsigned long changes, int tells) {
        for (ULONGLONG end = GetTickCount64() + 5000; GetTickCount64() < end; Sleep(20))
            if (watch.changes() > changes && told > tells && !watch.changePending()) {
                Sleep(300);
                return !watch.changePending();
            }
        return false;
    };

    unsigned long changes = watch.changes();
    int tells = told;
    ASSERT_TRUE(RemoveDirectoryA(scope.c_str()));
    bool created = false;
    for (int attempt = 0; attempt < 50 && !created; ++attempt, Sleep(100))
        created = CreateDirectoryA(scope.c_str(), nullptr) != FALSE;
    ASSERT_TRUE(created);
    ASSERT_TRUE(settledAfter(changes, tells));

    changes = watch.changes();
    tells = told;
    ASSERT_TRUE(CreateDirectoryA((scope + "\\textlint-rule-new").c_str(), nullptr));
    EXPECT_TRUE(settledAfter(changes, tells));
    watch.stop();
}

// stop() may come at any step of the background start, a second time, or from the
// destructor; a child refused at a stop is never ended again through a stale address.
TEST_F(ResidentTextLintTest, StartAndStopInAnyOrderLeaveNoProcessAndNoCrash) {
    useCommand(textlintCmdPath(), RULES);
    std::mt19937 random(20261208);
    std::uniform_int_distribution<int> wait(0, 60);
    ResidentTextLint resident;
    for (int cycle = 0; cycle < 40; ++cycle) {
        resident.start();
        Sleep(static_cast<DWORD>(wait(random)));
        resident.stop();
        Sleep(static_cast<DWORD>(wait(random) / 4));
        resident.stop();
    }
    for (int instance = 0; instance < 5; ++instance) {
        ResidentTextLint passing;
        passing.start();
        Sleep(static_cast<DWORD>(wait(random)));
    }
    std::vector<std::string> left = descendantProcessNames();
    for (ULONGLONG end = GetTickCount64() + 10000;
         (containsName(left, "node.exe") || containsName(left, "cmd.exe")) &&
         GetTickCount64() < end;
         Sleep(50))
        left = descendantProcessNames();
    EXPECT_FALSE(containsName(left, "node.exe"));
    EXPECT_FALSE(containsName(left, "cmd.exe"));
}

} // namespace
} // namespace quill::test
