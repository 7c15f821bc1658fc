// Whether an outgoing mail carries a file: a part with a file name or an attachment
// disposition. Platform-free.
#pragma once

#include "mail/mime_part.h"

namespace quill {

// True when some part of the tree under `top` (`top` included) has a Content-Disposition
// of "attachment" or with a filename parameter, or a Content-Type with a name parameter.
bool hasAttachedFile(const MimePart &top);

} // namespace quill
