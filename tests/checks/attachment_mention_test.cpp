// A mention of an attachment in the writer's own words.
#include "checks/attachment_mention.h"

#include <gtest/gtest.h>

#include <string>

namespace quill {
namespace {

const std::string QUOTE_MARKS = ">＞";

TEST(Attachment, TheFirstMentionInTheWritersOwnWordsIsNamedAsWritten) {
    const struct {
        const char *text;
        const char *named; // null: no mention
    } cases[] = {
        {"資料を同封します。添付もあります。", "同封"},
        {"Please find the Attached file.", "Attached"},
        {"The contract is enclosed.", "enclosed"},
        {"詳細は「見積書_v2.PDF」をご覧ください。", "見積書_v2.PDF"},
        {"see report.xlsx, then", "report.xlsx"},
        {"＞添付します\n-- \n添付\n", nullptr},
        {"http://example.jp/attach.pdf と www.example.jp/Attachment", nullptr},
        {"version 1.pdfx and a.pdf2 and detach", nullptr},
        {"本文です。\n---------- Forwarded message ---------\n添付します\n", nullptr},
        {"<p title=\"attach\">本文</p><p>別添の通り</p>", "別添"},
    };
    for (const auto &c : cases) {
        const bool html = std::string(c.text).rfind("<p", 0) == 0;
        const std::optional<std::string> found = findAttachmentMention(c.text, QUOTE_MARKS, html);
        if (c.named == nullptr)
            EXPECT_FALSE(found) << c.text << " named " << found.value_or("");
        else
            EXPECT_EQ(c.named, found.value_or("(none)")) << c.text;
    }
}

} // namespace
} // namespace quill
