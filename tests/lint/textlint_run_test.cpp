// Check and auto-fix runs against the real textlint in the Wine prefix, started through
// its .cmd shim exactly as on a user's PC.
#include "tests/lint/run_fixture.h"
#include "tests/support/child_processes.h"

#include <windows.h>

#include <set>
#include <thread>

namespace quill::test {
namespace {

const std::vector<TextLintRule> JAPANESE_RULES = {
    rule("max-ten"), rule("no-doubled-joshi"), rule("preset-ja-spacing"), rule("sentence-length"),
    rule("no-mix-dearu-desumasu")};

// Three problems, one per line: a doubled particle, blanks between full-width characters,
// four commas in one sentence.
const char MAIL[] = "私は彼は好きです。\n"
                    "日本語 の文章です。\n"
                    "これは、とても、良い、文章、です。\n";

struct Expected {
    int line;
    int index;
    const char *rule;
};

void expectFindings(const std::vector<LintResult> &findings,
                    const std::vector<Expected> &expected) {
    ASSERT_EQ(findings.size(), expected.size());
    for (std::size_t i = 0; i < expected.size(); ++i) {
        EXPECT_EQ(findings[i].line, expected[i].line) << i;
        EXPECT_EQ(findings[i].index, expected[i].index) << i;
        EXPECT_EQ(findings[i].ruleName, expected[i].rule) << i;
        EXPECT_FALSE(findings[i].message.empty()) << i;
    }
}

const std::vector<Expected> MAIL_FINDINGS = {{1, 4, "no-doubled-joshi"},
                                             {2, 4, "ja-spacing/ja-no-space-between-full-width"},
                                             {3, 14, "max-ten"}};

class TextLintRun : public RunTest {};

// Someone else who may write into the temporary folder: beside every file that appears
// there it puts "<name>.js" and "<name>.cjs", which textlint's configuration loader runs
// for a configuration file "<name>"; each script makes the file `mark`.
class ScriptPlanter {
  public:
    ScriptPlanter(const std::string &folder, const std::string &mark)
        : folder_(folder), stop_(CreateEventA(nullptr, TRUE, FALSE, nullptr)) {
        std::string path = mark;
        for (char &c : path)
            if (c == '\\')
                c = '/';
        script_ = "require('fs').writeFileSync('" + path + "', 'ran'); module.exports = {};\n";
        thread_ = std::thread([this] { watch(); });
    }
    ~ScriptPlanter() {
        SetEvent(stop_);
        thread_.join();

        CloseHandle(stop_);
        for (const std::string &name : planted_)
            DeleteFileA((folder_ + "\\" + name).c_str());
    }

  private:
    // It looks every few milliseconds, as a program lying in wait would.
    void watch() {
        while (WaitForSingleObject(stop_, 5) == WAIT_TIMEOUT)
            plantBesideEveryFile();
    }
    void plantBesideEveryFile() {
        WIN32_FIND_DATAA data;
        HANDLE find = FindFirstFileA((folder_ + "\\*").c_str(), &data);
        if (find == INVALID_HANDLE_VALUE)
            return;
        do {
            std::string name = data.cFileName;
            if (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY || planted_.count(name))
                continue;
            for (const char *extension : {".js", ".cjs"}) {
                planted_.insert(name + extension);
                writeFileBytes(folder_ + "\\" + name + extension, script_);
            }
        } while (FindNextFileA(find, &data));
        FindClose(find);
    }

    std::string folder_;
    std::string script_;
    HANDLE stop_;
    std::set<std::string> planted_;
    std::thread thread_;
};

TEST_F(TextLintRun, CheckPublishesFindingsOnceAndLeavesNoFile) {
    useCommand(textlintCmdPath(), JAPANESE_RULES);
    bool result = false;
    std::string output = checkCapturingOutput(plainMail(MAIL), result);
    EXPECT_TRUE(result) << output;
    EXPECT_EQ(listener_.calls, 1);
    expectFindings(listener_.seen, MAIL_FINDINGS);
    EXPECT_TRUE(leftovers().empty());
}

// Not captured: this program's standard output stays what CTest gave it (a pipe), which
// Node.js cannot open under Wine when it inherits it.
TEST_F(TextLintRun, CheckDoesNotDependOnTheHostsStandardOutput) {
    useCommand(textlintCmdPath(), JAPANESE_RULES);
    EXPECT_TRUE(
        engine_.executeProofreadingTool(ProofreadingToolControlType::Check, plainMail(MAIL)));
    expectFindings(engine_.getLintResults(), MAIL_FINDINGS);
}

TEST_F(TextLintRun, HtmlMailIsCheckedAsHtmlWithThePlugin) {
    useCommand(textlintCmdPath(), JAPANESE_RULES);
    TextLintConfig::getInstance().update(
        [&](TextLintSettings &s) { s.enableProofreadingHTMLMail = true; });
    // Read as plain text the comment would break max-ten; as HTML only the paragraph counts.
    bool result = false;
    std::string output =
        checkCapturingOutput(htmlMail("<html><body>\n<!-- これは、とても、良い、文章、です -->\n"
                                      "<p>日本語 の 文章です。</p>\n</body></html>\n"),
                             result);
    EXPECT_TRUE(result) << output;
    expectFindings(engine_.getLintResults(), {{3, 7, "ja-spacing/ja-no-space-between-full-width"}});
    EXPECT_TRUE(leftovers().empty());
}

// textlint 15 reports a configuration it cannot load only by "No rules found" on standard
// output and the exit code 1; such a check must not pass as one without findings.
TEST_F(TextLintRun, ConfigurationTextlintCannotLoadFailsTheCheck) {
    TextLintRule broken = rule("max-ten");
    // Neither JSON nor YAML (textlint reads a configuration file without extension as either).
    broken.options = {"\"max\" 3"};
    const std::vector<std::vector<TextLintRule>> configurations = {
        {rule("no-doubled-joshi"), rule("no-such-rule-installed")}, {broken}};
    for (const auto &rules : configurations) {
        useCommand(textlintCmdPath(), JAPANESE_RULES);
        bool result = false;
        std::string output = checkCapturingOutput(plainMail(MAIL), result);
        ASSERT_TRUE(result) << output;

        useCommand(textlintCmdPath(), rules);
        output = checkCapturingOutput(plainMail(MAIL), result);
        EXPECT_FALSE(result);
        // textlint's own notice on standard output comes first.
        EXPECT_NE(
            output.find("textlint ended with exit code 1 and left an empty report.LastError: "),
            std::string::npos)
            << output;
        EXPECT_EQ(listener_.calls, 1);
        expectFindings(engine_.getLintResults(), MAIL_FINDINGS);
        EXPECT_TRUE(leftovers().empty());
        listener_.calls = 0;
    }
}

TEST_F(TextLintRun, FixReturnsTheFixedTextAndClearsTheFindings) {
    useCommand(textlintCmdPath(), JAPANESE_RULES);
    bool checked = false;
    checkCapturingOutput(plainMail(MAIL), checked);
    ASSERT_TRUE(checked);

    TextLintFixResult fixed;
    std::string output = fixCapturingOutput(plainMail(MAIL), fixed);
    EXPECT_TRUE(fixed.succeeded) << output;
    EXPECT_EQ(fixed.text, "私は彼は好きです。\n"
                          "日本語の文章です。\n"
                          "これは、とても、良い、文章、です。\n");
    EXPECT_TRUE(engine_.getLintResults().empty());
    EXPECT_EQ(listener_.calls, 1);
    EXPECT_TRUE(leftovers().empty());
}

TEST_F(TextLintRun, FixWithAConfigurationTextlintCannotLoadLeavesTheText) {
    useCommand(textlintCmdPath(), {rule("no-such-rule-installed")});
    TextLintFixResult fixed;
    std::string output = fixCapturingOutput(plainMail(MAIL), fixed);
    EXPECT_FALSE(fixed.succeeded);
    EXPECT_EQ(fixed.text, MAIL);
    EXPECT_NE(output.find("exit code 1"), std::string::npos) << output;
    EXPECT_TRUE(leftovers().empty());
}

// With the run's files in a folder of its own, nothing planted in the temporary folder
// sits beside its configuration: textlint works and runs none of it.
TEST_F(TextLintRun, ScriptsPlantedInTheTemporaryFolderNeverRun) {
    TempDir marks;
    const std::string mark = marks.file("planted-script-ran");
    useCommand(textlintCmdPath(), JAPANESE_RULES);
    ScriptPlanter planter(tempFolder_, mark);
    // The planter is quick enough for files made in the temporary folder itself.
    writeFileBytes(temp_->file("probe.tmp"), "");
    ASSERT_TRUE(waitForFile(temp_->file("probe.tmp.cjs"), 10000));
    DeleteFileA(temp_->file("probe.tmp").c_str());

    bool result = false;
    std::string output = checkCapturingOutput(plainMail(MAIL), result);
    EXPECT_TRUE(result) << output;
    expectFindings(engine_.getLintResults(), MAIL_FINDINGS);
    TextLintFixResult fixed;
    output = fixCapturingOutput(plainMail("日本語 の文章です。\n"), fixed);
    EXPECT_TRUE(fixed.succeeded) << output;
    EXPECT_EQ(fixed.text, "日本語の文章です。\n");
    EXPECT_EQ(GetFileAttributesA(mark.c_str()), INVALID_FILE_ATTRIBUTES);
    EXPECT_TRUE(leftovers().empty());
}

// A user name with a blank puts one into every temporary file, and textlint may live in a
// folder with a blank: every path must still reach textlint whole.
TEST_F(TextLintRun, PathsWithBlanksReachTextlintWhole) {
    std::string blankTemp = temp_->file("Taro Yamada");
    ASSERT_TRUE(CreateDirectoryA(blankTemp.c_str(), nullptr));
    useTempFolder(blankTemp);
    const std::string commands[] = {textlintCmdPath(), "C:\\tl dir\\textlint.cmd"};
    for (const std::string &command : commands) {
        useCommand(command, JAPANESE_RULES);
        listener_.calls = 0;
        bool result = false;
        std::string output = checkCapturingOutput(plainMail(MAIL), result);
        EXPECT_TRUE(result) << command << "\n" << output;
        EXPECT_EQ(listener_.calls, 1) << command;
        expectFindings(engine_.getLintResults(), MAIL_FINDINGS);

        TextLintFixResult fixed;
        output = fixCapturingOutput(plainMail("日本語 の文章です。\n"), fixed);
        EXPECT_TRUE(fixed.succeeded) << command << "\n" << output;
        EXPECT_EQ(fixed.text, "日本語の文章です。\n") << command;
        EXPECT_TRUE(leftovers().empty()) << command;
    }
}

} // namespace
} // namespace quill::test
