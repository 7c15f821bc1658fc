// The temporary files, the child process and the reading shared by both textlint runs.
#include "lint/textlint_run.h"

#include "common/system_error.h"
#include "config/text_lint_config.h"
#include "lint/lint_failure_texts.h"
#include "lint/textlint_error_output.h"
#include "process/whole_file.h"

#include <cstdio>
#include <iterator>

namespace quill::textlint_run {

namespace {

constexpr DWORD PATH_CAPACITY = MAX_PATH; // 260 bytes, NUL included
// More than this in the error file is no longer a few runtime warnings.
constexpr DWORD ERROR_OUTPUT_LIMIT = 1 << 20;
constexpr DWORD SHARE_ALL = FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE;

} // namespace

namespace {
// A plain buffer: a thread-local with a destructor would be destroyed at thread exit, after a
// background worker has already unloaded this module (FreeLibraryAndExitThread).
thread_local char lastFailure[512];
} // namespace

bool fail(const std::string &failure, DWORD code) {
    writeLastErrorDiagnostic(failure, code);
    std::snprintf(lastFailure, std::size(lastFailure), "%s", failure.c_str());
    return false;
}

std::string lastFailureText() {
    return lastFailure;
}

TempFile::~TempFile() {
    if (!path_.empty())
        DeleteFileA(path_.c_str());
}

bool createTempFile(const std::string &dir, const char *failure, TempFile &file) {
    char name[PATH_CAPACITY];
    if (GetTempFileNameA(dir.c_str(), "Quillcheck", 0, name) == 0)
        return fail(failure);
    file.adopt(name);
    return true;
}

bool moveToTypedName(TempFile &placeholder, MimeType type, const TextFile &text) {
    std::string name = placeholder.path() + (type == MIME_TEXT_HTML ? ".html" : ".txt");
    if (name.size() + 1 > PATH_CAPACITY) {
        SetLastError(ERROR_FILENAME_EXCED_RANGE);
        return fail(text.nameTooLong);
    }
    if (!MoveFileA(placeholder.path().c_str(), name.c_str()))
        return fail(text.moveFailure);
    placeholder.forget();
    text.file.adopt(name);
    return true;
}

bool writeTextFile(const std::string &path, const std::string &text, DWORD disposition) {
    return writeWholeFile(path, text.c_str(), disposition);
}

bool writeExistingFile(const std::string &path, const std::string &text, const char *closeFailure) {
    return writeTextFile(path, text, OPEN_EXISTING) || fail(closeFailure);
}

bool createRunFiles(const std::string &dir, std::initializer_list<NewTempFile> files,
                    NewTempFile placeholder, MimeType type, const TextFile &text) {
    for (const NewTempFile &file : files)
        if (!createTempFile(dir, file.createFailure, file.file))
            return false;
    if (!createTempFile(dir, placeholder.createFailure, placeholder.file))
        return false;
    return moveToTypedName(placeholder.file, type, text);
}

bool writeRunInputs(const TempFile &config, const char *configCloseFailure, const TempFile &input,
                    const std::string &text, const char *inputCloseFailure) {
    std::string configText = TextLintConfig::getInstance().buildTextLintConfigJson();
    return writeExistingFile(config.path(), configText, configCloseFailure) &&
           writeExistingFile(input.path(), text, inputCloseFailure);
}

TextLintCommandFiles commandFilesOf(const TempFile &config, const TempFile &input,
                                    const TempFile &error) {
    TextLintCommandFiles files;
    files.commandPath = TextLintConfig::getInstance().commandPathInUse();
    files.configFile = config.path();
    files.inputFile = input.path();
    files.errorFile = error.path();
    files.interpreterPath = commandInterpreterPath();
    return files;
}

namespace {

// The diagnostic text of a failed start of textlint.
const char *startFailureText(ChildStartStep step) {
    switch (step) {
    case ChildStartStep::CreateJob:
    case ChildStartStep::LimitJob:
        return "CreateJobObject() failed.";
    case ChildStartStep::StartsRefused:
        return "The plug-in is ending: textlint is not started.";
    case ChildStartStep::NullDevice:
        return "CreateFile(\"NUL\") failed.";
    case ChildStartStep::InheritableCopy:
        return "DuplicateHandle(standard handle of the child) failed.";
    case ChildStartStep::HandleList:
        return "UpdateProcThreadAttribute(PROC_THREAD_ATTRIBUTE_HANDLE_LIST) failed.";
    case ChildStartStep::CreateProcess:
        return lint_text::CREATE_PROCESS_FAILED;
    case ChildStartStep::AssignJob:
        return "AssignProcessToJobObject() failed.";
    case ChildStartStep::Resume:
        return "ResumeThread(pi.hThread) failed.";
    case ChildStartStep::CloseThread:
        return lint_text::CLOSE_THREAD_FAILED;
    case ChildStartStep::InputPipe:
    case ChildStartStep::OutputPipe:
    case ChildStartStep::PipeThreads:
        break; // steps of a piped child only
    }
    return "The start of textlint failed.";
}

} // namespace

bool startTextLint(const std::optional<std::string> &commandLine, const TextLintCommandFiles &files,
                   ChildProcess &child) {
    if (!commandLine) {
        SetLastError(ERROR_INSUFFICIENT_BUFFER);
        return fail(lint_text::COMMAND_LINE_TOO_LONG);
    }
    // textlint reads nothing and its standard output is not wanted (the report goes to a
    // file). Standard error goes into the error file: by the line's own redirection through
    // the command interpreter, or, for node.exe started directly, as its handle. The rest
    // get the null device rather than whatever the host's process has: Node.js dies at start
    // ("open EBADF") when it inherits a pipe it cannot open, which is the case under Wine.
    ChildStdio stdio;
    UniqueHandle errorOutput;
    if (startsWithoutInterpreter(files.commandPath)) {
        errorOutput.reset(CreateFileA(files.errorFile.c_str(), GENERIC_WRITE, SHARE_ALL, nullptr,
                                      OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
        if (!errorOutput)
            return fail(lint_text::ERROR_FILE_NOT_CREATED);
        stdio.error = errorOutput.get();
    }
    if (ChildStartResult failed = child.start(*commandLine, stdio))
        return fail(startFailureText(failed->step), failed->code);
    return true;
}

std::string commandInterpreterPath() {
    char dir[PATH_CAPACITY];
    UINT n = GetSystemDirectoryA(dir, static_cast<UINT>(std::size(dir)));
    if (n == 0 || n >= std::size(dir))
        return "cmd.exe";
    return std::string(dir, n) + "\\cmd.exe";
}

bool waitOrEnd(ChildProcess &child, unsigned count) {
    if (child.waitForExit(count * 100))
        return true;
    child.end();
    return false;
}

std::string describeWait(unsigned count) {
    std::string text = std::to_string(count / 10);
    if (count % 10 != 0)
        text += "." + std::to_string(count % 10);
    return text + " seconds";
}

bool errorFileIsClean(const std::string &path, std::string *errorBytes) {
    const char *closeFailure = lint_text::CLOSE_RESULT_FILE_FAILED;
    // Shared, so that a child still running after the wait, which holds the file open for
    // its redirection, does not turn the examination itself into a failure.
    std::string bytes;
    ULONGLONG size = 0;
    if (!readFilePart(path, 0, ERROR_OUTPUT_LIMIT, bytes, size))
        return fail(closeFailure);
    bool tooLarge = size > ERROR_OUTPUT_LIMIT;
    if (tooLarge)
        bytes.clear();
    if (errorBytes != nullptr)
        *errorBytes = bytes;
    if (tooLarge || errorOutputMeansFailure(bytes))
        return fail(lint_text::ERROR_OUTPUT);
    return true;
}

bool readFileInChunks(const std::string &path, ReportBuffer &buffer, DWORD &size) {
    const char *readFailure = lint_text::READ_FAILED;
    if (!buffer.allocate())
        return fail(lint_text::ALLOCATION_FAILED);
    UniqueHandle hLintResultFile(CreateFileA(path.c_str(), GENERIC_READ, SHARE_ALL, nullptr,
                                             OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!hLintResultFile)
        return fail(readFailure);
    size = GetFileSize(hLintResultFile.get(), nullptr);
    if (size == INVALID_FILE_SIZE)
        return fail(readFailure);
    char readBuf[256];
    for (;;) {
        DWORD len = 0;
        if (!ReadFile(hLintResultFile.get(), readBuf, sizeof(readBuf) - 1, &len, nullptr))
            return fail(readFailure);
        if (size == 0)
            break;
        if (!buffer.append(readBuf, len)) {
            SetLastError(ERROR_NOT_ENOUGH_MEMORY);
            return fail(lint_text::GROWTH_FAILED);
        }
        if (buffer.size() >= size || len == 0)
            break;
    }
    if (!hLintResultFile.reset())
        return fail(lint_text::CLOSE_RESULT_FILE_FAILED);
    return true;
}

} // namespace quill::textlint_run
