// Characters a recipient may not see: those that code page 932 holds beyond JIS X 0208
// (NEC special characters, NEC-selected and IBM extensions, user-defined characters) and
// half-width katakana, which ISO-2022-JP does not carry at all. Platform-free.
#pragma once

#include <string>

namespace quill {

enum class RecipientCharKind {
    Ordinary,
    MachineDependent, // in code page 932 outside JIS X 0208
    HalfWidthKana,    // U+FF61..U+FF9F
};

// What may be written instead of a machine-dependent character.
enum class ReplacementUse {
    None,    // nothing usual: the finding only names the character
    Fix,     // an unambiguous replacement the auto-fix writes (① → (1), ㈱ → (株))
    Suggest, // a kanji variant's standard form: named in the finding, never written (a name
             // must not change)
};

struct RecipientCharInfo {
    RecipientCharKind kind = RecipientCharKind::Ordinary;
    ReplacementUse use = ReplacementUse::None;
    const char *replacement = nullptr; // UTF-8; null when `use` is None
};

RecipientCharInfo classifyRecipientChar(char32_t codePoint);

// A run of half-width katakana (code points U+FF61..U+FF9F) in full width, a voiced or
// semi-voiced mark joined to the kana before it where JIS X 0208 has the joined kana
// (ｶﾞ → ガ, ﾊﾟ → パ, ｳﾞ → ヴ) and written as ゛ or ゜ otherwise. UTF-8.
std::string fullWidthKana(const std::u32string &halfWidthRun);

} // namespace quill
