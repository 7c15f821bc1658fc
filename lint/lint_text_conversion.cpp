// UTF-8 -> UTF-16 -> ANSI conversion of a finding's message and rule name, with the cut
// that keeps a verbose rule's text instead of failing the whole report.
#include "lint/lint_text_conversion.h"

#include "lint/compact_report.h"
#include "common/utf8.h"

#include <windows.h>

#include <array>

namespace quill {

namespace {

// One UTF-16 unit takes at most three UTF-8 bytes, so this much input always fills the
// limit, and one unit never takes more than four bytes in any ANSI code page.
constexpr std::size_t INPUT_BYTES = 4 * LINT_TEXT_MAX_UNITS;
constexpr std::size_t BUFFER_UNITS = 4 * LINT_TEXT_MAX_UNITS + 4;

int ansiLength(const wchar_t *wide, std::size_t units) {
    return WideCharToMultiByte(CP_ACP, 0, wide, static_cast<int>(units), nullptr, 0, nullptr,
                               nullptr);
}

bool fits(int length) {
    return length > 0 && static_cast<std::size_t>(length) <= LINT_TEXT_MAX_UNITS;
}

} // namespace

std::optional<std::wstring> lintTextToWide(std::string_view utf8) {
    if (utf8.empty())
        return std::nullopt;
    utf8 = utf8.substr(0, utf8PrefixLength(utf8, INPUT_BYTES));
    std::array<wchar_t, BUFFER_UNITS> buffer;
    int length = MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()),
                                     buffer.data(), static_cast<int>(buffer.size()));
    if (length <= 0)
        return std::nullopt;
    std::size_t kept = static_cast<std::size_t>(length);
    if (kept > LINT_TEXT_MAX_UNITS) {
        kept = LINT_TEXT_MAX_UNITS;
        if (IS_HIGH_SURROGATE(buffer[kept - 1]))
            --kept;
    }
    return std::wstring(buffer.data(), kept);
}

std::optional<std::string> lintTextToAnsi(std::wstring_view wide) {
    if (wide.empty())
        return std::nullopt;
    if (wide.size() > LINT_TEXT_MAX_UNITS)
        wide = wide.substr(0, LINT_TEXT_MAX_UNITS);
    std::array<char, BUFFER_UNITS> buffer;
    int length =
        WideCharToMultiByte(CP_ACP, 0, wide.data(), static_cast<int>(wide.size()), buffer.data(),
                            static_cast<int>(buffer.size()), nullptr, nullptr);
    if (length <= 0)
        return std::nullopt;
    if (fits(length))
        return std::string(buffer.data(), static_cast<std::size_t>(length));
    // Too long for the field: keep the longest prefix of whole characters that fits.
    std::size_t fitting = 0;
    std::size_t tooLong = wide.size();
    while (tooLong - fitting > 1) {
        std::size_t middle = fitting + (tooLong - fitting) / 2;
        if (fits(ansiLength(wide.data(), middle)))
            fitting = middle;
        else
            tooLong = middle;
    }
    if (fitting > 0 && IS_HIGH_SURROGATE(wide[fitting - 1]))
        --fitting;
    if (fitting == 0)
        return std::nullopt;
    length = WideCharToMultiByte(CP_ACP, 0, wide.data(), static_cast<int>(fitting), buffer.data(),
                                 static_cast<int>(buffer.size()), nullptr, nullptr);
    if (length <= 0)
        return std::nullopt;
    return std::string(buffer.data(), static_cast<std::size_t>(length));
}

} // namespace quill
