// What textlint's standard error tells about a run: Node.js runtime warnings and their hint
// line are noise of the runtime; anything else means the run failed.
#pragma once

#include <string>

namespace quill {

// True for a warning line of Node.js, "(node:<pid>) [<code>] <Name>Warning: <text>" with the
// code optional, such as "(node:1234) [DEP0040] DeprecationWarning: ...", except an
// unhandled promise rejection. `line` has no line end.
bool isNodeWarningLine(const std::string &line);

// True for the hint Node.js prints after a warning:
// "(Use `node --trace-<what> ...` to show where the warning was created)".
bool isNodeTraceHintLine(const std::string &line);

// True when the error output makes the run a failure: any byte outside lines that are
// Node.js warnings or their hint (each ended by LF or CR LF, the last one maybe by nothing).
bool errorOutputMeansFailure(const std::string &bytes);

} // namespace quill
