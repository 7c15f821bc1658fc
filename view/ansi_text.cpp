// Conversions to the system ANSI code page and its character lengths.
#include "view/ansi_text.h"

#include "view/result_text.h"

#include <windows.h>

namespace quill {

std::string toAnsi(const wchar_t *text) {
    int size = WideCharToMultiByte(CP_ACP, 0, text, -1, nullptr, 0, nullptr, nullptr);
    if (size <= 0)
        return {};
    std::string converted(static_cast<std::size_t>(size), '\0');
    WideCharToMultiByte(CP_ACP, 0, text, -1, converted.data(), size, nullptr, nullptr);
    converted.resize(static_cast<std::size_t>(size) - 1);
    return converted;
}

std::size_t ansiCharLength(unsigned char leadByte) {
    // The lead-byte table of a double-byte code page does not describe UTF-8.
    static const UINT codePage = GetACP();
    if (codePage == CP_UTF8)
        return utf8CharLength(leadByte);
    return IsDBCSLeadByteEx(codePage, leadByte) ? 2 : 1;
}

} // namespace quill
