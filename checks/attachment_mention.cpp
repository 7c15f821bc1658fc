// Finding a mention of an attachment in the writer's own words: the other lines are
// emptied as for textlint, a forwarded message is cut off at its separator, URLs and HTML
// tags become blanks, and the earliest mention wins.
#include "checks/attachment_mention.h"

#include "common/encoding.h"
#include "mail/excluded_lines.h"

#include <algorithm>
#include <cctype>
#include <iterator>

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
constexpr std::string_view URL_STARTS[] = {"http://", "https://", "ftp://", "www."};
// What ends a file name on its left, besides ASCII blanks and controls.
constexpr std::string_view NAME_DELIMITERS[] = {"\"", "'",  "(",  ")",  "<",  ">",  ",",
                                                ":",  ";",  "[",  "]",  "「", "」", "『",
                                                "』", "（", "）", "、", "。", "：", "\xE3\x80\x80"};

bool isAsciiAlnum(char c) {
    return std::isalnum(static_cast<unsigned char>(c)) != 0;
}

bool startsWith(std::string_view text, std::size_t pos, std::string_view word) {
    return text.substr(pos, word.size()) == word;
}

// The text up to the first separator line of a forwarded or original message.
std::string_view beforeForwardedMessage(std::string_view text, std::string_view lower) {
    std::size_t lineStart = 0;
    while (lineStart < text.size()) {
        std::size_t lineEnd = text.find('\n', lineStart);
        if (lineEnd == std::string_view::npos)
            lineEnd = text.size();
        const std::string_view line = lower.substr(lineStart, lineEnd - lineStart);
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

bool isUrlByte(char c) {
    const unsigned char byte = static_cast<unsigned char>(c);
    return byte > 0x20 && byte < 0x7F && c != '"' && c != '\'' && c != '<' && c != '>' &&
           c != '(' && c != ')';
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
            while (pos < lower.size() && isUrlByte(lower[pos]))
                lower[pos++] = ' ';
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

void findEnglishWord(std::string_view lower, Mention &mention) {
    for (std::string_view word : ENGLISH_WORDS) {
        for (std::size_t pos = lower.find(word); pos != std::string_view::npos;
             pos = lower.find(word, pos + 1)) {
            if (pos > 0 && std::isalpha(static_cast<unsigned char>(lower[pos - 1])))
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
    for (std::string_view word : JAPANESE_WORDS)
        if (const std::size_t pos = lower.find(word); pos != std::string_view::npos)
            mention.offer(pos, pos + word.size());
    findEnglishWord(lower, mention);
    findFileName(lower, mention);
    if (mention.begin == std::string_view::npos)
        return std::nullopt;
    return own.substr(mention.begin, mention.end - mention.begin);
}

} // namespace quill
