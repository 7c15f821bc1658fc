// The compact-report parser through the engine: findings, multi-line messages, failure
// texts with the findings kept before them, and the conversion to code page 932.
#include "lint/lint_result_controller.h"
#include "lint/lint_text_conversion.h"
#include "tests/support/test_paths.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <stdexcept>
#include <string>
#include <vector>

namespace quill {
namespace {

struct Finding {
    int line;
    int index;
    std::string message;
    std::string ruleName;
};

std::ostream &operator<<(std::ostream &out, const Finding &f) {
    return out << "(" << f.line << ", " << f.index << ", '" << f.message << "', '" << f.ruleName
               << "')";
}

std::vector<Finding> findingsOf(LintResultController &engine) {
    std::vector<Finding> out;
    for (const LintResult &r : engine.getLintResults()) {
        EXPECT_FALSE(r.autoFix);
        out.push_back({r.line, r.index, r.message, r.ruleName});
    }
    return out;
}

bool operator==(const Finding &a, const Finding &b) {
    return a.line == b.line && a.index == b.index && a.message == b.message &&
           a.ruleName == b.ruleName;
}

std::string fromHex(const std::string &hex) {
    std::string out;
    for (std::size_t i = 0; i + 1 < hex.size(); i += 2)
        out += static_cast<char>(std::stoi(hex.substr(i, 2), nullptr, 16));
    return out;
}

struct ParseCase {
    const char *name;
    std::string report;
    std::vector<Finding> expected;
};

class ParseReport : public testing::TestWithParam<ParseCase> {};

TEST_P(ParseReport, YieldsTheFindingsInReportOrder) {
    LintResultController engine;
    engine.parseLintResultInCompactFormat(GetParam().report);
    EXPECT_EQ(findingsOf(engine), GetParam().expected);
}

const std::string P = "C:\\T\\a.txt";

INSTANTIATE_TEST_SUITE_P(
    Reports, ParseReport,
    testing::Values(
        ParseCase{"TwoFindingsAndTheCount",
                  P + ": line 1, col 2, Error - x (r1)\n" + P +
                      ": line 4, col 1, Warning - y (r2)\n\n2 problems\n",
                  {{1, 2, "Error - x", "r1"}, {4, 1, "Warning - y", "r2"}}},
        ParseCase{"Empty", "", {}}, ParseCase{"OnlyLineBreaks", "\n\n\n", {}},
        ParseCase{"NoRuleGroupIsSkipped",
                  P + ": line 1, col 2, Error - no rule\n" + P + ": line 3, col 4, E - z (r)\n",
                  {{3, 4, "E - z", "r"}}},
        ParseCase{"LastGroupIsTheRule",
                  P + ": line 1, col 2, Error - a (b) c (rule-x)\n",
                  {{1, 2, "Error - a (b) c", "rule-x"}}},
        ParseCase{
            "MultiLineMessage",
            "C:\\T\\m.txt: line 2, col 5, Error - 句読点が多すぎます。\n"
            "次の読点を減らしてください:\n- \"、\"\n (ja-rule)\n"
            "C:\\T\\m.txt: line 9, col 1, Warning - 冗長です (r2)\n\n2 problems\n",
            {{2, 5,
              fromHex("4572726f72202d208be593c7935f82aa91bd82b782ac82dc82b78142208e9f82cc93c7935f"
                      "82f08cb882e782b582c482ad82be82b382a23a202d2022814122"),
              "ja-rule"},
             {9, 1, fromHex("5761726e696e67202d208fe792b782c582b7"), "r2"}}},
        ParseCase{"EmptyLinesInsideAMessageAreDropped",
                  P + ": line 1, col 1, Error - first\n\nsecond (r)\n",
                  {{1, 1, "Error - first second", "r"}}},
        ParseCase{"LinesAfterTheRuleLineAreNotMessage",
                  P + ": line 1, col 1, Error - see (x)\ntrailing words\n\n1 problem\n",
                  {{1, 1, "Error - see", "x"}}},
        ParseCase{"CommaMissingSkipsTheFindingAndItsLines",
                  P + ": line 1, col 2, Error - a (r1)\n" + P + ": line 2, col 3 no comma\n" +
                      "continued (r9)\n" + P + ": line 5, col 6, Error - b (r2)\n",
                  {{1, 2, "Error - a", "r1"}, {5, 6, "Error - b", "r2"}}},
        ParseCase{"LinesBeforeTheFirstLocationAreSkipped",
                  "textlint says (hello)\n" + P + ": line 7, col 8, Error - c (r3)\n",
                  {{7, 8, "Error - c", "r3"}}},
        ParseCase{"ColonsInsideAMessageLine",
                  P + ": line 1, col 1, Error - expected:\nC:\\other: x (r)\n",
                  {{1, 1, "Error - expected: C:\\other: x", "r"}}},
        ParseCase{"CrLfLineEnds",
                  P + ": line 1, col 2, Error - x (r1)\r\n" + P +
                      ": line 4, col 1, Error - y\r\nz (r2)\r\n",
                  {{1, 2, "Error - x", "r1"}, {4, 1, "Error - y z", "r2"}}},
        ParseCase{
            "ParenthesisInThePathIsNotARule", "C:\\T (1)\\a.txt: line 1, col 2, Error - x)\n", {}},
        ParseCase{
            "JapaneseIsCodePage932",
            "C:\\T\\Qui1A.tmp.txt: line 3, col 7, Error - 文末が不自然です (sample-rule)\n",
            {{3, 7, fromHex("4572726f72202d2095b6969682aa95738ea9915282c582b7"), "sample-rule"}}}),
    [](const testing::TestParamInfo<ParseCase> &info) { return std::string(info.param.name); });

struct FailureCase {
    const char *name;
    std::string report;
    std::string failureText;
    std::size_t findingsKept;
};

class ParseFailure : public testing::TestWithParam<FailureCase> {};

TEST_P(ParseFailure, ThrowsItsTextAndKeepsTheFindingsBefore) {
    LintResultController engine;
    try {
        engine.parseLintResultInCompactFormat(GetParam().report);
        ADD_FAILURE() << "no failure";
    } catch (const std::runtime_error &failure) {
        EXPECT_EQ(std::string(failure.what()), GetParam().failureText);
    }
    EXPECT_EQ(engine.getLintResults().size(), GetParam().findingsKept);
}

const std::string SCAN_FAILED =
    "sscanf_s(p, TEXT(\": line %d, col %d, \"), &nLine, &nIndex) failed.";
const std::string MESSAGE_FAILED =
    "LintResultController::parseLintResultInCompactFormat() failed. cannot convert "
    "MultiByteChar to WideChar for result of lint text.";
const std::string RULE_FAILED =
    "LintResultController::parseLintResultInCompactFormat() failed. cannot convert "
    "MultiByteChar to WideChar for rule name of lint.";

INSTANTIATE_TEST_SUITE_P(
    Reports, ParseFailure,
    testing::Values(
        FailureCase{"ScanOnTheFirstLine", P + ": a: b (r)\n" + P + ": line 1, col 1, E - x (r)\n",
                    SCAN_FAILED, 0},
        FailureCase{"ScanOnALaterLine",
                    P + ": line 1, col 1, E - x (r1)\n" + P + ": line 2, col 1, E - y (r2)\n" + P +
                        ": a: b (r)\n" + P + ": line 3, col 1, E - z (r3)\n",
                    SCAN_FAILED, 2},
        FailureCase{"EmptyRule",
                    P + ": line 1, col 1, E - x (r1)\n" + P + ": line 2, col 1, E - y ()\n",
                    RULE_FAILED, 1},
        FailureCase{"EmptyMessage",
                    P + ": line 1, col 1, E - x (r1)\n" + P + ": line 2, col 1, (r)\n",
                    MESSAGE_FAILED, 1},
        FailureCase{"FailureEndsTheParse",
                    P + ": line 1, col 1, E - x ()\n" + P + ": line 2, col 1, E - y (r)\n",
                    RULE_FAILED, 0}),
    [](const testing::TestParamInfo<FailureCase> &info) { return std::string(info.param.name); });

TEST(ParseRealReport, KeepsEveryFindingOfTextlintsOwnOutput) {
    // textlint 15.8's compact output for four rules, two of them with messages over
    // several lines (one with empty lines inside), its path changed to a Windows one.
    LintResultController engine;
    engine.parseLintResultInCompactFormat(
        test::readFileBytes(test::sourceDir() + "\\tests\\fuzz\\report\\seeds\\real_textlint.txt"));
    std::vector<Finding> findings = findingsOf(engine);
    ASSERT_EQ(findings.size(), 4u);
    EXPECT_EQ(findings[0].ruleName, "max-ten");
    EXPECT_EQ(findings[1], (Finding{2, 24,
                                    "Error - Line 2 sentence length(93) exceeds the maximum "
                                    "sentence length of 50. Over 43 characters.",
                                    "sentence-length"}));
    // The empty lines inside the message are gone: one blank joins each pair of lines.
    EXPECT_EQ(findings[2].line, 3);
    EXPECT_EQ(findings[2].ruleName, "no-doubled-joshi");
    EXPECT_EQ(findings[2].message.find("  "), std::string::npos);
    EXPECT_EQ(findings[3].ruleName, "ja-spacing/ja-no-space-between-full-width");
}

TEST(ParseLongTexts, AreCutAtACharacterBoundaryInsteadOfFailing) {
    std::string longJapanese;
    for (int i = 0; i < 2000; ++i)
        longJapanese += "文";
    std::string longRule(3000, 'r');
    LintResultController engine;
    engine.parseLintResultInCompactFormat(P + ": line 1, col 1, " + longJapanese + " (" + longRule +
                                          ")\n" + P + ": line 2, col 1, E - after (r2)\n");
    std::vector<LintResult> findings = engine.getLintResults();
    ASSERT_EQ(findings.size(), 2u);
    std::string expectedMessage;
    for (int i = 0; i < 511; ++i)
        expectedMessage += fromHex("95b6");
    EXPECT_EQ(findings[0].message, expectedMessage);
    EXPECT_EQ(findings[0].ruleName, std::string(1023, 'r'));
    EXPECT_EQ(findings[1].message, "E - after");
}

TEST(ParseLongTexts, KeepsSurrogatePairsWhole) {
    // U+20B9F takes two UTF-16 units; after "ab" the 1023rd unit would split a pair.
    std::string text = "ab";
    for (int i = 0; i < 1000; ++i)
        text += "\xF0\xA0\xAE\x9F";
    std::optional<std::wstring> wide = lintTextToWide(text);
    ASSERT_TRUE(wide);
    ASSERT_EQ(wide->size(), 1022u);
    EXPECT_TRUE(IS_LOW_SURROGATE(wide->back()));
}

} // namespace
} // namespace quill
