// The rule of dates written with a weekday (the forms are read in written_date.cpp). A weekday
// that does not match the date, a date that does not exist, or an era's date outside that era
// (平成31年5月1日, 令和0年) is a finding; there is no fix, since which half is wrong is not
// known. A date written without a year takes the year a reader would give it:
// - after 昨年, 来年, 今年 and their like, that year from the day of the check;
// - after a date written with its year higher up in the mail, that year, or the next one
//   when the month and day come before that date's (「2026年12月25日(金)〜1月5日(火)」), though
//   up to three months before it may still be its year (a deadline before an event);
// - after a fiscal year (「2027年度」), the year its April to March gives;
// - otherwise the nearest one around the day of the check, from three months before it to
//   nine months after it, or the same month and day less than six months before it (a mail
//   about what has happened): a writer who gave no year meant one of those. After a year
//   written alone (「2027年の総会は」) that year counts besides these.
#include "checks/own_rule.h"
#include "checks/written_date.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <initializer_list>
#include <optional>
#include <string>

namespace quill {

namespace {

constexpr char RULE_NAME[] = "quillcheck/date-weekday";

// Sunday first, as the weekday count; per way of writing it.
constexpr std::string_view JAPANESE_WEEKDAYS[] = {"日曜日", "月曜日", "火曜日", "水曜日",
                                                  "木曜日", "金曜日", "土曜日"};
constexpr std::string_view ENGLISH_NAMES[] = {"Sunday",   "Monday", "Tuesday", "Wednesday",
                                              "Thursday", "Friday", "Saturday"};
constexpr std::string_view ENGLISH_SHORT[] = {"Sun", "Mon", "Tue", "Wed", "Thu", "Fri", "Sat"};
// How far from the day of the check a year written alone (「2027年」) still sets the year of
// the dates after it: further off it is a year spoken of (「創業1950年」), not a date's.
constexpr int YEAR_ALONE_REACH = 2;

bool isLeapYear(int year) {
    return (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
}

int daysInMonth(int year, int month) {
    constexpr int DAYS[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    return month == 2 && isLeapYear(year) ? 29 : DAYS[month - 1];
}

// 0 for Sunday .. 6 for Saturday, in the proleptic Gregorian calendar.
int weekdayOf(int year, int month, int day) {
    // Days from 1970-01-01, counted from March so that February's leap day comes last.
    const long long y = month <= 2 ? year - 1 : year;
    const long long era = (y >= 0 ? y : y - 399) / 400;
    const long long yearOfEra = y - era * 400;
    const long long dayOfYear = (153 * (month + (month > 2 ? -3 : 9)) + 2) / 5 + day - 1;
    const long long dayOfEra = yearOfEra * 365 + yearOfEra / 4 - yearOfEra / 100 + dayOfYear;
    const long long days = era * 146097 + dayOfEra - 719468;
    const long long weekday = (days + 4) % 7; // 1970-01-01 was a Thursday
    return static_cast<int>(weekday >= 0 ? weekday : weekday + 7);
}

// A day as one number that orders days; months out of 1..12 carry into the year.
long long dayKey(long long year, long long month, long long day) {
    return (year * 12 + month - 1) * 32 + day;
}

long long dayKey(const CalendarDay &day) {
    return dayKey(day.year, day.month, day.day);
}

// The year that puts a month and day from three months before `today` to nine months after.
int windowYear(const CalendarDay &today, int month, int day) {
    const long long first = dayKey(today.year, today.month - 3, today.day);
    const long long last = dayKey(today.year, today.month + 9, today.day);
    for (int year = today.year - 1; year <= today.year + 1; ++year) {
        const long long at = dayKey(year, month, day);
        if (at >= first && at < last)
            return year;
    }
    return today.year;
}

// The year of the same month and day less than six months before `today`, if there is one.
std::optional<int> recentPastYear(const CalendarDay &today, int month, int day) {
    const int year =
        dayKey(0, month, day) <= dayKey(0, today.month, today.day) ? today.year : today.year - 1;
    if (dayKey(year, month, day) > dayKey(today.year, today.month - 6, today.day))
        return year;
    return std::nullopt;
}

// What a date written without a year follows: the latest date or year written above it.
struct YearAbove {
    enum Kind { Date, YearAlone, FiscalYear };
    Kind kind = Date;
    CalendarDay day; // a year alone as its 1 January, a fiscal year as its 1 April
};

// The year of a date written without one after `above`: its year, or the next one when the
// month and day come before the day above.
int yearAfter(const YearAbove &above, int month, int day) {
    return dayKey(0, month, day) >= dayKey(0, above.day.month, above.day.day) ? above.day.year
                                                                              : above.day.year + 1;
}

std::string dayText(int year, int month, int day) {
    char text[48];
    std::snprintf(text, sizeof text, "%d年%d月%d日", year, month, day);
    return text;
}

std::string weekdayName(int weekday, WeekdayStyle style) {
    switch (style) {
    case WeekdayStyle::EnglishName:
        return std::string(ENGLISH_NAMES[weekday]);
    case WeekdayStyle::EnglishShort:
        return std::string(ENGLISH_SHORT[weekday]);
    case WeekdayStyle::Japanese:
        break;
    }
    return std::string(JAPANESE_WEEKDAYS[weekday]);
}

// The era a day belongs to, or none before the oldest one known.
const JapaneseEra *eraOf(const CalendarDay &day) {
    for (const JapaneseEra &era : JAPANESE_ERAS)
        if (dayKey(day) >= dayKey(era.first))
            return &era;
    return nullptr;
}

class DateChecker {
  public:
    DateChecker(std::string_view text, const CalendarDay &today, std::vector<OwnRuleHit> &hits)
        : text_(text), today_(today), hits_(hits) {}

    void check(const WrittenDate &date) {
        if (date.era && date.eraYear == 0) {
            report(date, "「" + std::string(date.era->name) + "0年」はありません。" +
                             std::string(date.era->name) + "は元年から数えます。");
            return;
        }
        if (date.year) {
            checkWithYear(date);
            return;
        }
        if (date.month < 1 || date.month > 12 || date.day < 1 || date.day > 31)
            return;
        if (const std::optional<int> offset = yearWordBefore(text_, date.begin)) {
            const int year = today_.year + *offset;
            above_ = YearAbove{YearAbove::Date, {year, date.month, date.day}};
            judge(date, year, {});
            return;
        }
        const int window = windowYear(today_, date.month, date.day);
        const std::optional<int> recent = recentPastYear(today_, date.month, date.day);
        if (!above_) {
            judge(date, window, {recent});
            return;
        }
        const int year = yearAfter(*above_, date.month, date.day);
        if (above_->kind == YearAbove::YearAlone) {
            // A year spoken of (「2027年の総会は」) may not be the dates' year: weak evidence.
            judge(date, year, {window, recent});
        } else if (above_->kind == YearAbove::Date && year != above_->day.year &&
                   dayKey(above_->day.year, date.month, date.day) >=
                       dayKey(above_->day.year, above_->day.month - 3, above_->day.day)) {
            // Shortly before the date above, in its year: a deadline before an event.
            judge(date, year, {std::optional<int>(above_->day.year)});
        } else {
            judge(date, year, {});
        }
    }

  private:
    void checkWithYear(const WrittenDate &date) {
        const int year = *date.year;
        if (date.month == 0) {
            // A year alone, or a fiscal year, which begins in April.
            if (date.fiscalYear)
                above_ = YearAbove{YearAbove::FiscalYear, {year, 4, 1}};
            else if (std::abs(year - today_.year) <= YEAR_ALONE_REACH)
                above_ = YearAbove{YearAbove::YearAlone, {year, 1, 1}};
            return;
        }
        if (date.month > 12)
            return;
        above_ = YearAbove{YearAbove::Date, {year, date.month, std::max(date.day, 1)}};
        // A day out of every month's range is not read as a date at all.
        if (date.day < 1 || date.day > 31)
            return;
        if (date.era && date.day <= daysInMonth(year, date.month) && checkEra(date))
            return;
        if (date.weekday)
            judge(date, year, {});
    }

    // A finding when an era's date lies outside the era; true when there was one.
    bool checkEra(const WrittenDate &date) {
        const CalendarDay day{*date.year, date.month, date.day};
        const JapaneseEra *era = eraOf(day);
        if (era == date.era)
            return false;
        std::string message = "「" + text(date) + "」は" + std::string(date.era->name) +
                              "の日付ではありません。" + dayText(day.year, day.month, day.day) +
                              "は";
        if (era != nullptr) {
            const int eraYear = day.year - era->yearBeforeFirst;
            message += std::string(era->name) +
                       (eraYear == 1 ? std::string("元") : std::to_string(eraYear)) + "年" +
                       std::to_string(day.month) + "月" + std::to_string(day.day) + "日";
        } else {
            message += std::string(JAPANESE_ERAS[std::size(JAPANESE_ERAS) - 1].name) + "より前";
        }
        const int weekday = weekdayOf(day.year, day.month, day.day);
        if (date.weekday && *date.weekday != weekday)
            message += "、" + weekdayName(weekday, date.style);
        report(date, message + "です。");
        return true;
    }

    // Right when the weekday matches the day in `year` or in one of the other readings;
    // otherwise a finding that names the day in `year`.
    void judge(const WrittenDate &date, int year,
               std::initializer_list<std::optional<int>> others) {
        const auto fits = [&](int candidate) {
            return date.day <= daysInMonth(candidate, date.month) &&
                   weekdayOf(candidate, date.month, date.day) == *date.weekday;
        };
        if (fits(year) || std::any_of(others.begin(), others.end(), [&](std::optional<int> other) {
                return other && fits(*other);
            }))
            return;
        if (date.day > daysInMonth(year, date.month)) {
            report(date, "「" + text(date) + "」の日付はありません。" + std::to_string(year) +
                             "年" + std::to_string(date.month) + "月は" +
                             std::to_string(daysInMonth(year, date.month)) + "日までです。");
            return;
        }
        report(date, "「" + text(date) + "」の曜日が違います。" +
                         dayText(year, date.month, date.day) + "は" +
                         weekdayName(weekdayOf(year, date.month, date.day), date.style) + "です。");
    }

    std::string text(const WrittenDate &date) const {
        return std::string(text_.substr(date.begin, date.end - date.begin));
    }

    void report(const WrittenDate &date, const std::string &message) {
        OwnRuleHit hit;
        hit.begin = date.begin;
        hit.end = date.end;
        hit.message = "Error - " + message;
        hits_.push_back(std::move(hit));
    }

    std::string_view text_;
    CalendarDay today_;
    std::vector<OwnRuleHit> &hits_;
    std::optional<YearAbove> above_;
};

void checkDateWeekdays(std::string_view text, const OwnCheckContext &context,
                       std::vector<OwnRuleHit> &hits) {
    DateChecker checker(text, context.today, hits);
    std::size_t pos = 0;
    while (pos < text.size()) {
        // A date starts with a digit, a full-width digit (EF BC 90..99) or an era's name
        // (令 E4, 平 E5, 昭 E6): other bytes are passed over at once.
        const unsigned char lead = static_cast<unsigned char>(text[pos]);
        if (!(lead >= '0' && lead <= '9') && (lead < 0xE4 || lead > 0xE6) && lead != 0xEF) {
            ++pos;
            continue;
        }
        const std::optional<WrittenDate> date = readWrittenDate(text, pos);
        if (!date) {
            ++pos;
            continue;
        }
        checker.check(*date);
        pos = date->end;
    }
}

} // namespace

extern const OwnRule DATE_WEEKDAY_RULE{RULE_NAME, checkDateWeekdays,
                                       &TextLintSettings::checkDateWeekdays};

} // namespace quill
