// The plug-in's own rules as findings of the lint engine beside textlint's: what they
// know of the mail and the day, their findings in the ANSI code page, the merge, and their
// certain fixes.
#pragma once

#include "mail/target_mail_info.h"
#include "checks/own_rule.h"
#include "lint/lint_result.h"

#include <string>
#include <vector>

namespace quill {

// The code page of `target` and today's date from the system clock; a test may give the
// day as YYYY-MM-DD in QUILLCHECK_TEST_TODAY.
OwnCheckContext ownCheckContext(const TargetMailInfo &target);

// The findings of the own rules that are on, over `text`, the text textlint gets, converted
// as textlint's are. Reads the settings.
std::vector<LintResult> ownFindings(const std::string &text, const TargetMailInfo &target);

// `text` with the certain fixes of the own rules that are on applied. Reads the settings.
std::string fixOwnFindings(const std::string &text, const TargetMailInfo &target);

// Both lists in line and column order; at the same place textlint's finding comes first.
std::vector<LintResult> mergeFindings(std::vector<LintResult> textlintFindings,
                                      std::vector<LintResult> ownFindings);

} // namespace quill
