// The character classes of checks/recipient_chars.h: the table of code page 932's characters
// outside JIS X 0208, their usual replacements, and half-width katakana in full width.
#include "checks/recipient_chars.h"

#include "common/encoding.h"
#include "common/utf8.h"

#include <algorithm>
#include <cstdint>
#include <iterator>
#include <string_view>

namespace quill {

namespace {

// Every character that code page 932 holds in row 13 (NEC special characters), in rows
// 89-92 (NEC-selected IBM extensions) or in lead bytes 0xFA-0xFC (IBM extensions) and not in
// JIS X 0208 as well, in code point order. Characters of those rows that JIS X 0208 also
// holds (≒ ≡ ∫ √ ⊥ ∠ ∵ ∩ ∪ ￢) travel in ISO-2022-JP and are not listed. The table test checks
// it against the system's own conversion of every lead byte range.
constexpr std::uint16_t MACHINE_DEPENDENT[] = {
    0x2116, 0x2121, 0x2160, 0x2161, 0x2162, 0x2163, 0x2164, 0x2165, 0x2166, 0x2167, 0x2168, 0x2169,
    0x2170, 0x2171, 0x2172, 0x2173, 0x2174, 0x2175, 0x2176, 0x2177, 0x2178, 0x2179, 0x2211, 0x221F,
    0x222E, 0x22BF, 0x2460, 0x2461, 0x2462, 0x2463, 0x2464, 0x2465, 0x2466, 0x2467, 0x2468, 0x2469,
    0x246A, 0x246B, 0x246C, 0x246D, 0x246E, 0x246F, 0x2470, 0x2471, 0x2472, 0x2473, 0x301D, 0x301F,
    0x3231, 0x3232, 0x3239, 0x32A4, 0x32A5, 0x32A6, 0x32A7, 0x32A8, 0x3303, 0x330D, 0x3314, 0x3318,
    0x3322, 0x3323, 0x3326, 0x3327, 0x332B, 0x3336, 0x333B, 0x3349, 0x334A, 0x334D, 0x3351, 0x3357,
    0x337B, 0x337C, 0x337D, 0x337E, 0x338E, 0x338F, 0x339C, 0x339D, 0x339E, 0x33A1, 0x33C4, 0x33CD,
    0x4E28, 0x4EE1, 0x4EFC, 0x4F00, 0x4F03, 0x4F39, 0x4F56, 0x4F8A, 0x4F92, 0x4F94, 0x4F9A, 0x4FC9,
    0x4FCD, 0x4FFF, 0x501E, 0x5022, 0x5040, 0x5042, 0x5046, 0x5070, 0x5094, 0x50D8, 0x50F4, 0x514A,
    0x5164, 0x519D, 0x51BE, 0x51EC, 0x5215, 0x529C, 0x52A6, 0x52AF, 0x52C0, 0x52DB, 0x5300, 0x5307,
    0x5324, 0x5372, 0x5393, 0x53B2, 0x53DD, 0x548A, 0x549C, 0x54A9, 0x54FF, 0x5586, 0x5759, 0x5765,
    0x57AC, 0x57C7, 0x57C8, 0x589E, 0x58B2, 0x590B, 0x5953, 0x595B, 0x595D, 0x5963, 0x59A4, 0x59BA,
    0x5B56, 0x5BC0, 0x5BD8, 0x5BEC, 0x5C1E, 0x5CA6, 0x5CBA, 0x5CF5, 0x5D27, 0x5D42, 0x5D53, 0x5D6D,
    0x5DB8, 0x5DB9, 0x5DD0, 0x5F21, 0x5F34, 0x5F45, 0x5F67, 0x5FB7, 0x5FDE, 0x605D, 0x6085, 0x608A,
    0x60D5, 0x60DE, 0x60F2, 0x6111, 0x6120, 0x6130, 0x6137, 0x6198, 0x6213, 0x62A6, 0x63F5, 0x6460,
    0x649D, 0x64CE, 0x654E, 0x6600, 0x6609, 0x6615, 0x661E, 0x6624, 0x662E, 0x6631, 0x663B, 0x6657,
    0x6659, 0x6665, 0x6673, 0x6699, 0x66A0, 0x66B2, 0x66BF, 0x66FA, 0x66FB, 0x670E, 0x6766, 0x67BB,
    0x67C0, 0x6801, 0x6844, 0x6852, 0x68C8, 0x68CF, 0x6968, 0x6998, 0x69E2, 0x6A30, 0x6A46, 0x6A6B,
    0x6A73, 0x6A7E, 0x6AE2, 0x6AE4, 0x6BD6, 0x6C3F, 0x6C5C, 0x6C6F, 0x6C86, 0x6CDA, 0x6D04, 0x6D6F,
    0x6D87, 0x6D96, 0x6DAC, 0x6DCF, 0x6DF2, 0x6DF8, 0x6DFC, 0x6E27, 0x6E39, 0x6E3C, 0x6E5C, 0x6EBF,
    0x6F88, 0x6FB5, 0x6FF5, 0x7005, 0x7007, 0x7028, 0x7085, 0x70AB, 0x70BB, 0x7104, 0x710F, 0x7146,
    0x7147, 0x715C, 0x71C1, 0x71FE, 0x72B1, 0x72BE, 0x7324, 0x7377, 0x73BD, 0x73C9, 0x73D2, 0x73D6,
    0x73E3, 0x73F5, 0x7407, 0x7426, 0x7429, 0x742A, 0x742E, 0x7462, 0x7489, 0x749F, 0x7501, 0x752F,
    0x756F, 0x7682, 0x769B, 0x769C, 0x769E, 0x76A6, 0x7746, 0x7821, 0x784E, 0x7864, 0x787A, 0x7930,
    0x7994, 0x799B, 0x7AD1, 0x7AE7, 0x7AEB, 0x7B9E, 0x7D48, 0x7D5C, 0x7DA0, 0x7DB7, 0x7DD6, 0x7E52,
    0x7E8A, 0x7F47, 0x7FA1, 0x8301, 0x8362, 0x837F, 0x83C7, 0x83F6, 0x8448, 0x84B4, 0x84DC, 0x8553,
    0x8559, 0x856B, 0x85B0, 0x8807, 0x88F5, 0x891C, 0x8A12, 0x8A37, 0x8A79, 0x8AA7, 0x8ABE, 0x8ADF,
    0x8AF6, 0x8B53, 0x8B7F, 0x8CF0, 0x8CF4, 0x8D12, 0x8D76, 0x8ECF, 0x9067, 0x90DE, 0x9115, 0x9127,
    0x91D7, 0x91DA, 0x91DE, 0x91E4, 0x91E5, 0x91ED, 0x91EE, 0x9206, 0x920A, 0x9210, 0x9239, 0x923A,
    0x923C, 0x9240, 0x924E, 0x9251, 0x9259, 0x9267, 0x9277, 0x9278, 0x9288, 0x92A7, 0x92D0, 0x92D3,
    0x92D5, 0x92D7, 0x92D9, 0x92E0, 0x92E7, 0x92F9, 0x92FB, 0x92FF, 0x9302, 0x931D, 0x931E, 0x9321,
    0x9325, 0x9348, 0x9357, 0x9370, 0x93A4, 0x93C6, 0x93DE, 0x93F8, 0x9431, 0x9445, 0x9448, 0x9592,
    0x969D, 0x96AF, 0x9733, 0x973B, 0x9743, 0x974D, 0x974F, 0x9751, 0x9755, 0x9857, 0x9865, 0x9927,
    0x999E, 0x9A4E, 0x9AD9, 0x9ADC, 0x9B72, 0x9B75, 0x9B8F, 0x9BB1, 0x9BBB, 0x9C00, 0x9D6B, 0x9D70,
    0x9E19, 0x9ED1, 0xF929, 0xF9DC, 0xFA0E, 0xFA0F, 0xFA10, 0xFA11, 0xFA12, 0xFA13, 0xFA14, 0xFA15,
    0xFA16, 0xFA17, 0xFA18, 0xFA19, 0xFA1A, 0xFA1B, 0xFA1C, 0xFA1D, 0xFA1E, 0xFA1F, 0xFA20, 0xFA21,
    0xFA22, 0xFA23, 0xFA24, 0xFA25, 0xFA26, 0xFA27, 0xFA28, 0xFA29, 0xFA2A, 0xFA2B, 0xFA2C, 0xFA2D,
    0xFF02, 0xFF07, 0xFFE4,
};

// Code page 932's user-defined characters (lead bytes 0xF0-0xF9): private to one machine.
constexpr char32_t USER_DEFINED_FIRST = 0xE000;
constexpr char32_t USER_DEFINED_LAST = 0xE757;

struct Replacement {
    std::uint16_t codePoint;
    ReplacementUse use;
    const char *text;
};

// The usual replacements, in code point order. Fix: circled numbers, Roman numerals,
// parenthesised and circled ideographs, squared units and era names, whose JIS X 0208
// spelling means the same. Suggest: a kanji variant's standard form, named only.
constexpr Replacement REPLACEMENTS[] = {
    {0x2116, ReplacementUse::Fix, "No."},          // №
    {0x2121, ReplacementUse::Fix, "TEL"},          // ℡
    {0x2160, ReplacementUse::Fix, "I"},            // Ⅰ
    {0x2161, ReplacementUse::Fix, "II"},           // Ⅱ
    {0x2162, ReplacementUse::Fix, "III"},          // Ⅲ
    {0x2163, ReplacementUse::Fix, "IV"},           // Ⅳ
    {0x2164, ReplacementUse::Fix, "V"},            // Ⅴ
    {0x2165, ReplacementUse::Fix, "VI"},           // Ⅵ
    {0x2166, ReplacementUse::Fix, "VII"},          // Ⅶ
    {0x2167, ReplacementUse::Fix, "VIII"},         // Ⅷ
    {0x2168, ReplacementUse::Fix, "IX"},           // Ⅸ
    {0x2169, ReplacementUse::Fix, "X"},            // Ⅹ
    {0x2170, ReplacementUse::Fix, "i"},            // ⅰ
    {0x2171, ReplacementUse::Fix, "ii"},           // ⅱ
    {0x2172, ReplacementUse::Fix, "iii"},          // ⅲ
    {0x2173, ReplacementUse::Fix, "iv"},           // ⅳ
    {0x2174, ReplacementUse::Fix, "v"},            // ⅴ
    {0x2175, ReplacementUse::Fix, "vi"},           // ⅵ
    {0x2176, ReplacementUse::Fix, "vii"},          // ⅶ
    {0x2177, ReplacementUse::Fix, "viii"},         // ⅷ
    {0x2178, ReplacementUse::Fix, "ix"},           // ⅸ
    {0x2179, ReplacementUse::Fix, "x"},            // ⅹ
    {0x2460, ReplacementUse::Fix, "(1)"},          // ①
    {0x2461, ReplacementUse::Fix, "(2)"},          // ②
    {0x2462, ReplacementUse::Fix, "(3)"},          // ③
    {0x2463, ReplacementUse::Fix, "(4)"},          // ④
    {0x2464, ReplacementUse::Fix, "(5)"},          // ⑤
    {0x2465, ReplacementUse::Fix, "(6)"},          // ⑥
    {0x2466, ReplacementUse::Fix, "(7)"},          // ⑦
    {0x2467, ReplacementUse::Fix, "(8)"},          // ⑧
    {0x2468, ReplacementUse::Fix, "(9)"},          // ⑨
    {0x2469, ReplacementUse::Fix, "(10)"},         // ⑩
    {0x246A, ReplacementUse::Fix, "(11)"},         // ⑪
    {0x246B, ReplacementUse::Fix, "(12)"},         // ⑫
    {0x246C, ReplacementUse::Fix, "(13)"},         // ⑬
    {0x246D, ReplacementUse::Fix, "(14)"},         // ⑭
    {0x246E, ReplacementUse::Fix, "(15)"},         // ⑮
    {0x246F, ReplacementUse::Fix, "(16)"},         // ⑯
    {0x2470, ReplacementUse::Fix, "(17)"},         // ⑰
    {0x2471, ReplacementUse::Fix, "(18)"},         // ⑱
    {0x2472, ReplacementUse::Fix, "(19)"},         // ⑲
    {0x2473, ReplacementUse::Fix, "(20)"},         // ⑳
    {0x3231, ReplacementUse::Fix, "(株)"},         // ㈱
    {0x3232, ReplacementUse::Fix, "(有)"},         // ㈲
    {0x3239, ReplacementUse::Fix, "(代)"},         // ㈹
    {0x32A4, ReplacementUse::Fix, "(上)"},         // ㊤
    {0x32A5, ReplacementUse::Fix, "(中)"},         // ㊥
    {0x32A6, ReplacementUse::Fix, "(下)"},         // ㊦
    {0x32A7, ReplacementUse::Fix, "(左)"},         // ㊧
    {0x32A8, ReplacementUse::Fix, "(右)"},         // ㊨
    {0x3303, ReplacementUse::Fix, "アール"},       // ㌃
    {0x330D, ReplacementUse::Fix, "カロリー"},     // ㌍
    {0x3314, ReplacementUse::Fix, "キロ"},         // ㌔
    {0x3318, ReplacementUse::Fix, "グラム"},       // ㌘
    {0x3322, ReplacementUse::Fix, "センチ"},       // ㌢
    {0x3323, ReplacementUse::Fix, "セント"},       // ㌣
    {0x3326, ReplacementUse::Fix, "ドル"},         // ㌦
    {0x3327, ReplacementUse::Fix, "トン"},         // ㌧
    {0x332B, ReplacementUse::Fix, "パーセント"},   // ㌫
    {0x3336, ReplacementUse::Fix, "ヘクタール"},   // ㌶
    {0x333B, ReplacementUse::Fix, "ページ"},       // ㌻
    {0x3349, ReplacementUse::Fix, "ミリ"},         // ㍉
    {0x334A, ReplacementUse::Fix, "ミリバール"},   // ㍊
    {0x334D, ReplacementUse::Fix, "メートル"},     // ㍍
    {0x3351, ReplacementUse::Fix, "リットル"},     // ㍑
    {0x3357, ReplacementUse::Fix, "ワット"},       // ㍗
    {0x337B, ReplacementUse::Fix, "平成"},         // ㍻
    {0x337C, ReplacementUse::Fix, "昭和"},         // ㍼
    {0x337D, ReplacementUse::Fix, "大正"},         // ㍽
    {0x337E, ReplacementUse::Fix, "明治"},         // ㍾
    {0x338E, ReplacementUse::Fix, "mg"},           // ㎎
    {0x338F, ReplacementUse::Fix, "kg"},           // ㎏
    {0x339C, ReplacementUse::Fix, "mm"},           // ㎜
    {0x339D, ReplacementUse::Fix, "cm"},           // ㎝
    {0x339E, ReplacementUse::Fix, "km"},           // ㎞
    {0x33A1, ReplacementUse::Fix, "平方メートル"}, // ㎡
    {0x33C4, ReplacementUse::Fix, "cc"},           // ㏄
    {0x33CD, ReplacementUse::Fix, "K.K."},         // ㏍
    {0x519D, ReplacementUse::Suggest, "宜"},       // 冝
    {0x589E, ReplacementUse::Suggest, "増"},       // 增
    {0x5BEC, ReplacementUse::Suggest, "寛"},       // 寬
    {0x5FB7, ReplacementUse::Suggest, "徳"},       // 德
    {0x6085, ReplacementUse::Suggest, "悦"},       // 悅
    {0x654E, ReplacementUse::Suggest, "教"},       // 敎
    {0x663B, ReplacementUse::Suggest, "昂"},       // 昻
    {0x6801, ReplacementUse::Suggest, "柳"},       // 栁
    {0x6852, ReplacementUse::Suggest, "桑"},       // 桒
    {0x6A6B, ReplacementUse::Suggest, "横"},       // 橫
    {0x6DF8, ReplacementUse::Suggest, "清"},       // 淸
    {0x6FF5, ReplacementUse::Suggest, "浜"},       // 濵
    {0x7028, ReplacementUse::Suggest, "瀬"},       // 瀨
    {0x7501, ReplacementUse::Suggest, "瓶"},       // 甁
    {0x7DA0, ReplacementUse::Suggest, "緑"},       // 綠
    {0x7DD6, ReplacementUse::Suggest, "緒"},       // 緖
    {0x7FA1, ReplacementUse::Suggest, "羨"},       // 羡
    {0x85B0, ReplacementUse::Suggest, "薫"},       // 薰
    {0x8CF4, ReplacementUse::Suggest, "頼"},       // 賴
    {0x90DE, ReplacementUse::Suggest, "郎"},       // 郞
    {0x9115, ReplacementUse::Suggest, "郷"},       // 鄕
    {0x9592, ReplacementUse::Suggest, "閑"},       // 閒
    {0x9751, ReplacementUse::Suggest, "青"},       // 靑
    {0x9AD9, ReplacementUse::Suggest, "高"},       // 髙
    {0x9ED1, ReplacementUse::Suggest, "黒"},       // 黑
    {0xF929, ReplacementUse::Suggest, "朗"},       // 朗
    {0xF9DC, ReplacementUse::Suggest, "隆"},       // 隆
    {0xFA10, ReplacementUse::Suggest, "塚"},       // 塚
    {0xFA11, ReplacementUse::Suggest, "崎"},       // 﨑
    {0xFA12, ReplacementUse::Suggest, "晴"},       // 晴
    {0xFA16, ReplacementUse::Suggest, "猪"},       // 猪
    {0xFA17, ReplacementUse::Suggest, "益"},       // 益
    {0xFA18, ReplacementUse::Suggest, "礼"},       // 礼
    {0xFA19, ReplacementUse::Suggest, "神"},       // 神
    {0xFA1A, ReplacementUse::Suggest, "祥"},       // 祥
    {0xFA1B, ReplacementUse::Suggest, "福"},       // 福
    {0xFA1C, ReplacementUse::Suggest, "靖"},       // 靖
    {0xFA1D, ReplacementUse::Suggest, "精"},       // 精
    {0xFA1E, ReplacementUse::Suggest, "羽"},       // 羽
    {0xFA22, ReplacementUse::Suggest, "諸"},       // 諸
    {0xFA25, ReplacementUse::Suggest, "逸"},       // 逸
    {0xFA26, ReplacementUse::Suggest, "都"},       // 都
    {0xFA2A, ReplacementUse::Suggest, "飯"},       // 飯
    {0xFA2B, ReplacementUse::Suggest, "飼"},       // 飼
    {0xFA2C, ReplacementUse::Suggest, "館"},       // 館
    {0xFA2D, ReplacementUse::Suggest, "鶴"},       // 鶴
};

constexpr char32_t HALF_WIDTH_KANA_FIRST = 0xFF61;
constexpr char32_t HALF_WIDTH_KANA_LAST = 0xFF9F;
constexpr char32_t HALF_WIDTH_VOICED_MARK = 0xFF9E;
constexpr char32_t HALF_WIDTH_SEMI_VOICED_MARK = 0xFF9F;

// U+FF61..U+FF9D in full width; the two marks are handled apart.
constexpr char16_t FULL_WIDTH_KANA[] = {
    u'。', u'「', u'」', u'、', u'・', u'ヲ', u'ァ', u'ィ', u'ゥ', u'ェ', u'ォ', u'ャ', u'ュ',
    u'ョ', u'ッ', u'ー', u'ア', u'イ', u'ウ', u'エ', u'オ', u'カ', u'キ', u'ク', u'ケ', u'コ',
    u'サ', u'シ', u'ス', u'セ', u'ソ', u'タ', u'チ', u'ツ', u'テ', u'ト', u'ナ', u'ニ', u'ヌ',
    u'ネ', u'ノ', u'ハ', u'ヒ', u'フ', u'ヘ', u'ホ', u'マ', u'ミ', u'ム', u'メ', u'モ', u'ヤ',
    u'ユ', u'ヨ', u'ラ', u'リ', u'ル', u'レ', u'ロ', u'ワ', u'ン',
};
static_assert(std::size(FULL_WIDTH_KANA) == 0xFF9E - 0xFF61);

// The full-width kana whose voiced form is the next code point (カ → ガ), and those whose
// semi-voiced form is the one after that (ハ → パ).
constexpr std::u32string_view TAKES_VOICED_MARK = U"カキクケコサシスセソタチツテトハヒフヘホ";
constexpr std::u32string_view TAKES_SEMI_VOICED_MARK = U"ハヒフヘホ";

} // namespace

RecipientCharInfo classifyRecipientChar(char32_t codePoint) {
    RecipientCharInfo info;
    if (codePoint >= HALF_WIDTH_KANA_FIRST && codePoint <= HALF_WIDTH_KANA_LAST) {
        info.kind = RecipientCharKind::HalfWidthKana;
        return info;
    }
    if (codePoint >= USER_DEFINED_FIRST && codePoint <= USER_DEFINED_LAST) {
        info.kind = RecipientCharKind::MachineDependent;
        return info;
    }
    if (codePoint > 0xFFFF ||
        !std::binary_search(std::begin(MACHINE_DEPENDENT), std::end(MACHINE_DEPENDENT),
                            static_cast<std::uint16_t>(codePoint)))
        return info;
    info.kind = RecipientCharKind::MachineDependent;
    const auto *found = std::lower_bound(
        std::begin(REPLACEMENTS), std::end(REPLACEMENTS), codePoint,
        [](const Replacement &entry, char32_t value) { return entry.codePoint < value; });
    if (found != std::end(REPLACEMENTS) && found->codePoint == codePoint) {
        info.use = found->use;
        info.replacement = found->text;
    }
    return info;
}

std::string fullWidthKana(const std::u32string &halfWidthRun) {
    std::string out;
    out.reserve(halfWidthRun.size() * 3);
    for (std::size_t i = 0; i < halfWidthRun.size(); ++i) {
        const char32_t c = halfWidthRun[i];
        if (c == HALF_WIDTH_VOICED_MARK) {
            appendUtf8(out, u'゛');
            continue;
        }
        if (c == HALF_WIDTH_SEMI_VOICED_MARK) {
            appendUtf8(out, u'゜');
            continue;
        }
        if (c < HALF_WIDTH_KANA_FIRST || c > HALF_WIDTH_KANA_LAST) {
            appendUtf8(out, c);
            continue;
        }
        char32_t kana = FULL_WIDTH_KANA[c - HALF_WIDTH_KANA_FIRST];
        const char32_t next = i + 1 < halfWidthRun.size() ? halfWidthRun[i + 1] : 0;
        if (next == HALF_WIDTH_VOICED_MARK && kana == u'ウ') {
            kana = u'ヴ';
            ++i;
        } else if (next == HALF_WIDTH_VOICED_MARK &&
                   TAKES_VOICED_MARK.find(kana) != std::u32string_view::npos) {
            kana += 1;
            ++i;
        } else if (next == HALF_WIDTH_SEMI_VOICED_MARK &&
                   TAKES_SEMI_VOICED_MARK.find(kana) != std::u32string_view::npos) {
            kana += 2;
            ++i;
        }
        appendUtf8(out, kana);
    }
    return out;
}

} // namespace quill
