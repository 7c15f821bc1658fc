// The plug-in's own rules of the characters a recipient may not see, over the text textlint
// gets (UTF-8, LF line ends): both rules alone, in a code page that can lose the
// characters, and their fix. Platform-free.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace quill {

// One machine-dependent character, or one run of half-width katakana.
struct RecipientCharFinding {
    int line = 0;        // from 1
    int column = 0;      // from 1, in UTF-16 code units as textlint counts them
    std::string message; // UTF-8, led by the severity word as textlint's are
    const char *ruleName = nullptr;
};

// The findings of `utf8Text` in text order. Bytes that are not UTF-8 count as one column
// each and are never findings.
std::vector<RecipientCharFinding> findRecipientChars(std::string_view utf8Text);

// `utf8Text` with every half-width katakana run in full width and every machine-dependent
// character that has an unambiguous replacement replaced; kanji variants and everything
// else are kept byte for byte. Lines are neither added nor removed.
std::string fixRecipientChars(std::string_view utf8Text);

} // namespace quill
