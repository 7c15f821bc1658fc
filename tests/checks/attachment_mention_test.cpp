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
        // Words that say nothing is attached, and a postal enclosure, are passed over; a
        // later mention still counts.
        {"添付ファイルはございません。", nullptr},
        {"添付は不要です。添付：なし。There is no attachment.", nullptr},
        {"請求書の原本は郵送にて同封してお送りいたします。", nullptr},
        {"書類を同封のうえ、お送りします。", nullptr},
        {"添付ファイルはありませんが、資料を同封しました。", "同封"},
        {"資料を同封してお送りします。", "同封"},
        {"not attached, but attached later", "attached"},
        // Outlook's original below its underscores and header; an underlined heading is none.
        {"承知しました。\n\n________________________________\n差出人: 山田 <y@example.jp>\n"
         "送信日時: 2026年7月1日 10:00\n件名: 資料\n\n資料を添付します。\n",
         nullptr},
        {"Thanks.\n_____\nFrom: a@example.jp\nPlease see the attached file.", nullptr},
        {"議題\n______\n添付の件", "添付"},
        // A URL runs through Japanese letters to a blank, a full-width mark or the line end.
        {"https://example.com/資料/見積書.pdf", nullptr},
        {"詳細は https://example.com/資料/添付.pdf をご覧ください。", nullptr},
        {"https://example.jp/資料。添付します", "添付"},
        {"（https://example.jp/a）添付します", "添付"},
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
