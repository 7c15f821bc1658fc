// Reading the forms of a written date with a cursor that takes words and numbers. Every
// reading looks at a bounded number of bytes, so scanning a text for dates stays linear.
#include "checks/written_date.h"

#include <cctype>
#include <string>

namespace quill {

namespace {

// Letters a date is written with, in UTF-8.
constexpr std::string_view YEAR = "年";
constexpr std::string_view FISCAL = "度";
constexpr std::string_view MONTH = "月";
constexpr std::string_view DAY = "日";
constexpr std::string_view FIRST_YEAR = "元";
constexpr std::string_view WEEKDAY_SUFFIXES[] = {"曜日", "曜"};
constexpr std::string_view SLASHES[] = {"/", "／"};
constexpr std::string_view HYPHEN = "-";
constexpr std::string_view OPENING[] = {"(", "（"};
constexpr std::string_view CLOSING[] = {")", "）"};
constexpr std::string_view BLANKS[] = {" ", "\t", "\xE3\x80\x80"};
constexpr std::size_t BLANKS_MOST = 4;
// A holiday named beside the weekday: 「5月3日(土・祝)」.
constexpr std::string_view HOLIDAY_JOINS[] = {"・", "･", "/", "／", "、", ","};
constexpr std::string_view HOLIDAYS[] = {"祝日", "祝", "休日", "休"};
// Sunday first, as the weekday count.
constexpr std::string_view WEEKDAYS[] = {"日", "月", "火", "水", "木", "金", "土"};
constexpr std::string_view ENGLISH_WEEKDAYS[] = {"sunday",   "monday", "tuesday", "wednesday",
                                                 "thursday", "friday", "saturday"};
// An ordinal before digits and a slash: 「第2/4土曜」 is the second and the fourth.
constexpr std::string_view ORDINAL = "第";

struct YearWord {
    std::string_view word;
    int offset;
};
// Longer words first where one ends another (一昨年, 昨年).
constexpr YearWord YEAR_WORDS[] = {
    {"一昨年", -2}, {"再来年", 2}, {"昨年", -1}, {"去年", -1}, {"前年", -1},
    {"来年", 1},    {"翌年", 1},   {"今年", 0},  {"本年", 0},
};
constexpr std::string_view YEAR_WORD_JOINS[] = {"の", " ", "\xE3\x80\x80"};

bool endsWith(std::string_view text, std::size_t end, std::string_view word) {
    return end >= word.size() && end <= text.size() &&
           text.substr(end - word.size(), word.size()) == word;
}

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
        for (std::size_t count = 0; count < BLANKS_MOST && takeOneOf(BLANKS); ++count)
            ;
    }
    // An English weekday, whole or by its first three letters, letter case ignored and a
    // full stop after the short form allowed, not followed by another letter.
    std::optional<WeekdayStyle> takeEnglishWeekday(int &weekday) {
        for (std::size_t i = 0; i < std::size(ENGLISH_WEEKDAYS); ++i) {
            const std::string_view name = ENGLISH_WEEKDAYS[i];
            const std::size_t start = pos_;
            std::size_t length = 0;
            while (length < name.size() && pos_ + length < text_.size() &&
                   std::tolower(static_cast<unsigned char>(text_[pos_ + length])) == name[length])
                ++length;
            if (length != name.size() && length != 3)
                continue;
            pos_ += length;
            const WeekdayStyle style =
                length == 3 ? WeekdayStyle::EnglishShort : WeekdayStyle::EnglishName;
            if (style == WeekdayStyle::EnglishShort)
                take(".");
            if (pos_ < text_.size() && std::isalpha(static_cast<unsigned char>(text_[pos_]))) {
                pos_ = start;
                continue;
            }
            weekday = static_cast<int>(i);
            return style;
        }
        return std::nullopt;
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

// 「25/12/5」 and 「第2/4」: the digits at `pos` follow digits and a slash, or an ordinal.
bool followsSlashedDigitsOrOrdinal(std::string_view text, std::size_t pos) {
    if (endsWith(text, pos, ORDINAL))
        return true;
    for (std::string_view slash : SLASHES)
        if (endsWith(text, pos, slash) && followsDigit(text, pos - slash.size()))
            return true;
    return false;
}

// The weekday in parentheses after a date: 「(金)」, 「（金曜日）」, 「(土・祝)」, 「(Thu)」,
// 「(Friday)」.
bool readWeekday(Cursor &cursor, WrittenDate &date) {
    cursor.skipBlanks();
    if (!cursor.takeOneOf(OPENING))
        return false;
    cursor.skipBlanks();
    int weekday = 0;
    if (const std::optional<std::size_t> japanese = cursor.takeOneOf(WEEKDAYS)) {
        weekday = static_cast<int>(*japanese);
        date.style = WeekdayStyle::Japanese;
        cursor.takeOneOf(WEEKDAY_SUFFIXES);
        if (cursor.takeOneOf(HOLIDAY_JOINS) && !cursor.takeOneOf(HOLIDAYS))
            return false;
    } else if (const std::optional<WeekdayStyle> english = cursor.takeEnglishWeekday(weekday)) {
        date.style = *english;
    } else {
        return false;
    }
    cursor.skipBlanks();
    if (!cursor.takeOneOf(CLOSING))
        return false;
    date.weekday = weekday;
    date.end = cursor.pos();
    return true;
}

// The month and day after a year (the cursor after 年 or the first slash or hyphen), joined
// as `separator` says (empty for 「M月D日」), and the weekday after them when one is written.
void readMonthDayAfterYear(Cursor cursor, std::string_view separator, WrittenDate &date) {
    const bool kanji = separator.empty();
    const auto takeSeparator = [&] {
        return separator == HYPHEN ? cursor.take(HYPHEN) : cursor.takeOneOf(SLASHES).has_value();
    };
    const std::optional<int> month = cursor.number(1, 2);
    if (!month || (kanji ? !cursor.take(MONTH) : !takeSeparator()))
        return;
    if (kanji) {
        date.month = *month;
        date.end = cursor.pos();
    }
    const std::optional<int> day = cursor.number(1, 2);
    if (!day || (kanji && !cursor.take(DAY)))
        return;
    date.month = *month;
    date.day = *day;
    date.end = cursor.pos();
    readWeekday(cursor, date);
}

// An era's date: 「令和8年12月5日(土)」, 「令和元年5月」, 「令和9年度」, 「令和0年」.
std::optional<WrittenDate> readEraDate(std::string_view text, std::size_t pos) {
    for (const JapaneseEra &era : JAPANESE_ERAS) {
        Cursor cursor(text, pos);
        if (!cursor.take(era.name))
            continue;
        const std::optional<int> year =
            cursor.take(FIRST_YEAR) ? std::optional<int>(1) : cursor.number(1, 2);
        if (!year || !cursor.take(YEAR))
            return std::nullopt;
        WrittenDate date;
        date.begin = pos;
        date.era = &era;
        date.eraYear = *year;
        date.year = era.yearBeforeFirst + *year;
        date.fiscalYear = cursor.take(FISCAL);
        date.end = cursor.pos();
        if (!date.fiscalYear)
            readMonthDayAfterYear(cursor, {}, date);
        return date;
    }
    return std::nullopt;
}

// A Gregorian year and what follows it: 「2027年」, 「2027年度」, 「2027年7月1日(木)」,
// 「2026/12/5(土)」, 「2016-12-29 (Thu)」. A year with a slash or a hyphen needs its day.
std::optional<WrittenDate> readYearDate(std::string_view text, std::size_t pos) {
    Cursor cursor(text, pos);
    const std::optional<int> year = cursor.number(4, 4);
    if (!year)
        return std::nullopt;
    WrittenDate date;
    date.begin = pos;
    date.year = *year;
    if (cursor.take(YEAR)) {
        date.fiscalYear = cursor.take(FISCAL);
        date.end = cursor.pos();
        if (!date.fiscalYear)
            readMonthDayAfterYear(cursor, {}, date);
        return date;
    }
    for (std::string_view separator : {std::string_view("/"), HYPHEN}) {
        Cursor joined = cursor;
        if (separator == HYPHEN ? !joined.take(HYPHEN) : !joined.takeOneOf(SLASHES))
            continue;
        readMonthDayAfterYear(joined, separator, date);
        return date.day == 0 ? std::nullopt : std::optional<WrittenDate>(date);
    }
    return std::nullopt;
}

// 「M月D日」 or 「M/D」 with the weekday after it; `kanji` chooses the form.
std::optional<WrittenDate> readMonthDay(std::string_view text, std::size_t pos, bool kanji) {
    if (!kanji && followsSlashedDigitsOrOrdinal(text, pos))
        return std::nullopt;
    Cursor cursor(text, pos);
    const std::optional<int> month = cursor.number(1, 2);
    if (!month || (kanji ? !cursor.take(MONTH) : !cursor.takeOneOf(SLASHES)))
        return std::nullopt;
    const std::optional<int> day = cursor.number(1, 2);
    if (!day || (kanji && !cursor.take(DAY)))
        return std::nullopt;
    WrittenDate date;
    date.begin = pos;
    date.month = *month;
    date.day = *day;
    if (!readWeekday(cursor, date))
        return std::nullopt;
    return date;
}

} // namespace

std::optional<WrittenDate> readWrittenDate(std::string_view text, std::size_t pos) {
    if (std::optional<WrittenDate> date = readEraDate(text, pos))
        return date;
    if (followsDigit(text, pos))
        return std::nullopt;
    if (std::optional<WrittenDate> date = readYearDate(text, pos))
        return date;
    if (std::optional<WrittenDate> date = readMonthDay(text, pos, true))
        return date;
    return readMonthDay(text, pos, false);
}

std::optional<int> yearWordBefore(std::string_view text, std::size_t pos) {
    for (std::size_t count = 0; count < BLANKS_MOST; ++count) {
        bool joined = false;
        for (std::string_view join : YEAR_WORD_JOINS)
            if (endsWith(text, pos, join)) {
                pos -= join.size();
                joined = true;
                break;
            }
        if (!joined)
            break;
    }
    for (const YearWord &word : YEAR_WORDS)
        if (endsWith(text, pos, word.word))
            return word.offset;
    return std::nullopt;
}

} // namespace quill
