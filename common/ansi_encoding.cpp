// The conversions through UTF-16 with MultiByteToWideChar and WideCharToMultiByte.
#include "common/ansi_encoding.h"

#include "common/encoding.h"

#include <windows.h>

#include <climits>

namespace quill {

namespace {

std::wstring wideFrom(UINT codePage, std::string_view text) {
    if (text.empty() || text.size() > INT_MAX)
        return std::wstring();
    int source = static_cast<int>(text.size());
    int length = MultiByteToWideChar(codePage, 0, text.data(), source, nullptr, 0);
    if (length <= 0)
        return std::wstring();
    std::wstring wide(static_cast<std::size_t>(length), L'\0');
    length = MultiByteToWideChar(codePage, 0, text.data(), source, wide.data(), length);
    wide.resize(length > 0 ? static_cast<std::size_t>(length) : 0);
    return wide;
}

std::string narrowFrom(UINT codePage, std::wstring_view wide) {
    if (wide.empty() || wide.size() > INT_MAX)
        return std::string();
    int source = static_cast<int>(wide.size());
    int length =
        WideCharToMultiByte(codePage, 0, wide.data(), source, nullptr, 0, nullptr, nullptr);
    if (length <= 0)
        return std::string();
    std::string narrow(static_cast<std::size_t>(length), '\0');
    length = WideCharToMultiByte(codePage, 0, wide.data(), source, narrow.data(), length, nullptr,
                                 nullptr);
    narrow.resize(length > 0 ? static_cast<std::size_t>(length) : 0);
    return narrow;
}

} // namespace

std::wstring wideFromAnsi(std::string_view ansi) {
    return wideFrom(CP_ACP, ansi);
}

std::string ansiFromWide(std::wstring_view wide) {
    return narrowFrom(CP_ACP, wide);
}

bool ansiFromUtf8(std::string_view utf8, std::string &ansi) {
    if (isAscii(utf8)) {
        ansi.assign(utf8);
        return true;
    }
    std::wstring wide = wideFrom(CP_UTF8, utf8);
    ansi = narrowFrom(CP_ACP, wide);
    // Converting back shows whether every character had an ANSI equivalent (best-fit
    // mappings and the default character both change the text).
    return !wide.empty() && wideFrom(CP_ACP, ansi) == wide;
}

std::string utf8FromAnsi(std::string_view ansi) {
    if (isAscii(ansi))
        return std::string(ansi);
    return narrowFrom(CP_UTF8, wideFrom(CP_ACP, ansi));
}

std::wstring wideFromUtf8(std::string_view utf8) {
    return wideFrom(CP_UTF8, utf8);
}

std::string utf8FromWide(std::wstring_view wide) {
    return narrowFrom(CP_UTF8, wide);
}

std::size_t ansiCharLength(unsigned char leadByte) {
    // The lead-byte table of a double-byte code page does not describe UTF-8.
    static const UINT ANSI_CODE_PAGE = GetACP();
    if (ANSI_CODE_PAGE == CP_UTF8)
        return utf8CharLength(leadByte);
    return IsDBCSLeadByteEx(ANSI_CODE_PAGE, leadByte) ? 2 : 1;
}

std::wstring withAnsiName(const wchar_t *text, std::string_view name) {
    std::wstring result = text;
    const std::size_t at = result.find(L"%s");
    if (at != std::wstring::npos)
        result.replace(at, 2, wideFromAnsi(name));
    return result;
}

} // namespace quill
