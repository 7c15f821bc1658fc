// Which lines of a mail textlint must not see, as the settings say at the moment of a run.
#pragma once

#include "mail/excluded_lines.h"
#include "mail/target_mail_info.h"

namespace quill {

// Quoted lines and the signature by the settings (read once, under their lock), with the
// quote marks in UTF-8; nothing for an HTML mail, which textlint reads as HTML, whole.
LineExclusion lineExclusionFor(const TargetMailInfo &target);

} // namespace quill
