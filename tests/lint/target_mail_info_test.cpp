// The target mail record: MIME type mapping, line-end normalisation, value semantics.
#include "mail/target_mail_info.h"

#include <gtest/gtest.h>

namespace quill {
namespace {

TEST(TargetMailInfo, ParseMimeTypeIsHtmlOnlyForTheExactType) {
    EXPECT_EQ(parseMimeType("text/html"), MIME_TEXT_HTML);
    for (const char *other :
         {"TEXT/HTML", "text/html; charset=utf-8", "text/plain", "", "text/htm", "text/html "})
        EXPECT_EQ(parseMimeType(other), MIME_TEXT_PLAIN) << other;
}

TEST(TargetMailInfo, NormalizeLineEnds) {
    const std::pair<std::string, std::string> cases[] = {
        {"a\r\nb\rc\r", "a\nb\nc\n"},
        {"no breaks\nhere", "no breaks\nhere"},
        {"\r\r\n\n", "\n\n\n"},
        {"\r", "\n"},
        {"", ""},
        {"x\n\r", "x\n\n"},
    };
    for (const auto &[in, out] : cases)
        EXPECT_EQ(normalizeLineEnds(in), out) << in;
}

TEST(TargetMailInfo, CopiesAreIndependentAndTheDefaultIsEmptyPlainText) {
    TargetMailInfo original(1, MIME_TEXT_HTML, "f", "s", "t\n");
    TargetMailInfo copy = original;
    copy = TargetMailInfo(0, MIME_TEXT_PLAIN, "f2", "s2", "t2");
    EXPECT_EQ(original.isDraft, 1);
    EXPECT_EQ(original.mimeType, MIME_TEXT_HTML);
    EXPECT_EQ(original.getFrom() + original.getSubject() + original.getMailText(), "fst\n");
    TargetMailInfo empty;
    EXPECT_EQ(empty.isDraft, 0);
    EXPECT_EQ(empty.mimeType, MIME_TEXT_PLAIN);
    EXPECT_EQ(empty.getFrom() + empty.getSubject() + empty.getMailText(), "");
}

} // namespace
} // namespace quill
