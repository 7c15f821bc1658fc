// The cold check run: textlint over the text in a temporary file, its compact report read
// back from another one.
#include "lint/cold_run.h"

#include "lint/lint_failure_texts.h"
#include "lint/textlint_command.h"
#include "lint/textlint_run.h"
#include "process/private_temp_folder.h"

namespace quill {

using namespace textlint_run;

namespace {

std::optional<std::string> checkWithTextLint(const std::string &text, MimeType type,
                                             unsigned waitCount, ColdRunProblem &problem) {
    PrivateTempFolder folder;
    if (!folder.create(lint_text::TEMP_PATH_FAILED))
        return std::nullopt;
    // Declared in reverse order of their deletion: input, configuration, report, error.
    TempFile errorFile;
    TempFile reportFile;
    TempFile configFile;
    TempFile inputFile;
    TempFile placeholder;
    if (!createRunFiles(
            folder.path(),
            {{reportFile, lint_text::CHECK_REPORT_FILE_NOT_CREATED},
             {configFile, lint_text::CONFIG_FILE_NOT_CREATED},
             {errorFile, lint_text::ERROR_FILE_NOT_CREATED}},
            {placeholder, lint_text::CHECK_PLACEHOLDER_NOT_CREATED}, type,
            {inputFile, lint_text::CHECK_INPUT_NOT_MOVED, lint_text::CHECK_INPUT_NAME_TOO_LONG}))
        return std::nullopt;
    if (!writeRunInputs(configFile, lint_text::CHECK_CONFIG_NOT_CLOSED, inputFile, text,
                        lint_text::CHECK_INPUT_NOT_CLOSED))
        return std::nullopt;

    TextLintCommandFiles files = commandFilesOf(configFile, inputFile, errorFile);
    files.reportFile = reportFile.path();
    ChildProcess child;
    if (!startTextLint(makeCheckCommandLine(files), files, child))
        return std::nullopt;
    // A child still running after the wait is ended with its whole tree; the report is
    // read as it is then.
    bool ended = waitOrEnd(child, waitCount);
    if (!ended)
        problem.kind = ColdRunProblemKind::TimedOut;

    if (!errorFileIsClean(errorFile.path(), &problem.errorOutput)) {
        if (ended && !problem.errorOutput.empty())
            problem.kind = ColdRunProblemKind::ErrorOutput;
        return std::nullopt;
    }
    ReportBuffer report;
    DWORD reportSize = 0;
    if (!readFileInChunks(reportFile.path(), report, reportSize))
        return std::nullopt;

    // An empty report is only a clean result when textlint ended with success: textlint
    // reports a configuration it cannot load ("No rules found") by its exit code alone.
    if (reportSize == 0) {
        DWORD exitCode = 0;
        if (!ended) {
            fail("textlint did not end within " + describeWait(waitCount) +
                 " and left an empty report.");
            return std::nullopt;
        }
        if (!GetExitCodeProcess(child.process(), &exitCode)) {
            fail("GetExitCodeProcess(pi.hProcess, &exitCode) failed.");
            return std::nullopt;
        }
        if (exitCode != 0) {
            problem.kind = ColdRunProblemKind::NoOutcome;
            fail("textlint ended with exit code " + std::to_string(exitCode) +
                 " and left an empty report.");
            return std::nullopt;
        }
    }
    return report.text();
}

} // namespace

std::optional<std::string> runColdCheck(const std::string &text, MimeType type, unsigned waitCount,
                                        ColdRunProblem *problem) {
    ColdRunProblem seen;
    std::optional<std::string> report = checkWithTextLint(text, type, waitCount, seen);
    if (!report && problem != nullptr) {
        seen.diagnostic = lastFailureText();
        *problem = std::move(seen);
    }
    return report;
}

} // namespace quill
