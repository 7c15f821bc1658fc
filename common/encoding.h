// Character lengths, cuts at character boundaries and ASCII case folding for byte texts in
// a multi-byte code page (Shift_JIS, UTF-8). Platform-free; the conversions through the
// system's code pages are in common/ansi_encoding.h.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace quill {

// The byte length of the character that starts with `leadByte` in a text's code page. Every
// function that must not split a multi-byte character takes one of these.
using CharLengthOf = std::size_t (*)(unsigned char leadByte);

// Code page 932 (Shift_JIS): lead bytes 0x81-0x9F and 0xE0-0xFC start two-byte characters.
std::size_t shiftJisCharLength(unsigned char leadByte);
// UTF-8: the length a lead byte announces; a stray continuation byte counts as one.
std::size_t utf8CharLength(unsigned char leadByte);

// The longest prefix of `text` of at most `maxBytes` bytes that ends at a character
// boundary. Walks from the start, since a trail byte can look like a lead byte. The text
// ends at its first NUL, as a C string would; a lead byte whose trail is missing at the end
// is no whole character and is dropped.
std::string cutAtCharBoundary(const std::string &text, std::size_t maxBytes,
                              CharLengthOf charLength);

// Whether every byte of `text` is below 0x80.
bool isAscii(std::string_view text);

// Case folding for the ASCII names of mail and settings (header names, MIME types,
// charsets, "true"): byte by byte, ASCII letters only, so it knows no double-byte
// characters and is no comparison for Japanese text.
std::string lowerAscii(std::string_view text);

// Whether `a` and `b` are equal when ASCII letters are folded; other bytes must match.
bool equalsIgnoringAsciiCase(std::string_view a, std::string_view b);

// Whether `text` begins with `prefix`, ASCII letters folded.
bool startsWithIgnoringAsciiCase(std::string_view text, std::string_view prefix);

} // namespace quill
