// Reasons of failed runs.
#include "lint/run_failure.h"

#include "common/ansi_encoding.h"
#include "common/encoding.h"
#include "config/text_lint_config.h"
#include "config/textlint_lookup.h"
#include "lint/textlint_locations.h"

namespace quill {

namespace {

// Error output about the configuration rather than the text: a rule or plug-in textlint
// could not load, an option it refused.
bool concernsConfiguration(const std::string &errorOutput) {
    const std::string lower = lowerAscii(errorOutput);
    for (const char *word : {"config", "cannot find module", "failed to load", "not found"})
        if (lower.find(word) != std::string::npos)
            return true;
    return false;
}

} // namespace

std::optional<LintFailure> missingCommandFailure() {
    TextLintConfig &config = TextLintConfig::getInstance();
    if (commandFileExists(config.commandPathInUse()))
        return std::nullopt;
    LintFailure failure;
    failure.kind = LintFailureKind::CommandNotFound;
    failure.commandPath = wideFromAnsi(config.getTextLintCmdPath());
    return failure;
}

LintFailure failureOfRun(const ColdRunProblem &problem, unsigned waitCount) {
    LintFailure failure;
    const std::wstring details = firstLinesOf(wideFromUtf8(problem.errorOutput));
    switch (problem.kind) {
    case ColdRunProblemKind::TimedOut:
        failure.kind = LintFailureKind::TimedOut;
        failure.waitSeconds = (waitCount + 9) / 10;
        return failure;
    case ColdRunProblemKind::Internal:
        failure.kind = LintFailureKind::Internal;
        failure.details = wideFromAnsi(problem.diagnostic);
        return failure;
    case ColdRunProblemKind::ErrorOutput:
    case ColdRunProblemKind::NoOutcome:
        break;
    }
    TextLintConfig &config = TextLintConfig::getInstance();
    const std::string command = config.commandPathInUse();
    failure.missing = findMissingPackages(command, config.getRules(),
                                          config.snapshot().enableProofreadingHTMLMail);
    failure.details = details;
    if (!failure.missing.empty()) {
        failure.kind = LintFailureKind::MissingPackages;
        failure.installFolder = wideFromAnsi(installFolderOf(command));
    } else if (problem.kind == ColdRunProblemKind::NoOutcome ||
               concernsConfiguration(problem.errorOutput)) {
        failure.kind = LintFailureKind::ConfigRejected;
    } else {
        failure.kind = LintFailureKind::TextLintError;
    }
    return failure;
}

LintFailure notConvertedFailure() {
    LintFailure failure;
    failure.kind = LintFailureKind::NotConverted;
    return failure;
}

LintFailure noRuleFailure() {
    LintFailure failure;
    failure.kind = LintFailureKind::NoRule;
    return failure;
}

} // namespace quill
