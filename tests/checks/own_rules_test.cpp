// The plug-in's own rules over the writer's text: the weekday of a date against the day of
// the check, honorifics, and the fixes in textlint's form applied to the text.
#include "checks/own_rules.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace quill {
namespace {

const CalendarDay DAY_OF_CHECK{2026, 12, 8};

// Only the rule named runs.
std::vector<OwnRuleFinding> findingsOf(const std::string &rule, const std::string &text,
                                       const CalendarDay &today = DAY_OF_CHECK) {
    TextLintSettings settings;
    for (const OwnRule &own : ownRules())
        settings.*own.setting = false;
    for (const OwnRule &own : ownRules())
        if (own.name == rule)
            settings.*own.setting = true;
    OwnCheckContext context;
    context.today = today;
    return checkOwnRules(text, context, settings);
}

TEST(OwnRules, DateWeekdayChecksEveryFormAgainstTheNearestYear) {
    const std::string rule = "quillcheck/date-weekday";
    const std::vector<OwnRuleFinding> wrong =
        findingsOf(rule, "ご連絡です。\n会議は12月5日(金)です。");
    ASSERT_EQ(1u, wrong.size());
    EXPECT_EQ(2, wrong[0].line);
    EXPECT_EQ(4, wrong[0].column);
    EXPECT_NE(std::string::npos, wrong[0].message.find("2026年12月5日は土曜日です"))
        << wrong[0].message;
    EXPECT_FALSE(wrong[0].fix) << "which half is wrong is not known";

    // Written in December 2026, January is next year's.
    for (const char *right :
         {"1月5日(火)", "2026年12月25日(金)", "12月5日（土曜日）", "１２月５日（土）", "12/5(土)",
          "１２／５（土曜）", "2026/12/5(土)", "令和8年12月5日(土)", "令和元年5月1日(水)",
          "5月3日(月・祝)", "9月8日(火)", "2027年3月1日 (月)", "12月5日は金曜", "112月5日(金)",
          "9月7日(月)" /* three months past: right as a day that has been */})
        EXPECT_TRUE(findingsOf(rule, right).empty()) << right;
    for (const char *wrongDay :
         {"2月30日(月)", "2026年12月5日(金)", "2026/12/5(金)", "令和8年12月5日(金)",
          "12/5（金曜日）", "4月31日(金)", "9月7日(水)"})
        EXPECT_EQ(1u, findingsOf(rule, wrongDay).size()) << wrongDay;
    EXPECT_NE(std::string::npos,
              findingsOf(rule, "2月30日(月)")[0].message.find("日付はありません"));
}

// Each day of the check as a writer would have it; the wrong twin is the same mail with the
// weekday of another year.
TEST(OwnRules, DateWeekdayGivesADateWithoutAYearTheYearAReaderWould) {
    const std::string rule = "quillcheck/date-weekday";
    const struct {
        CalendarDay today;
        const char *right;
        const char *wrong;
    } cases[] = {
        {{2026, 7, 1}, "3月31日(火)に納品いたしました。", "3月31日(月)に納品いたしました。"},
        {{2026, 9, 1},
         "2027年7月1日(木)、7月2日(金)に開催します。",
         "2027年7月1日(木)、7月2日(木)に開催します。"},
        {{2026, 9, 1}, "2027年の総会は7月2日(金)です。", "2027年度の総会は1月7日(木)です。"},
        {{2026, 9, 1},
         "2027年7月1日(木)の総会に向け、6月30日(水)までにご返信ください。",
         "2026年12月25日(金)の納品に向け、1月5日(月)までにご返信ください。"},
        {{2026, 4, 10}, "昨年12月5日(金)に納品しました。", "昨年12月5日(土)に納品しました。"},
        {{2026, 4, 10}, "来年の1月5日(火)から", "来年の1月5日(月)から"},
        {{2026, 12, 8},
         "2026年12月25日(金)から1月5日(火)まで休業します。",
         "2026年12月25日(金)から1月5日(月)まで休業します。"},
        {{2026, 12, 8}, "毎月第2/4(土)は休業、25/12/5(金)締め", "12/5(金)締め"},
    };
    for (const auto &c : cases) {
        EXPECT_TRUE(findingsOf(rule, c.right, c.today).empty()) << c.right;
        EXPECT_EQ(1u, findingsOf(rule, c.wrong, c.today).size()) << c.wrong;
    }
}

// One finding each, saying which era the day belongs to, or its weekday in the writer's words.
TEST(OwnRules, DateWeekdayFindsEraDatesOutsideTheirEraIsoDatesAndEnglishWeekdays) {
    const std::string rule = "quillcheck/date-weekday";
    const struct {
        const char *text;
        const char *said;
    } wrong[] = {
        {"平成31年5月1日(水)", "2019年5月1日は令和元年5月1日です"},
        {"令和元年4月30日(火)", "2019年4月30日は平成31年4月30日です"},
        {"昭和64年1月8日", "平成元年1月8日です"},
        {"令和0年", "「令和0年」はありません"},
        {"平成31年5月1日(木)", "令和元年5月1日、水曜日です"},
        {"2016-12-29(月)", "2016年12月29日は木曜日です"},
        {"2021-07-02 (Thursday)", "2021年7月2日はFridayです"},
        {"Welcome to 2016-12-29(Fri)", "2016年12月29日はThuです"},
        {"12月5日(Fri.)", "2026年12月5日はSatです"},
    };
    for (const auto &c : wrong) {
        const std::vector<OwnRuleFinding> found = findingsOf(rule, c.text);
        ASSERT_EQ(1u, found.size()) << c.text;
        EXPECT_NE(std::string::npos, found[0].message.find(c.said)) << found[0].message;
    }
    for (const char *right :
         {"平成31年4月30日(火)", "令和元年5月1日", "昭和64年1月7日", "平成元年1月8日(日)",
          "平成31年度", "2016-12-29(木)", "2016-12-29 (Thu)", "2021-07-02（Friday）", "12/5(sat)",
          "１２月５日（Saturday）"})
        EXPECT_TRUE(findingsOf(rule, right).empty()) << right;
}

TEST(OwnRules, HonorificFindsDoubledTitlesAndVerbsAndFixesOnlyTheCertainOnes) {
    const std::string rule = "quillcheck/honorific";
    for (const char *doubled :
         {"山田部長様", "関係者各位様", "おっしゃられる", "山田本部長殿", "ABC株式会社 御中 山田様",
          "ABC株式会社 御中\n営業部 山田様", "ABC株式会社御中様", "拝見させていただきます",
          "お見えになられました", "お書きになられた", "ご心配になられませんように"})
        EXPECT_EQ(1u, findingsOf(rule, doubled).size()) << doubled;
    for (const char *right :
         {"お客様各位", "関係者各位", "山田部長", "部長の山田様", "様々な部長様式",
          "ABC株式会社 御中\nいつもお世話になっております。山田様より", "おっしゃる",
          "社長になられる", "お客様が社長になられた", "ご立派になられました",
          "総務部 御中\n\nお疲れ様です。", "営業部 御中\n皆様、", "御中元 山田様より",
          "株式会社ABC 御中（お客様番号：12345）", "A社 御中\nB社 山田様"})
        EXPECT_TRUE(findingsOf(rule, right).empty()) << right;
    const std::vector<OwnRuleFinding> general = findingsOf(rule, "お書きになられた");
    ASSERT_EQ(1u, general.size());
    EXPECT_NE(std::string::npos, general[0].message.find("「お書きになった」"))
        << general[0].message;
    EXPECT_FALSE(general[0].fix) << "a verb read by its shape alone is not mended";
    EXPECT_TRUE(findingsOf(rule, "山田部長様")[0].message.find("「部長」が敬称を兼ねる") !=
                std::string::npos);

    TextLintSettings settings;
    const std::string mail =
        "𠀋山田部長様がおっしゃられるとおり、ご覧になられましたか。\nおっしゃられた件";
    EXPECT_EQ("𠀋山田部長様がおっしゃるとおり、ご覧になりましたか。\nおっしゃった件",
              fixOwnRules(mail, OwnCheckContext{}, settings));
}

TEST(OwnRules, FixesApplyAsTextlintsDoInUtf16UnitsLeavingOverlapsAndStrayRangesOut) {
    // 𠀋 is two units, the stray byte one.
    const std::string text = "𠀋ab\xFF"
                             "cd";
    EXPECT_EQ("𠀋Xb\xFF"
              "Yd",
              applyTextFixes(text, {{5, 6, "Y"}, {2, 3, "X"}}));
    EXPECT_EQ("𠀋Xb\xFF"
              "cd",
              applyTextFixes(text, {{2, 3, "X"}, {2, 4, "Z"}}))
        << "an overlapping fix is left out";
    EXPECT_EQ(text, applyTextFixes(text, {{1, 2, "X"}, {5, 9, "Y"}, {3, 2, "Z"}}))
        << "inside a character, beyond the text, backwards";
    EXPECT_EQ("𠀋ab\xFF"
              "cd!",
              applyTextFixes(text, {{7, 7, "!"}}));
}

} // namespace
} // namespace quill
