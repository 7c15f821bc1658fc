// The texts the result window shows: the mail line, the list rows and the diagnostic line
// of each finding, each bounded to the window's 1024-byte buffers at a character boundary.
#pragma once

#include "common/encoding.h"
#include "lint/lint_result.h"

#include <cstddef>
#include <string>

namespace quill {

// The fixed buffers the window composes its texts in (1023 bytes plus NUL).
constexpr std::size_t RESULT_TEXT_BUFFER_SIZE = 1024;

// "<kind> - From: <from>", at most 1023 bytes.
std::string composeMailLine(const std::string &kindLabel, const std::string &from,
                            CharLengthOf charLength);

// "Line: %d, Index: %d, Msg: %s, Rule: %s", at most 1023 bytes.
std::string composeRowText(const LintResult &result, CharLengthOf charLength);

// "Line: 1, Index: 5, Message: A, Rule: r1, AutFix: 0": the unbounded diagnostic line.
std::string composeFindingDiagnostic(const LintResult &result);

// The suggestion a fix makes, in UTF-8: "修正案: 「old」→「new」", or "「old」を削除" for a
// removal and "「new」を挿入" for an insertion; line breaks shown as "↵".
std::string composeSuggestion(const LintFix &fix);

} // namespace quill
