// The result window's texts: row and mail-line formats, and the cut at a character
// boundary when a text would overflow the window's 1024-byte buffers.
#include "view/result_layout.h"
#include "view/result_text.h"

#include <gtest/gtest.h>

namespace quill {
namespace {

TEST(ResultText, RowsAndDiagnosticsOfFindings) {
    struct Case {
        LintResult result;
        const char *row;
        const char *diagnostic;
    };
    const Case cases[] = {
        {{1, 5, "A", "r1", false, {}},
         "Line: 1, Index: 5, Msg: A, Rule: r1",
         "Line: 1, Index: 5, Message: A, Rule: r1, AutFix: 0"},
        {{2, 0, "B", "r2", true, {}},
         "Line: 2, Index: 0, Msg: B, Rule: r2",
         "Line: 2, Index: 0, Message: B, Rule: r2, AutFix: 1"},
        {{-3, 2147483647, "", "", false, {}},
         "Line: -3, Index: 2147483647, Msg: , Rule: ",
         "Line: -3, Index: 2147483647, Message: , Rule: , AutFix: 0"},
    };
    for (const Case &c : cases) {
        EXPECT_EQ(composeRowText(c.result, shiftJisCharLength), c.row);
        EXPECT_EQ(composeFindingDiagnostic(c.result), c.diagnostic);
    }
}

TEST(ResultText, MailLineJoinsKindAndSender) {
    EXPECT_EQ(composeMailLine("\x91\x90\x8d\x65", "Sender A", shiftJisCharLength),
              "\x91\x90\x8d\x65 - From: Sender A");
    EXPECT_EQ(composeMailLine("K", "", shiftJisCharLength), "K - From: ");
}

// "亜" in Shift_JIS is 88 9F: its trail byte lies in the lead-byte range, so only a walk
// from the start finds the boundaries.
const std::string KANJI_A = "\x88\x9F";

TEST(ResultText, LongTextsFillTheBufferWithoutOverflow) {
    std::string longKanji;
    for (int i = 0; i < 700; ++i)
        longKanji += KANJI_A;

    // "Line: 1, Index: 1, Msg: " is 24 bytes: an odd room for two-byte characters.
    std::string row = composeRowText({1, 1, longKanji, "rule", false, {}}, shiftJisCharLength);
    EXPECT_EQ(row.size(), 1022u);
    EXPECT_EQ(row.substr(0, 24), "Line: 1, Index: 1, Msg: ");
    EXPECT_EQ(row.substr(1020), KANJI_A);
    EXPECT_EQ(row.find("Rule"), std::string::npos);

    std::string line = composeMailLine("K", std::string(2000, 'x'), shiftJisCharLength);
    EXPECT_EQ(line.size(), RESULT_TEXT_BUFFER_SIZE - 1);
    EXPECT_EQ(line.substr(0, 10), "K - From: ");

    // A long rule name after a message that fits is cut too.
    std::string tail =
        composeRowText({1, 1, "m", std::string(1500, 'r'), false, {}}, shiftJisCharLength);
    EXPECT_EQ(tail.size(), RESULT_TEXT_BUFFER_SIZE - 1);
}

TEST(ResultLayout, FieldsBesideLabelsAndListBelow) {
    LabelSize mail{90, 13}, subject{80, 13}, mime{70, 12};
    ResultLayout layout = computeResultLayout(600, 400, 16, mail, subject, mime);
    auto expectRect = [](const LayoutRect &r, int x, int y, int w, int h) {
        EXPECT_EQ(r.x, x);
        EXPECT_EQ(r.y, y);
        EXPECT_EQ(r.width, w);
        EXPECT_EQ(r.height, h);
    };
    expectRect(layout.mailField, 102, 0, 510, 13);
    expectRect(layout.subjectField, 92, 16, 520, 13);
    expectRect(layout.mimeField, 82, 32, 530, 12);
    expectRect(layout.list, 0, 48, 600, 300);
    expectRect(layout.status, 0, 348, 600, 52);

    // A window smaller than its header keeps every size at zero or above.
    ResultLayout tiny = computeResultLayout(50, 20, 16, mail, subject, mime);
    expectRect(tiny.list, 0, 48, 50, 0);
    expectRect(tiny.status, 0, 48, 50, 0);
    EXPECT_EQ(tiny.mailField.width, 0);
}

} // namespace
} // namespace quill
