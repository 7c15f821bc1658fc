// Reading a date as a mail writes it: 「12月5日(金)」, 「12/5（金曜日）」, 「2026年12月5日(土)」,
// 「2026/12/5(土)」, 「2016-12-29 (Thu)」, 「令和8年12月5日(土)」, and a year written alone
// (「2027年」, 「2027年度」, 「令和9年」), full-width digits and parentheses alike. Platform-free.
#pragma once

#include "checks/own_rule.h"

#include <cstddef>
#include <optional>
#include <string_view>

namespace quill {

struct JapaneseEra {
    std::string_view name;
    int yearBeforeFirst; // the Gregorian year of the era's year 0
    CalendarDay first;   // its first day
};
// The newest first; each era lasts until the day before the next one's first day.
inline constexpr JapaneseEra JAPANESE_ERAS[] = {
    {"令和", 2018, {2019, 5, 1}},
    {"平成", 1988, {1989, 1, 8}},
    {"昭和", 1925, {1926, 12, 25}},
};

// How the weekday was written, so that a finding names the right one the same way.
enum class WeekdayStyle { Japanese, EnglishName, EnglishShort };

struct WrittenDate {
    std::size_t begin = 0;
    std::size_t end = 0;
    std::optional<int> year;          // Gregorian; none when the date has no year
    const JapaneseEra *era = nullptr; // when the year is written in an era
    int eraYear = 0;                  // the year in that era, 1 for 元年
    bool fiscalYear = false;          // 「2027年度」
    int month = 0;                    // 0: a year alone
    int day = 0;                      // 0: no day
    std::optional<int> weekday;       // 0 Sunday .. 6 Saturday, when written
    WeekdayStyle style = WeekdayStyle::Japanese;
};

// The date written at `pos`, or none. A date without a year is read only with its weekday;
// digits joined by a slash after other digits (「25/12/5」) or after 第 (「第2/4」) are no
// month and day. The month and day are as written, not yet checked against a calendar.
std::optional<WrittenDate> readWrittenDate(std::string_view text, std::size_t pos);

// The years from the day of the check that a word right before `pos` names: -1 for 昨年,
// 去年 and 前年, +1 for 来年 and 翌年, 0 for 今年 and 本年 (「昨年12月5日」, 「昨年の12月5日」).
std::optional<int> yearWordBefore(std::string_view text, std::size_t pos);

} // namespace quill
