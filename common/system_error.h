// The system's message text for an error code, for diagnostics and message boxes.
#pragma once

#include <windows.h>

#include <string>

namespace quill {

// The system message for `code` in the user's default language, in the ANSI code page,
// without the trailing line break. Empty when the system has no text for the code.
std::string systemErrorTextA(DWORD code);

// The same as UTF-16, for message boxes.
std::wstring systemErrorTextW(DWORD code);

// Writes one diagnostic line to standard output: `failure`, "LastError: ", the system text
// for `code`, and a line end. Nothing reads the stream; it helps a developer with a console.
void writeLastErrorDiagnostic(const std::string &failure, DWORD code);

// Writes `line` and a line end to standard output.
void writeDiagnosticLine(const std::string &line);

} // namespace quill
