// The auto-fix run: textlint --fix over a copy of the target's text, which it rewrites in
// place; the rewritten text is returned only when the run ended cleanly.
#include "lint/lint_result_controller.h"

#include "common/system_error.h"
#include "lint/textlint_command.h"
#include "lint/textlint_run.h"

#include <exception>

namespace quill {

using namespace textlint_run;

namespace {

// Steps up to the reading of the rewritten file; `fixed` is set only on success.
bool runTextLintFix(const TargetMailInfo &target, unsigned waitCount, std::string &fixed) {
    // Declared in reverse order of their deletion: configuration, text, error.
    TempFile szTextLintErrorFilePath;
    TempFile szInputOutputTextFilePath;
    TempFile szTextLintConfigFilePath;
    TempFile szInputOutputTextFilePathTemp;
    if (!createRunFiles({{szTextLintConfigFilePath, "szTextLintConfigFilePath"},
                         {szTextLintErrorFilePath, "szTextLintErrorFilePath"}},
                        {szInputOutputTextFilePathTemp, "szInputOutputTextFilePathTemp"},
                        target.mimeType, {szInputOutputTextFilePath, "szInputOutputTextFilePath"}))
        return false;
    std::string original = target.getMailText();
    if (!writeRunInputs(szTextLintConfigFilePath, "CloseHandle(hInputTextFile) failed.\n",
                        szInputOutputTextFilePath, original,
                        "CloseHandle(hInputTextFile) failed.\n"))
        return false;

    TextLintCommandFiles files = commandFilesOf(szTextLintConfigFilePath, szInputOutputTextFilePath,
                                                szTextLintErrorFilePath);
    UniqueHandle process;
    if (!startTextLint(makeFixCommandLine(files), process))
        return false;
    // textlint rewrites the file while it runs: one still running after the wait may have
    // left it half written, so it is not read.
    if (!waitForChild(process.get(), waitCount))
        return fail("textlint --fix did not end within " + describeWait(waitCount) +
                    "; the text is left as it was.");
    if (!errorFileIsClean(szTextLintErrorFilePath.path()))
        return false;

    ReportBuffer mem;
    DWORD size = 0;
    if (!readFileInChunks(szInputOutputTextFilePath.path(), mem, size))
        return false;
    std::string text = mem.text();

    // A configuration textlint cannot load ends it with a non-zero code before it touches
    // the file; a textlint that fixed something and still exits non-zero keeps its fix.
    DWORD exitCode = 0;
    if (!GetExitCodeProcess(process.get(), &exitCode))
        return fail("GetExitCodeProcess(pi.hProcess, &exitCode) failed.");
    if (exitCode != 0 && text == original)
        return fail("textlint --fix ended with exit code " + std::to_string(exitCode) +
                    " and changed nothing.");
    fixed = std::move(text);
    return true;
}

} // namespace

TextLintFixResult LintResultController::executeTextLintFix(TargetMailInfo target) {
    TextLintFixResult result;
    try {
        enterJob(target);
        result.text = target.getMailText();
        std::string fixed;
        if (runTextLintFix(target, childWaitCount(), fixed)) {
            result.text = std::move(fixed);
            result.succeeded = true;
        }
        std::lock_guard<std::recursive_mutex> lock(mutex());
        if (isLatestJob())
            clearLintResult();
    } catch (const std::exception &e) {
        writeDiagnosticLine(e.what());
        result.text = target.getMailText();
        result.succeeded = false;
    }
    return result;
}

} // namespace quill
