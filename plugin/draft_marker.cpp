// The outbox draft marker and the multibyte-aware search for it.
#include "plugin/draft_marker.h"

namespace quill {

const char DRAFT_MARKER[] = "!!!!Outbox\\!!!Draft";

bool containsAtCharacterBoundary(const std::string &text, const std::string &pattern,
                                 LeadBytePredicate isLeadByte) {
    if (pattern.empty())
        return true;
    std::size_t i = 0;
    while (i < text.size() && text.size() - i >= pattern.size()) {
        if (text.compare(i, pattern.size(), pattern) == 0)
            return true;
        const bool lead = isLeadByte(static_cast<unsigned char>(text[i])) && i + 1 < text.size();
        i += lead ? 2 : 1;
    }
    return false;
}

bool isOutboxDraft(const std::string &mailId, LeadBytePredicate isLeadByte) {
    return containsAtCharacterBoundary(mailId, DRAFT_MARKER, isLeadByte);
}

} // namespace quill
