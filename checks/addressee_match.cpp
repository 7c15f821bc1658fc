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

// Old and new forms of kanji that names are written in either way (齋藤 and 斎藤, 渡邊 and
// 渡辺): a recipient's display name often has the form of the family register, the body
// the everyday one. The machine-dependent variants (髙, 﨑) come from their own table.
struct KanjiVariant {
    char32_t variant;
    char32_t usual;
};
constexpr KanjiVariant KANJI_VARIANTS[] = {
    {U'齋', U'斎'}, {U'齊', U'斎'}, {U'斉', U'斎'}, {U'邊', U'辺'}, {U'邉', U'辺'}, {U'澤', U'沢'},
    {U'嶋', U'島'}, {U'嶌', U'島'}, {U'濱', U'浜'}, {U'廣', U'広'}, {U'嵜', U'崎'}, {U'碕', U'崎'},
    {U'櫻', U'桜'}, {U'國', U'国'}, {U'眞', U'真'}, {U'惠', U'恵'}, {U'壽', U'寿'}, {U'淺', U'浅'},
    {U'榮', U'栄'}, {U'冨', U'富'}, {U'彌', U'弥'}, {U'禮', U'礼'}, {U'槇', U'槙'}, {U'曾', U'曽'},
    {U'藪', U'薮'}, {U'籠', U'篭'}, {U'驒', U'騨'}, {U'龍', U'竜'}, {U'實', U'実'}, {U'德', U'徳'},
};

char32_t usualKanji(char32_t c) {
    for (const KanjiVariant &entry : KANJI_VARIANTS)
        if (entry.variant == c)
            return entry.usual;
    const RecipientCharInfo info = classifyRecipientChar(c);
    if (info.use == ReplacementUse::Suggest && info.replacement != nullptr) {
        std::size_t pos = 0;
        return decodeUtf8(info.replacement, pos);
    }
    return c;
}

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
        appendUtf8(folded, usualKanji(c));
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
