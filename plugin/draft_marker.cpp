// The outbox draft marker and the multibyte-aware search for it.
#include "plugin/draft_marker.h"

namespace quill {

const char DRAFT_MARKER[] = "!!!!Outbox\\!!!Draft";

bool containsAtCharacterBoundary(const std::string &text, const std::string &pattern,
                                 CharLengthOf charLength) {
    if (pattern.empty())
        return true;
    std::size_t i = 0;
    while (i < text.size() && text.size() - i >= pattern.size()) {
        if (text.compare(i, pattern.size(), pattern) == 0)
            return true;
        const std::size_t length = charLength(static_cast<unsigned char>(text[i]));
        i += length <= text.size() - i ? length : 1;
    }
    return false;
}

bool isOutboxDraft(const std::string &mailId, CharLengthOf charLength) {
    return containsAtCharacterBoundary(mailId, DRAFT_MARKER, charLength);
}

} // namespace quill
