// Comparing greeted names with the recipients' display names after folding both.
#include "checks/addressee_match.h"

#include "checks/recipient_chars.h"
#include "common/utf8.h"

#include <algorithm>

namespace quill {

namespace {

constexpr char32_t FULL_WIDTH_ASCII_FIRST = 0xFF01;
constexpr char32_t FULL_WIDTH_ASCII_LAST = 0xFF5E;
constexpr char32_t FULL_WIDTH_OFFSET = 0xFEE0;
constexpr char32_t HALF_WIDTH_KANA_FIRST = 0xFF61;
constexpr char32_t HALF_WIDTH_KANA_LAST = 0xFF9F;

bool isDropped(char32_t c) {
    return c == U' ' || c == U'\t' || c == U'\u3000' || c == U'・' || c == U'･';
}

bool isJapaneseCharacter(char32_t c) {
    return (c >= 0x3041 && c <= 0x309F) || (c >= 0x30A1 && c <= 0x30FA) ||
           (c >= 0x30FC && c <= 0x30FF) || (c >= 0xFF66 && c <= 0xFF9D) ||
           (c >= 0x4E00 && c <= 0x9FFF) || (c >= 0x3400 && c <= 0x4DBF) ||
           (c >= 0xF900 && c <= 0xFAFF) || c >= 0x20000 || c == U'々' || c == U'〆';
}

std::size_t characterCount(std::string_view utf8) {
    std::size_t count = 0;
    for (std::size_t pos = 0; pos < utf8.size(); ++count)
        decodeUtf8(utf8, pos);
    return count;
}

// Whether the folded name and the folded display name belong to one person.
bool bears(const std::string &displayName, const std::string &name) {
    if (name.empty() || displayName.empty())
        return false;
    if (displayName.find(name) != std::string::npos)
        return true;
    // A display name of the surname alone (「山田」) bears 「山田太郎様」 too.
    return characterCount(displayName) >= 2 && name.find(displayName) != std::string::npos;
}

} // namespace

bool isInJapaneseScript(std::string_view utf8) {
    for (std::size_t pos = 0; pos < utf8.size();)
        if (isJapaneseCharacter(decodeUtf8(utf8, pos)))
            return true;
    return false;
}

std::string foldedName(std::string_view utf8) {
    std::string folded;
    std::u32string halfWidthKana;
    const auto flushKana = [&] {
        if (!halfWidthKana.empty())
            folded += fullWidthKana(halfWidthKana);
        halfWidthKana.clear();
    };
    for (std::size_t pos = 0; pos < utf8.size();) {
        char32_t c = decodeUtf8(utf8, pos);
        if (isDropped(c))
            continue;
        if (c >= HALF_WIDTH_KANA_FIRST && c <= HALF_WIDTH_KANA_LAST) {
            halfWidthKana += c;
            continue;
        }
        flushKana();
        if (c >= FULL_WIDTH_ASCII_FIRST && c <= FULL_WIDTH_ASCII_LAST)
            c -= FULL_WIDTH_OFFSET;
        if (c >= U'A' && c <= U'Z')
            c += U'a' - U'A';
        appendUtf8(folded, c);
    }
    flushKana();
    return folded;
}

std::vector<GreetedPerson> unaddressedPersons(const std::vector<GreetedPerson> &greeted,
                                              const std::vector<std::string> &displayNames) {
    if (std::none_of(displayNames.begin(), displayNames.end(),
                     [](const std::string &name) { return isInJapaneseScript(name); }))
        return {};
    std::vector<std::string> folded;
    for (const std::string &displayName : displayNames)
        folded.push_back(foldedName(displayName));
    std::vector<GreetedPerson> unaddressed;
    for (const GreetedPerson &person : greeted) {
        if (!isInJapaneseScript(person.name))
            continue;
        const std::string whole = foldedName(person.name);
        const std::string lastPart = foldedName(person.name.substr(person.name.rfind(' ') + 1));
        const bool borne = std::any_of(folded.begin(), folded.end(), [&](const std::string &name) {
            return bears(name, whole) || bears(name, lastPart);
        });
        if (!borne)
            unaddressed.push_back(person);
    }
    return unaddressed;
}

} // namespace quill
