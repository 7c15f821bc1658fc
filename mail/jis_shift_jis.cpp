// ISO-2022-JP and EUC-JP to Shift_JIS: a JIS X 0208 pair (row and cell, 0x21-0x7E each)
// maps to a Shift_JIS pair by arithmetic, a half-width katakana to its single byte.
#include "mail/jis_shift_jis.h"

namespace quill {

namespace {

constexpr char ESC = '\x1B';
constexpr char SHIFT_OUT = '\x0E';
constexpr char SHIFT_IN = '\x0F';

bool isJisByte(unsigned char byte) {
    return byte >= 0x21 && byte <= 0x7E;
}

void appendShiftJisOfJis(std::string &out, unsigned char row, unsigned char cell) {
    unsigned lead = static_cast<unsigned>(row - 0x21) / 2 + 0x81;
    if (lead > 0x9F)
        lead += 0x40;
    unsigned trail = 0;
    if ((row & 1) != 0)
        trail = cell + (cell < 0x60 ? 0x1Fu : 0x20u);
    else
        trail = cell + 0x7Eu;
    out += static_cast<char>(lead);
    out += static_cast<char>(trail);
}

enum class JisSet { Ascii, Kanji, Kana, Other };

// The set an escape sequence at `pos` (just after ESC) designates, and its length; Other
// with length 0 for one not known, whose ESC is then dropped.
JisSet designatedSet(std::string_view bytes, std::size_t pos, std::size_t &length) {
    const std::string_view rest = bytes.substr(pos);
    length = 2;
    if (rest.substr(0, 2) == "(B" || rest.substr(0, 2) == "(J")
        return JisSet::Ascii;
    if (rest.substr(0, 2) == "(I")
        return JisSet::Kana;
    if (rest.substr(0, 2) == "$@" || rest.substr(0, 2) == "$B")
        return JisSet::Kanji;
    length = 3;
    if (rest.substr(0, 3) == "$(D")
        return JisSet::Other; // JIS X 0212, which code page 932 does not hold
    length = 0;
    return JisSet::Other;
}

} // namespace

std::string shiftJisFromIso2022Jp(std::string_view bytes) {
    std::string out;
    out.reserve(bytes.size());
    JisSet set = JisSet::Ascii;
    bool shiftedOut = false;
    for (std::size_t pos = 0; pos < bytes.size(); ++pos) {
        const char c = bytes[pos];
        const auto byte = static_cast<unsigned char>(c);
        if (c == ESC) {
            std::size_t length = 0;
            const JisSet designated = designatedSet(bytes, pos + 1, length);
            if (length > 0)
                set = designated;
            pos += length;
            continue;
        }
        if (c == SHIFT_OUT || c == SHIFT_IN) {
            shiftedOut = c == SHIFT_OUT;
            continue;
        }
        if (c == '\r' || c == '\n') { // a line ends in ASCII, whatever was left open
            set = JisSet::Ascii;
            shiftedOut = false;
            out += c;
            continue;
        }
        if (byte >= 0x80) {
            out += '?';
            continue;
        }
        if ((set == JisSet::Kana || shiftedOut) && byte >= 0x21 && byte <= 0x5F) {
            out += static_cast<char>(byte + 0x80);
            continue;
        }
        if ((set == JisSet::Kanji || set == JisSet::Other) && isJisByte(byte)) {
            if (pos + 1 >= bytes.size() || !isJisByte(static_cast<unsigned char>(bytes[pos + 1]))) {
                out += '?';
                continue;
            }
            if (set == JisSet::Kanji)
                appendShiftJisOfJis(out, byte, static_cast<unsigned char>(bytes[pos + 1]));
            else
                out += '?';
            ++pos;
            continue;
        }
        out += c;
    }
    return out;
}

std::string shiftJisFromEucJp(std::string_view bytes) {
    constexpr unsigned char SINGLE_SHIFT_2 = 0x8E; // a half-width katakana follows
    constexpr unsigned char SINGLE_SHIFT_3 = 0x8F; // a JIS X 0212 pair follows
    std::string out;
    out.reserve(bytes.size());
    for (std::size_t pos = 0; pos < bytes.size(); ++pos) {
        const auto byte = static_cast<unsigned char>(bytes[pos]);
        const auto next = [&](std::size_t offset) {
            return pos + offset < bytes.size() ? static_cast<unsigned char>(bytes[pos + offset])
                                               : 0;
        };
        if (byte < 0x80) {
            out += static_cast<char>(byte);
        } else if (byte == SINGLE_SHIFT_2 && next(1) >= 0xA1 && next(1) <= 0xDF) {
            out += static_cast<char>(next(1));
            ++pos;
        } else if (byte == SINGLE_SHIFT_3 && next(1) >= 0xA1 && next(2) >= 0xA1) {
            out += '?';
            pos += 2;
        } else if (byte >= 0xA1 && byte <= 0xFE && next(1) >= 0xA1 && next(1) <= 0xFE) {
            appendShiftJisOfJis(out, static_cast<unsigned char>(byte - 0x80),
                                static_cast<unsigned char>(next(1) - 0x80));
            ++pos;
        } else {
            out += '?';
        }
    }
    return out;
}

} // namespace quill
