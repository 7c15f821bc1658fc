// The rule of honorifics: a title that already honours its bearer followed by 様 or 殿
// (「山田部長様」), 各位様 and 各位殿, 御中 together with 様 or 殿 for the same addressee, and the
// common doubled honorific verbs (二重敬語). Only a doubled verb whose plain form is certain
// (おっしゃられる → おっしゃる) has a fix; a title may be mended in more than one way.
#include "checks/honorific_titles.h"
#include "checks/own_rule.h"

#include <algorithm>
#include <functional>
#include <iterator>

namespace quill {

namespace {

constexpr char RULE_NAME[] = "quillcheck/honorific";

constexpr std::string_view SAMA = "様";
constexpr std::string_view DONO = "殿";
constexpr std::string_view ONCHU = "御中";
constexpr std::string_view KAKUI = "各位";
constexpr std::string_view PERIOD = "。";

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

// 御中 with 様 or 殿 after it in the same addressee: on its line or the next one, before any
// sentence ends. Each line is looked at for one 御中 only, so the text is read a bounded
// number of times.
void checkOnchu(std::string_view text, std::vector<OwnRuleHit> &hits) {
    std::size_t lineStart = 0;
    while (lineStart < text.size()) {
        std::size_t lineEnd = text.find('\n', lineStart);
        if (lineEnd == std::string_view::npos)
            lineEnd = text.size();
        const std::size_t onchu = text.substr(lineStart, lineEnd - lineStart).find(ONCHU);
        if (onchu != std::string_view::npos) {
            const std::size_t begin = lineStart + onchu;
            std::size_t searchEnd = lineEnd < text.size() ? text.find('\n', lineEnd + 1) : lineEnd;
            if (searchEnd == std::string_view::npos)
                searchEnd = text.size();
            for (std::size_t pos = begin + ONCHU.size(); pos < searchEnd; ++pos) {
                const std::string_view rest = text.substr(pos, searchEnd - pos);
                if (rest.substr(0, PERIOD.size()) == PERIOD)
                    break;
                const std::string_view honorific = honorificAt(rest);
                if (honorific.empty())
                    continue;
                OwnRuleHit hit;
                hit.begin = begin;
                hit.end = begin + ONCHU.size();
                hit.message = "Error - 「御中」と「" + std::string(honorific) +
                              "」を同じ宛名に付けています。会社や部署には「御中」、人には「" +
                              std::string(honorific) + "」の一方だけを付けます。";
                hits.push_back(std::move(hit));
                break;
            }
        }
        lineStart = lineEnd + 1;
    }
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

// The doubled verb written from `begin` up to `stemEnd`, its conjugated ending looked up in
// `endings`: with a known ending, the plain form is certain and becomes the fix.
void addDoubledVerb(std::string_view text, std::size_t begin, std::size_t stemEnd,
                    std::string_view plainStem, const Ending *endings, std::size_t endingCount,
                    std::string_view shown, std::string_view advice,
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
        hit.replacement = std::string(plainStem) + std::string(endings[i].plain);
        shownText = std::string(text.substr(hit.begin, hit.end - hit.begin));
        adviceText = "「" + *hit.replacement + "」";
        break;
    }
    hit.message = "Error - 「" + shownText + "」は二重敬語です。" + adviceText + "で足ります。";
    hits.push_back(std::move(hit));
}

// Verbs whose honorific form お…になる is doubled by られる: 「お見えになられる」.
constexpr std::string_view NARARERU = "になられ";
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

void checkDoubledVerbs(std::string_view text, std::vector<OwnRuleHit> &hits) {
    forEachOccurrence(text, OSSHARARERU, [&](std::size_t pos) {
        addDoubledVerb(text, pos, pos + OSSHARARERU.size(), "おっしゃ", RARERU_ENDINGS,
                       std::size(RARERU_ENDINGS), "おっしゃられる", "「おっしゃる」", hits);
    });
    forEachOccurrence(text, NARARERU, [&](std::size_t pos) {
        for (std::string_view stem : NARARERU_STEMS) {
            if (!endsWith(text, pos, stem))
                continue;
            const std::string plain = std::string(stem) + "にな";
            const std::string shown = std::string(stem) + "になられる";
            const std::string advice = "「" + std::string(stem) + "になる」";
            addDoubledVerb(text, pos - stem.size(), pos + NARARERU.size(), plain, NARARERU_ENDINGS,
                           std::size(NARARERU_ENDINGS), shown, advice, hits);
            return;
        }
    });
    for (std::string_view sasete : SASETE_ITADAKU)
        forEachOccurrence(text, sasete, [&](std::size_t pos) {
            for (const HumbleVerb &verb : HUMBLE_STEMS) {
                if (!endsWith(text, pos, verb.stem))
                    continue;
                const std::string shown = std::string(verb.stem) + std::string(sasete) + "く";
                addDoubledVerb(text, pos - verb.stem.size(), pos + sasete.size(), "", nullptr, 0,
                               shown, verb.advice, hits);
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
