// Recognising a draft opened from the outbox by the host's mail identifier.
#pragma once

#include <string>

namespace quill {

// The part of the host's mail identifier that marks a draft in the outbox.
extern const char DRAFT_MARKER[];

// Tells whether a byte starts a double-byte character of the text's code page.
using LeadBytePredicate = bool (*)(unsigned char byte);

// Case-sensitive search for `pattern` that only tries positions at character boundaries of
// `text`, so a match never starts inside a double-byte character.
bool containsAtCharacterBoundary(const std::string &text, const std::string &pattern,
                                 LeadBytePredicate isLeadByte);

// True when `mailId` contains DRAFT_MARKER.
bool isOutboxDraft(const std::string &mailId, LeadBytePredicate isLeadByte);

} // namespace quill
