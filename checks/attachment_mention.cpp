// Finding a mention of an attachment in the writer's own words: the other lines are
// emptied as for textlint, a forwarded message is cut off at its separator, URLs and HTML
// tags become blanks, words that say there is nothing attached or that speak of a postal
// enclosure are passed over, and the earliest mention left wins. Every look around a word
// is bounded, so the search stays linear in the text.
#include "checks/attachment_mention.h"

#include "common/encoding.h"
#include "mail/excluded_lines.h"

#include <algorithm>
#include <cctype>
#include <iterator>
#include <vector>

namespace quill {

namespace {

constexpr std::string_view JAPANESE_WORDS[] = {"添付", "同封", "別添", "添え状"};
// Matched at the start of an English word, letter case ignored; the word is named whole.
constexpr std::string_view ENGLISH_WORDS[] = {"attach", "enclosed"};
// Matched after a file name, letter case ignored, and not followed by a letter or digit.
constexpr std::string_view EXTENSIONS[] = {".pdf",  ".docx", ".doc", ".xlsx", ".xls",
                                           ".pptx", ".ppt",  ".zip", ".csv"};
// A separator line of a forwarded or original message holds one of these (letter case
// ignored) and begins with a rule character.
constexpr std::string_view SEPARATOR_WORDS[] = {"original message", "forwarded message",
                                                "元のメッセージ", "転送メッセージ",
                                                "転送されたメッセージ"};
constexpr std::string_view RULE_CHARACTERS[] = {"-", "=", "_", "*", "─", "━", "―", "－", "＝"};
// Outlook begins the original with a line of underscores and then its header lines; the
// first one is enough to tell the line from an underlined heading.
constexpr std::string_view UNDERSCORES[] = {"_", "＿"};
constexpr std::string_view OUTLOOK_HEADERS[] = {"差出人", "送信者", "送信日時", "宛先", "件名",
                                                "from",   "sent",   "date",     "to",   "subject"};
constexpr std::string_view HEADER_COLONS[] = {":", "："};
constexpr std::string_view URL_STARTS[] = {"http://", "https://", "ftp://", "www."};
// What ends a URL besides ASCII blanks, controls, quotes and brackets: a full-width blank,
// bracket or punctuation mark. Other letters, Japanese ones too, belong to its path.
constexpr std::string_view URL_ENDS[] = {
    "\xE3\x80\x80", "（", "）", "「", "」", "『", "』", "【", "】", "［", "］", "〈", "〉", "《",
    "》",           "〔", "〕", "｛", "｝", "、", "。", "，", "．", "！", "？", "：", "；"};
// After a word, what says that nothing is attached: 「添付ファイルはございません」, 「添付は不要」,
// 「同封はしておりません」. The noun, the mark and the particle before it may each be left out.
constexpr std::string_view NEGATED_NOUNS[] = {"ファイル", "資料", "書類", "物", "の必要"};
constexpr std::string_view NEGATED_JOINS[] = {" ", "\xE3\x80\x80", ":", "：", "は", "も", "が"};
constexpr std::string_view NEGATIONS[] = {
    "ございません", "ありません", "なし",     "無し",           "不要",
    "いたしません", "致しません", "しません", "しておりません", "していません"};
// Before an English word: "no attachment", "without attachments", "not attached".
constexpr std::string_view ENGLISH_NEGATIONS[] = {"no ", "without ", "not "};
// 同封 with one of these in its sentence speaks of a paper in an envelope, not of a file.
constexpr std::string_view ENCLOSED = "同封";
constexpr std::string_view POSTAL_WORDS[] = {"郵送", "郵便",   "送付状", "封筒", "書留",
                                             "宅配", "返信用", "切手",   "原本"};
// 書類 is postal only when it is sent: 「書類を同封してお送りします」.
constexpr std::string_view PAPERS[] = {"書類"};
constexpr std::string_view SENDING_WORDS[] = {"送り", "送付", "発送"};
constexpr std::string_view SENTENCE_ENDS[] = {"\n", "。", "！", "？"};
// How far a sentence is read around 同封, in bytes each way.
constexpr std::size_t SENTENCE_REACH = 150;
// What ends a file name on its left, besides ASCII blanks and controls.
constexpr std::string_view NAME_DELIMITERS[] = {"\"", "'",  "(",  ")",  "<",  ">",  ",",
                                                ":",  ";",  "[",  "]",  "「", "」", "『",
                                                "』", "（", "）", "、", "。", "：", "\xE3\x80\x80"};

bool isAsciiAlnum(char c) {
    return std::isalnum(static_cast<unsigned char>(c)) != 0;
}

bool startsWith(std::string_view text, std::size_t pos, std::string_view word) {
    return pos <= text.size() && text.substr(pos, word.size()) == word;
}

// The word of `words` that `text` has at `pos`, or empty.
template <std::size_t N>
std::string_view wordAt(std::string_view text, std::size_t pos,
                        const std::string_view (&words)[N]) {
    for (std::string_view word : words)
        if (startsWith(text, pos, word))
            return word;
    return {};
}

// Whether `line` (lowered) is Outlook's header line: a header name and its colon.
bool isOutlookHeader(std::string_view line) {
    std::size_t pos = line.find_first_not_of(" \t");
    const std::string_view name = wordAt(line, pos, OUTLOOK_HEADERS);
    if (pos == std::string_view::npos || name.empty())
        return false;
    pos = line.find_first_not_of(" \t", pos + name.size());
    return pos != std::string_view::npos && !wordAt(line, pos, HEADER_COLONS).empty();
}

// Whether `line` is underscores alone (blanks around them allowed), at least five.
bool isUnderscoreRule(std::string_view line) {
    std::size_t count = 0;
    for (std::size_t pos = 0; pos < line.size();) {
        if (line[pos] == ' ' || line[pos] == '\t' || line[pos] == '\r') {
            ++pos;
        } else if (const std::string_view mark = wordAt(line, pos, UNDERSCORES); !mark.empty()) {
            pos += mark.size();
            ++count;
        } else {
            return false;
        }
    }
    return count >= 5;
}

// The text up to the first separator line of a forwarded or original message.
std::string_view beforeForwardedMessage(std::string_view text, std::string_view lower) {
    std::size_t lineStart = 0;
    while (lineStart < text.size()) {
        std::size_t lineEnd = text.find('\n', lineStart);
        if (lineEnd == std::string_view::npos)
            lineEnd = text.size();
        const std::string_view line = lower.substr(lineStart, lineEnd - lineStart);
        if (lineEnd < text.size() && isUnderscoreRule(line)) {
            const std::size_t nextEnd = std::min(lower.find('\n', lineEnd + 1), lower.size());
            if (isOutlookHeader(lower.substr(lineEnd + 1, nextEnd - lineEnd - 1)))
                return text.substr(0, lineStart);
        }
        const std::size_t first = line.find_first_not_of(" \t");
        if (first != std::string_view::npos &&
            std::any_of(std::begin(RULE_CHARACTERS), std::end(RULE_CHARACTERS),
                        [&](std::string_view rule) { return startsWith(line, first, rule); }) &&
            std::any_of(
                std::begin(SEPARATOR_WORDS), std::end(SEPARATOR_WORDS),
                [&](std::string_view word) { return line.find(word) != std::string_view::npos; }))
            return text.substr(0, lineStart);
        lineStart = lineEnd + 1;
    }
    return text;
}

// The length of the URL's character at `pos`, or 0 where the URL ends.
std::size_t urlCharacterAt(std::string_view text, std::size_t pos) {
    const unsigned char byte = static_cast<unsigned char>(text[pos]);
    if (byte < 0x80)
        return byte > 0x20 && byte < 0x7F && byte != '"' && byte != '\'' && byte != '<' &&
                       byte != '>' && byte != '(' && byte != ')'
                   ? 1
                   : 0;
    if (!wordAt(text, pos, URL_ENDS).empty())
        return 0;
    return std::min(utf8CharLength(byte), text.size() - pos);
}

// Blanks over every URL and, for HTML, every tag, so that no word is found inside them.
void blankUrlsAndTags(std::string &lower, bool html) {
    bool inTag = false;
    for (std::size_t pos = 0; pos < lower.size(); ++pos) {
        if (html && (inTag || lower[pos] == '<')) {
            inTag = lower[pos] != '>';
            lower[pos] = ' ';
            continue;
        }
        for (std::string_view start : URL_STARTS) {
            if (!startsWith(lower, pos, start) || (pos > 0 && isAsciiAlnum(lower[pos - 1])))
                continue;
            while (pos < lower.size()) {
                const std::size_t length = urlCharacterAt(lower, pos);
                if (length == 0)
                    break;
                lower.replace(pos, length, length, ' ');
                pos += length;
            }
            break;
        }
    }
}

struct Mention {
    std::size_t begin = std::string_view::npos;
    std::size_t end = 0;
    void offer(std::size_t wordBegin, std::size_t wordEnd) {
        if (wordBegin < begin) {
            begin = wordBegin;
            end = wordEnd;
        }
    }
};

bool endsWithDelimiter(std::string_view text, std::size_t end) {
    const unsigned char last = static_cast<unsigned char>(text[end - 1]);
    if (last <= 0x20 || last == 0x7F)
        return true;
    return std::any_of(
        std::begin(NAME_DELIMITERS), std::end(NAME_DELIMITERS), [&](std::string_view delimiter) {
            return end >= delimiter.size() &&
                   text.substr(end - delimiter.size(), delimiter.size()) == delimiter;
        });
}

// The start of the file name that ends at `end`: back to a blank or a delimiter. Every
// delimiter is whole characters, so the start is a character's start.
std::size_t fileNameStart(std::string_view text, std::size_t end) {
    std::size_t start = end;
    while (start > 0 && !endsWithDelimiter(text, start))
        --start;
    return start;
}

void findFileName(std::string_view lower, Mention &mention) {
    for (std::size_t dot = lower.find('.'); dot != std::string_view::npos && dot < mention.begin;
         dot = lower.find('.', dot + 1)) {
        if (dot == 0 || endsWithDelimiter(lower, dot) || lower[dot - 1] == '.')
            continue;
        for (std::string_view extension : EXTENSIONS) {
            const std::size_t end = dot + extension.size();
            if (!startsWith(lower, dot, extension) ||
                (end < lower.size() && isAsciiAlnum(lower[end])))
                continue;
            mention.offer(fileNameStart(lower, dot), end);
            return;
        }
    }
}

// Whether the words right after a mention that ends at `end` say that nothing is attached.
bool saysNothingIsAttached(std::string_view lower, std::size_t end) {
    end += wordAt(lower, end, NEGATED_NOUNS).size();
    for (std::string_view join = wordAt(lower, end, NEGATED_JOINS); !join.empty();
         join = wordAt(lower, end, NEGATED_JOINS))
        end += join.size();
    return !wordAt(lower, end, NEGATIONS).empty();
}

struct Span {
    std::size_t begin;
    std::size_t end;
    bool operator<(const Span &other) const { return begin < other.begin; }
};

// Where `words` occur in `text`, in order.
template <std::size_t N>
std::vector<Span> spansOf(std::string_view text, const std::string_view (&words)[N]) {
    std::vector<Span> spans;
    for (std::string_view word : words)
        for (std::size_t pos = text.find(word); pos != std::string_view::npos;
             pos = text.find(word, pos + word.size()))
            spans.push_back({pos, pos + word.size()});
    std::sort(spans.begin(), spans.end());
    return spans;
}

// Whether one of `spans` lies whole inside [begin, end).
bool anyInside(const std::vector<Span> &spans, std::size_t begin, std::size_t end) {
    for (auto at = std::lower_bound(spans.begin(), spans.end(), Span{begin, begin});
         at != spans.end() && at->begin < end; ++at)
        if (at->end <= end)
            return true;
    return false;
}

// Judges each 同封 of a text by its sentence: whether it encloses paper sent by post. The
// sentence ends and the postal words are looked up once, on the first 同封, so that a text
// full of them is still read in linear time.
class EnclosureJudge {
  public:
    explicit EnclosureJudge(std::string_view lower) : lower_(lower) {}

    bool isPostal(std::size_t begin, std::size_t end) {
        if (!read_) {
            sentenceEnds_ = spansOf(lower_, SENTENCE_ENDS);
            postal_ = spansOf(lower_, POSTAL_WORDS);
            papers_ = spansOf(lower_, PAPERS);
            sending_ = spansOf(lower_, SENDING_WORDS);
            read_ = true;
        }
        std::size_t start = begin > SENTENCE_REACH ? begin - SENTENCE_REACH : 0;
        auto next = std::lower_bound(sentenceEnds_.begin(), sentenceEnds_.end(), Span{end, end});
        if (next != sentenceEnds_.begin() && std::prev(next)->end <= begin)
            start = std::max(start, std::prev(next)->end);
        std::size_t stop = std::min(lower_.size(), end + SENTENCE_REACH);
        if (next != sentenceEnds_.end())
            stop = std::min(stop, next->begin);
        return anyInside(postal_, start, stop) ||
               (anyInside(papers_, start, stop) && anyInside(sending_, start, stop));
    }

  private:
    std::string_view lower_;
    bool read_ = false;
    std::vector<Span> sentenceEnds_;
    std::vector<Span> postal_;
    std::vector<Span> papers_;
    std::vector<Span> sending_;
};

void findJapaneseWord(std::string_view lower, Mention &mention) {
    EnclosureJudge enclosure(lower);
    for (std::string_view word : JAPANESE_WORDS)
        for (std::size_t pos = lower.find(word); pos < mention.begin;
             pos = lower.find(word, pos + word.size())) {
            const std::size_t end = pos + word.size();
            if (saysNothingIsAttached(lower, end) ||
                (word == ENCLOSED && enclosure.isPostal(pos, end)))
                continue;
            mention.offer(pos, end);
            break;
        }
}

bool followsEnglishNegation(std::string_view lower, std::size_t pos) {
    return std::any_of(
        std::begin(ENGLISH_NEGATIONS), std::end(ENGLISH_NEGATIONS), [&](std::string_view negation) {
            return pos >= negation.size() && startsWith(lower, pos - negation.size(), negation) &&
                   (pos == negation.size() ||
                    !std::isalpha(static_cast<unsigned char>(lower[pos - negation.size() - 1])));
        });
}

void findEnglishWord(std::string_view lower, Mention &mention) {
    for (std::string_view word : ENGLISH_WORDS) {
        for (std::size_t pos = lower.find(word); pos < mention.begin;
             pos = lower.find(word, pos + 1)) {
            if ((pos > 0 && std::isalpha(static_cast<unsigned char>(lower[pos - 1]))) ||
                followsEnglishNegation(lower, pos))
                continue;
            std::size_t end = pos + word.size();
            while (end < lower.size() && std::isalpha(static_cast<unsigned char>(lower[end])))
                ++end;
            mention.offer(pos, end);
            break;
        }
    }
}

} // namespace

std::optional<std::string> findAttachmentMention(std::string_view utf8Text,
                                                 std::string_view quoteMarks, bool html) {
    LineExclusion exclusion;
    exclusion.quotedLines = !html;
    exclusion.quoteMarks = std::string(quoteMarks);
    exclusion.signature = !html;
    const std::string own = maskExcludedLines(std::string(utf8Text), exclusion);
    std::string lower = lowerAscii(own);
    const std::size_t ownLength = beforeForwardedMessage(own, lower).size();
    lower.resize(ownLength);
    blankUrlsAndTags(lower, html);

    Mention mention;
    findJapaneseWord(lower, mention);
    findEnglishWord(lower, mention);
    findFileName(lower, mention);
    if (mention.begin == std::string_view::npos)
        return std::nullopt;
    return own.substr(mention.begin, mention.end - mention.begin);
}

} // namespace quill
