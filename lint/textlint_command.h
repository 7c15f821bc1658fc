// The textlint command lines (check, auto-fix, the resident textlint's), with the quoting
// that keeps paths with blanks whole through CreateProcess and the command interpreter that
// runs textlint.cmd; node.exe (the bundled textlint) is started with textlint's script.
#pragma once

#include "config/textlint_command_path.h"

#include <cstddef>
#include <optional>
#include <string>

namespace quill {

// Size of the command-line buffer handed to CreateProcess, NUL included.
constexpr std::size_t TEXTLINT_COMMAND_LINE_CAPACITY = 1024;

// True when the command interpreter would split or misread `path` unquoted: a blank, a tab,
// an argument separator (, ; =) or an operator (& ( ) ^ ! < > |).
bool pathNeedsQuotes(const std::string &path);

// `path` in double quotes when it needs them, otherwise byte for byte.
std::string quotePathForCommandLine(const std::string &path);

// What a command line is made of. `interpreterPath` is the command interpreter (cmd.exe
// with its full path); it is used only when the command path itself needs quotes.
struct TextLintCommandFiles {
    std::string commandPath;
    std::string configFile;
    std::string reportFile; // check only
    std::string inputFile;
    std::string errorFile;
    std::string interpreterPath;
};

// True when the command is node.exe (the bundled textlint): its lines start node.exe with
// textlint's script and carry no redirection; the run gives node.exe the error file as its
// standard error handle itself.
bool startsWithoutInterpreter(const std::string &commandPath);

// "%s -c %s -o %s -f compact %s 2> %s". Paths that need quotes are quoted. When the
// command path needs them, the line is handed to the interpreter explicitly as
// `<interpreter> /s /c "<line>"`: /s strips exactly the outer pair again, whereas a line
// that starts with a quoted program name would lose its first and last quotes. Without
// blanks anywhere the line is byte for byte the plain format. Empty when the line would not
// fit into TEXTLINT_COMMAND_LINE_CAPACITY with its NUL.
std::optional<std::string> makeCheckCommandLine(const TextLintCommandFiles &files);

// "%s --fix -c %s %s 2> %s", shaped like the check line.
std::optional<std::string> makeFixCommandLine(const TextLintCommandFiles &files);

// The lines of the resident textlint, shaped like the check line, without redirection: their
// standard output and error are handles of the plug-in. "%s --mcp -c %s" serves requests and
// reads the configuration anew for each; "%s --version" and "%s --print-config -c %s" tell
// whether the server can be trusted with a configuration.
std::optional<std::string> makeResidentCommandLine(const TextLintCommandFiles &files);
std::optional<std::string> makeVersionCommandLine(const TextLintCommandFiles &files);
std::optional<std::string> makePrintConfigCommandLine(const TextLintCommandFiles &files);

} // namespace quill
