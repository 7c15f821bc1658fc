// Splitting the section list into entries and reading numbers and flags like atoi.
#include "config/ini_entries.h"

#include <gtest/gtest.h>

#include <climits>
#include <string>

namespace quill {
namespace {

TEST(IniSectionEntries, SplitAtFirstEqualsAfterLeadingOnes) {
    const char raw[] = "A=1\0==B=x=y\0C\0===\0D=\0E=z\0\0F=after end";
    const std::string list(raw, sizeof raw);
    std::vector<std::pair<std::string, std::string>> got;
    for (const IniEntry &entry : splitSectionEntries(list))
        got.emplace_back(entry.key, entry.value);
    const std::vector<std::pair<std::string, std::string>> expected = {
        {"A", "1"}, {"B", "x=y"}, {"C", ""}, {"D", ""}, {"E", "z"}};
    EXPECT_EQ(got, expected);
}

TEST(IniSectionEntries, ListWithoutFinalTerminatorStaysInBounds) {
    const char raw[] = "A=1\0B=2";
    const std::string list(raw, sizeof raw - 1);
    auto entries = splitSectionEntries(list);
    ASSERT_EQ(entries.size(), 2u);
    EXPECT_EQ(entries[1].value, "2");
    EXPECT_TRUE(splitSectionEntries(std::string_view()).empty());
}

TEST(IniValues, IntegersReadLikeAtoiButClamped) {
    struct Case {
        const char *text;
        int expected;
    };
    const Case cases[] = {
        {"12abc", 12},
        {"abc", 0},
        {"-3", -3},
        {"+4", 4},
        {" \t 7", 7},
        {"", 0},
        {"- 5", 0},
        {"--5", 0},
        {"2147483647", INT_MAX},
        {"99999999999", INT_MAX},
        {"-2147483648", INT_MIN},
        {"-99999999999999999999", INT_MIN},
    };
    for (const Case &c : cases)
        EXPECT_EQ(parseIniInteger(c.text), c.expected) << c.text;
}

TEST(IniValues, OnlyTheWordTrueInAnyCaseIsTrue) {
    for (const char *text : {"true", "TRUE", "True", "tRuE"})
        EXPECT_TRUE(parseIniBool(text)) << text;
    for (const char *text : {"yes", "1", "", "true ", " true", "tru", "truee", "false"})
        EXPECT_FALSE(parseIniBool(text)) << text;
}

} // namespace
} // namespace quill
