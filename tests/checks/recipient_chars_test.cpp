// Characters a recipient may not see: the class table against the system's own code page 932
// for every lead byte range, the replacements, where findings stand and what the fix writes.
#include "config/plugin_rules.h"
#include "checks/recipient_char_check.h"
#include "checks/recipient_chars.h"
#include "checks/recipient_code_pages.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <set>
#include <string>

namespace quill {
namespace {

bool isTrailByte(int b) {
    return (b >= 0x40 && b <= 0x7E) || (b >= 0x80 && b <= 0xFC);
}

// The character code page 932 gives the double-byte code lead/trail, or 0 when none.
wchar_t decode932(int lead, int trail) {
    const char bytes[2] = {static_cast<char>(lead), static_cast<char>(trail)};
    wchar_t wide[2] = {};
    const int units = MultiByteToWideChar(932, MB_ERR_INVALID_CHARS, bytes, 2, wide, 2);
    return units == 1 ? wide[0] : 0;
}

std::set<wchar_t> decodedLeadBytes(int first, int last) {
    std::set<wchar_t> chars;
    for (int lead = first; lead <= last; ++lead)
        for (int trail = 0x40; trail <= 0xFC; ++trail)
            if (isTrailByte(trail))
                if (wchar_t c = decode932(lead, trail))
                    chars.insert(c);
    return chars;
}

TEST(RecipientChars, ClassesMatchEveryLeadByteRangeOfCodePage932) {
    // JIS X 0208: rows 1-8 (0x81-0x84) and 16-84 (0x88-0x9F, 0xE0-0xEA).
    std::set<wchar_t> jis = decodedLeadBytes(0x81, 0x84);
    for (const auto &range : {decodedLeadBytes(0x88, 0x9F), decodedLeadBytes(0xE0, 0xEA)})
        jis.insert(range.begin(), range.end());
    ASSERT_GT(jis.size(), 6800u) << "code page 932 is not available";
    for (wchar_t c : jis) {
        EXPECT_EQ(RecipientCharKind::Ordinary, classifyRecipientChar(c).kind)
            << "JIS X 0208 travels in ISO-2022-JP: U+" << std::hex << static_cast<int>(c);
    }

    // Outside it: NEC special characters (0x87), NEC-selected IBM extensions (0xED-0xEE),
    // user-defined characters (0xF0-0xF9), IBM extensions (0xFA-0xFC).
    std::set<wchar_t> beyond;
    for (const auto &range : {decodedLeadBytes(0x87, 0x87), decodedLeadBytes(0xED, 0xEE),
                              decodedLeadBytes(0xF0, 0xF9), decodedLeadBytes(0xFA, 0xFC)})
        beyond.insert(range.begin(), range.end());
    std::size_t machineDependent = 0;
    for (wchar_t c : beyond) {
        const bool alsoJis = jis.count(c) != 0;
        machineDependent += alsoJis ? 0 : 1;
        EXPECT_EQ(alsoJis ? RecipientCharKind::Ordinary : RecipientCharKind::MachineDependent,
                  classifyRecipientChar(c).kind)
            << "U+" << std::hex << static_cast<int>(c);
    }
    EXPECT_EQ(1880u + 447u, machineDependent) << "user-defined characters and the extensions";
    // Nothing else in the BMP is taken for one.
    for (char32_t c = 0; c <= 0xFFFF; ++c) {
        if (classifyRecipientChar(c).kind == RecipientCharKind::MachineDependent) {
            EXPECT_EQ(1u, beyond.count(static_cast<wchar_t>(c))) << std::hex << c;
        }
    }

    // Single bytes: 0xA1-0xDF are the half-width katakana, the rest is ordinary.
    for (int b = 0x01; b <= 0xDF; ++b) {
        if ((b >= 0x80 && b <= 0xA0))
            continue;
        const char byte = static_cast<char>(b);
        wchar_t wide = 0;
        ASSERT_EQ(1, MultiByteToWideChar(932, MB_ERR_INVALID_CHARS, &byte, 1, &wide, 1)) << b;
        EXPECT_EQ(b >= 0xA1 ? RecipientCharKind::HalfWidthKana : RecipientCharKind::Ordinary,
                  classifyRecipientChar(wide).kind)
            << b;
    }
}

// What a finding suggests and what the fix writes must itself reach every recipient.
TEST(RecipientChars, EveryReplacementIsPlainJisText) {
    const auto travels = [](const std::string &utf8) {
        wchar_t wide[64] = {};
        const int units = MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, utf8.data(),
                                              static_cast<int>(utf8.size()), wide,
                                              static_cast<int>(std::size(wide)));
        char bytes[128] = {};
        BOOL usedDefault = FALSE;
        return units > 0 &&
               WideCharToMultiByte(932, WC_NO_BEST_FIT_CHARS, wide, units, bytes,
                                   static_cast<int>(std::size(bytes)), nullptr, &usedDefault) > 0 &&
               !usedDefault && findRecipientChars(utf8).empty();
    };
    int replacements = 0;
    for (char32_t c = 0; c <= 0xFFFF; ++c) {
        const RecipientCharInfo info = classifyRecipientChar(c);
        if (info.replacement == nullptr)
            continue;
        ++replacements;
        EXPECT_NE(ReplacementUse::None, info.use);
        EXPECT_TRUE(travels(info.replacement)) << std::hex << c << " " << info.replacement;
    }
    EXPECT_GT(replacements, 100);
    for (char32_t kana = 0xFF61; kana <= 0xFF9F; ++kana)
        for (char32_t mark : {char32_t(0), char32_t(0xFF9E), char32_t(0xFF9F)}) {
            std::u32string run(1, kana);
            if (mark != 0)
                run += mark;
            EXPECT_TRUE(travels(fullWidthKana(run))) << std::hex << kana << " " << mark;
        }
}

TEST(RecipientChars, FindingsStandAtTextlintsLineAndColumn) {
    // 𠀋 takes two UTF-16 units, as in textlint's columns; a bad byte takes one.
    const std::vector<RecipientCharFinding> findings =
        findRecipientChars("一行目\n𠀋①\xFF㈱\n\nｶﾞｲﾄﾞです髙");
    ASSERT_EQ(4u, findings.size());
    const struct {
        int line, column;
        const char *rule;
        const char *named;
    } expected[] = {
        {2, 3, MACHINE_DEPENDENT_RULE_NAME,
         "「①」は受信者の環境で正しく表示されないことがあります。「(1)」に"},
        {2, 5, MACHINE_DEPENDENT_RULE_NAME,
         "「㈱」は受信者の環境で正しく表示されないことがあります。「(株)」に"},
        {4, 1, HALF_WIDTH_KANA_RULE_NAME,
         "「ｶﾞｲﾄﾞ」は受信者の環境で正しく表示されないことがあります。全角の「ガイド」に"},
        {4, 8, MACHINE_DEPENDENT_RULE_NAME, "人名などでなければ「高」を"},
    };
    for (std::size_t i = 0; i < findings.size(); ++i) {
        EXPECT_EQ(expected[i].line, findings[i].line) << i;
        EXPECT_EQ(expected[i].column, findings[i].column) << i;
        EXPECT_STREQ(expected[i].rule, findings[i].ruleName) << i;
        EXPECT_NE(std::string::npos, findings[i].message.find(expected[i].named))
            << findings[i].message;
        EXPECT_EQ(0u, findings[i].message.find("Error - ")) << findings[i].message;
    }
}

TEST(RecipientChars, FixWritesKanaInFullWidthAndReplacesOnlyUnambiguousCharacters) {
    EXPECT_EQ("ガイド パン ヴァ ワ゛゜ (1)(20) IV iii (株)(上) キロ平成 No.\n髙﨑∮〝 \xFF",
              fixRecipientChars("ｶﾞｲﾄﾞ ﾊﾟﾝ ｳﾞｧ ﾜﾞﾟ ①⑳ Ⅳ ⅲ ㈱㊤ ㌔㍻ №\n髙﨑∮〝 \xFF"));
}

TEST(RecipientChars, OnlyJapaneseCodePagesThatCanLoseThemCount) {
    for (int codePage : {932, 50220, 50221, 50222, 51932, 20932})
        EXPECT_TRUE(codePageHidesRecipientChars(codePage)) << codePage;
    for (int codePage : {65001, 0, 1252, 936, 949, 50225, 20127})
        EXPECT_FALSE(codePageHidesRecipientChars(codePage)) << codePage;
}

} // namespace
} // namespace quill
