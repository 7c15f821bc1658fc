// UTF-16 offsets into UTF-8 text, and the lines of a host's text.
#include "mail/text_span.h"

#include "common/utf8.h"

namespace quill {

std::optional<ByteRange> utf8RangeOf(std::string_view text, int start, int end) {
    if (start < 0 || end < start)
        return std::nullopt;
    const auto wantedStart = static_cast<std::size_t>(start);
    const auto wantedEnd = static_cast<std::size_t>(end);
    std::optional<std::size_t> startByte;
    std::size_t units = 0;
    std::size_t i = 0;
    for (;;) {
        if (units == wantedStart && !startByte)
            startByte = i;
        if (units == wantedEnd)
            return ByteRange{*startByte, i};
        if (i >= text.size() || units > wantedEnd)
            return std::nullopt;
        const std::size_t at = i;
        const char32_t cp = decodeUtf8(text, i);
        // A replacement character that the text does not hold marks a broken sequence.
        if (cp == 0xFFFD && text.substr(at, 3) != "\xEF\xBF\xBD")
            return std::nullopt;
        units += cp >= 0x10000 ? 2 : 1;
        if (units > wantedStart && !startByte)
            return std::nullopt; // the start falls inside a surrogate pair
    }
}

std::optional<LineSpan> lineSpanOf(std::string_view text, int start, int end) {
    const std::optional<ByteRange> bytes = utf8RangeOf(text, start, end);
    if (!bytes)
        return std::nullopt;
    LineSpan span;
    std::size_t lineStart = 0;
    std::size_t line = 0;
    for (std::size_t i = 0;; ++i) {
        if (i == bytes->start) {
            span.firstLine = line;
            span.startByte = i - lineStart;
        }
        if (i == bytes->end) {
            span.lastLine = line;
            span.endByte = i - lineStart;
            return span;
        }
        if (text[i] == '\n') {
            ++line;
            lineStart = i + 1;
        }
    }
}

std::string_view lineOfText(std::string_view text, std::size_t line) {
    std::size_t start = 0;
    for (std::size_t n = 1; n < line; ++n) {
        const std::size_t lf = text.find('\n', start);
        if (lf == std::string_view::npos)
            return std::string_view();
        start = lf + 1;
    }
    if (line == 0)
        return std::string_view();
    const std::size_t lf = text.find('\n', start);
    return text.substr(start, lf == std::string_view::npos ? std::string_view::npos : lf - start);
}

std::vector<RawLine> splitRawLines(std::string_view bytes) {
    std::vector<RawLine> lines;
    std::size_t begin = 0;
    for (std::size_t i = 0; i < bytes.size(); ++i) {
        if (bytes[i] != '\r' && bytes[i] != '\n')
            continue;
        std::size_t next = i + 1;
        if (bytes[i] == '\r' && next < bytes.size() && bytes[next] == '\n')
            ++next;
        lines.push_back(RawLine{begin, i, next});
        begin = next;
        i = next - 1;
    }
    lines.push_back(RawLine{begin, bytes.size(), bytes.size()});
    return lines;
}

} // namespace quill
