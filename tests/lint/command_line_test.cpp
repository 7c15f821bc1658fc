// The textlint command lines, the Node.js warning filter and the growing report buffer.
#include "lint/report_buffer.h"
#include "lint/textlint_command.h"
#include "lint/textlint_error_output.h"

#include <gtest/gtest.h>

namespace quill {
namespace {

TextLintCommandFiles files(const std::string &command, const std::string &dir) {
    TextLintCommandFiles f;
    f.commandPath = command;
    f.configFile = dir + "C1";
    f.reportFile = dir + "R1";
    f.inputFile = dir + "I1.txt";
    f.errorFile = dir + "E1";
    f.interpreterPath = "C:\\windows\\system32\\cmd.exe";
    return f;
}

struct LineCase {
    const char *command;
    const char *dir;
    const char *check;
    const char *fix;
};

TEST(TextLintCommandLine, QuotesOnlyWhatNeedsQuotes) {
    const LineCase cases[] = {
        // Without blanks the lines are the plain formats byte for byte.
        {"C:\\tl\\textlint.cmd", "", "C:\\tl\\textlint.cmd -c C1 -o R1 -f compact I1.txt 2> E1",
         "C:\\tl\\textlint.cmd --fix -c C1 I1.txt 2> E1"},
        // A temporary folder with a blank (a user name "Taro Yamada").
        {"C:\\tl\\textlint.cmd", "C:\\Users\\Taro Yamada\\Temp\\",
         "C:\\tl\\textlint.cmd -c \"C:\\Users\\Taro Yamada\\Temp\\C1\" -o \"C:\\Users\\Taro "
         "Yamada\\Temp\\R1\" -f compact \"C:\\Users\\Taro Yamada\\Temp\\I1.txt\" 2> "
         "\"C:\\Users\\Taro Yamada\\Temp\\E1\"",
         "C:\\tl\\textlint.cmd --fix -c \"C:\\Users\\Taro Yamada\\Temp\\C1\" \"C:\\Users\\Taro "
         "Yamada\\Temp\\I1.txt\" 2> \"C:\\Users\\Taro Yamada\\Temp\\E1\""},
        // A command under "Program Files (x86)": the interpreter gets the line whole, in one
        // pair of quotes that its /s takes off again.
        {"C:\\Program Files (x86)\\tl\\textlint.cmd", "T\\",
         "C:\\windows\\system32\\cmd.exe /s /c \"\"C:\\Program Files (x86)\\tl\\textlint.cmd\" "
         "-c T\\C1 -o T\\R1 -f compact T\\I1.txt 2> T\\E1\"",
         "C:\\windows\\system32\\cmd.exe /s /c \"\"C:\\Program Files (x86)\\tl\\textlint.cmd\" "
         "--fix -c T\\C1 T\\I1.txt 2> T\\E1\""},
        // The path as users typed it for the old behaviour, already in quotes.
        {"\"C:\\a b\\t.cmd\"", "",
         "C:\\windows\\system32\\cmd.exe /s /c \"\"C:\\a b\\t.cmd\" -c "
         "C1 -o R1 -f compact I1.txt 2> E1\"",
         "C:\\windows\\system32\\cmd.exe /s /c \"\"C:\\a b\\t.cmd\" --fix -c C1 I1.txt 2> E1\""},
        {"\"C:\\tl\\textlint.cmd\"", "", "C:\\tl\\textlint.cmd -c C1 -o R1 -f compact I1.txt 2> E1",
         "C:\\tl\\textlint.cmd --fix -c C1 I1.txt 2> E1"},
        // Characters the interpreter reads as operators or separators.
        {"C:\\tl\\textlint.cmd", "C:\\T&J,x\\",
         "C:\\tl\\textlint.cmd -c \"C:\\T&J,x\\C1\" -o \"C:\\T&J,x\\R1\" -f compact "
         "\"C:\\T&J,x\\I1.txt\" 2> \"C:\\T&J,x\\E1\"",
         "C:\\tl\\textlint.cmd --fix -c \"C:\\T&J,x\\C1\" \"C:\\T&J,x\\I1.txt\" 2> "
         "\"C:\\T&J,x\\E1\""},
        // The bundled textlint: node.exe runs textlint's script beside it, with no
        // interpreter and no redirection (the run hands over the error file itself), also
        // under a folder with blanks and brackets and with the letter case a user may type.
        {"C:\\Becky\\PlugIns\\Quillcheck-textlint\\node.exe", "",
         "C:\\Becky\\PlugIns\\Quillcheck-textlint\\node.exe "
         "C:\\Becky\\PlugIns\\Quillcheck-textlint\\node_modules\\textlint\\bin\\textlint.js -c C1 "
         "-o R1 -f compact I1.txt",
         "C:\\Becky\\PlugIns\\Quillcheck-textlint\\node.exe "
         "C:\\Becky\\PlugIns\\Quillcheck-textlint\\node_modules\\textlint\\bin\\textlint.js --fix "
         "-c C1 I1.txt"},
        {"\"C:\\Program Files (x86)\\B2\\Quillcheck-textlint\\Node.EXE\"", "T\\",
         "\"C:\\Program Files (x86)\\B2\\Quillcheck-textlint\\Node.EXE\" \"C:\\Program Files "
         "(x86)\\B2\\Quillcheck-textlint\\node_modules\\textlint\\bin\\textlint.js\" -c T\\C1 -o "
         "T\\R1 -f compact T\\I1.txt",
         "\"C:\\Program Files (x86)\\B2\\Quillcheck-textlint\\Node.EXE\" \"C:\\Program Files "
         "(x86)\\B2\\Quillcheck-textlint\\node_modules\\textlint\\bin\\textlint.js\" --fix -c "
         "T\\C1 T\\I1.txt"},
    };
    for (const LineCase &c : cases) {
        EXPECT_EQ(makeCheckCommandLine(files(c.command, c.dir)).value_or("<none>"), c.check);
        EXPECT_EQ(makeFixCommandLine(files(c.command, c.dir)).value_or("<none>"), c.fix);
    }
}

// The resident textlint's lines start node.exe the same way; a batch file keeps its
// interpreter, and a file merely named like node.exe in its folder name does not count.
TEST(TextLintCommandLine, ResidentLinesStartNodeWithoutInterpreter) {
    const std::string node = "C:\\P F\\Quillcheck-textlint\\node.exe";
    const std::string script =
        "\"C:\\P F\\Quillcheck-textlint\\node_modules\\textlint\\bin\\textlint.js\"";
    EXPECT_EQ(makeResidentCommandLine(files(node, "")).value_or(""),
              "\"" + node + "\" " + script + " --mcp -c C1");
    EXPECT_EQ(makeVersionCommandLine(files(node, "")).value_or(""),
              "\"" + node + "\" " + script + " --version");
    EXPECT_EQ(
        makePrintConfigCommandLine(files("C:\\x\\node.exe", "")).value_or(""),
        "C:\\x\\node.exe C:\\x\\node_modules\\textlint\\bin\\textlint.js --print-config -c C1");
    EXPECT_TRUE(startsWithoutInterpreter("\"C:\\x\\NODE.exe\""));
    EXPECT_FALSE(startsWithoutInterpreter("C:\\node.exe\\textlint.cmd"));
    EXPECT_FALSE(startsWithoutInterpreter("C:\\x\\mynode.exe"));
    EXPECT_EQ(makeVersionCommandLine(files("C:\\P F\\textlint.cmd", "")).value_or(""),
              "C:\\windows\\system32\\cmd.exe /s /c \"\"C:\\P F\\textlint.cmd\" --version\"");
}

TEST(TextLintCommandLine, LongerThanItsBufferIsRefused) {
    // " -c C1 -o R1 -f compact I1.txt 2> E1" is 38 bytes; 1023 bytes and the NUL fit.
    const std::string tail = " -c C1 -o R1 -f compact I1.txt 2> E1";
    std::string fits(1023 - tail.size(), 'x');
    std::string over(1024 - tail.size(), 'x');
    EXPECT_EQ(makeCheckCommandLine(files(fits, "")).value_or("").size(), 1023u);
    EXPECT_FALSE(makeCheckCommandLine(files(over, "")).has_value());
    EXPECT_FALSE(makeFixCommandLine(files(std::string(1020, 'x'), "")).has_value());
}

TEST(NodeWarningFilter, OnlyWarningsAndTheirHintAreNoise) {
    const std::string warning =
        "(node:1234) [DEP0040] DeprecationWarning: The `punycode` module is deprecated.";
    const std::string hint =
        "(Use `node --trace-deprecation ...` to show where the warning was created)";
    struct Case {
        std::string bytes;
        bool fails;
    };
    const Case cases[] = {
        {"", false},
        {warning + "\n" + hint + "\n", false},
        {warning + "\r\n" + hint + "\r\n", false},
        {warning, false},
        {"(node:77) ExperimentalWarning: CommonJS module loading\n"
         "(Use `node --trace-warnings ...` to show where the warning was created)\n",
         false},
        {warning + "\nError: Cannot find module 'textlint-rule-x'\n", true},
        {"\n", true},
        {" ", true},
        {warning + "\n\n", true},
        {"(node:) DeprecationWarning: x\n", true},
        {"(node:12)DeprecationWarning\n", true},
        {"(node:12) \n", true},
        {"(node:12) Warning: Setting the NODE_TLS_REJECT_UNAUTHORIZED environment variable\n",
         false},
        {"(node:12) [DEP0005] DeprecationWarning\n", true},
        {"(node:12) [DEP0005 DeprecationWarning: x\n", true},
        {"(node:12) UnhandledPromiseRejectionWarning: Error: Cannot find module 'x'\n", true},
        {"x(node:12) DeprecationWarning: x\n", true},
        {hint + " trailing\n", true},
        {"TypeError: Cannot read properties of undefined\n", true},
    };
    for (const Case &c : cases)
        EXPECT_EQ(errorOutputMeansFailure(c.bytes), c.fails) << c.bytes;
}

TEST(ReportBuffer, GrowsOnlyWhenTheNextChunkAndItsNulDoNotFit) {
    struct Case {
        std::size_t bytes;
        std::uint32_t capacity;
    };
    // Chunks of 255 bytes, as the runs read them.
    const Case cases[] = {{0, 20000},     {19999, 20000}, {20000, 40000},
                          {39999, 40000}, {40000, 80000}, {100000, 160000}};
    for (const Case &c : cases) {
        std::string report(c.bytes, 'a');
        for (std::size_t i = 0; i < report.size(); ++i)
            report[i] = static_cast<char>('a' + i % 26);
        ReportBuffer buffer;
        ASSERT_TRUE(buffer.allocate());
        for (std::size_t at = 0; at < report.size(); at += 255)
            ASSERT_TRUE(
                buffer.append(report.data() + at, std::min<std::size_t>(255, report.size() - at)));
        EXPECT_EQ(buffer.capacity(), c.capacity) << c.bytes;
        EXPECT_EQ(buffer.text(), report);
    }
}

TEST(ReportBuffer, TextEndsAtTheFirstNul) {
    ReportBuffer buffer;
    ASSERT_TRUE(buffer.allocate());
    ASSERT_TRUE(buffer.append("ab\0cd", 5));
    EXPECT_EQ(buffer.size(), 5u);
    EXPECT_EQ(buffer.text(), "ab");
}

} // namespace
} // namespace quill
