// The texts the result window shows: the mail line, the list rows and the diagnostic line
// of each finding, each bounded to the window's 1024-byte buffers at a character boundary.
#pragma once

#include "lint/lint_result.h"

#include <cstddef>
#include <string>

namespace quill {

// The fixed buffers the window composes its texts in (1023 bytes plus NUL).
constexpr std::size_t RESULT_TEXT_BUFFER_SIZE = 1024;

// Byte length of the character that starts with `leadByte` in the text's code page.
using CharLengthOf = std::size_t (*)(unsigned char leadByte);

// Code page 932 (Shift_JIS): lead bytes 0x81-0x9F and 0xE0-0xFC start two-byte characters.
std::size_t shiftJisCharLength(unsigned char leadByte);
// UTF-8: the length a lead byte announces; a stray continuation byte counts as one.
std::size_t utf8CharLength(unsigned char leadByte);

// The longest prefix of `text` of at most `maxBytes` bytes that ends at a character
// boundary. Walks from the start, since a trail byte can look like a lead byte. The text
// ends at its first NUL, as the C string the window receives would.
std::string cutAtCharBoundary(const std::string &text, std::size_t maxBytes,
                              CharLengthOf charLength);

// "<kind> - From: <from>", at most 1023 bytes.
std::string composeMailLine(const std::string &kindLabel, const std::string &from,
                            CharLengthOf charLength);

// "Line: %d, Index: %d, Msg: %s, Rule: %s", at most 1023 bytes.
std::string composeRowText(const LintResult &result, CharLengthOf charLength);

// "Line: 1, Index: 5, Message: A, Rule: r1, AutFix: 0": the unbounded diagnostic line.
std::string composeFindingDiagnostic(const LintResult &result);

} // namespace quill
