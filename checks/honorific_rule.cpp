// The rule of honorifics: a title that already honours its bearer followed by 様 or 殿
// (「山田部長様」), 各位様 and 各位殿, 御中 together with 様 or 殿 for the same addressee, and the
// common doubled honorific verbs (二重敬語). Only a doubled verb whose plain form is certain
// (おっしゃられる → おっしゃる) has a fix; a title may be mended in more than one way.
#include "checks/honorific_titles.h"
#include "checks/own_rule.h"
#include "common/utf8.h"

#include <algorithm>
#include <functional>
#include <iterator>
#include <optional>

namespace quill {

namespace {

constexpr char RULE_NAME[] = "quillcheck/honorific";

constexpr std::string_view SAMA = "様";
constexpr std::string_view DONO = "殿";
constexpr std::string_view ONCHU = "御中";
constexpr std::string_view KAKUI = "各位";

// Characters after 様 or 殿 that make another word of it: 様々, 様式, 様子, 様相, 様態, 殿下,
// 殿堂.
constexpr std::string_view AFTER_SAMA[] = {"々", "式", "子", "相", "態"};
constexpr std::string_view AFTER_DONO[] = {"下", "堂"};

bool startsWithOneOf(std::string_view text, const std::string_view *words, std::size_t count) {
    for (std::size_t i = 0; i < count; ++i)
        if (text.substr(0, words[i].size()) == words[i])
            return true;
    return false;
}

// The honorific (様 or 殿) that starts `rest`, or empty when it starts none or is part of
// another word.
std::string_view honorificAt(std::string_view rest) {
    if (rest.substr(0, SAMA.size()) == SAMA &&
        !startsWithOneOf(rest.substr(SAMA.size()), AFTER_SAMA, std::size(AFTER_SAMA)))
        return SAMA;
    if (rest.substr(0, DONO.size()) == DONO &&
        !startsWithOneOf(rest.substr(DONO.size()), AFTER_DONO, std::size(AFTER_DONO)))
        return DONO;
    return {};
}

bool endsWith(std::string_view text, std::size_t end, std::string_view word) {
    return end >= word.size() && text.substr(end - word.size(), word.size()) == word;
}

// 「部長様」, 「各位殿」: a title or 各位 right before an honorific at `pos`.
void checkTitleBefore(std::string_view text, std::size_t pos, std::string_view honorific,
                      std::vector<OwnRuleHit> &hits) {
    const std::string_view title =
        endsWith(text, pos, KAKUI) ? KAKUI : honorificTitleEndingAt(text, pos);
    if (title.empty())
        return;
    OwnRuleHit hit;
    hit.begin = pos - title.size();
    hit.end = pos + honorific.size();
    hit.message = "Error - 「" + std::string(title) + std::string(honorific) +
                  "」は敬称が重なっています。「" + std::string(title) + "」が敬称を兼ねるので「" +
                  std::string(honorific) + "」は付けません。";
    if (title != KAKUI)
        hit.message += "「" + std::string(title) + "の〇〇様」とする書き方もあります。";
    hits.push_back(std::move(hit));
}

// Calls `found` with the start of every occurrence of `word` in `text`, left to right,
// with a skipping search: Japanese text repeats the lead bytes of its words everywhere.
template <typename Found>
void forEachOccurrence(std::string_view text, std::string_view word, Found found) {
    const std::boyer_moore_horspool_searcher searcher(word.begin(), word.end());
    for (auto at = text.begin(); at != text.end();) {
        at = std::search(at, text.end(), searcher);
        if (at == text.end())
            break;
        found(static_cast<std::size_t>(at - text.begin()));
        at += static_cast<std::ptrdiff_t>(word.size());
    }
}

bool isKanji(char32_t c) {
    return (c >= 0x4E00 && c <= 0x9FFF) || (c >= 0x3400 && c <= 0x4DBF) || c == U'々';
}
bool isHiragana(char32_t c) {
    return c >= 0x3041 && c <= 0x309F;
}
bool isBlank(char32_t c) {
    return c == ' ' || c == '\t' || c == 0x3000;
}
// Letters a person's name is written with: kanji, kana and Latin letters, full-width ones too.
bool isNameLetter(char32_t c) {
    return isKanji(c) || isHiragana(c) || (c >= 0x30A1 && c <= 0x30FF) || (c >= 'A' && c <= 'Z') ||
           (c >= 'a' && c <= 'z') || (c >= 0xFF21 && c <= 0xFF3A) || (c >= 0xFF41 && c <= 0xFF5A);
}

// A stretch before 様 that is no name: a word ending so (皆様, 奥様, 同様) or a greeting, which
// mixes hiragana into kanji (お疲れ様, ご苦労様, お客様, お世話様). A name in hiragana alone
// (さくら様) stays a name.
constexpr std::string_view NOT_NAME_ENDINGS[] = {"皆", "奥", "同", "仕", "模",
                                                 "多", "一", "異", "左"};
constexpr std::size_t NAME_MOST = 12; // characters, blanks inside a name included

// The end of the name that follows `pos` on its line, blanks around it skipped, or `pos`
// itself when what follows is no name; never beyond NAME_MOST characters or a 様 or 殿.
std::size_t afterName(std::string_view text, std::size_t pos) {
    const std::size_t start = pos;
    std::size_t nameBegin = std::string_view::npos;
    std::size_t nameEnd = pos;
    bool hiragana = false;
    bool other = false;
    for (std::size_t count = 0; count < NAME_MOST + 4 && pos < text.size(); ++count) {
        if (!honorificAt(text.substr(pos)).empty())
            break;
        std::size_t next = pos;
        const char32_t c = decodeUtf8(text, next);
        if (isBlank(c)) {
            pos = next;
            continue;
        }
        if (!isNameLetter(c))
            break;
        if (nameBegin == std::string_view::npos)
            nameBegin = pos;
        (isHiragana(c) ? hiragana : other) = true;
        pos = next;
        nameEnd = pos;
    }
    if (nameBegin == std::string_view::npos)
        return pos; // blanks alone: 「御中 様」
    const std::string_view name = text.substr(nameBegin, nameEnd - nameBegin);
    const bool notName =
        (hiragana && other) || name.substr(0, 3) == "お" || name.substr(0, 3) == "ご" ||
        std::any_of(std::begin(NOT_NAME_ENDINGS), std::end(NOT_NAME_ENDINGS),
                    [&](std::string_view ending) { return endsWith(name, name.size(), ending); });
    return notName ? start : pos;
}

// Departments that may stand on the line below their company's 御中.
constexpr std::string_view DEPARTMENT_ENDINGS[] = {
    "部", "課", "室", "係", "局", "班", "センター", "グループ", "チーム", "支店", "営業所"};

// Whether only blanks follow `pos` on its line (the text's end ends a line too).
bool blankToLineEnd(std::string_view text, std::size_t pos) {
    while (pos < text.size() && text[pos] != '\n') {
        const char32_t c = decodeUtf8(text, pos);
        if (!isBlank(c) && c != '\r')
            return false;
    }
    return true;
}

// The honorific of the person on the line after 御中's (which holds nothing else) when that
// line names a department and the person alone: 「営業部 山田様」. Another company's person
// (「B社 山田様」) or a greeting is another addressee or none.
std::string_view honorificBelow(std::string_view text, std::size_t lineStart) {
    std::size_t department = lineStart;
    for (std::size_t count = 0; count < NAME_MOST && department < text.size(); ++count) {
        std::size_t next = department;
        if (!isBlank(decodeUtf8(text, next)))
            break;
        department = next;
    }
    std::size_t pos = department;
    for (std::size_t count = 0; count < NAME_MOST && pos < text.size(); ++count) {
        std::size_t next = pos;
        const char32_t c = decodeUtf8(text, next);
        if (!isNameLetter(c) || c == U'様' || c == U'殿')
            break;
        pos = next;
    }
    if (pos == department ||
        std::none_of(std::begin(DEPARTMENT_ENDINGS), std::end(DEPARTMENT_ENDINGS),
                     [&](std::string_view ending) { return endsWith(text, pos, ending); }))
        return {};
    const std::size_t name = afterName(text, pos);
    if (name == pos)
        return {};
    const std::string_view honorific = honorificAt(text.substr(name));
    if (honorific.empty() || !blankToLineEnd(text, name + honorific.size()))
        return {};
    return honorific;
}

// 御中 with 様 or 殿 for the same addressee: after it on its line with nothing but a name
// between (「ABC株式会社 御中 山田様」, 「御中様」), or on the next line as a department's person
// (「ABC株式会社 御中」「営業部 山田様」). A greeting (お疲れ様), a word holding 様 (皆様, お客様),
// a bracket (「御中（お客様番号…）」) or another company's addressee below is none. Every look
// is bounded, so the text is read a bounded number of times.
void checkOnchu(std::string_view text, std::vector<OwnRuleHit> &hits) {
    forEachOccurrence(text, ONCHU, [&](std::size_t begin) {
        const std::size_t after = begin + ONCHU.size();
        if (text.substr(after, 3) == "元") // 御中元, a summer gift
            return;
        const std::size_t name = afterName(text, after);
        std::string_view honorific = honorificAt(text.substr(name));
        if (honorific.empty() && blankToLineEnd(text, after)) {
            const std::size_t lineEnd = text.find('\n', after);
            if (lineEnd != std::string_view::npos)
                honorific = honorificBelow(text, lineEnd + 1);
        }
        if (honorific.empty())
            return;
        OwnRuleHit hit;
        hit.begin = begin;
        hit.end = after;
        hit.message = "Error - 「御中」と「" + std::string(honorific) +
                      "」を同じ宛名に付けています。会社や部署には「御中」、人には「" +
                      std::string(honorific) + "」の一方だけを付けます。";
        hits.push_back(std::move(hit));
    });
}

// A doubled honorific verb: what comes before the conjugated ending, and per ending the
// certain plain form.
struct Ending {
    std::string_view written;
    std::string_view plain;
};
constexpr Ending RARERU_ENDINGS[] = {
    {"る", "る"},
    {"た", "った"},
    {"て", "って"},
    {"ました", "いました"},
    {"ます", "います"},
    {"ません", "いません"},
    {"なかった", "らなかった"},
    {"ない", "らない"},
};
constexpr Ending NARARERU_ENDINGS[] = {
    {"る", "る"},
    {"た", "った"},
    {"て", "って"},
    {"ました", "りました"},
    {"ます", "ります"},
    {"ません", "りません"},
    {"なかった", "らなかった"},
    {"ない", "らない"},
};

// The doubled verb written from `begin` up to `stemEnd`, its conjugated ending looked up in
// `endings`: with a known ending the plain form is named, and when the verb is `certain`
// too it becomes the fix.
void addDoubledVerb(std::string_view text, std::size_t begin, std::size_t stemEnd,
                    std::string_view plainStem, const Ending *endings, std::size_t endingCount,
                    std::string_view shown, std::string_view advice, bool certain,
                    std::vector<OwnRuleHit> &hits) {
    OwnRuleHit hit;
    hit.begin = begin;
    hit.end = stemEnd;
    std::string shownText(shown);
    std::string adviceText(advice);
    const std::string_view rest = text.substr(stemEnd);
    for (std::size_t i = 0; i < endingCount; ++i) {
        if (rest.substr(0, endings[i].written.size()) != endings[i].written)
            continue;
        hit.end += endings[i].written.size();
        const std::string plain = std::string(plainStem) + std::string(endings[i].plain);
        shownText = std::string(text.substr(hit.begin, hit.end - hit.begin));
        adviceText = "「" + plain + "」";
        if (certain)
            hit.replacement = plain;
        break;
    }
    hit.message = "Error - 「" + shownText + "」は二重敬語です。" + adviceText + "で足ります。";
    hits.push_back(std::move(hit));
}

// お…になる and ご…になる, the honorific forms of verbs, doubled by られる: 「お書きになられる」,
// 「ご覧になられる」. The stem is read back from になられ to its お or ご: after お a verb's stem
// (kanji with kana that end in the i or e row: 書き, 見え, 召し上がり; or いで), after ご a verbal
// noun in kanji (覧, 利用). Only the verbs listed get the fix: the others are read by their
// shape, and a shape can deceive.
constexpr std::string_view NARARERU = "になられ";
constexpr std::size_t STEM_MOST = 8; // characters between お or ご and になられ
constexpr std::u32string_view I_AND_E_ROWS = U"いきぎしじちぢにひびぴみりえけげせぜてでねべぺめれ";
// Stems of that shape that name no act: 「ご立派になられた」 is no doubled honorific.
constexpr std::string_view NOT_VERB_STEMS[] = {"立派", "病気", "元気", "無事",   "健康", "高齢",
                                               "多忙", "一緒", "幸せ", "不自由", "不在", "年配"};
constexpr std::string_view NARARERU_STEMS[] = {
    "お見え", "ご覧",   "お越し", "お帰り", "お召し上がり", "お出かけ",   "お休み", "お読み",
    "お聞き", "お待ち", "お戻り", "お求め", "お受け取り",   "お亡くなり", "ご利用", "ご出席",
};
constexpr std::string_view OSSHARARERU = "おっしゃられ";
// Humble verbs doubled by させていただく, which have no one plain form.
constexpr std::string_view SASETE_ITADAKU[] = {"させていただ", "させて頂"};
struct HumbleVerb {
    std::string_view stem;
    std::string_view advice;
};
constexpr HumbleVerb HUMBLE_STEMS[] = {
    {"お伺い", "「伺います」「伺わせていただきます」"},
    {"拝見", "「拝見します」「拝見いたします」"},
    {"拝読", "「拝読します」「拝読いたします」"},
};

// The start of the お or ご that begins the honorific verb ending at `end` (where になられ
// starts), or none when the characters before it are no verb of that form.
std::optional<std::size_t> honorificStemStart(std::string_view text, std::size_t end) {
    std::size_t start = end;
    bool kanji = false;
    bool kana = false;
    char32_t last = 0;
    for (std::size_t count = 0; count <= STEM_MOST && start > 0; ++count) {
        std::size_t previous = start - 1;
        while (previous > 0 && start - previous < 4 &&
               (static_cast<unsigned char>(text[previous]) & 0xC0) == 0x80)
            --previous;
        std::size_t next = previous;
        const char32_t c = decodeUtf8(text, next);
        if (next != start)
            return std::nullopt;
        if ((c == U'お' || c == U'ご') && count > 0) {
            const std::string_view stem = text.substr(start, end - start);
            if (std::find(std::begin(NOT_VERB_STEMS), std::end(NOT_VERB_STEMS), stem) !=
                std::end(NOT_VERB_STEMS))
                return std::nullopt;
            const bool verb =
                c == U'ご' ? !kana && count <= 4
                           : (kanji && I_AND_E_ROWS.find(last) != std::u32string_view::npos) ||
                                 stem == "いで";
            return verb ? std::optional<std::size_t>(previous) : std::nullopt;
        }
        if (isKanji(c))
            kanji = true;
        else if (isHiragana(c) && c != U'を')
            kana = true;
        else
            return std::nullopt;
        if (count == 0)
            last = c;
        start = previous;
    }
    return std::nullopt;
}

void checkDoubledVerbs(std::string_view text, std::vector<OwnRuleHit> &hits) {
    forEachOccurrence(text, OSSHARARERU, [&](std::size_t pos) {
        addDoubledVerb(text, pos, pos + OSSHARARERU.size(), "おっしゃ", RARERU_ENDINGS,
                       std::size(RARERU_ENDINGS), "おっしゃられる", "「おっしゃる」", true, hits);
    });
    forEachOccurrence(text, NARARERU, [&](std::size_t pos) {
        const std::optional<std::size_t> begin = honorificStemStart(text, pos);
        if (!begin)
            return;
        const std::string_view stem = text.substr(*begin, pos - *begin);
        const bool certain = std::find(std::begin(NARARERU_STEMS), std::end(NARARERU_STEMS),
                                       stem) != std::end(NARARERU_STEMS);
        const std::string plain = std::string(stem) + "にな";
        const std::string shown = std::string(stem) + "になられる";
        const std::string advice = "「" + std::string(stem) + "になる」";
        addDoubledVerb(text, *begin, pos + NARARERU.size(), plain, NARARERU_ENDINGS,
                       std::size(NARARERU_ENDINGS), shown, advice, certain, hits);
    });
    for (std::string_view sasete : SASETE_ITADAKU)
        forEachOccurrence(text, sasete, [&](std::size_t pos) {
            for (const HumbleVerb &verb : HUMBLE_STEMS) {
                if (!endsWith(text, pos, verb.stem))
                    continue;
                const std::string shown = std::string(verb.stem) + std::string(sasete) + "く";
                addDoubledVerb(text, pos - verb.stem.size(), pos + sasete.size(), "", nullptr, 0,
                               shown, verb.advice, false, hits);
                return;
            }
        });
}

void checkHonorifics(std::string_view text, const OwnCheckContext &,
                     std::vector<OwnRuleHit> &hits) {
    for (std::size_t pos = 0; pos < text.size(); ++pos) {
        // 様 and 殿 both start with E6 in UTF-8.
        if (static_cast<unsigned char>(text[pos]) != 0xE6)
            continue;
        const std::string_view honorific = honorificAt(text.substr(pos));
        if (!honorific.empty())
            checkTitleBefore(text, pos, honorific, hits);
    }
    checkOnchu(text, hits);
    checkDoubledVerbs(text, hits);
}

} // namespace

extern const OwnRule HONORIFIC_RULE{RULE_NAME, checkHonorifics, &TextLintSettings::checkHonorifics};

} // namespace quill
