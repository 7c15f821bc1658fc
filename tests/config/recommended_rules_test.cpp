// The recommended rules as the plug-in holds them are the set the measurement over the
// business mails runs (bench/recommended_rules/recommended.json).
#include "common/ansi_encoding.h"
#include "common/json_value.h"
#include "config/config_json_text.h"
#include "config/recommended_rules.h"
#include "config/text_lint_config.h"
#include "tests/support/test_paths.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace quill::test {
namespace {

TEST(RecommendedRules, AreTheSetTheMeasurementRuns) {
    const std::string measured =
        readFileBytes(sourceDir() + "\\bench\\recommended_rules\\recommended.json");
    const JsonValue expected = JsonValue::parseWhole(measured).member("rules");
    ASSERT_TRUE(expected.isObject()) << measured;
    const std::vector<TextLintRule> rules = recommendedRules();
    const std::string built = utf8FromAnsi(buildTextLintConfigText(rules, false, ansiCharLength));
    EXPECT_EQ(expected.serialize(), JsonValue::parseWhole(built).member("rules").serialize())
        << built;
    for (const TextLintRule &rule : rules) {
        EXPECT_TRUE(rule.enabled) << rule.name;
        EXPECT_EQ(1, rule.weight) << rule.name;
    }
}

// Written at exit and read at the next start, they come back as they were (in the order of
// their names, as every rule set reads): the regular expression's backslashes and the に of
// an option survive the INI file.
TEST(RecommendedRules, ComeBackWholeFromTheIniFile) {
    TempDir dir("qrr");
    const std::string path = dir.file("Quillcheck.ini");
    TextLintConfig written;
    written.setRules(recommendedRules());
    written.setIniFilePath(path);
    ASSERT_TRUE(written.saveConfig());
    TextLintConfig reloaded;
    ASSERT_TRUE(reloaded.readConfigFile(path));
    EXPECT_TRUE(reloaded.rulesKeyRead());
    std::vector<TextLintRule> expected = recommendedRules();
    const auto byName = [](const TextLintRule &a, const TextLintRule &b) {
        return a.name < b.name;
    };
    std::sort(expected.begin(), expected.end(), byName);
    const std::vector<TextLintRule> rules = reloaded.getRules();
    ASSERT_EQ(expected.size(), rules.size());
    for (std::size_t i = 0; i < rules.size(); ++i) {
        EXPECT_EQ(expected[i].name, rules[i].name);
        EXPECT_EQ(expected[i].enabled, rules[i].enabled) << rules[i].name;
        EXPECT_EQ(expected[i].weight, rules[i].weight) << rules[i].name;
        EXPECT_EQ(expected[i].options, rules[i].options) << rules[i].name;
    }
}

} // namespace
} // namespace quill::test
