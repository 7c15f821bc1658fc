// UTF-16 offsets into a checked text turned into bytes and lines, exactly or not at all, and
// the lines of a host's text with their line ends.
#include "mail/text_span.h"

#include <gtest/gtest.h>

namespace quill {
namespace {

TEST(TextSpan, OffsetsMapExactlyOrNotAtAll) {
    // "a" 1 unit, "日" 1 unit and 3 bytes, U+20BB7 2 units and 4 bytes, LF, "b".
    const std::string text = "a\xE6\x97\xA5\xF0\xA0\xAE\xB7\nb";
    struct Case {
        int start, end;
        bool mapped;
        std::size_t startByte, endByte;
    } cases[] = {
        {0, 0, true, 0, 0},  {0, 1, true, 0, 1},  {1, 2, true, 1, 4},   {2, 4, true, 4, 8},
        {2, 3, false, 0, 0}, {3, 4, false, 0, 0}, {4, 6, true, 8, 10},  {6, 6, true, 10, 10},
        {6, 7, false, 0, 0}, {2, 1, false, 0, 0}, {-1, 1, false, 0, 0},
    };
    for (const Case &c : cases) {
        const std::optional<ByteRange> range = utf8RangeOf(text, c.start, c.end);
        ASSERT_EQ(range.has_value(), c.mapped) << c.start << "," << c.end;
        if (range) {
            EXPECT_EQ(range->start, c.startByte) << c.start;
            EXPECT_EQ(range->end, c.endByte) << c.end;
        }
    }
    // A broken sequence has no UTF-16 offsets to trust.
    EXPECT_FALSE(utf8RangeOf("a\xE6\x97", 0, 2));

    // Lines: the range over the line end starts in line 0 and ends in line 1.
    const std::optional<LineSpan> span = lineSpanOf(text, 2, 6);
    ASSERT_TRUE(span);
    EXPECT_EQ(span->firstLine, 0u);
    EXPECT_EQ(span->startByte, 4u);
    EXPECT_EQ(span->lastLine, 1u);
    EXPECT_EQ(span->endByte, 1u);
    EXPECT_EQ(lineOfText("x\ny\n", 2), "y");
    EXPECT_EQ(lineOfText("x\ny\n", 3), "");
    EXPECT_EQ(lineOfText("x\ny\n", 9), "");
}

TEST(TextSpan, RawLinesEndAtCrLfCrOrLf) {
    const std::vector<RawLine> lines = splitRawLines("a\r\nb\rc\nd");
    ASSERT_EQ(lines.size(), 4u);
    const std::size_t expected[][3] = {{0, 1, 3}, {3, 4, 5}, {5, 6, 7}, {7, 8, 8}};
    for (std::size_t i = 0; i < lines.size(); ++i) {
        EXPECT_EQ(lines[i].begin, expected[i][0]) << i;
        EXPECT_EQ(lines[i].end, expected[i][1]) << i;
        EXPECT_EQ(lines[i].next, expected[i][2]) << i;
    }
    EXPECT_EQ(splitRawLines("x\r\n").size(), 2u);
}

} // namespace
} // namespace quill
