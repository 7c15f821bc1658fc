// The encoding helpers: cuts at character boundaries, ASCII case folding, and the
// conversions through the system's ANSI code page (932 here).
#include "common/ansi_encoding.h"
#include "common/encoding.h"

#include <gtest/gtest.h>

namespace quill {
namespace {

// "亜" in Shift_JIS is 88 9F: its trail byte lies in the lead-byte range, so only a walk
// from the start finds the boundaries.
const std::string KANJI_A = "\x88\x9F";
// "ab" and the hiragana "あい" in Shift_JIS.
const std::string AB_HIRAGANA = "ab\x82\xa0\x82\xa2";

TEST(CutAtCharBoundary, KeepsWholeCharacters) {
    struct Case {
        std::string text;
        std::size_t maxBytes;
        std::string expected;
        CharLengthOf charLength;
    };
    std::string kanji3 = KANJI_A + KANJI_A + KANJI_A;
    const Case cases[] = {
        {"abcdef", 4, "abcd", shiftJisCharLength},
        {"abc", 10, "abc", shiftJisCharLength},
        {kanji3, 5, KANJI_A + KANJI_A, shiftJisCharLength},
        {"a" + kanji3, 4, "a" + KANJI_A, shiftJisCharLength},
        {"a" + kanji3, 5, "a" + KANJI_A + KANJI_A, shiftJisCharLength},
        {AB_HIRAGANA, 0, "", shiftJisCharLength},
        {AB_HIRAGANA, 3, "ab", shiftJisCharLength},
        {AB_HIRAGANA, 4, "ab\x82\xa0", shiftJisCharLength},
        {AB_HIRAGANA, 6, AB_HIRAGANA, shiftJisCharLength},
        // The ANSI code page of the test bed is 932.
        {AB_HIRAGANA, 5, "ab\x82\xa0", ansiCharLength},
        // A lead byte without its trail at the end of the text is dropped.
        {"ab\x88", 10, "ab", shiftJisCharLength},
        {"ab\x88", 3, "ab", ansiCharLength},
        // Half-width katakana are single bytes.
        {"\xB1\xB2\xB3", 2, "\xB1\xB2", shiftJisCharLength},
        // The text ends at its first NUL, as a C string does.
        {std::string("ab\0cd", 5), 10, "ab", shiftJisCharLength},
        {"\xE3\x81\x82\xE3\x81\x84", 5, "\xE3\x81\x82", utf8CharLength},
        {"\xF0\x9F\x98\x80x", 3, "", utf8CharLength},
    };
    for (const Case &c : cases)
        EXPECT_EQ(cutAtCharBoundary(c.text, c.maxBytes, c.charLength), c.expected)
            << "maxBytes " << c.maxBytes;
}

TEST(AsciiCase, FoldsOnlyAsciiLetters) {
    EXPECT_TRUE(equalsIgnoringAsciiCase("Content-Type", "content-TYPE"));
    EXPECT_TRUE(equalsIgnoringAsciiCase("", ""));
    EXPECT_FALSE(equalsIgnoringAsciiCase("text", "text/plain"));
    EXPECT_FALSE(equalsIgnoringAsciiCase(std::string("text\0", 5), "text"));
    // Bytes above ASCII match only themselves: "Ａ" (82 60) and "ａ" (82 81) stay apart.
    EXPECT_FALSE(equalsIgnoringAsciiCase("\x82\x60", "\x82\x81"));
    EXPECT_FALSE(equalsIgnoringAsciiCase("@", "`"));
    EXPECT_TRUE(startsWithIgnoringAsciiCase("CHARSET=utf-8", "charset="));
    EXPECT_FALSE(startsWithIgnoringAsciiCase("charset", "charset="));
    EXPECT_EQ(lowerAscii("Content-Transfer-Encoding"), "content-transfer-encoding");
}

TEST(AnsiEncoding, ConvertsAndTellsWhatDidNotSurvive) {
    const std::string hiraganaUtf8 = "\xE3\x81\x82\xE3\x81\x84"; // "あい"
    EXPECT_EQ(utf8FromAnsi("\x82\xa0\x82\xa2"), hiraganaUtf8);
    EXPECT_EQ(utf8FromAnsi("plain"), "plain");
    EXPECT_EQ(wideFromAnsi("\x82\xa0"), L"あ");
    EXPECT_EQ(ansiFromWide(L"草稿"), "\x91\x90\x8d\x65");
    EXPECT_EQ(ansiFromWide(L""), "");

    std::string ansi;
    EXPECT_TRUE(ansiFromUtf8(hiraganaUtf8, ansi));
    EXPECT_EQ(ansi, "\x82\xa0\x82\xa2");
    // "é" has no character in code page 932: converted, but reported as changed.
    EXPECT_FALSE(ansiFromUtf8("caf\xC3\xA9", ansi));
    EXPECT_FALSE(ansi.empty());
    // Invalid UTF-8 (a cut character, a stray continuation byte) is not carried over.
    EXPECT_FALSE(ansiFromUtf8("a\xE3\x81", ansi));
    EXPECT_EQ(wideFromUtf8("a\x80"
                           "b"),
              L"a\xFFFD"
              L"b");
    EXPECT_EQ(utf8FromWide(wideFromUtf8(hiraganaUtf8)), hiraganaUtf8);
}

} // namespace
} // namespace quill
