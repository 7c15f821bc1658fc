// Whether an outgoing mail carries a file: a part with a file name, an attachment
// disposition, or a forwarded mail (message/rfc822). Platform-free.
#pragma once

#include "mail/mime_part.h"

namespace quill {

// True when some part of the tree under `top` (`top` included) has a Content-Disposition
// of "attachment" or with a filename parameter, or a Content-Type with a name parameter or
// of message/rfc822.
bool hasAttachedFile(const MimePart &top);

} // namespace quill
