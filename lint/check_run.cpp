// The job entry of every check and the check run: textlint over one target mail, its
// report published through the controller when the job is still the latest one.
#include "lint/lint_result_controller.h"

#include "common/system_error.h"
#include "lint/textlint_command.h"
#include "lint/textlint_run.h"

#include <exception>

namespace quill {

using namespace textlint_run;

bool LintResultController::executeProofreadingTool(ProofreadingToolControlType type,
                                                   TargetMailInfo target) {
    try {
        enterJob(target);
        if (type != ProofreadingToolControlType::Check)
            return false;
        return executeTextLint(target);
    } catch (const std::exception &e) {
        writeDiagnosticLine(e.what());
    } catch (...) {
        writeDiagnosticLine("executeProofreadingTool() failed.");
    }
    return false;
}

bool LintResultController::executeTextLint(const TargetMailInfo &target) {
    // Declared in reverse order of their deletion: input, configuration, report, error.
    TempFile szTextLintErrorFilePath;
    TempFile szTextLintResultFilePath;
    TempFile szTextLintConfigFilePath;
    TempFile szInputTextFilePath;
    TempFile szInputTextFilePathTemp;
    if (!createRunFiles({{szTextLintResultFilePath, "szTextLintResultFilePath"},
                         {szTextLintConfigFilePath, "szTextLintConfigFilePath"},
                         {szTextLintErrorFilePath, "szTextLintErrorFilePath"}},
                        {szInputTextFilePathTemp, "szInputTextFilePathTemp"}, target.mimeType,
                        {szInputTextFilePath, "szInputTextFilePath"}))
        return false;
    if (!writeRunInputs(szTextLintConfigFilePath,
                        "CloseHandle(hOutputTextLintConfigFile) failed.\n", szInputTextFilePath,
                        target.getMailText(), "CloseHandle(hInputTextFile) failed.\n"))
        return false;

    TextLintCommandFiles files =
        commandFilesOf(szTextLintConfigFilePath, szInputTextFilePath, szTextLintErrorFilePath);
    files.reportFile = szTextLintResultFilePath.path();
    UniqueHandle process;
    if (!startTextLint(makeCheckCommandLine(files), process))
        return false;
    // A child still running after the wait is left running; its report is read as it is.
    bool ended = waitForChild(process.get(), childWaitCount());

    if (!errorFileIsClean(szTextLintErrorFilePath.path()))
        return false;
    ReportBuffer mem;
    DWORD reportSize = 0;
    if (!readFileInChunks(szTextLintResultFilePath.path(), mem, reportSize))
        return false;

    // An empty report is only a clean result when textlint ended with success: textlint
    // reports a configuration it cannot load ("No rules found") by its exit code alone.
    if (reportSize == 0) {
        DWORD exitCode = 0;
        if (!ended)
            return fail("textlint did not end within " + describeWait(childWaitCount()) +
                        " and left an empty report.");
        if (!GetExitCodeProcess(process.get(), &exitCode))
            return fail("GetExitCodeProcess(pi.hProcess, &exitCode) failed.");
        if (exitCode != 0)
            return fail("textlint ended with exit code " + std::to_string(exitCode) +
                        " and left an empty report.");
    }
    return publishReport(mem.text());
}

} // namespace quill
