// Recognising a draft opened from the outbox by the host's mail identifier.
#pragma once

#include "common/encoding.h"

#include <string>

namespace quill {

// The part of the host's mail identifier that marks a draft in the outbox.
extern const char DRAFT_MARKER[];

// Case-sensitive search for `pattern` that only tries positions at character boundaries of
// `text`, so a match never starts inside a multi-byte character.
bool containsAtCharacterBoundary(const std::string &text, const std::string &pattern,
                                 CharLengthOf charLength);

// True when `mailId` contains DRAFT_MARKER.
bool isOutboxDraft(const std::string &mailId, CharLengthOf charLength);

} // namespace quill
