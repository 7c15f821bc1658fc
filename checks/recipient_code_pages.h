// Which mails the check of characters a recipient may not see is for: those whose code
// page is a Japanese one of the ISO-2022-JP, Shift_JIS or EUC-JP family. Platform-free.
#pragma once

namespace quill {

// Whether a compose window or mail in `codePage` (as the host reports it; 0, the system's
// ANSI code page, must be resolved first) can lose machine-dependent characters or
// half-width katakana on the way to the recipient.
bool codePageHidesRecipientChars(int codePage);

} // namespace quill
