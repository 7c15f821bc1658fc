// Masking keeps the number of lines, and putting the excluded lines back into an unchanged
// masked text gives the mail back byte for byte. Input: a byte of switches, the quote marks
// up to the first NUL, then the mail.
#include "mail/excluded_lines.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size) {
    if (size == 0)
        return 0;
    quill::LineExclusion exclusion;
    exclusion.quotedLines = (data[0] & 1) != 0;
    exclusion.signature = (data[0] & 2) != 0;
    std::string rest(reinterpret_cast<const char *>(data + 1), size - 1);
    std::size_t nul = rest.find('\0');
    if (nul == std::string::npos)
        return 0;
    exclusion.quoteMarks = rest.substr(0, nul);
    std::string mail = rest.substr(nul + 1);

    std::string masked = quill::maskExcludedLines(mail, exclusion);
    if (std::count(masked.begin(), masked.end(), '\n') !=
        std::count(mail.begin(), mail.end(), '\n'))
        std::abort();
    if (quill::restoreExcludedLines(mail, masked, exclusion) != mail)
        std::abort();
    return 0;
}
