// The recommended rules as the plug-in holds them are the set the measurement over the
// business mails runs (bench/recommended_rules/recommended.json).
#include "common/ansi_encoding.h"
#include "common/json_value.h"
#include "config/config_json_text.h"
#include "config/recommended_rules.h"
#include "tests/support/test_paths.h"

#include <gtest/gtest.h>

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

} // namespace
} // namespace quill::test
