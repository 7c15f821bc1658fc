// The result window's actions on one finding: fix it in its compose window, ignore it for
// this run, never show it again, switch its rule off.
#pragma once

#include "lint/lint_result.h"
#include "lint/lint_result_controller.h"
#include "view/lint_result_view_dialog.h"

#include <optional>
#include <string>

namespace quill {

// Carries out `action` on `finding`, a row of the publication `shown`; what it did or why
// it did nothing goes to the result window's status line. On the host's thread.
void actOnFinding(FindingAction action, const LintResult &finding, JobTicket shown);

// Why a fix could not be applied.
enum class FixRefusal { None, NotPlaced, InExcludedLine, NotRepresentable };

// `hostText` (the compose window's text in code page `codePage`, whose conversion to UTF-8
// with LF line ends is `mailText`) with `fix` applied, `fix`'s range lying in
// `checkedText`, the text the check saw, whose excluded lines `excluded` flags. Only the
// bytes of the lines the range touches change, and of those only the replaced ones where
// the code page allows it. None, with the reason, when the range cannot be applied exactly.
std::optional<std::string> applyFix(const std::string &hostText, int codePage,
                                    const std::string &mailText, const std::string &checkedText,
                                    const std::vector<bool> &excluded, const LintFix &fix,
                                    FixRefusal &refusal);

} // namespace quill
