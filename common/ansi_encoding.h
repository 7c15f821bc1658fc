// Conversions between the system's ANSI code page (the host's texts, the INI file, the
// settings record), UTF-16 (the controls) and UTF-8 (textlint), and the ANSI code page's
// character lengths.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace quill {

// ANSI -> UTF-16; empty when the conversion fails.
std::wstring wideFromAnsi(std::string_view ansi);

// UTF-16 -> ANSI; characters the code page lacks become its default character. Empty when
// the conversion fails.
std::string ansiFromWide(std::wstring_view wide);

// UTF-8 -> ANSI. Fills `ansi` in any case (unmappable characters become the code page's
// default character) and returns false when the text did not survive unchanged.
bool ansiFromUtf8(std::string_view utf8, std::string &ansi);

// ANSI -> UTF-8; text that is all ASCII is returned as it is. Bytes the code page does not
// map become the code page's replacement character.
std::string utf8FromAnsi(std::string_view ansi);

// UTF-8 <-> UTF-16; invalid UTF-8 becomes U+FFFD. Empty when the conversion fails.
std::wstring wideFromUtf8(std::string_view utf8);
std::string utf8FromWide(std::wstring_view wide);

// `text` with its first "%s" replaced by the ANSI text `name` (a rule name, a path).
std::wstring withAnsiName(const wchar_t *text, std::string_view name);

// The byte length of the ANSI character that starts with `leadByte` (a CharLengthOf).
std::size_t ansiCharLength(unsigned char leadByte);

} // namespace quill
