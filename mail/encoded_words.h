// Header text as a reader sees it: RFC 2047 encoded words ("=?ISO-2022-JP?B?...?=", B and
// Q) decoded, and 8-bit bytes written without them read, all as UTF-8. Platform-free: what
// only the system converts is handed to a converter the caller gives.
#pragma once

#include <functional>
#include <optional>
#include <string>
#include <string_view>

namespace quill {

// Converts bytes of a Windows code page (0: the system's ANSI code page) to UTF-8; none
// when the system cannot.
using CodePageToUtf8 =
    std::function<std::optional<std::string>(const std::string &bytes, int codePage)>;

// Bytes in the MIME charset `charset` (letter case ignored, an RFC 2231 language after "*"
// ignored) as UTF-8. ISO-2022-JP, Shift_JIS and EUC-JP go through code page 932, UTF-8 and
// US-ASCII stay as they are, other charsets of the table through their code page. None for
// a charset not known or bytes the converter refused.
std::optional<std::string> utf8OfCharset(const std::string &bytes, std::string_view charset,
                                         const CodePageToUtf8 &toUtf8);

// `text` with its encoded words decoded (white space between two encoded words dropped, the
// bytes of neighbours in one charset joined before they are read, so that a character
// split between them stays whole) and its other bytes read as UTF-8 when they form it, as
// ISO-2022-JP when they hold its escapes, else in the system's code page. An encoded word
// that cannot be read stays as written.
std::string decodeHeaderText(std::string_view text, const CodePageToUtf8 &toUtf8);

} // namespace quill
