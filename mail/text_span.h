// Places in a mail's text by UTF-16 offsets, as textlint gives them, turned into lines and
// byte offsets; and the lines of a text as the host holds it, with their line ends.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace quill {

// [start, end) as byte offsets into a UTF-8 text.
struct ByteRange {
    std::size_t start = 0;
    std::size_t end = 0;
};

// The bytes of the UTF-16 offsets [start, end) of `text` (UTF-8). None when the range is
// reversed, reaches past the text or splits a character (half of a surrogate pair), or when
// the text is not well-formed UTF-8: such a range cannot be applied exactly.
std::optional<ByteRange> utf8RangeOf(std::string_view text, int start, int end);

// A range within a text whose lines end in LF: the first and last line it touches (0-based)
// and the byte offsets within those lines where it starts and ends.
struct LineSpan {
    std::size_t firstLine = 0;
    std::size_t startByte = 0;
    std::size_t lastLine = 0;
    std::size_t endByte = 0;
};

// The same range by lines; none where utf8RangeOf gives none.
std::optional<LineSpan> lineSpanOf(std::string_view text, int start, int end);

// The line `line` (1-based) of a text whose lines end in LF, without its LF; empty past the
// end.
std::string_view lineOfText(std::string_view text, std::size_t line);

// One line of a host's text: its content [begin, end) and where the next line begins (after
// its CR LF, CR or LF; the text's end for the last line).
struct RawLine {
    std::size_t begin = 0;
    std::size_t end = 0;
    std::size_t next = 0;
};

// The lines of `bytes` as normalizeLineEnds counts them: CR LF, a lone CR and LF each end a
// line. Valid for every code page whose bytes 0x0D and 0x0A stand only for CR and LF.
std::vector<RawLine> splitRawLines(std::string_view bytes);

} // namespace quill
