// Line framing of a child's output over cut reads, bounded by the longest line.
#include "process/line_framer.h"

#include <gtest/gtest.h>

namespace quill {
namespace {

TEST(LineFramer, JoinsCutReadsAndSpoilsOnAnOverlongLine) {
    LineFramer framer(16);
    framer.append("{\"a\":");
    EXPECT_FALSE(framer.nextLine());
    framer.append("1}\r\n{\"b\"");
    EXPECT_EQ(framer.nextLine(), "{\"a\":1}");
    EXPECT_FALSE(framer.nextLine());
    framer.append(":2}\n\n");
    EXPECT_EQ(framer.nextLine(), "{\"b\":2}");
    EXPECT_EQ(framer.nextLine(), "");
    framer.append("0123456789");
    EXPECT_FALSE(framer.overflowed());
    framer.append("abcdefg");
    EXPECT_TRUE(framer.overflowed()); // refused as it arrives, before it is read
    EXPECT_FALSE(framer.nextLine());
    framer.append("\n{}\n");
    EXPECT_FALSE(framer.nextLine());
}

} // namespace
} // namespace quill
