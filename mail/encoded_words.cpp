// Decoding of RFC 2047 encoded words and of header bytes written without them.
#include "mail/encoded_words.h"

#include "common/encoding.h"
#include "common/utf8.h"
#include "mail/charset.h"
#include "mail/jis_shift_jis.h"

#include <vector>

namespace quill {

namespace {

constexpr int SHIFT_JIS_CODE_PAGE = 932;
// The longest encoded word read. RFC 2047 allows 75 characters; clients write longer ones,
// and a bound keeps a header full of "=?" from being searched to its end at every one.
constexpr std::size_t ENCODED_WORD_MAX = 1024;

constexpr std::string_view SHIFT_JIS_NAMES[] = {
    "shift_jis", "shift-jis", "sjis", "x-sjis", "cp932", "windows-31j", "ms_kanji", "csshiftjis"};
constexpr std::string_view EUC_JP_NAMES[] = {"euc-jp", "x-euc-jp", "eucjp", "cp51932",
                                             "cseucpkdfmtjapanese"};

bool isOneOf(std::string_view lowerName, const std::string_view *names, std::size_t count) {
    for (std::size_t i = 0; i < count; ++i)
        if (lowerName == names[i])
            return true;
    return false;
}

bool isWhiteSpace(char c) {
    return c == ' ' || c == '\t' || c == '\r' || c == '\n';
}

int base64Value(char c) {
    if (c >= 'A' && c <= 'Z')
        return c - 'A';
    if (c >= 'a' && c <= 'z')
        return c - 'a' + 26;
    if (c >= '0' && c <= '9')
        return c - '0' + 52;
    if (c == '+')
        return 62;
    if (c == '/')
        return 63;
    return -1;
}

int hexValue(char c) {
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    return -1;
}

// Base64 without its padding; characters outside the alphabet are skipped.
std::string decodeBase64(std::string_view text) {
    std::string out;
    unsigned bits = 0;
    int count = 0;
    for (char c : text) {
        const int value = base64Value(c);
        if (value < 0)
            continue;
        bits = (bits << 6) | static_cast<unsigned>(value);
        count += 6;
        if (count >= 8) {
            count -= 8;
            out += static_cast<char>((bits >> count) & 0xFF);
        }
    }
    return out;
}

// The Q encoding: "_" is a blank, "=XX" a byte; a "=" without two hex digits stays.
std::string decodeQ(std::string_view text) {
    std::string out;
    for (std::size_t pos = 0; pos < text.size(); ++pos) {
        if (text[pos] == '_') {
            out += ' ';
        } else if (text[pos] == '=' && pos + 2 < text.size() && hexValue(text[pos + 1]) >= 0 &&
                   hexValue(text[pos + 2]) >= 0) {
            out += static_cast<char>(hexValue(text[pos + 1]) * 16 + hexValue(text[pos + 2]));
            pos += 2;
        } else {
            out += text[pos];
        }
    }
    return out;
}

// One piece of header text: an encoded word (its charset and decoded bytes) or the text
// between encoded words as written.
struct Piece {
    bool encoded = false;
    std::string charset;
    std::string bytes;
    std::string written;
};

// The encoded word at `pos` ("=?charset?B?text?="), its end in `end`; none when the text
// there is not one.
std::optional<Piece> encodedWordAt(std::string_view whole, std::size_t pos, std::size_t &end) {
    if (whole.substr(pos, 2) != "=?")
        return std::nullopt;
    const std::string_view text = whole.substr(0, pos + ENCODED_WORD_MAX);
    const std::size_t charsetEnd = text.find('?', pos + 2);
    if (charsetEnd == std::string_view::npos || charsetEnd == pos + 2 ||
        charsetEnd + 2 >= text.size() || text[charsetEnd + 2] != '?')
        return std::nullopt;
    const char encoding = text[charsetEnd + 1];
    const std::size_t textStart = charsetEnd + 3;
    const std::size_t textEnd = text.find("?=", textStart);
    if (textEnd == std::string_view::npos)
        return std::nullopt;
    const std::string_view charset = text.substr(pos + 2, charsetEnd - pos - 2);
    const std::string_view encodedText = text.substr(textStart, textEnd - textStart);
    for (char c : charset)
        if (isWhiteSpace(c))
            return std::nullopt;
    for (char c : encodedText)
        if (isWhiteSpace(c) || c == '?')
            return std::nullopt;
    Piece piece;
    piece.encoded = true;
    piece.charset = lowerAscii(charset);
    if (encoding == 'B' || encoding == 'b')
        piece.bytes = decodeBase64(encodedText);
    else if (encoding == 'Q' || encoding == 'q')
        piece.bytes = decodeQ(encodedText);
    else
        return std::nullopt;
    end = textEnd + 2;
    piece.written = std::string(text.substr(pos, end - pos));
    return piece;
}

bool isWellFormedUtf8(std::string_view text) {
    for (std::size_t pos = 0; pos < text.size();) {
        const std::size_t start = pos;
        if (decodeUtf8(text, pos) == 0xFFFD && pos - start == 1)
            return false;
    }
    return true;
}

// Text written without encoded words: ASCII and UTF-8 as they are, ISO-2022-JP by its
// escapes, other bytes in the system's code page.
std::string readUnencoded(const std::string &text, const CodePageToUtf8 &toUtf8) {
    if (text.find('\x1B') != std::string::npos)
        return utf8OfCharset(text, "iso-2022-jp", toUtf8).value_or(text);
    if (isWellFormedUtf8(text))
        return text;
    return toUtf8(text, 0).value_or(std::string());
}

bool isAllWhiteSpace(std::string_view text) {
    for (char c : text)
        if (!isWhiteSpace(c))
            return false;
    return true;
}

} // namespace

std::optional<std::string> utf8OfCharset(const std::string &bytes, std::string_view charset,
                                         const CodePageToUtf8 &toUtf8) {
    std::string name = lowerAscii(charset.substr(0, charset.find('*')));
    if (name == "utf-8" || name == "utf8" || name == "us-ascii")
        return bytes;
    if (name.rfind("iso-2022-jp", 0) == 0 || name == "csiso2022jp")
        return toUtf8(shiftJisFromIso2022Jp(bytes), SHIFT_JIS_CODE_PAGE);
    if (isOneOf(name, SHIFT_JIS_NAMES, std::size(SHIFT_JIS_NAMES)))
        return toUtf8(bytes, SHIFT_JIS_CODE_PAGE);
    if (isOneOf(name, EUC_JP_NAMES, std::size(EUC_JP_NAMES)))
        return toUtf8(shiftJisFromEucJp(bytes), SHIFT_JIS_CODE_PAGE);
    const int codePage = codePageOfCharset(name);
    if (codePage == 0)
        return std::nullopt;
    return toUtf8(bytes, codePage);
}

std::string decodeHeaderText(std::string_view text, const CodePageToUtf8 &toUtf8) {
    std::vector<Piece> pieces;
    std::size_t plainStart = 0;
    const auto addPlain = [&](std::size_t end) {
        if (end > plainStart)
            pieces.push_back(
                Piece{false, {}, {}, std::string(text.substr(plainStart, end - plainStart))});
    };
    for (std::size_t pos = 0; pos < text.size();) {
        std::size_t end = 0;
        std::optional<Piece> word = encodedWordAt(text, pos, end);
        if (!word) {
            ++pos;
            continue;
        }
        addPlain(pos);
        // White space alone between two encoded words is no text (RFC 2047, 6.2); the
        // bytes of neighbours in one charset are read together.
        if (!pieces.empty() && !pieces.back().encoded && isAllWhiteSpace(pieces.back().written) &&
            pieces.size() >= 2 && pieces[pieces.size() - 2].encoded)
            pieces.pop_back();
        if (!pieces.empty() && pieces.back().encoded && pieces.back().charset == word->charset) {
            pieces.back().bytes += word->bytes;
            pieces.back().written += word->written;
        } else {
            pieces.push_back(std::move(*word));
        }
        pos = plainStart = end;
    }
    addPlain(text.size());

    std::string out;
    for (const Piece &piece : pieces) {
        if (!piece.encoded)
            out += readUnencoded(piece.written, toUtf8);
        else
            out += utf8OfCharset(piece.bytes, piece.charset, toUtf8).value_or(piece.written);
    }
    return out;
}

} // namespace quill
