// Reading the settings from real INI files: values, unknown and duplicate keys, the rules
// and weights texts, and the cases that stop the load.
#include "config/text_lint_config.h"
#include "tests/support/test_paths.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <climits>
#include <stdexcept>

namespace quill {
namespace {

using test::TempDir;
using test::writeFileBytes;
using ::testing::ElementsAre;

// A fresh record filled from a section holding `lines` (each "key=value").
class ConfigReading : public ::testing::Test {
  protected:
    std::string writeIni(const std::vector<std::string> &lines) {
        std::string text = "[Quillcheck]\r\n";
        for (const std::string &line : lines)
            text += line + "\r\n";
        std::string path = dir.file("q" + std::to_string(++files) + ".ini");
        writeFileBytes(path, text);
        return path;
    }
    bool read(const std::vector<std::string> &lines) {
        return config.readConfigFile(writeIni(lines));
    }

    TempDir dir;
    int files = 0;
    TextLintConfig config;
};

TEST_F(ConfigReading, MissingFileOrSectionKeepsDefaults) {
    writeFileBytes(dir.file("other.ini"), "[Other]\r\nResultWindowX=1\r\n");
    for (const std::string &path : {dir.file("none.ini"), dir.file("other.ini")}) {
        TextLintConfig fresh;
        EXPECT_TRUE(fresh.readConfigFile(path));
        EXPECT_EQ(fresh.snapshot().resultWindowX, 500);
        EXPECT_EQ(fresh.snapshot().resultWindowHeight, 250);
        EXPECT_EQ(fresh.getTextLintCmdPath(), DEFAULT_TEXTLINT_CMD_PATH);
        EXPECT_FALSE(fresh.snapshot().enableEvaluateValueThreshold);
        EXPECT_TRUE(fresh.getRules().empty());
        TextLintSettings settings = fresh.snapshot();
        EXPECT_TRUE(settings.enableResidentTextLint);
        EXPECT_TRUE(settings.excludeQuotedLines);
        EXPECT_EQ(settings.quoteMarks, ">\x81\x84"); // ">＞" in CP932
        EXPECT_TRUE(settings.excludeSignature);
        EXPECT_TRUE(settings.checkMachineDependentCharacters);
        EXPECT_TRUE(settings.checkWhileTyping);
        EXPECT_EQ(settings.checkWhileTypingDelay, 1500);
    }
}

TEST_F(ConfigReading, PlainValues) {
    ASSERT_TRUE(read({"ResultWindowX=12abc", "ResultWindowY=abc", "ResultWindowWidth=-3",
                      "ResultWindowHeight=99999999999", "EvaluateValueThreshold=  42",
                      "EnableEvaluateValueThreshold=TRUE", "EnableProofreadingHTMLMail=yes",
                      "TextLintCmdPath=D:\\tools\\textlint.cmd", "EnableResidentTextLint=false",
                      "ExcludeQuotedLines=no", "QuoteMarks=|#", "ExcludeSignature=True",
                      "CheckMachineDependentCharacters=false"}));
    EXPECT_EQ(config.snapshot().resultWindowX, 12);
    EXPECT_EQ(config.snapshot().resultWindowY, 0);
    EXPECT_EQ(config.snapshot().resultWindowWidth, -3);
    EXPECT_EQ(config.snapshot().resultWindowHeight, INT_MAX);
    EXPECT_EQ(config.snapshot().evaluateValueThreshold, 42);
    EXPECT_TRUE(config.snapshot().enableEvaluateValueThreshold);
    EXPECT_FALSE(config.snapshot().enableProofreadingHTMLMail);
    EXPECT_EQ(config.getTextLintCmdPath(), "D:\\tools\\textlint.cmd");
    TextLintSettings settings = config.snapshot();
    EXPECT_FALSE(settings.enableResidentTextLint);
    EXPECT_FALSE(settings.excludeQuotedLines);
    EXPECT_EQ(settings.quoteMarks, "|#");
    EXPECT_TRUE(settings.excludeSignature);
    EXPECT_FALSE(settings.checkMachineDependentCharacters);
}

// A pause shorter than 300 ms would check between keystrokes, one over 10 s never.
TEST_F(ConfigReading, PauseBeforeACheckWhileTypingIsHeldToItsRange) {
    const std::pair<const char *, int> cases[] = {
        {"299", 300},     {"300", 300}, {"2500", 2500}, {"10000", 10000},
        {"10001", 10000}, {"-5", 300},  {"abc", 300},   {"99999999999", 10000},
    };
    for (const auto &[value, expected] : cases) {
        ASSERT_TRUE(read({std::string("CheckWhileTypingDelay=") + value, "CheckWhileTyping=no"}));
        EXPECT_EQ(config.snapshot().checkWhileTypingDelay, expected) << value;
        EXPECT_FALSE(config.snapshot().checkWhileTyping);
    }
}

TEST_F(ConfigReading, EmptyCommandPathIsKept) {
    ASSERT_TRUE(read({"TextLintCmdPath="}));
    EXPECT_EQ(config.getTextLintCmdPath(), "");
}

TEST_F(ConfigReading, UnknownKeyIsReportedAndIgnored) {
    ::testing::internal::CaptureStdout();
    bool ok = read({"Foo=1", "resultwindowx=9"});
    std::string out = ::testing::internal::GetCapturedStdout();
    EXPECT_TRUE(ok);
    EXPECT_EQ(out, "ignore unknown config: Foo\nignore unknown config: resultwindowx\n");
    EXPECT_EQ(config.snapshot().resultWindowX, 500);
}

TEST_F(ConfigReading, LaterDuplicateKeyWins) {
    ASSERT_TRUE(read({"EvaluateValueThreshold=1", "EvaluateWeightList={\"a\":1}",
                      "TextLintConfig={\"rules\":{\"a\":true}}", "EvaluateValueThreshold=2",
                      "EvaluateWeightList={\"a\":3}"}));
    EXPECT_EQ(config.snapshot().evaluateValueThreshold, 2);
    ASSERT_EQ(config.getRules().size(), 1u);
    EXPECT_EQ(config.getRules()[0].weight, 3);
}

TEST_F(ConfigReading, RulesSortedWithSortedCompactFragmentsAndWeights) {
    ASSERT_TRUE(read({"TextLintConfig={\"rules\":{\"b\":true,\"a\":{\"min\":1,\"max\" : 3}}}",
                      "EvaluateWeightList={\"a\":5}"}));
    auto rules = config.getRules();
    ASSERT_EQ(rules.size(), 2u);
    EXPECT_EQ(rules[0].name, "a");
    EXPECT_TRUE(rules[0].enabled);
    EXPECT_EQ(rules[0].weight, 5);
    EXPECT_THAT(rules[0].options, ElementsAre("\"max\":3", "\"min\":1"));
    EXPECT_EQ(rules[1].name, "b");
    EXPECT_TRUE(rules[1].enabled);
    EXPECT_EQ(rules[1].weight, 0);
    EXPECT_TRUE(rules[1].options.empty());
}

TEST_F(ConfigReading, RuleValuesOtherThanBooleanOrObjectAreDisabled) {
    ASSERT_TRUE(read({"TextLintConfig={\"rules\":{\"n\":3,\"s\":\"x\",\"l\":[1],\"z\":null,"
                      "\"f\":false,\"e\":{}}}"}));
    auto rules = config.getRules();
    ASSERT_EQ(rules.size(), 6u);
    for (const TextLintRule &rule : rules) {
        EXPECT_EQ(rule.enabled, rule.name == "e") << rule.name;
        EXPECT_TRUE(rule.options.empty()) << rule.name;
    }
}

TEST_F(ConfigReading, UnparseableRulesTextGivesNoRules) {
    for (const char *value : {"", "null", "{\"rules\":{\"a\":tru}}", "[1]", "{\"a\":true}"}) {
        TextLintConfig fresh;
        EXPECT_TRUE(fresh.readConfigFile(writeIni({std::string("TextLintConfig=") + value})))
            << value;
        EXPECT_TRUE(fresh.getRules().empty()) << value;
    }
}

TEST_F(ConfigReading, TextAfterCompleteWeightListIsIgnored) {
    ASSERT_TRUE(
        read({"TextLintConfig={\"rules\":{\"a\":true}}", "EvaluateWeightList={\"a\":5} x"}));
    EXPECT_EQ(config.getRules().at(0).weight, 5);
}

TEST_F(ConfigReading, UnreadableRulesOrWeightsLoadNoRuleAndAreNamedOnce) {
    const std::string rulesA = "TextLintConfig={\"rules\":{\"a\":true}}";
    struct Case {
        std::vector<std::string> lines;
        std::size_t rules;
        std::vector<std::string> unreadable;
    };
    const Case cases[] = {
        // A blank weights value holds nothing: the rules load with weight 0.
        {{rulesA, "EvaluateWeightList="}, 1, {}},
        {{rulesA, "EvaluateWeightList=null"}, 0, {"EvaluateWeightList"}},
        {{rulesA, "EvaluateWeightList={\"a\":}"}, 0, {"EvaluateWeightList"}},
        {{rulesA, "EvaluateWeightList={\"a\":\"5\"}"}, 0, {"EvaluateWeightList"}},
        {{rulesA, "EvaluateWeightList=[5]"}, 0, {"EvaluateWeightList"}},
        // JSON5, which textlint reads but the settings do not.
        {{"TextLintConfig={\"rules\":{\"a\":{max: 120}}}", "EvaluateWeightList={\"a\":5}"},
         0,
         {"TextLintConfig"}},
        {{"TextLintConfig={\"rules\":3}"}, 0, {"TextLintConfig"}},
        {{"TextLintConfig=[1]", "EvaluateWeightList={\"a\":}"},
         0,
         {"TextLintConfig", "EvaluateWeightList"}},
    };
    for (const Case &c : cases) {
        TextLintConfig fresh;
        std::vector<std::string> lines = c.lines;
        lines.push_back("ResultWindowX=7");
        ::testing::internal::CaptureStdout();
        EXPECT_TRUE(fresh.readConfigFile(writeIni(lines))) << c.lines.back();
        ::testing::internal::GetCapturedStdout();
        EXPECT_EQ(fresh.snapshot().resultWindowX, 7);
        EXPECT_EQ(fresh.getRules().size(), c.rules) << c.lines.back();
        EXPECT_EQ(fresh.takeUnreadableKeys(), c.unreadable) << c.lines.back();
        EXPECT_TRUE(fresh.takeUnreadableKeys().empty());
    }
}

TEST_F(ConfigReading, EscapedCharactersWithoutAnsiEquivalentStayAsEscapes) {
    ASSERT_EQ(GetACP(), 932u) << "the tests run under LC_ALL=ja_JP.UTF-8";
    // U+00E9 has no CP932 code: the fragment keeps it as an escape rather than a '?'.
    ASSERT_TRUE(read({"TextLintConfig={\"rules\":{\"a\":{\"w\":\"\\u00e9\"}}}"}));
    EXPECT_THAT(config.getRules().at(0).options, ElementsAre("\"w\":\"\\u00e9\""));
}

} // namespace
} // namespace quill
