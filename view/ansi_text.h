// Texts in the system ANSI code page, in which the window shows findings and mail headers.
#pragma once

#include <cstddef>
#include <string>

namespace quill {

// `text` converted to the ANSI code page (empty when it cannot be converted).
std::string toAnsi(const wchar_t *text);

// Byte length of the ANSI character that starts with `leadByte`.
std::size_t ansiCharLength(unsigned char leadByte);

} // namespace quill
