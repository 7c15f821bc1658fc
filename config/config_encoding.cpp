// ANSI <-> UTF-8 through UTF-16 with MultiByteToWideChar and WideCharToMultiByte.
#include "config/config_encoding.h"

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

std::string narrowFrom(UINT codePage, const std::wstring &wide) {
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

bool isAscii(std::string_view text) {
    for (char c : text)
        if (static_cast<unsigned char>(c) >= 0x80)
            return false;
    return true;
}

} // namespace

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

std::wstring wideFromAnsi(std::string_view ansi) {
    return wideFrom(CP_ACP, ansi);
}

bool isAnsiLeadByte(unsigned char byte) {
    return IsDBCSLeadByte(byte) != FALSE;
}

} // namespace quill
