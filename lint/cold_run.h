// textlint started anew for one run, over temporary files: the check and the auto-fix.
// Both take the command path and the configuration from the settings at the time of the
// run; a failure is written as one diagnostic line to standard output, and the run then
// returns nothing.
#pragma once

#include "mail/target_mail_info.h"

#include <optional>
#include <string>

namespace quill {

// textlint's compact report of `text` (UTF-8, LF line ends), checked as `type`, waiting at
// most `waitCount` times 100 ms for textlint. `timedOut`, when given, tells whether textlint
// was still running when the wait ended.
std::optional<std::string> runColdCheck(const std::string &text, MimeType type, unsigned waitCount,
                                        bool *timedOut = nullptr);

// `text` as textlint --fix rewrote it; nothing when the run failed or did not end within
// `waitCount` times 100 ms.
std::optional<std::string> runColdFix(const std::string &text, MimeType type, unsigned waitCount);

} // namespace quill
