// The recipients of To and Cc as the header names them: the forms of an address list and
// the encoded words of the Japanese charsets, decoded through the system's code pages.
#include "mail/address_display_names.h"
#include "mail/charset.h"
#include "mail/jis_shift_jis.h"

#include <gtest/gtest.h>

#include <string>

namespace quill {
namespace {

const CodePageToUtf8 throughSystem = utf8OfCodePageQuietly;

// "name <address>" (or "<address>") for each recipient, joined by " | ".
std::string listed(const std::vector<MailRecipient> &recipients) {
    std::string text;
    for (const MailRecipient &recipient : recipients) {
        if (!text.empty())
            text += " | ";
        if (!recipient.displayName.empty())
            text += recipient.displayName + " ";
        text += "<" + recipient.address + ">";
    }
    return text;
}

TEST(AddressDisplayNames, TheFormsOfAnAddressListGiveEachMailboxItsNameAndAddress) {
    const struct {
        const char *value;
        const char *listed;
    } cases[] = {
        {" 山田 太郎 <yamada@example.jp>", "山田 太郎 <yamada@example.jp>"},
        {" \"Yamada, Taro (Sales)\" <yamada@example.jp>, suzuki@example.jp",
         "Yamada, Taro (Sales) <yamada@example.jp> | <suzuki@example.jp>"},
        {" \"山田 \\\"太郎\\\"\" <y@example.jp>", "山田 \"太郎\" <y@example.jp>"},
        {" yamada@example.jp (山田 太郎), <sato@example.jp> (a comment)",
         "山田 太郎 <yamada@example.jp> | a comment <sato@example.jp>"},
        {" 山田 (営業部) 太郎 <y@example.jp>", "山田 太郎 <y@example.jp>"},
        {" 営業部: 山田 太郎 <y@example.jp>, s@example.jp;, 鈴木 <z@example.jp>",
         "山田 太郎 <y@example.jp> | <s@example.jp> | 鈴木 <z@example.jp>"},
        {" undisclosed-recipients:;", ""},
        {" 山田\r\n \t太郎\r\n <yamada@example.jp>,\r\n\tsuzuki@example.jp",
         "山田 太郎 <yamada@example.jp> | <suzuki@example.jp>"},
        {" <a@example.jp>,, ,<b@example.jp>", "<a@example.jp> | <b@example.jp>"},
    };
    for (const auto &c : cases)
        EXPECT_EQ(c.listed, listed(recipientsOfAddressList(c.value, throughSystem))) << c.value;
}

TEST(AddressDisplayNames, EncodedWordsOfEachJapaneseCharsetAreDecoded) {
    const struct {
        const char *value;
        const char *name;
    } cases[] = {
        // ISO-2022-JP in B, as Japanese mail clients write it; in two words; with
        // half-width katakana (ESC ( I); inside quotes, as some clients write it.
        {"=?ISO-2022-JP?B?GyRCOzNFRBsoQiAbJEJCQE86GyhC?= <y@example.jp>", "山田 太郎"},
        {"=?iso-2022-jp?B?GyRCOzNFRBsoQg==?=\r\n =?iso-2022-jp?B?IBskQkJATzobKEI=?= <y@x.jp>",
         "山田 太郎"},
        {"=?ISO-2022-JP?B?GyRCRURDZhsoQiAbKElAWzMbKEI=?= <t@example.jp>", "田中 ﾀﾛｳ"},
        {"\"=?ISO-2022-JP?B?GyRCTmtMWhsoQiAbJEIwbE86GyhC?=\" <s@example.jp>", "鈴木 一郎"},
        // UTF-8 in Q, and a character split between two words.
        {"=?utf-8?Q?=E9=88=B4=E6=9C=A8_=E4=B8=80=E9=83=8E?= <s@example.jp>", "鈴木 一郎"},
        {"=?UTF-8?B?5rg=?= =?UTF-8?B?oei+ug==?= <w@example.jp>", "渡辺"},
        // Shift_JIS in Q, EUC-JP in B (with half-width katakana).
        {"=?shift_jis?Q?=8D=B2=93=A1_=89=D4=8Eq?= <h@example.jp>", "佐藤 花子"},
        {"=?EUC-JP?B?ueK2tiCOuY7d?= <k@example.jp>", "高橋 ｹﾝ"},
        // Text around an encoded word keeps its blank; an unknown charset stays as written.
        {"=?UTF-8?B?5LyK6Jek?= Taro <i@example.jp>", "伊藤 Taro"},
        {"=?X-UNKNOWN?B?5LyK6Jek?= <i@example.jp>", "=?X-UNKNOWN?B?5LyK6Jek?="},
        {"Eve =?UTF-8?Q?broken <e@example.jp>", "Eve =?UTF-8?Q?broken"},
    };
    for (const auto &c : cases) {
        const std::vector<MailRecipient> recipients =
            recipientsOfAddressList(c.value, throughSystem);
        ASSERT_EQ(1u, recipients.size()) << c.value;
        EXPECT_EQ(c.name, recipients[0].displayName) << c.value;
    }
}

TEST(AddressDisplayNames, ToAndCcLinesOfAHeaderAreReadAndOtherLinesAreNot) {
    LineList header;
    for (const char *line : {"From: 差出人 <me@example.jp>\r\n", "Reply-To: r@example.jp\r\n",
                             "To: =?ISO-2022-JP?B?GyRCOzNFRBsoQiAbJEJCQE86GyhC?=\r\n"
                             " <yamada@example.jp>\r\n",
                             "CC : =?utf-8?Q?=E9=88=B4=E6=9C=A8?= <s@example.jp>\r\n",
                             "Bcc: hidden@example.jp\r\n", "cc: c@example.jp\r\n", "\r\n"})
        addLine(header, line);
    EXPECT_EQ("山田 太郎 <yamada@example.jp> | 鈴木 <s@example.jp> | <c@example.jp>",
              listed(toAndCcRecipients(header, throughSystem)));
}

TEST(JisShiftJis, BytesOutsideWhatCodePage932HoldsBecomeQuestionMarksNotOtherCharacters) {
    // JIS X 0212 after ESC $ ( D, a pair cut short, an 8-bit byte; EUC-JP's three-byte form.
    EXPECT_EQ("?a?", shiftJisFromIso2022Jp("\x1B$(D\"/\x1B(Ba\x80"));
    EXPECT_EQ("\x8E\x52?", shiftJisFromIso2022Jp("\x1B$B;3;"));
    EXPECT_EQ("?x", shiftJisFromEucJp("\x8F\xA2\xAFx"));
}

} // namespace
} // namespace quill
