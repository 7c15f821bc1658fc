// Who a mail goes to, as its header names them: the display names and addresses of To and
// Cc (RFC 5322 address lists: quoted and unquoted names, groups, comments, folded lines,
// encoded words). Platform-free.
#pragma once

#include "mail/encoded_words.h"
#include "mail/mime_part.h"

#include <string>
#include <string_view>
#include <vector>

namespace quill {

struct MailRecipient {
    std::string displayName; // UTF-8, blanks collapsed; empty for an address alone
    std::string address;     // as written, empty when the header gives none
};

// The mailboxes of one address-list value (folded lines allowed) in their order. A group's
// own name is no recipient; its members are. A mailbox without a display name in front of
// its address takes the text of a comment after it ("yamada@example.jp (山田 太郎)").
std::vector<MailRecipient> recipientsOfAddressList(std::string_view value,
                                                   const CodePageToUtf8 &toUtf8);

// The mailboxes of every To and Cc line of a header, as the MIME parser keeps its lines.
std::vector<MailRecipient> toAndCcRecipients(const LineList &headerLines,
                                             const CodePageToUtf8 &toUtf8);

} // namespace quill
