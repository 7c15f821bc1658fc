// The JIS-based Japanese encodings rewritten as Shift_JIS bytes, by arithmetic on the JIS X
// 0208 row and cell, so that code page 932 reads them on every system: Wine has no
// converter for ISO-2022-JP (code page 50220). Platform-free.
#pragma once

#include <string>
#include <string_view>

namespace quill {

// ISO-2022-JP (with JIS X 0201 Roman and katakana, ESC ( I or SO/SI, as code page 50221
// writes them) as Shift_JIS. A character of a set code page 932 lacks (JIS X 0212), a byte
// outside its set and a pair cut short become "?".
std::string shiftJisFromIso2022Jp(std::string_view bytes);

// EUC-JP as Shift_JIS, with the same replacement for what code page 932 lacks.
std::string shiftJisFromEucJp(std::string_view bytes);

} // namespace quill
