// Conversion of a finding's texts from textlint's UTF-8 to the system ANSI code page, in
// two steps through UTF-16, each cut to the 1023 units the result window's fields take.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace quill {

// Longest text, in units of its form, that a finding keeps.
constexpr std::size_t LINT_TEXT_MAX_UNITS = 1023;

// UTF-8 to UTF-16, cut to at most LINT_TEXT_MAX_UNITS code units without splitting a
// surrogate pair. Invalid bytes become U+FFFD. None for an empty text or when the system
// cannot convert.
std::optional<std::wstring> lintTextToWide(std::string_view utf8);

// UTF-16 to the system ANSI code page, cut to at most LINT_TEXT_MAX_UNITS bytes at a
// character boundary; characters the code page lacks become its default character. None
// for an empty text or when the system cannot convert.
std::optional<std::string> lintTextToAnsi(std::wstring_view wide);

} // namespace quill
