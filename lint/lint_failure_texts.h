// The diagnostic texts of the lint engine that stay byte for byte.
//
// Why they are fixed: these lines are what a developer with a console sees of a failed
// run, and logs of earlier versions hold the same lines; they name the C call or buffer
// of the engine's first design that failed (szTextLintResultFilePath, hLintResultFile, a
// trailing "\n" where that design had one). They are texts, not names of anything in this
// code: change none of their bytes, not even where a name no longer fits the code.
#pragma once

namespace quill::lint_text {

// Both runs.
inline constexpr char TEMP_PATH_FAILED[] =
    "GetTempPath(sizeof(szTempDirPath), szTempDirPath) failed.";
inline constexpr char CREATE_PROCESS_FAILED[] =
    "CreateProcess(NULL, cmd, NULL, NULL, TRUE, 0, NULL, NULL, &si, &pi) failed.";
inline constexpr char CLOSE_THREAD_FAILED[] = "CloseHandle(pi.hThread) failed.";
inline constexpr char ERROR_OUTPUT[] = "Some error occurred when execute textlint.";
inline constexpr char ALLOCATION_FAILED[] = "(CHAR *) calloc(dwMax, sizeof(CHAR)) failed.";
inline constexpr char READ_FAILED[] =
    "ReadFile(hLintResultFile, lpBuffer, sizeof(readBuf) - 1, &len, NULL) failed.";
inline constexpr char GROWTH_FAILED[] = "(CHAR *)realloc(mem, sizeof(CHAR) * dwMax) failed.";
// Closing the error file and the read file both report this one.
inline constexpr char CLOSE_RESULT_FILE_FAILED[] = "CloseHandle(hLintResultFile) failed.\n";
inline constexpr char COMMAND_LINE_TOO_LONG[] =
    "The textlint command line does not fit into cmd (1024 bytes).";

// The configuration and error files, alike in both runs.
inline constexpr char CONFIG_FILE_NOT_CREATED[] =
    "Exception: GetTempFileName(szTempDirPath, TEXT(\"Quillcheck\"), 0, "
    "szTextLintConfigFilePath) failed.\n";
inline constexpr char ERROR_FILE_NOT_CREATED[] =
    "Exception: GetTempFileName(szTempDirPath, TEXT(\"Quillcheck\"), 0, "
    "szTextLintErrorFilePath) failed.\n";
// The check run's own files.
inline constexpr char CHECK_REPORT_FILE_NOT_CREATED[] =
    "Exception: GetTempFileName(szTempDirPath, TEXT(\"Quillcheck\"), 0, "
    "szTextLintResultFilePath) failed.\n";
inline constexpr char CHECK_PLACEHOLDER_NOT_CREATED[] =
    "Exception: GetTempFileName(szTempDirPath, TEXT(\"Quillcheck\"), 0, "
    "szInputTextFilePathTemp) failed.\n";
inline constexpr char CHECK_INPUT_NOT_MOVED[] =
    "Exception: MoveFile(szInputTextFilePathTemp, szInputTextFilePath) failed.\n";
inline constexpr char CHECK_INPUT_NAME_TOO_LONG[] =
    "Exception: szInputTextFilePath would be longer than 259 bytes.\n";
inline constexpr char CHECK_CONFIG_NOT_CLOSED[] =
    "CloseHandle(hOutputTextLintConfigFile) failed.\n";
inline constexpr char CHECK_INPUT_NOT_CLOSED[] = "CloseHandle(hInputTextFile) failed.\n";

// The auto-fix run's files; both of its writes report the same close failure.
inline constexpr char FIX_PLACEHOLDER_NOT_CREATED[] =
    "Exception: GetTempFileName(szTempDirPath, TEXT(\"Quillcheck\"), 0, "
    "szInputOutputTextFilePathTemp) failed.\n";
inline constexpr char FIX_TEXT_NOT_MOVED[] =
    "Exception: MoveFile(szInputOutputTextFilePathTemp, szInputOutputTextFilePath) failed.\n";
inline constexpr char FIX_TEXT_NAME_TOO_LONG[] =
    "Exception: szInputOutputTextFilePath would be longer than 259 bytes.\n";
inline constexpr char FIX_FILE_NOT_CLOSED[] = "CloseHandle(hInputTextFile) failed.\n";

// The report parser and the publication.
inline constexpr char SCAN_FAILED[] =
    "sscanf_s(p, TEXT(\": line %d, col %d, \"), &nLine, &nIndex) failed.";
inline constexpr char MESSAGE_TO_WIDE_FAILED[] =
    "LintResultController::parseLintResultInCompactFormat() failed. cannot convert "
    "MultiByteChar to WideChar for result of lint text.";
inline constexpr char MESSAGE_TO_ANSI_FAILED[] =
    "LintResultController::parseLintResultInCompactFormat() failed. cannot convert "
    "WideChar to MultiByteChar for result of lint text.";
inline constexpr char RULE_NAME_FAILED[] =
    "LintResultController::parseLintResultInCompactFormat() failed. cannot convert "
    "MultiByteChar to WideChar for rule name of lint.";
inline constexpr char LISTENER_FAILED[] = "LintResultModelListener::updateLintResult() failed. ";

} // namespace quill::lint_text
