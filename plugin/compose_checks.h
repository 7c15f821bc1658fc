// What each compose window was last checked with, so that a text already checked with the
// same settings is not checked again.
#pragma once

#include "lint/lint_result_controller.h"
#include "mail/target_mail_info.h"

#include <windows.h>

#include <string>

namespace quill {

// The settings a check's findings depend on, as one comparable text: the command, the rules,
// what of a mail is left out and the plug-in's own check of characters.
std::string checkSettingsKey();

// Notes that `window`'s text `target` was checked with `settingsKey` by the job `job`.
void recordComposeCheck(HWND window, const TargetMailInfo &target, const std::string &settingsKey,
                        JobTicket job);

// True when the last check recorded for `window` had the text of `target` and
// `settingsKey`; its job goes to `job`.
bool isLastComposeCheck(HWND window, const TargetMailInfo &target, const std::string &settingsKey,
                        JobTicket &job);

// Forgets every record (at exit).
void forgetComposeChecks();

} // namespace quill
