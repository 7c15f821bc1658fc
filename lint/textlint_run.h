// Pieces that the check run and the auto-fix run share: their temporary files and what is
// written into them, the hidden textlint child, the bounded wait, the error file's verdict
// and the chunked reading.
#pragma once

#include "common/handles.h"
#include "lint/report_buffer.h"
#include "lint/textlint_command.h"
#include "mail/target_mail_info.h"
#include "process/child_process.h"

#include <windows.h>

#include <initializer_list>
#include <optional>
#include <string>

namespace quill::textlint_run {

// Writes `failure`, "LastError: " and the system text of `code` (by default the calling
// thread's last error). Returns false, so that a failing step can end with `return fail(...)`.
bool fail(const std::string &failure, DWORD code = GetLastError());
// The failure text of the calling thread's last failing step.
std::string lastFailureText();

// A temporary file of one run; deleted when its owner goes, if it was made.
class TempFile {
  public:
    TempFile() = default;
    ~TempFile();
    TempFile(const TempFile &) = delete;
    TempFile &operator=(const TempFile &) = delete;

    const std::string &path() const { return path_; }
    void adopt(const std::string &path) { path_ = path; }
    // The name no longer belongs to this run (a file moved away from it).
    void forget() { path_.clear(); }

  private:
    std::string path_;
};

// A new empty file from GetTempFileName with the prefix "Quillcheck" in `dir`; a failure
// is reported with `failure`.
bool createTempFile(const std::string &dir, const char *failure, TempFile &file);

// A temporary file still to be made, with the failure text of its creation.
struct NewTempFile {
    TempFile &file;
    const char *createFailure;
};

// The file that holds the text, with the failure texts of its move from the placeholder.
struct TextFile {
    TempFile &file;
    const char *moveFailure;
    const char *nameTooLong;
};

// Moves the placeholder to its name with ".txt" (plain text) or ".html" appended. A name
// that would not fit into 260 bytes fails the run before anything is moved.
bool moveToTypedName(TempFile &placeholder, MimeType type, const TextFile &text);

// Writes `text` up to its first NUL into the file `path`, opened with `disposition`
// (OPEN_EXISTING, CREATE_ALWAYS, ...). False when the open, a write or the close failed, with
// that call's error as the thread's last error.
bool writeTextFile(const std::string &path, const std::string &text, DWORD disposition);

// Writes `text` up to its first NUL into the existing file `path`. Any failure of the
// open, the write or the close is reported with `closeFailure`.
bool writeExistingFile(const std::string &path, const std::string &text, const char *closeFailure);

// Creates the temporary files of a run in `dir`: each of `files` in turn, then
// `placeholder`, which then moves to `text` with the extension of `type`. The first failing
// step ends the run with its failure text.
bool createRunFiles(const std::string &dir, std::initializer_list<NewTempFile> files,
                    NewTempFile placeholder, MimeType type, const TextFile &text);

// Writes the textlint configuration of the settings into `config`, then `text` into
// `input`; each file's failures are reported with its own close-failure text.
bool writeRunInputs(const TempFile &config, const char *configCloseFailure, const TempFile &input,
                    const std::string &text, const char *inputCloseFailure);

// The files of a run as its command line names them, with the command path of the
// settings and the command interpreter (the report file is left to the check run).
TextLintCommandFiles commandFilesOf(const TempFile &config, const TempFile &input,
                                    const TempFile &error);

// Starts the command line of `files`, empty when it did not fit, as a hidden child tree in
// a job; the child gets the null device as its standard handles and inherits nothing else,
// except that node.exe started without the interpreter writes its standard error into
// `files.errorFile` (the line of a batch file redirects it itself).
bool startTextLint(const std::optional<std::string> &commandLine, const TextLintCommandFiles &files,
                   ChildProcess &child);

// The command interpreter, "<system folder>\cmd.exe".
std::string commandInterpreterPath();

// Waits up to `count` times 100 ms for the child; true when it ended. Otherwise the whole
// tree is ended (and gone) when this returns, so its files can be read and deleted.
bool waitOrEnd(ChildProcess &child, unsigned count);

// Names the bound of a wait for a diagnostic ("60 seconds", "0.5 seconds").
std::string describeWait(unsigned count);

// Reads the error file; true when it is empty or holds only Node.js warnings. Writes the
// failure text and returns false otherwise, and when the file cannot be read. `bytes`, when
// given, receives what the file held.
bool errorFileIsClean(const std::string &path, std::string *bytes = nullptr);

// Reads the file in chunks of 255 bytes into `buffer` (allocated here) until its size at
// the open, `size`, is reached or a read returns nothing.
bool readFileInChunks(const std::string &path, ReportBuffer &buffer, DWORD &size);

} // namespace quill::textlint_run
