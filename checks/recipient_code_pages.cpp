// The one table of code pages for which the check of characters a recipient may not see
// runs, each with its reason. Every other code page (UTF-8 65001 above all, which carries
// every character to every reader) gets no such finding.
#include "checks/recipient_code_pages.h"

#include <iterator>

namespace quill {

namespace {

struct CountedCodePage {
    int codePage;
    const char *reason;
};

constexpr CountedCodePage COUNTED_CODE_PAGES[] = {
    {932, "Shift_JIS as Windows writes it: the extensions reach other systems garbled"},
    {50220, "ISO-2022-JP: carries JIS X 0208 only, no extension, no half-width katakana"},
    {50221, "ISO-2022-JP with half-width katakana by escape: few readers show them"},
    {50222, "ISO-2022-JP with half-width katakana by SI/SO: few readers show them"},
    {51932, "EUC-JP: carries JIS X 0208; the Windows extensions have no place in it"},
    {20932, "EUC-JP (JIS X 0208-1990 and 0212): the Windows extensions have no place in it"},
};

} // namespace

bool codePageHidesRecipientChars(int codePage) {
    for (const CountedCodePage &counted : COUNTED_CODE_PAGES)
        if (counted.codePage == codePage)
            return true;
    return false;
}

} // namespace quill
