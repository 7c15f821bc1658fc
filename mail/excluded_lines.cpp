// Emptying quoted lines and the signature for textlint, and putting them back after a fix.
#include "mail/excluded_lines.h"

#include "common/encoding.h"

#include <algorithm>
#include <string_view>
#include <vector>

namespace quill {

namespace {

// The text's lines without their LF; a text ending in LF ends with an empty line, so the
// lines joined by LF give the text back.
std::vector<std::string_view> splitLines(std::string_view text) {
    std::vector<std::string_view> lines;
    std::size_t start = 0;
    for (std::size_t end; (end = text.find('\n', start)) != std::string_view::npos; start = end + 1)
        lines.push_back(text.substr(start, end - start));
    lines.push_back(text.substr(start));
    return lines;
}

// The first character of `text`, by the length its lead byte announces, cut at the end of
// the text; a byte that starts no character counts as one.
std::string_view firstCharacter(std::string_view text) {
    if (text.empty())
        return text;
    return text.substr(0, utf8CharLength(static_cast<unsigned char>(text[0])));
}

bool isBlank(std::string_view character) {
    return character == " " || character == "\t" || character == "\r" || character == "\n" ||
           character == "\xE3\x80\x80"; // U+3000 IDEOGRAPHIC SPACE, the usual indent
}

std::vector<std::string_view> quoteCharacters(std::string_view marks) {
    std::vector<std::string_view> characters;
    while (!marks.empty()) {
        std::string_view character = firstCharacter(marks);
        if (!isBlank(character))
            characters.push_back(character);
        marks.remove_prefix(character.size());
    }
    return characters;
}

bool isSignatureDelimiter(std::string_view line) {
    // A CR left before the LF does not make the line another one.
    if (!line.empty() && line.back() == '\r')
        line.remove_suffix(1);
    return line == "-- " || line == "--";
}

// One flag per line of `lines`: true for a line textlint must not see.
std::vector<bool> excludedLines(const std::vector<std::string_view> &lines,
                                const LineExclusion &exclusion, const KeptLines &kept) {
    std::vector<bool> excluded(lines.size(), false);
    if (exclusion.quotedLines) {
        std::vector<std::string_view> marks = quoteCharacters(exclusion.quoteMarks);
        for (std::size_t i = 0; i < lines.size(); ++i) {
            std::string_view first = firstCharacter(lines[i]);
            for (std::string_view mark : marks)
                excluded[i] = excluded[i] || (!first.empty() && first == mark);
        }
    }
    for (std::size_t line : kept)
        if (line < excluded.size())
            excluded[line] = true;
    if (exclusion.signature) {
        for (std::size_t i = lines.size(); i-- > 0;) {
            if (isSignatureDelimiter(lines[i])) {
                for (std::size_t j = i; j < lines.size(); ++j)
                    excluded[j] = true;
                break;
            }
        }
    }
    return excluded;
}

bool excludesNothing(const LineExclusion &exclusion, const KeptLines &kept) {
    return !exclusion.quotedLines && !exclusion.signature && kept.empty();
}

} // namespace

std::vector<bool> excludedLineFlags(const std::string &mailText, const LineExclusion &exclusion) {
    return excludedLines(splitLines(mailText), exclusion, {});
}

std::string maskExcludedLines(const std::string &mailText, const LineExclusion &exclusion,
                              const KeptLines &kept) {
    if (excludesNothing(exclusion, kept))
        return mailText;
    std::vector<std::string_view> lines = splitLines(mailText);
    std::vector<bool> excluded = excludedLines(lines, exclusion, kept);
    std::string masked;
    masked.reserve(mailText.size());
    for (std::size_t i = 0; i < lines.size(); ++i) {
        if (i > 0)
            masked += '\n';
        if (!excluded[i])
            masked += lines[i];
    }
    return masked;
}

std::optional<std::string> restoreExcludedLines(const std::string &mailText,
                                                const std::string &fixedMaskedText,
                                                const LineExclusion &exclusion,
                                                const KeptLines &kept) {
    if (excludesNothing(exclusion, kept))
        return fixedMaskedText;
    std::vector<std::string_view> original = splitLines(mailText);
    std::vector<bool> excluded = excludedLines(original, exclusion, kept);
    // A mail with nothing excluded takes the fix as it is, whatever it did to the lines.
    if (std::find(excluded.begin(), excluded.end(), true) == excluded.end())
        return fixedMaskedText;
    std::vector<std::string_view> fixed = splitLines(fixedMaskedText);
    if (fixed.size() != original.size())
        return std::nullopt;
    std::string restored;
    restored.reserve(mailText.size() + fixedMaskedText.size());
    for (std::size_t i = 0; i < original.size(); ++i) {
        if (excluded[i] && !fixed[i].empty())
            return std::nullopt;
        if (i > 0)
            restored += '\n';
        restored += excluded[i] ? original[i] : fixed[i];
    }
    return restored;
}

} // namespace quill
