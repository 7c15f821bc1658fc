// The reason of a failed check or auto-fix, from what the run saw and what the file system
// says about textlint and the packages of the configuration.
#pragma once

#include "lint/cold_run.h"
#include "lint/lint_failure.h"

#include <optional>

namespace quill {

// CommandNotFound, naming the command path as set, when no textlint is there to run; none
// otherwise.
std::optional<LintFailure> missingCommandFailure();

// The reason of a run that failed as `problem` tells; the run waited up to `waitCount`
// times 100 ms. Rules and plug-ins not installed beside textlint come first: textlint names
// none of them ("No rules found").
LintFailure failureOfRun(const ColdRunProblem &problem, unsigned waitCount);

// The reason for a mail text that could not be converted from its code page.
LintFailure notConvertedFailure();

// The reason for a check or fix chosen while no rule is configured.
LintFailure noRuleFailure();

} // namespace quill
