// The check of characters a recipient may not see, over any bytes: every finding stands on
// a line of the text at a column from 1; the fix keeps the lines, leaves no half-width
// katakana, and fixing its result again changes nothing.
#include "config/plugin_rules.h"
#include "checks/recipient_char_check.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size) {
    const std::string text(reinterpret_cast<const char *>(data), size);
    const long lines = static_cast<long>(std::count(text.begin(), text.end(), '\n')) + 1;
    for (const quill::RecipientCharFinding &finding : quill::findRecipientChars(text)) {
        if (finding.line < 1 || finding.line > lines || finding.column < 1 ||
            finding.message.empty())
            std::abort();
    }
    const std::string fixed = quill::fixRecipientChars(text);
    if (std::count(fixed.begin(), fixed.end(), '\n') != lines - 1)
        std::abort();
    for (const quill::RecipientCharFinding &finding : quill::findRecipientChars(fixed))
        if (std::strcmp(finding.ruleName, quill::HALF_WIDTH_KANA_RULE_NAME) == 0)
            std::abort();
    if (quill::fixRecipientChars(fixed) != fixed)
        std::abort();
    return 0;
}
