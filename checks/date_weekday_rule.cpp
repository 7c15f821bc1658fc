// The rule of dates written with a weekday: 「12月5日(金)」, 「12/5（金曜日）」,
// 「2026年12月5日(土)」, 「2026/12/5(土)」, 「令和8年12月5日(土)」, full-width digits and
// parentheses alike. A weekday that does not match the date, or a date that does not exist, is a
// finding; there is no fix, since which half is wrong is not known. A date without a year is the
// nearest one around the day of the check: from three months before it to nine months after it.
#include "checks/own_rule.h"

#include <cstdio>
#include <optional>

namespace quill {

namespace {

constexpr char RULE_NAME[] = "quillcheck/date-weekday";

// Letters a date is written with, in UTF-8.
constexpr std::string_view YEAR = "年";
constexpr std::string_view MONTH = "月";
constexpr std::string_view DAY = "日";
constexpr std::string_view WEEKDAY_SUFFIXES[] = {"曜日", "曜"};
constexpr std::string_view SLASHES[] = {"/", "／"};
constexpr std::string_view OPENING[] = {"(", "（"};
constexpr std::string_view CLOSING[] = {")", "）"};
constexpr std::string_view BLANKS[] = {" ", "\t", "\xE3\x80\x80"};
// A holiday named beside the weekday: 「5月3日(土・祝)」.
constexpr std::string_view HOLIDAY_JOINS[] = {"・", "･", "/", "／", "、", ","};
constexpr std::string_view HOLIDAYS[] = {"祝日", "祝", "休日", "休"};
// Sunday first, as the weekday count below.
constexpr std::string_view WEEKDAYS[] = {"日", "月", "火", "水", "木", "金", "土"};

struct Era {
    std::string_view name;
    int yearBeforeFirst; // the Gregorian year of the era's year 0
};
constexpr Era ERAS[] = {{"令和", 2018}, {"平成", 1988}, {"昭和", 1925}};

class Cursor {
  public:
    Cursor(std::string_view text, std::size_t pos) : text_(text), pos_(pos) {}
    std::size_t pos() const { return pos_; }

    bool take(std::string_view word) {
        if (text_.substr(pos_, word.size()) != word)
            return false;
        pos_ += word.size();
        return true;
    }
    template <std::size_t N>
    std::optional<std::size_t> takeOneOf(const std::string_view (&words)[N]) {
        for (std::size_t i = 0; i < N; ++i)
            if (take(words[i]))
                return i;
        return std::nullopt;
    }
    void skipBlanks() {
        while (takeOneOf(BLANKS))
            ;
    }
    // The value of digits (ASCII or full-width), from `least` to `most` of them, and not
    // followed by another digit.
    std::optional<int> number(int least, int most) {
        const std::size_t start = pos_;
        int value = 0;
        int count = 0;
        while (count <= most) {
            const std::optional<int> digit = digitAt(pos_);
            if (!digit)
                break;
            if (count == most) {
                pos_ = start;
                return std::nullopt;
            }
            value = value * 10 + *digit;
            pos_ += text_[pos_] >= '0' && text_[pos_] <= '9' ? 1 : 3;
            ++count;
        }
        if (count < least) {
            pos_ = start;
            return std::nullopt;
        }
        return value;
    }
    std::optional<int> digitAt(std::size_t pos) const {
        if (pos < text_.size() && text_[pos] >= '0' && text_[pos] <= '9')
            return text_[pos] - '0';
        // Full-width digits: U+FF10..U+FF19, EF BC 90..99.
        if (pos + 2 < text_.size() && static_cast<unsigned char>(text_[pos]) == 0xEF &&
            static_cast<unsigned char>(text_[pos + 1]) == 0xBC) {
            const unsigned char last = static_cast<unsigned char>(text_[pos + 2]);
            if (last >= 0x90 && last <= 0x99)
                return last - 0x90;
        }
        return std::nullopt;
    }

  private:
    std::string_view text_;
    std::size_t pos_;
};

bool followsDigit(std::string_view text, std::size_t pos) {
    if (pos >= 1 && text[pos - 1] >= '0' && text[pos - 1] <= '9')
        return true;
    return pos >= 3 && static_cast<unsigned char>(text[pos - 3]) == 0xEF &&
           static_cast<unsigned char>(text[pos - 2]) == 0xBC &&
           static_cast<unsigned char>(text[pos - 1]) >= 0x90 &&
           static_cast<unsigned char>(text[pos - 1]) <= 0x99;
}

struct WrittenDate {
    std::optional<int> year;
    int month = 0;
    int day = 0;
    int weekday = 0; // 0 Sunday .. 6 Saturday
    std::size_t end = 0;
};

// The weekday in parentheses after a date: 「(金)」, 「（金曜日）」, 「(土・祝)」.
bool readWeekday(Cursor &cursor, WrittenDate &date) {
    cursor.skipBlanks();
    if (!cursor.takeOneOf(OPENING))
        return false;
    cursor.skipBlanks();
    const std::optional<std::size_t> weekday = cursor.takeOneOf(WEEKDAYS);
    if (!weekday)
        return false;
    cursor.takeOneOf(WEEKDAY_SUFFIXES);
    if (cursor.takeOneOf(HOLIDAY_JOINS) && !cursor.takeOneOf(HOLIDAYS))
        return false;
    cursor.skipBlanks();
    if (!cursor.takeOneOf(CLOSING))
        return false;
    date.weekday = static_cast<int>(*weekday);
    date.end = cursor.pos();
    return true;
}

// 「M月D日」 or 「M/D」 and the weekday after it; `kanji` chooses the form.
bool readMonthDay(Cursor &cursor, bool kanji, WrittenDate &date) {
    const std::optional<int> month = cursor.number(1, 2);
    if (!month)
        return false;
    if (kanji ? !cursor.take(MONTH) : !cursor.takeOneOf(SLASHES))
        return false;
    const std::optional<int> day = cursor.number(1, 2);
    if (!day || (kanji && !cursor.take(DAY)))
        return false;
    date.month = *month;
    date.day = *day;
    return readWeekday(cursor, date);
}

// A date with a weekday starting at `pos`, in any of the forms.
std::optional<WrittenDate> readDate(std::string_view text, std::size_t pos) {
    for (const Era &era : ERAS) {
        Cursor cursor(text, pos);
        if (!cursor.take(era.name))
            continue;
        std::optional<int> year = cursor.take("元") ? std::optional<int>(1) : cursor.number(1, 2);
        WrittenDate date;
        if (year && cursor.take(YEAR) && readMonthDay(cursor, true, date)) {
            date.year = era.yearBeforeFirst + *year;
            return date;
        }
        return std::nullopt;
    }
    if (followsDigit(text, pos))
        return std::nullopt;
    for (bool kanji : {true, false}) {
        Cursor cursor(text, pos);
        const std::optional<int> year = cursor.number(4, 4);
        WrittenDate date;
        if (year && (kanji ? cursor.take(YEAR) : cursor.takeOneOf(SLASHES).has_value()) &&
            readMonthDay(cursor, kanji, date)) {
            date.year = *year;
            return date;
        }
        Cursor yearless(text, pos);
        if (readMonthDay(yearless, kanji, date))
            return date;
    }
    return std::nullopt;
}

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

// The year of a date written without one: the one that puts it from three months before
// `today` to nine months after it.
int nearestYear(const CalendarDay &today, int month, int day) {
    const auto key = [](int year, int m, int d) { return (year * 12LL + m - 1) * 32 + d; };
    const long long first = key(today.year, today.month - 3, today.day);
    const long long last = key(today.year, today.month + 9, today.day);
    for (int year = today.year - 1; year <= today.year + 1; ++year) {
        const long long at = key(year, month, day);
        if (at >= first && at < last)
            return year;
    }
    return today.year;
}

std::string dayText(int year, int month, int day) {
    char text[48];
    std::snprintf(text, sizeof text, "%d年%d月%d日", year, month, day);
    return text;
}

void checkDateWeekdays(std::string_view text, const OwnCheckContext &context,
                       std::vector<OwnRuleHit> &hits) {
    std::size_t pos = 0;
    while (pos < text.size()) {
        // A date starts with a digit, a full-width digit (EF BC 90..99) or an era's name
        // (令 E4, 平 E5, 昭 E6): other bytes are passed over at once.
        const unsigned char lead = static_cast<unsigned char>(text[pos]);
        if (!(lead >= '0' && lead <= '9') && (lead < 0xE4 || lead > 0xE6) && lead != 0xEF) {
            ++pos;
            continue;
        }
        const std::optional<WrittenDate> date = readDate(text, pos);
        if (!date) {
            ++pos;
            continue;
        }
        // A month or day out of every range is not read as a date at all.
        if (date->month >= 1 && date->month <= 12 && date->day >= 1 && date->day <= 31) {
            const int year =
                date->year ? *date->year : nearestYear(context.today, date->month, date->day);
            const std::string_view written = text.substr(pos, date->end - pos);
            OwnRuleHit hit;
            hit.begin = pos;
            hit.end = date->end;
            if (date->day > daysInMonth(year, date->month)) {
                hit.message = "Error - 「" + std::string(written) + "」の日付はありません。" +
                              std::to_string(year) + "年" + std::to_string(date->month) + "月は" +
                              std::to_string(daysInMonth(year, date->month)) + "日までです。";
                hits.push_back(std::move(hit));
            } else if (const int weekday = weekdayOf(year, date->month, date->day);
                       weekday != date->weekday) {
                hit.message = "Error - 「" + std::string(written) + "」の曜日が違います。" +
                              dayText(year, date->month, date->day) + "は" +
                              std::string(WEEKDAYS[weekday]) + "曜日です。";
                hits.push_back(std::move(hit));
            }
        }
        pos = date->end;
    }
}

} // namespace

extern const OwnRule DATE_WEEKDAY_RULE{RULE_NAME, checkDateWeekdays,
                                       &TextLintSettings::checkDateWeekdays};

} // namespace quill
