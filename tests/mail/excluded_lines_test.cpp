// Quoted lines and the signature emptied for textlint, and put back after a fix.
#include "mail/excluded_lines.h"

#include <gtest/gtest.h>

#include <string>

namespace quill {
namespace {

const LineExclusion BOTH{true, ">\xEF\xBC\x9E", true}; // ">＞"
const LineExclusion QUOTES{true, ">\xEF\xBC\x9E", false};
const LineExclusion SIGNATURE{false, "", true};
const LineExclusion NONE{false, ">\xEF\xBC\x9E", false};

TEST(ExcludedLines, MaskEmptiesQuotedLinesAndTheSignatureKeepingEveryLineEnd) {
    struct Case {
        const char *label;
        LineExclusion exclusion;
        std::string mail;
        std::string masked;
    } cases[] = {
        {"both off: byte for byte", NONE, "> a\n-- \nsig\n", "> a\n-- \nsig\n"},
        {"both marks", QUOTES,
         ">a\nb\n\xEF\xBC\x9E"
         "c\n",
         "\nb\n\n"},
        // U+FF01 shares its first two bytes with U+FF1E.
        {"same lead bytes, other character", QUOTES,
         "\xEF\xBC\x81"
         "a\n",
         "\xEF\xBC\x81"
         "a\n"},
        {"mark not first", QUOTES, " > a\nb>c\n", " > a\nb>c\n"},
        {"no marks", {true, "", false}, "> a\n", "> a\n"},
        {"blanks among marks are no marks",
         {true, " >\t\xE3\x80\x80", false},
         " a\n\xE3\x80\x80"
         "b\n> c\n",
         " a\n\xE3\x80\x80"
         "b\n\n"},
        {"last line quoted, no LF", QUOTES, "a\n> q", "a\n"},
        {"signature", SIGNATURE, "body\n-- \nTaro\n", "body\n\n\n"},
        {"the last delimiter counts", SIGNATURE, "a\n--\nb\n-- \nsig", "a\n--\nb\n\n"},
        {"delimiter as the last line", SIGNATURE, "a\n-- ", "a\n"},
        {"only a signature", BOTH, "-- \nTaro", "\n"},
        {"no delimiter", SIGNATURE, "--  \n---\n- -\n", "--  \n---\n- -\n"},
        {"quoted delimiter", BOTH, "a\n> -- \n> sig\nb\n", "a\n\n\nb\n"},
        {"CR before LF", BOTH, "a\r\n> q\r\n-- \r\nsig\r\n", "a\r\n\n\n\n"},
        {"quotes only", QUOTES, "-- \nsig\n", "-- \nsig\n"},
        {"empty text", BOTH, "", ""},
    };
    for (const Case &c : cases) {
        EXPECT_EQ(c.masked, maskExcludedLines(c.mail, c.exclusion)) << c.label;
        // An unchanged masked text puts the mail back as it was.
        EXPECT_EQ(c.mail, restoreExcludedLines(c.mail, c.masked, c.exclusion)) << c.label;
    }
}

TEST(ExcludedLines, RestoreTakesTheFixOfOwnLinesOrRefusesAShiftedFix) {
    struct Case {
        const char *label;
        LineExclusion exclusion;
        std::string mail;
        std::string fixed;
        std::optional<std::string> restored;
    } cases[] = {
        {"own lines fixed", BOTH, "> A B\nb c\n-- \nsig c", "\nbc\n\n", "> A B\nbc\n-- \nsig c"},
        {"a line added", BOTH, "> q\nb\n", "\nb\nc\n", std::nullopt},
        {"a line removed", BOTH, "> q\nb\n", "\nb", std::nullopt},
        {"text moved into an emptied line", BOTH, "> q\nb c\n", "b c\n\n", std::nullopt},
        {"both off: the fix as it is", NONE, "> q\n", "> q\n\n", "> q\n\n"},
        {"nothing excluded: the fix as it is", BOTH, "a b\n", "ab\nc\n", "ab\nc\n"},
    };
    for (const Case &c : cases)
        EXPECT_EQ(c.restored, restoreExcludedLines(c.mail, c.fixed, c.exclusion)) << c.label;
}

} // namespace
} // namespace quill
