// At send, a name the mail greets that nobody on To or Cc bears: the writer is asked
// whether the mail goes to the right person.
#pragma once

#include "mail/mime_part.h"

#include <string>

namespace quill {

// True when the mail may go: every person its addressee block greets is on To or Cc, the
// recipients' names cannot be compared, or the writer answered Yes. The question is owned
// by the host's window, with No as its default button. `bodyText` is the plain text sent
// (UTF-8, LF line ends), `quoteMarks` UTF-8.
bool confirmSendToGreetedPersons(const LineList &headerLines, const std::string &bodyText,
                                 const std::string &quoteMarks);

} // namespace quill
