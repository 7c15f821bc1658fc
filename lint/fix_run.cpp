// The cold auto-fix run: textlint --fix over a copy of the text in a temporary file, which
// it rewrites in place; the rewritten text is returned only when the run ended cleanly.
#include "lint/cold_run.h"

#include "lint/lint_failure_texts.h"
#include "lint/textlint_command.h"
#include "lint/textlint_run.h"
#include "process/private_temp_folder.h"

namespace quill {

using namespace textlint_run;

namespace {

bool runFix(const std::string &original, MimeType type, unsigned waitCount, std::string &fixed,
            ColdRunProblem &problem) {
    PrivateTempFolder folder;
    if (!folder.create(lint_text::TEMP_PATH_FAILED))
        return false;
    // Declared in reverse order of their deletion: configuration, text, error.
    TempFile errorFile;
    TempFile textFile;
    TempFile configFile;
    TempFile placeholder;
    if (!createRunFiles(
            folder.path(),
            {{configFile, lint_text::CONFIG_FILE_NOT_CREATED},
             {errorFile, lint_text::ERROR_FILE_NOT_CREATED}},
            {placeholder, lint_text::FIX_PLACEHOLDER_NOT_CREATED}, type,
            {textFile, lint_text::FIX_TEXT_NOT_MOVED, lint_text::FIX_TEXT_NAME_TOO_LONG}))
        return false;
    if (!writeRunInputs(configFile, lint_text::FIX_FILE_NOT_CLOSED, textFile, original,
                        lint_text::FIX_FILE_NOT_CLOSED))
        return false;

    const TextLintCommandFiles files = commandFilesOf(configFile, textFile, errorFile);
    ChildProcess child;
    if (!startTextLint(makeFixCommandLine(files), files, child))
        return false;
    // textlint rewrites the file while it runs: one still running after the wait may have
    // left it half written, so it is not read.
    if (!waitOrEnd(child, waitCount)) {
        problem.kind = ColdRunProblemKind::TimedOut;
        return fail("textlint --fix did not end within " + describeWait(waitCount) +
                    "; the text is left as it was.");
    }
    if (!errorFileIsClean(errorFile.path(), &problem.errorOutput)) {
        if (!problem.errorOutput.empty())
            problem.kind = ColdRunProblemKind::ErrorOutput;
        return false;
    }

    ReportBuffer buffer;
    DWORD size = 0;
    if (!readFileInChunks(textFile.path(), buffer, size))
        return false;
    std::string text = buffer.text();

    // A configuration textlint cannot load ends it with a non-zero code before it touches
    // the file; a textlint that fixed something and still exits non-zero keeps its fix.
    DWORD exitCode = 0;
    if (!GetExitCodeProcess(child.process(), &exitCode))
        return fail("GetExitCodeProcess(pi.hProcess, &exitCode) failed.");
    if (exitCode != 0 && text == original) {
        problem.kind = ColdRunProblemKind::NoOutcome;
        return fail("textlint --fix ended with exit code " + std::to_string(exitCode) +
                    " and changed nothing.");
    }
    fixed = std::move(text);
    return true;
}

} // namespace

std::optional<std::string> runColdFix(const std::string &text, MimeType type, unsigned waitCount,
                                      ColdRunProblem *problem) {
    std::string fixed;
    ColdRunProblem seen;
    if (runFix(text, type, waitCount, fixed, seen))
        return fixed;
    if (problem != nullptr) {
        seen.diagnostic = lastFailureText();
        *problem = std::move(seen);
    }
    return std::nullopt;
}

} // namespace quill
