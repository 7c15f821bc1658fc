// Character lengths, boundary cuts and ASCII case folding.
#include "common/encoding.h"

#include <cstring>

namespace quill {

namespace {

char foldAscii(char c) {
    return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}

} // namespace

std::size_t shiftJisCharLength(unsigned char leadByte) {
    bool lead = (leadByte >= 0x81 && leadByte <= 0x9F) || (leadByte >= 0xE0 && leadByte <= 0xFC);
    return lead ? 2 : 1;
}

std::size_t utf8CharLength(unsigned char leadByte) {
    if (leadByte >= 0xF0 && leadByte <= 0xF4)
        return 4;
    if (leadByte >= 0xE0 && leadByte <= 0xEF)
        return 3;
    if (leadByte >= 0xC2 && leadByte <= 0xDF)
        return 2;
    return 1;
}

std::string cutAtCharBoundary(const std::string &text, std::size_t maxBytes,
                              CharLengthOf charLength) {
    std::size_t end = std::strlen(text.c_str());
    std::size_t kept = 0;
    while (kept < end) {
        std::size_t next = kept + charLength(static_cast<unsigned char>(text[kept]));
        if (next > maxBytes || next > end)
            break;
        kept = next;
    }
    return text.substr(0, kept);
}

bool isAscii(std::string_view text) {
    for (char c : text)
        if (static_cast<unsigned char>(c) >= 0x80)
            return false;
    return true;
}

std::string lowerAscii(std::string_view text) {
    std::string lower(text);
    for (char &c : lower)
        c = foldAscii(c);
    return lower;
}

bool equalsIgnoringAsciiCase(std::string_view a, std::string_view b) {
    if (a.size() != b.size())
        return false;
    for (std::size_t i = 0; i < a.size(); ++i)
        if (foldAscii(a[i]) != foldAscii(b[i]))
            return false;
    return true;
}

bool startsWithIgnoringAsciiCase(std::string_view text, std::string_view prefix) {
    return text.size() >= prefix.size() &&
           equalsIgnoringAsciiCase(text.substr(0, prefix.size()), prefix);
}

} // namespace quill
