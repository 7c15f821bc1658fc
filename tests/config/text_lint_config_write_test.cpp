// Writing the settings to a real INI file and reading them back: key order and formats,
// the rules' round trip, names and texts that need care, and a section past 40 KB.
#include "config/text_lint_config.h"
#include "tests/support/test_paths.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

namespace quill {
namespace {

using test::readFileBytes;
using test::TempDir;
using ::testing::ElementsAre;

TextLintRule rule(std::string name, bool enabled, int weight, std::vector<std::string> options) {
    return TextLintRule{std::move(name), enabled, weight, std::move(options)};
}

class ConfigWriting : public ::testing::Test {
  protected:
    // Writes `config` into a new file, then reads it into `reloaded`.
    void saveAndReload() {
        std::string path = dir.file("q" + std::to_string(++files) + ".ini");
        config.setIniFilePath(path);
        ASSERT_TRUE(config.saveConfig());
        written = readFileBytes(path);
        reloaded.setRules({});
        ASSERT_TRUE(reloaded.readConfigFile(path));
    }

    TempDir dir;
    int files = 0;
    TextLintConfig config;
    TextLintConfig reloaded;
    std::string written;
};

TEST_F(ConfigWriting, KeysInOrderWithTheirFormats) {
    config.update([&](TextLintSettings &s) {
        s.resultWindowX = -20;
        s.resultWindowWidth = 640;
        s.enableEvaluateValueThreshold = true;
        s.evaluateValueThreshold = 15;
    });
    config.update([](TextLintSettings &s) {
        s.enableResidentTextLint = false;
        s.quoteMarks = "|";
        s.excludeSignature = false;
        s.checkMachineDependentCharacters = false;
        s.checkDateWeekdays = false;
        s.checkHonorifics = false;
        s.remindForgottenAttachment = false;
        s.remindMismatchedAddressee = false;
        s.checkWhileTyping = false;
        s.checkWhileTypingDelay = 700;
    });
    config.setRules({rule("rule-a", true, 2, {"\"max\":3"}), rule("rule-b", false, 1, {})});
    saveAndReload();
    EXPECT_EQ(written, "[Quillcheck]\r\n"
                       "ResultWindowX=-20\r\n"
                       "ResultWindowY=250\r\n"
                       "ResultWindowWidth=640\r\n"
                       "ResultWindowHeight=250\r\n"
                       "TextLintCmdPath=C:\\Users\\Administrator\\AppData\\Roaming\\npm\\"
                       "textlint.cmd\r\n"
                       "EnableEvaluateValueThreshold=true\r\n"
                       "EnableProofreadingHTMLMail=false\r\n"
                       "EvaluateValueThreshold=15\r\n"
                       "EvaluateWeightList={\"rule-a\":2,\"rule-b\":1}\r\n"
                       "TextLintConfig={\"rules\":{\"rule-a\":{\"max\":3},\"rule-b\":false}}\r\n"
                       "DisabledRules=[]\r\n"
                       "EnableResidentTextLint=false\r\n"
                       "ExcludeQuotedLines=true\r\n"
                       "QuoteMarks=|\r\n"
                       "ExcludeSignature=false\r\n"
                       "CheckMachineDependentCharacters=false\r\n"
                       "CheckDateWeekdays=false\r\n"
                       "CheckHonorifics=false\r\n"
                       "RemindForgottenAttachment=false\r\n"
                       "RemindMismatchedAddressee=false\r\n"
                       "CheckWhileTyping=false\r\n"
                       "CheckWhileTypingDelay=700\r\n"
                       "HiddenFindings=[]\r\n");
    EXPECT_EQ(reloaded.snapshot().resultWindowX, -20);
    EXPECT_EQ(reloaded.snapshot().resultWindowWidth, 640);
    EXPECT_TRUE(reloaded.snapshot().enableEvaluateValueThreshold);
    EXPECT_EQ(reloaded.snapshot().evaluateValueThreshold, 15);
    TextLintSettings settings = reloaded.snapshot();
    EXPECT_FALSE(settings.enableResidentTextLint);
    EXPECT_TRUE(settings.excludeQuotedLines);
    EXPECT_EQ(settings.quoteMarks, "|");
    EXPECT_FALSE(settings.excludeSignature);
    EXPECT_FALSE(settings.checkMachineDependentCharacters);
    EXPECT_FALSE(settings.checkDateWeekdays || settings.checkHonorifics ||
                 settings.remindForgottenAttachment || settings.remindMismatchedAddressee);
    EXPECT_FALSE(settings.checkWhileTyping);
    EXPECT_EQ(settings.checkWhileTypingDelay, 700);
}

TEST_F(ConfigWriting, NoRulesWriteEmptyObjects) {
    saveAndReload();
    EXPECT_NE(written.find("EvaluateWeightList={}\r\nTextLintConfig={}\r\n"), std::string::npos);
    EXPECT_NE(written.find("QuoteMarks=>\x81\x84\r\n"), std::string::npos);
    EXPECT_TRUE(reloaded.getRules().empty());
}

TEST_F(ConfigWriting, RulesComeBackSortedCompactAndSwitchedOffWithTheirOptions) {
    config.setRules({rule("rule-b", false, 1, {}), rule("rule-c", true, 0, {}),
                     rule("rule-a", false, 2, {"\"strict\":true", "\"max\" : 3"})});
    saveAndReload();
    auto rules = reloaded.getRules();
    ASSERT_EQ(rules.size(), 3u);
    EXPECT_EQ(rules[0].name, "rule-a");
    EXPECT_FALSE(rules[0].enabled);
    EXPECT_EQ(rules[0].weight, 2);
    EXPECT_THAT(rules[0].options, ElementsAre("\"max\":3", "\"strict\":true"));
    EXPECT_EQ(rules[1].name, "rule-b");
    EXPECT_FALSE(rules[1].enabled);
    EXPECT_EQ(rules[1].weight, 1);
    EXPECT_EQ(rules[2].name, "rule-c");
    EXPECT_TRUE(rules[2].enabled);
}

// Hidden findings, a rule with options switched off, a rule of a preset and an own check
// switched off: all come back after a restart, textlint's configuration does not change by a
// hidden finding, and a file of the earlier version reads as it did.
TEST_F(ConfigWriting, FindingChoicesComeBackAndLeaveTextlintsConfigurationAlone) {
    config.setRules({rule("max-ten", true, 2, {"\"max\":3"}),
                     rule("preset-ja-spacing", true, 1, {}),
                     rule("quillcheck/half-width-kana", true, 4, {})});
    const std::string before = config.buildTextLintConfigJson();
    const HiddenFinding hidden{"max-ten", "\x93\xC7\x93\x5F \"3\" \\"}; // 読点 "3" \ (CP932)
    EXPECT_TRUE(config.addHiddenFinding(hidden));
    EXPECT_FALSE(config.addHiddenFinding(hidden));
    EXPECT_EQ(config.buildTextLintConfigJson(), before);

    EXPECT_TRUE(config.switchRuleOff("max-ten"));
    EXPECT_TRUE(config.switchRuleOff("ja-spacing/ja-no-space-between-full-width"));
    EXPECT_TRUE(config.switchRuleOff("quillcheck/machine-dependent-character"));
    EXPECT_FALSE(config.switchRuleOff("not-configured"));
    EXPECT_EQ(config.buildTextLintConfigJson(),
              "{\"rules\":{\"max-ten\":false,"
              "\"preset-ja-spacing\":{\"ja-no-space-between-full-width\":false}}}");
    saveAndReload();
    EXPECT_NE(
        written.find("DisabledRules=[\"max-ten\",\"quillcheck/machine-dependent-character\"]"),
        std::string::npos)
        << written;
    auto rules = reloaded.getRules();
    ASSERT_EQ(rules.size(), 4u);
    EXPECT_EQ(rules[0].name, "max-ten");
    EXPECT_FALSE(rules[0].enabled);
    EXPECT_EQ(rules[0].weight, 2);
    EXPECT_THAT(rules[0].options, ElementsAre("\"max\":3"));
    EXPECT_TRUE(rules[1].enabled);
    EXPECT_FALSE(reloaded.isOwnRuleOff("quillcheck/half-width-kana"));
    EXPECT_TRUE(reloaded.isOwnRuleOff("quillcheck/machine-dependent-character"));
    EXPECT_THAT(reloaded.getHiddenFindings(), ElementsAre(hidden));
    EXPECT_EQ(reloaded.buildTextLintConfigJson(), config.buildTextLintConfigJson());

    const std::string earlier = dir.file("earlier.ini");
    test::writeFileBytes(earlier, "[Quillcheck]\r\nTextLintConfig={\"rules\":{\"max-ten\":"
                                  "{\"max\":3},\"quillcheck/half-width-kana\":false}}\r\n");
    TextLintConfig old;
    ASSERT_TRUE(old.readConfigFile(earlier));
    // There an own check's row was off only for want of a tick: it counts as on.
    ASSERT_EQ(old.getRules().size(), 2u);
    EXPECT_TRUE(old.getRules()[0].enabled);
    EXPECT_FALSE(old.isOwnRuleOff("quillcheck/half-width-kana"));
    EXPECT_TRUE(old.getHiddenFindings().empty());
}

TEST_F(ConfigWriting, InvalidFragmentLosesTheRulesButNotTheLoad) {
    config.setRules({rule("a", true, 1, {"max:3"}), rule("b", true, 2, {})});
    saveAndReload();
    EXPECT_TRUE(reloaded.getRules().empty());
}

TEST_F(ConfigWriting, NamesWithQuotesBackslashesAndTabsRoundTrip) {
    config.setRules(
        {rule("a\"b", true, 1, {}), rule("c\\d", false, 2, {}), rule("e\tf", true, 3, {})});
    saveAndReload();
    auto rules = reloaded.getRules();
    ASSERT_EQ(rules.size(), 3u);
    EXPECT_EQ(rules[0].name, "a\"b");
    EXPECT_EQ(rules[0].weight, 1);
    EXPECT_EQ(rules[1].name, "c\\d");
    EXPECT_FALSE(rules[1].enabled);
    EXPECT_EQ(rules[2].name, "e\tf");
    EXPECT_EQ(config.buildTextLintConfigJson(),
              "{\"rules\":{\"a\\\"b\":true,\"c\\\\d\":false,\"e\\u0009f\":true}}");
}

TEST_F(ConfigWriting, JapaneseTextsKeepTheirAnsiBytes) {
    ASSERT_EQ(GetACP(), 932u) << "the tests run under LC_ALL=ja_JP.UTF-8";
    // CP932: 表記 is 95 5C 8B 4C; its second byte is the backslash code and must stay whole.
    const std::string name = "\x95\x5C\x8B\x4C";
    const std::string fragment = "\"allow\":[\"\x95\x5C\"]";
    config.setRules({rule(name, true, 4, {fragment})});
    saveAndReload();
    auto rules = reloaded.getRules();
    ASSERT_EQ(rules.size(), 1u);
    EXPECT_EQ(rules[0].name, name);
    EXPECT_EQ(rules[0].weight, 4);
    EXPECT_THAT(rules[0].options, ElementsAre(fragment));
    // A second round changes nothing either.
    config.setRules(rules);
    saveAndReload();
    EXPECT_EQ(reloaded.getRules().at(0).options, rules[0].options);
    // textlint reads UTF-8.
    EXPECT_EQ(config.buildTextLintConfigJson(),
              "{\"rules\":{\"\xE8\xA1\xA8\xE8\xA8\x98\":{\"allow\":[\"\xE8\xA1\xA8\"]}}}");
}

TEST_F(ConfigWriting, SectionPast40KilobytesReadsBackWhole) {
    std::vector<TextLintRule> rules;
    for (int i = 0; i < 400; ++i) {
        char name[32];
        std::snprintf(name, std::size(name), "rule-%03d", i);
        rules.push_back(
            rule(name, i % 2 == 0, i,
                 {"\"words\":[\"" + std::string(80, static_cast<char>('a' + i % 26)) + "\"]"}));
    }
    config.setRules(rules);
    saveAndReload();
    // The rules text alone is longer than the ANSI INI call can carry.
    ASSERT_GT(written.size(), 40u * 1024);
    ASSERT_GT(written.size() - written.find("TextLintConfig="), 32767u);
    auto back = reloaded.getRules();
    ASSERT_EQ(back.size(), rules.size());
    for (std::size_t i = 0; i < rules.size(); ++i) {
        EXPECT_EQ(back[i].name, rules[i].name);
        EXPECT_EQ(back[i].weight, rules[i].weight);
        EXPECT_EQ(back[i].options, rules[i].options);
    }
}

TEST_F(ConfigWriting, OptionsWithLineBreaksReadBackWhole) {
    config.setRules({rule("a", true, 1, {"\"max\":\r\n3", "\"min\":\n1"}), rule("b", true, 2, {})});
    saveAndReload();
    auto rules = reloaded.getRules();
    ASSERT_EQ(rules.size(), 2u) << written;
    EXPECT_THAT(rules[0].options, ElementsAre("\"max\":3", "\"min\":1"));
    EXPECT_EQ(rules[1].weight, 2);
}

TEST_F(ConfigWriting, UnreadableStoredRulesStayUntilRulesAreEnteredAnew) {
    const std::string rulesText = "{\"rules\":{\"a\":{max: 120}}}";
    const std::string path = dir.file("kept.ini");
    test::writeFileBytes(path, "[Quillcheck]\r\nTextLintConfig=" + rulesText +
                                   "\r\nEvaluateWeightList={\"a\":5}\r\n");
    ::testing::internal::CaptureStdout();
    ASSERT_TRUE(config.readConfigFile(path));
    ::testing::internal::GetCapturedStdout();
    config.setIniFilePath(path);
    config.update([](TextLintSettings &s) { s.resultWindowX = 9; });
    ASSERT_TRUE(config.saveConfig());
    std::string text = readFileBytes(path);
    EXPECT_NE(text.find("ResultWindowX=9\r\n"), std::string::npos) << text;
    EXPECT_NE(text.find("TextLintConfig=" + rulesText + "\r\n"), std::string::npos) << text;
    EXPECT_NE(text.find("EvaluateWeightList={\"a\":5}\r\n"), std::string::npos) << text;

    config.setRules({rule("b", true, 2, {})});
    ASSERT_TRUE(config.saveConfig());
    text = readFileBytes(path);
    EXPECT_NE(text.find("TextLintConfig={\"rules\":{\"b\":true}}\r\n"), std::string::npos);
    EXPECT_NE(text.find("EvaluateWeightList={\"b\":2}\r\n"), std::string::npos);
}

TEST_F(ConfigWriting, EmptyPathWritesNothing) {
    EXPECT_FALSE(config.saveConfig());
}

} // namespace
} // namespace quill
