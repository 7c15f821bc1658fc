// The plug-in's own check of characters a recipient may not see, as findings of the lint
// engine beside textlint's: when it runs, its findings in the ANSI code page, and the merge.
#pragma once

#include "lint/lint_result.h"
#include "mail/target_mail_info.h"

#include <string>
#include <vector>

namespace quill {

// Whether the check runs for `target`: the setting is on and the mail's code page is one
// that can lose such characters. Reads the settings.
bool recipientCheckApplies(const TargetMailInfo &target);

// The findings of `text`, the text textlint gets, converted as textlint's are.
std::vector<LintResult> recipientFindings(const std::string &text);

// Both lists in line and column order; at the same place textlint's finding comes first.
std::vector<LintResult> mergeFindings(std::vector<LintResult> textlintFindings,
                                      std::vector<LintResult> ownFindings);

} // namespace quill
