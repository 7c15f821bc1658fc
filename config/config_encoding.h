// Conversions between the system ANSI code page, UTF-16 and UTF-8 for the settings: the INI
// file and the record hold ANSI text, textlint reads UTF-8.
#pragma once

#include <string>
#include <string_view>

namespace quill {

// UTF-8 -> ANSI. Fills `ansi` in any case (unmappable characters become the code page's
// default character) and returns false when the text did not survive unchanged.
bool ansiFromUtf8(std::string_view utf8, std::string &ansi);

// ANSI -> UTF-8; text that is all ASCII is returned as it is. Bytes the code page does not
// map become the code page's replacement character.
std::string utf8FromAnsi(std::string_view ansi);

// ANSI -> UTF-16; empty when the conversion fails.
std::wstring wideFromAnsi(std::string_view ansi);

// Whether `byte` opens a double-byte character of the ANSI code page.
bool isAnsiLeadByte(unsigned char byte);

} // namespace quill
