// The send-time gate: the host's send event reminds of a forgotten attachment and of a
// greeted person the mail is not sent to, checks the
// outgoing mail and stops the send when the weighed findings exceed the threshold.
#pragma once

#include "mail/mime_part.h"
#include "mail/target_mail_info.h"

#include <windows.h>

#include <optional>
#include <string>

namespace quill {

// The host's send event for the outgoing source: 0 lets the mail go, -1 stops it (the
// writer said No to a reminder, or the findings weigh too much). An error
// lets the mail go; an exception is left to the export, which lets it go too.
int gateOutgoingMail(LPCSTR source);

// The code page named by the first "charset=" (letter case ignored) in a Content-Type
// value, or 0 (the system's ANSI code page) when there is none or it is not known.
int codePageOfContentType(const std::string &contentTypeValue);

// The part whose text the gate checks: the top level, or for a multipart mail its first
// text/plain part (in source order) without a base64 or quoted-printable encoding; the top
// level again when there is none.
const MimePart &selectTextPart(const MimePart &top);

// The part's body lines converted from `codePage` to UTF-8, joined, with LF line ends;
// nothing when they could not be converted (the conversion has reported why).
std::optional<std::string> sendBodyText(const MimePart &part, int codePage);

// MIME_TEXT_HTML for a text/html top level (letter case ignored), MIME_TEXT_PLAIN else.
MimeType sendMimeType(const MimePart &top);

} // namespace quill
