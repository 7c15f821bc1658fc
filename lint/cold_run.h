// textlint started anew for one run, over temporary files: the check and the auto-fix.
// Both take the command path and the configuration from the settings at the time of the
// run; a failure is written as one diagnostic line to standard output, and the run then
// returns nothing.
#pragma once

#include "mail/target_mail_info.h"

#include <optional>
#include <string>

namespace quill {

// What a failed run saw.
enum class ColdRunProblemKind {
    Internal,    // a step of the run itself failed (files, process start, reading)
    TimedOut,    // textlint was still running when the wait ended
    ErrorOutput, // textlint wrote an error
    NoOutcome,   // textlint ended with an error code and produced nothing
};

struct ColdRunProblem {
    ColdRunProblemKind kind = ColdRunProblemKind::Internal;
    std::string errorOutput; // textlint's error output as it wrote it (UTF-8)
    std::string diagnostic;  // the failure text of the step that failed
};

// textlint's compact report of `text` (UTF-8, LF line ends), checked as `type`, waiting at
// most `waitCount` times 100 ms for textlint. `problem`, when given, receives what a failed
// run saw.
std::optional<std::string> runColdCheck(const std::string &text, MimeType type, unsigned waitCount,
                                        ColdRunProblem *problem = nullptr);

// `text` as textlint --fix rewrote it; nothing when the run failed or did not end within
// `waitCount` times 100 ms.
std::optional<std::string> runColdFix(const std::string &text, MimeType type, unsigned waitCount,
                                      ColdRunProblem *problem = nullptr);

} // namespace quill
