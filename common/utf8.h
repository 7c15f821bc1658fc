// UTF-8 code points without a platform: encoding and decoding one, UTF-16 <-> UTF-8 for the
// JSON settings, and cuts that do not split a sequence. The conversions through the system's
// code pages are in common/ansi_encoding.h.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace quill {

// Appends the UTF-8 form of the code point `cp`.
void appendUtf8(std::string &out, char32_t cp);

// Decodes one code point at `i` and advances past it; ill-formed sequences (overlong,
// surrogates, beyond U+10FFFF, cut short) yield U+FFFD and skip one byte.
char32_t decodeUtf8(std::string_view text, std::size_t &i);

// UTF-16 <-> UTF-8: ill-formed input becomes U+FFFD.
std::string utf8FromUtf16(std::u16string_view utf16);
std::u16string utf16FromUtf8(std::string_view utf8);

// The length of the longest prefix of `text` of at most `maxBytes` bytes that does not end
// inside a UTF-8 sequence.
std::size_t utf8PrefixLength(std::string_view text, std::size_t maxBytes);

} // namespace quill
