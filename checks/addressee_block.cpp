// Reading the addressee block: each block line is read from its end, one person at a time,
// as long as it ends with an honorific or a title; the name runs back from there over the
// characters names are written in, and leading company and department words are dropped.
#include "checks/addressee_block.h"

#include "checks/honorific_titles.h"
#include "common/utf8.h"
#include "mail/excluded_lines.h"

#include <algorithm>

namespace quill {

namespace {

constexpr std::size_t BLOCK_LINES_MAX = 5;
// A run longer than this is a sentence, not a name.
constexpr std::size_t NAME_LENGTH_MAX = 24;

// What follows a name to greet its bearer, besides the titles that honour by themselves
// (山田部長, the honorific rule's list); where one ends another (本部長, 部長), the longest
// that ends the text is taken.
constexpr std::u32string_view HONORIFICS[] = {U"様", U"さま", U"さん", U"殿", U"先生"};

// Words of a company anywhere in a part of the name, and the endings of a department or
// an organisation: a part with one of them is not the name. An ending of one character
// (部, 課) makes an organisation only of a part of three characters or more: 阿部 and
// 服部 are names, 営業部 is not.
constexpr std::u32string_view COMPANY_WORDS[] = {
    U"株式会社", U"有限会社", U"合同会社", U"合資会社", U"合名会社", U"(株)",
    U"（株）",   U"㈱",       U"(有)",     U"（有）",   U"㈲",       U"御中",
};
constexpr std::u32string_view ORGANIZATION_ENDINGS[] = {
    U"グループ", U"チーム", U"センター", U"支店", U"支社",   U"本社", U"営業所",
    U"事業所",   U"事務所", U"研究所",   U"工場", U"会社",   U"銀行", U"大学",
    U"病院",     U"協会",   U"組合",     U"法人", U"事業部", U"本部", U"部門",
};
constexpr std::u32string_view SHORT_ORGANIZATION_ENDINGS[] = {U"部", U"課", U"室",
                                                              U"係", U"局", U"班"};

// Names that greet nobody in particular: 皆様, みなさま, お客様, ご担当者様, 関係者様, and
// those of a family (お母様, 奥様).
constexpr std::u32string_view GENERAL_ADDRESSEES[] = {
    U"皆",     U"みな",   U"客",     U"担当者", U"担当",   U"関係者", U"各位", U"会員", U"利用者",
    U"参加者", U"出席者", U"保護者", U"一同",   U"ご家族", U"父",     U"母",   U"奥",   U"お子",
};

// A line that begins with one of these greets or starts the message: the block ends there.
constexpr std::u32string_view GREETINGS[] = {
    U"お世話",     U"いつも",   U"平素",     U"初めまして", U"はじめまして", U"突然",
    U"お疲れ",     U"おつかれ", U"ご無沙汰", U"御無沙汰",   U"拝啓",         U"前略",
    U"こんにち",   U"こんばん", U"おはよう", U"大変お世話", U"先日",         U"先ほど",
    U"先程",       U"本日",     U"ご連絡",   U"お忙しい",   U"夜分",         U"早速",
    U"ありがとう", U"お待たせ", U"恐れ入",   U"度々",       U"たびたび",     U"失礼",
    U"毎度",
};
// A line that begins with a rule character ends the block: the separator of a forwarded or
// original message, or a signature's.
constexpr std::u32string_view RULE_CHARACTERS = U"-=_*─━―－＝＿";

// Characters around persons on a line: blanks, separators, closing and opening brackets,
// and the punctuation that may close an addressee line.
constexpr std::u32string_view SEPARATORS =
    U" \t\u3000、,，.。:：;；!！・/／()（）「」『』【】<>＜＞";
// Words joining two persons (山田様と鈴木様): dropped before a name that follows a person.
constexpr std::u32string_view CONNECTIVES[] = {U"および", U"及び", U"並びに", U"と"};

bool isBlank(char32_t c) {
    return c == U' ' || c == U'\t' || c == U'\u3000';
}

bool isNameCharacter(char32_t c) {
    return (c >= 0x4E00 && c <= 0x9FFF) || (c >= 0x3400 && c <= 0x4DBF) ||
           (c >= 0xF900 && c <= 0xFAFF) || c >= 0x20000 || // kanji
           c == U'々' || c == U'〆' ||                     // the iteration and shime marks
           (c >= 0x3041 && c <= 0x309F) || (c >= 0x30A1 && c <= 0x30FF) || // kana, ・, ー
           (c >= 0xFF66 && c <= 0xFF9F) ||                                 // half-width kana
           (c >= U'A' && c <= U'Z') || (c >= U'a' && c <= U'z') || (c >= 0xFF21 && c <= 0xFF3A) ||
           (c >= 0xFF41 && c <= 0xFF5A) || // full-width Latin
           c == U'㈱' || c == U'㈲' || isBlank(c);
}

bool endsWith(std::u32string_view text, std::u32string_view word) {
    return text.size() >= word.size() && text.substr(text.size() - word.size()) == word;
}

bool startsWith(std::u32string_view text, std::u32string_view word) {
    return text.substr(0, word.size()) == word;
}

template <typename Words>
std::u32string_view longestEnding(std::u32string_view text, const Words &words) {
    std::u32string_view found;
    for (std::u32string_view word : words)
        if (word.size() > found.size() && endsWith(text, word))
            found = word;
    return found;
}

template <std::size_t N>
bool startsWithAny(std::u32string_view text, const std::u32string_view (&words)[N]) {
    return std::any_of(std::begin(words), std::end(words),
                       [&](std::u32string_view word) { return startsWith(text, word); });
}

std::u32string_view trimmed(std::u32string_view text, std::u32string_view characters) {
    while (!text.empty() && characters.find(text.front()) != std::u32string_view::npos)
        text.remove_prefix(1);
    while (!text.empty() && characters.find(text.back()) != std::u32string_view::npos)
        text.remove_suffix(1);
    return text;
}

std::u32string decoded(std::string_view utf8) {
    std::u32string text;
    for (std::size_t pos = 0; pos < utf8.size();)
        text += decodeUtf8(utf8, pos);
    return text;
}

const std::vector<std::u32string> &titles() {
    static const std::vector<std::u32string> TITLES = [] {
        std::vector<std::u32string> decodedTitles;
        for (std::string_view title : HONORIFIC_TITLES)
            decodedTitles.push_back(decoded(title));
        return decodedTitles;
    }();
    return TITLES;
}

std::string encoded(std::u32string_view text) {
    std::string utf8;
    for (char32_t c : text)
        appendUtf8(utf8, c);
    return utf8;
}

bool isOrganizationWord(std::u32string_view part) {
    for (std::u32string_view word : COMPANY_WORDS)
        if (part.find(word) != std::u32string_view::npos)
            return true;
    if (!longestEnding(part, ORGANIZATION_ENDINGS).empty() ||
        !longestEnding(part, titles()).empty())
        return true;
    return part.size() >= 3 && !longestEnding(part, SHORT_ORGANIZATION_ENDINGS).empty();
}

// What is left of a part after the last company or department word inside it
// (営業部山田 → 山田), when at least two characters are; the part itself otherwise.
std::u32string_view afterOrganizationWords(std::u32string_view part) {
    std::size_t cut = 0;
    const auto consider = [&](std::u32string_view word) {
        const std::size_t at = part.rfind(word);
        if (at != std::u32string_view::npos && at + word.size() + 2 <= part.size())
            cut = std::max(cut, at + word.size());
    };
    for (std::u32string_view word : COMPANY_WORDS)
        consider(word);
    for (std::u32string_view word : ORGANIZATION_ENDINGS)
        consider(word);
    for (std::u32string_view word : SHORT_ORGANIZATION_ENDINGS)
        consider(word);
    return part.substr(cut);
}

std::vector<std::u32string_view> blankSeparatedParts(std::u32string_view text) {
    std::vector<std::u32string_view> parts;
    std::size_t pos = 0;
    while (pos < text.size()) {
        while (pos < text.size() && isBlank(text[pos]))
            ++pos;
        std::size_t end = pos;
        while (end < text.size() && !isBlank(text[end]))
            ++end;
        if (end > pos)
            parts.push_back(text.substr(pos, end - pos));
        pos = end;
    }
    return parts;
}

// The name in a run of name characters: the parts after the last company or department
// word; empty when there is none or it greets nobody in particular.
std::u32string nameOfRun(std::u32string_view run) {
    std::vector<std::u32string_view> parts = blankSeparatedParts(run);
    auto firstNamePart = parts.begin();
    for (auto part = parts.begin(); part != parts.end(); ++part)
        if (isOrganizationWord(*part))
            firstNamePart = part + 1;
    if (firstNamePart == parts.end() && !parts.empty()) {
        // Every part is an organisation's, or the name is glued to one (営業部山田).
        const std::u32string_view rest = afterOrganizationWords(parts.back());
        if (rest.size() == parts.back().size())
            return {};
        parts.back() = rest;
        firstNamePart = parts.end() - 1;
    } else if (firstNamePart != parts.end()) {
        *firstNamePart = afterOrganizationWords(*firstNamePart);
    }
    std::u32string name;
    for (auto part = firstNamePart; part != parts.end(); ++part) {
        if (!name.empty())
            name += U' ';
        name += *part;
    }
    std::u32string_view bare = name;
    if (!longestEnding(bare, GENERAL_ADDRESSEES).empty() || name.size() > NAME_LENGTH_MAX)
        return {};
    return name;
}

// The persons of one block line, read from its end; none unless the line ends with one.
void addPersonsOfLine(std::u32string_view line, std::vector<GreetedPerson> &persons) {
    std::vector<GreetedPerson> found;
    std::u32string_view rest = trimmed(line, SEPARATORS);
    // 「山田様へ」
    if (endsWith(rest, U"へ") &&
        !longestEnding(rest.substr(0, rest.size() - 1), HONORIFICS).empty())
        rest.remove_suffix(1);
    // A remark in brackets after the last person (「山田様（営業部）」) is passed over once.
    bool bracketPassed = false;
    bool addresseeLine = false;
    while (!rest.empty()) {
        if (!addresseeLine && !bracketPassed && line.size() > rest.size()) {
            const char32_t last = trimmed(line, U" \t\u3000").back();
            const std::size_t open = rest.find_last_of(U"(（");
            bracketPassed = true;
            if ((last == U')' || last == U'）') && open != std::u32string_view::npos &&
                longestEnding(rest, HONORIFICS).empty() && longestEnding(rest, titles()).empty())
                rest = trimmed(rest.substr(0, open), SEPARATORS);
        }
        std::u32string_view honorific = longestEnding(rest, HONORIFICS);
        std::u32string_view title = longestEnding(rest, titles());
        if (title.size() > honorific.size())
            honorific = title;
        if (honorific.empty()) {
            // A line that ends with a person is an addressee line; words between persons
            // there (「山田様（CC: 鈴木様）」) are passed over.
            const std::size_t separator = rest.find_last_of(SEPARATORS);
            if (!addresseeLine || separator == std::u32string_view::npos)
                break;
            rest = trimmed(rest.substr(0, separator), SEPARATORS);
            continue;
        }
        addresseeLine = true;
        const std::size_t writtenEnd = rest.size();
        std::size_t nameEnd = writtenEnd - honorific.size();
        // A title before 様 or 殿 (山田部長様) belongs to the honorific, not to the name.
        nameEnd -= longestEnding(rest.substr(0, nameEnd), titles()).size();
        std::size_t nameStart = nameEnd;
        bool afterPerson = false;
        while (nameStart > 0 && isNameCharacter(rest[nameStart - 1])) {
            const std::u32string_view before = rest.substr(0, nameStart);
            const std::u32string_view previous = longestEnding(before, HONORIFICS);
            // An honorific after a name ends the person before (山田様と鈴木様); one that
            // starts a name (殿村) does not.
            if (!previous.empty() && previous.size() < before.size() &&
                isNameCharacter(before[before.size() - previous.size() - 1]) &&
                !isBlank(before[before.size() - previous.size() - 1])) {
                afterPerson = true;
                break;
            }
            --nameStart;
        }
        std::u32string_view run = rest.substr(nameStart, nameEnd - nameStart);
        if (afterPerson)
            for (std::u32string_view connective : CONNECTIVES)
                if (startsWith(run, connective)) {
                    run.remove_prefix(connective.size());
                    break;
                }
        const std::u32string name = nameOfRun(trimmed(run, U" \t\u3000"));
        if (!name.empty()) {
            // Written from the name's first part on: 「営業部 山田様」 is written 「山田様」.
            std::u32string_view written = rest.substr(nameStart, writtenEnd - nameStart);
            const std::size_t nameAt = written.find(name.substr(0, name.find(U' ')));
            if (nameAt != std::u32string_view::npos)
                written.remove_prefix(nameAt);
            found.push_back(GreetedPerson{encoded(written), encoded(name)});
        }
        rest = trimmed(rest.substr(0, nameStart), SEPARATORS);
    }
    persons.insert(persons.end(), found.rbegin(), found.rend());
}

} // namespace

std::vector<GreetedPerson> greetedPersons(std::string_view utf8Text, std::string_view quoteMarks) {
    LineExclusion exclusion;
    exclusion.quotedLines = true;
    exclusion.quoteMarks = std::string(quoteMarks);
    exclusion.signature = true;
    const std::string own = maskExcludedLines(std::string(utf8Text), exclusion);

    std::vector<GreetedPerson> persons;
    std::size_t blockLines = 0;
    for (std::size_t start = 0; start < own.size() && blockLines < BLOCK_LINES_MAX;) {
        std::size_t end = own.find('\n', start);
        if (end == std::string::npos)
            end = own.size();
        const std::u32string text = decoded(std::string_view(own).substr(start, end - start));
        start = end + 1;
        const std::u32string_view line = trimmed(text, U" \t\r\u3000");
        if (line.empty()) {
            if (blockLines > 0)
                break;
            continue;
        }
        if (startsWithAny(line, GREETINGS) ||
            RULE_CHARACTERS.find(line.front()) != std::u32string_view::npos)
            break;
        ++blockLines;
        addPersonsOfLine(line, persons);
    }
    return persons;
}

} // namespace quill
