// The textlint configuration text, the command path's existence test, rule lookups and
// weight sums, and access from several threads.
#include "config/text_lint_config.h"
#include "tests/support/test_paths.h"

#include <gtest/gtest.h>

#include <atomic>
#include <climits>
#include <thread>

namespace quill {
namespace {

TextLintRule rule(std::string name, bool enabled, int weight, std::vector<std::string> options) {
    return TextLintRule{std::move(name), enabled, weight, std::move(options)};
}

TEST(TextLintConfigText, WithAndWithoutTheHtmlMember) {
    struct Case {
        std::vector<TextLintRule> rules;
        bool html;
        const char *expected;
    };
    const std::vector<TextLintRule> example = {
        rule("rule-a", true, 5, {"\"max\":3", "\"strict\":true"}), rule("rule-b", false, 1, {})};
    const Case cases[] = {
        {{}, false, "{}"},
        {{}, true, "{\"plugins\":[ \"html\" ], }"},
        {example, true,
         "{\"plugins\":[ \"html\" ], \"rules\":{\"rule-a\":{\"max\":3,\"strict\":true},"
         "\"rule-b\":false}}"},
        {example, false, "{\"rules\":{\"rule-a\":{\"max\":3,\"strict\":true},\"rule-b\":false}}"},
        // A rule that is off stays off whatever its options; fragments are copied as typed.
        {{rule("r", false, 0, {"\"max\" : 3"})}, false, "{\"rules\":{\"r\":false}}"},
        {{rule("r", true, 0, {"\"max\" : 3"})}, false, "{\"rules\":{\"r\":{\"max\" : 3}}}"},
        // The plug-in's own checks are rows for their weights only: textlint would refuse them.
        {{rule("quillcheck/half-width-kana", true, 3, {}), rule("rule-b", false, 1, {})},
         false,
         "{\"rules\":{\"rule-b\":false}}"},
        {{rule("quillcheck/machine-dependent-character", true, 3, {})}, false, "{}"},
    };
    for (const Case &c : cases) {
        TextLintConfig config;
        config.setRules(c.rules);
        config.update([&](TextLintSettings &s) { s.enableProofreadingHTMLMail = c.html; });
        EXPECT_EQ(config.buildTextLintConfigJson(), c.expected);
    }
}

TEST(TextLintCmdPath, StoredOnlyWhenSomethingExistsThere) {
    test::TempDir dir;
    test::writeFileBytes(dir.file("textlint.cmd"), "@echo off\r\n");
    TextLintConfig config;
    EXPECT_FALSE(config.setTextLintCmdPath(dir.file("missing.cmd")));
    EXPECT_FALSE(config.setTextLintCmdPath(""));
    EXPECT_EQ(config.getTextLintCmdPath(), DEFAULT_TEXTLINT_CMD_PATH);
    EXPECT_TRUE(config.setTextLintCmdPath(dir.file("textlint.cmd")));
    EXPECT_EQ(config.getTextLintCmdPath(), dir.file("textlint.cmd"));
    EXPECT_TRUE(config.setTextLintCmdPath(dir.path()));
    EXPECT_EQ(config.getTextLintCmdPath(), dir.path());
}

TEST(RuleLookup, ExactBytesOnlyAndCopies) {
    TextLintConfig config;
    config.setRules({rule("Rule-a", true, 1, {}), rule("rule-a ", true, 2, {}),
                     rule("rule-a", true, 3, {"\"max\":3"}), rule("rule-a", true, 4, {})});
    EXPECT_FALSE(config.findRule("rule-A").has_value());
    EXPECT_FALSE(config.findRule("rule").has_value());
    auto found = config.findRule("rule-a");
    ASSERT_TRUE(found.has_value());
    EXPECT_EQ(found->weight, 3);
    // The copy outlives a change of the rules.
    config.setRules({});
    EXPECT_EQ(found->options.at(0), "\"max\":3");
    EXPECT_FALSE(config.findRule("rule-a").has_value());
}

TEST(RuleLookup, SumOfWeightsPerFinding) {
    TextLintConfig config;
    config.setRules(
        {rule("a", true, 2, {}), rule("b", true, -1, {}), rule("big", true, INT_MAX, {})});
    EXPECT_EQ(config.sumWeights({}), 0);
    EXPECT_EQ(config.sumWeights({"a", "a", "b", "unknown", "A"}), 3);
    // Many heavy findings saturate instead of wrapping to a negative value.
    EXPECT_EQ(config.sumWeights({"big", "big", "a"}), INT_MAX);
    // The plug-in's own checks are weighed by their rows like textlint's rules.
    config.setRules({rule("quillcheck/half-width-kana", true, 4, {})});
    EXPECT_EQ(config.sumWeights({"quillcheck/half-width-kana", "a"}), 4);
}

TEST(RuleLookup, PresetWeightsCountForThePresetsFindingsUnlessTheRuleHasItsOwn) {
    TextLintConfig config;
    config.setRules({rule("preset-ja-spacing", true, 5, {}),
                     rule("textlint-rule-preset-jtf-style", true, 7, {}),
                     rule("ja-spacing/exact", false, 1, {}), rule("max-ten", true, 2, {})});
    struct Case {
        const char *finding;
        int weight;
    } cases[] = {
        {"ja-spacing/ja-no-space-between-full-width", 5},
        {"jtf-style/1.1.1", 7},
        {"ja-spacing/exact", 1}, // the rule's own weight wins
        {"max-ten", 2},
        {"ja-spacing", 0}, // the preset's name alone is no finding of it
        {"ja-spacing/", 0},
        {"ja-spacingX/a", 0},
        {"Ja-spacing/a", 0},
        {"max-ten/a", 0}, // only presets weigh their rules
        {"preset-ja-spacing/a", 0},
    };
    for (const Case &c : cases)
        EXPECT_EQ(config.sumWeights({c.finding}), c.weight) << c.finding;
}

TEST(RuleLookup, ReadersAndAWriterOnSeveralThreads) {
    TextLintConfig config;
    const std::vector<TextLintRule> small = {rule("a", true, 1, {})};
    std::vector<TextLintRule> large;
    for (int i = 0; i < 50; ++i)
        large.push_back(rule("r" + std::to_string(i), true, 1, {"\"max\":" + std::to_string(i)}));
    std::atomic<bool> stop{false};
    std::atomic<int> badSums{0};
    std::vector<std::thread> readers;
    for (int t = 0; t < 3; ++t)
        readers.emplace_back([&] {
            while (!stop) {
                int sum = config.sumWeights({"a", "r1", "r49"});
                if (sum != 0 && sum != 1 && sum != 2)
                    ++badSums;
                std::string text = config.buildTextLintConfigJson();
                if (text.empty() || text.back() != '}')
                    ++badSums;
                config.findRule("r7");
            }
        });
    for (int i = 0; i < 2000; ++i)
        config.setRules(i % 2 == 0 ? small : large);
    stop = true;
    for (std::thread &reader : readers)
        reader.join();
    EXPECT_EQ(badSums, 0);
}

} // namespace
} // namespace quill
