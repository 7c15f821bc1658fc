// The two textlint command lines and the quoting of the paths they carry.
#include "lint/textlint_command.h"

#include <cstring>

namespace quill {

bool pathNeedsQuotes(const std::string &path) {
    return path.find_first_of(" \t&()^=;,!<>|") != std::string::npos;
}

std::string quotePathForCommandLine(const std::string &path) {
    if (!pathNeedsQuotes(path))
        return path;
    return "\"" + path + "\"";
}

namespace {

// The program and script part of a line: node.exe and textlint's script, or the command.
std::string commandPart(const std::string &command) {
    if (isNodeCommand(command))
        return quotePathForCommandLine(command) + " " +
               quotePathForCommandLine(textLintScriptOf(command));
    return quotePathForCommandLine(command);
}

std::optional<std::string> finish(const TextLintCommandFiles &files, const std::string &command,
                                  const std::string &arguments) {
    std::string line = commandPart(command) + arguments;
    // node.exe is a program of its own: nothing in between reads the line.
    if (pathNeedsQuotes(command) && !isNodeCommand(command))
        line = quotePathForCommandLine(files.interpreterPath) + " /s /c \"" + line + "\"";
    if (line.size() + 1 > TEXTLINT_COMMAND_LINE_CAPACITY)
        return std::nullopt;
    return line;
}

// " 2> <error file>" for the command interpreter; node.exe gets the file as its standard
// error handle instead.
std::string errorRedirection(const std::string &command, const std::string &errorFile) {
    return isNodeCommand(command) ? std::string() : " 2> " + quotePathForCommandLine(errorFile);
}

} // namespace

bool startsWithoutInterpreter(const std::string &commandPath) {
    return isNodeCommand(commandPath);
}

std::optional<std::string> makeCheckCommandLine(const TextLintCommandFiles &files) {
    std::string command = unquotedCommandPath(files.commandPath);
    std::string arguments = " -c " + quotePathForCommandLine(files.configFile) + " -o " +
                            quotePathForCommandLine(files.reportFile) + " -f compact " +
                            quotePathForCommandLine(files.inputFile) +
                            errorRedirection(command, files.errorFile);
    return finish(files, command, arguments);
}

std::optional<std::string> makeFixCommandLine(const TextLintCommandFiles &files) {
    std::string command = unquotedCommandPath(files.commandPath);
    std::string arguments = " --fix -c " + quotePathForCommandLine(files.configFile) + " " +
                            quotePathForCommandLine(files.inputFile) +
                            errorRedirection(command, files.errorFile);
    return finish(files, command, arguments);
}

std::optional<std::string> makeResidentCommandLine(const TextLintCommandFiles &files) {
    return finish(files, unquotedCommandPath(files.commandPath),
                  " --mcp -c " + quotePathForCommandLine(files.configFile));
}

std::optional<std::string> makeVersionCommandLine(const TextLintCommandFiles &files) {
    return finish(files, unquotedCommandPath(files.commandPath), " --version");
}

std::optional<std::string> makePrintConfigCommandLine(const TextLintCommandFiles &files) {
    return finish(files, unquotedCommandPath(files.commandPath),
                  " --print-config -c " + quotePathForCommandLine(files.configFile));
}

} // namespace quill
