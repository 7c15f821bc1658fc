// What the dialogs make of typed texts: numbers, option fragments, spin steps.
#include "config/dialog_data.h"

#include <gtest/gtest.h>

#include <climits>

namespace quill {
namespace {

TEST(LeadingInteger, ReadsLikeAtoiWithoutOverflow) {
    const struct {
        const char *text;
        int expected;
    } cases[] = {
        {"", 0},
        {"abc", 0},
        {"12abc", 12},
        {"  -3", -3},
        {"\t+7x", 7},
        {"- 4", 0},
        {"2147483647", INT_MAX},
        {"99999999999999999999", INT_MAX},
        {"-2147483648", INT_MIN},
        {"-99999999999999999999", INT_MIN},
    };
    for (const auto &c : cases)
        EXPECT_EQ(c.expected, leadingInteger(c.text)) << '"' << c.text << '"';
}

TEST(OptionFragments, EmptyPiecesGiveNoFragment) {
    const struct {
        const char *cell;
        std::vector<std::string> expected;
    } cases[] = {
        {"", {}},
        {",,", {}},
        {"a,,b,", {"a", "b"}},
        {",\"max\":3", {"\"max\":3"}},
        {"\"max\":3,\"strict\":true", {"\"max\":3", "\"strict\":true"}},
    };
    for (const auto &c : cases)
        EXPECT_EQ(c.expected, splitOptionFragments(c.cell)) << '"' << c.cell << '"';
}

TEST(RuleRows, RoundTripThroughTheListTexts) {
    TextLintRule rule{"sentence-length", true, -2, {"\"max\":100", "\"min\":1"}};
    RuleRow row = rowOfRule(rule);
    EXPECT_EQ("sentence-length", row.name);
    EXPECT_EQ("-2", row.weight);
    EXPECT_EQ("\"max\":100,\"min\":1", row.options);
    EXPECT_TRUE(row.checked);

    TextLintRule back = ruleOfRow(row);
    EXPECT_EQ(rule.name, back.name);
    EXPECT_EQ(rule.enabled, back.enabled);
    EXPECT_EQ(rule.weight, back.weight);
    EXPECT_EQ(rule.options, back.options);
}

TEST(RuleRows, EmptyWeightCellReadsZeroAndEmptyWeightFieldStoresZero) {
    EXPECT_EQ(0, ruleOfRow(RuleRow{"a", "", "", false}).weight);
    EXPECT_EQ("0", weightCellOf(""));
    EXPECT_EQ("07", weightCellOf("07"));
}

TEST(SteppedThreshold, UpperArrowAddsOneWithoutBounds) {
    const struct {
        const char *text;
        int delta;
        const char *expected;
    } cases[] = {
        {"abc", -1, "1"},
        {"0", 1, "-1"},
        {"12abc", -1, "13"},
        {"100", -1, "101"},
        {"-5", 1, "-6"},
        {"7", 0, "7"},
        {"2147483647", -1, "2147483647"},
        {"-2147483648", 1, "-2147483648"},
    };
    for (const auto &c : cases)
        EXPECT_EQ(c.expected, steppedThreshold(c.text, c.delta)) << c.text << " " << c.delta;
}

} // namespace
} // namespace quill
