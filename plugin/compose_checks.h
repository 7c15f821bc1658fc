// What each compose window was last checked with, so that a text already checked with the
// same settings is not checked again.
#pragma once

#include "lint/lint_result_controller.h"
#include "mail/target_mail_info.h"

#include <windows.h>

#include <string>

namespace quill {

// What a check's findings depend on besides the text, as one comparable text: the command,
// the rules, what of a mail is left out, the plug-in's own rules and the day of the check.
std::string checkSettingsKey();

// Notes that `window`'s text `target` was checked with `settingsKey` by the job `job`.
void recordComposeCheck(HWND window, const TargetMailInfo &target, const std::string &settingsKey,
                        JobTicket job);

// True when the last check recorded for `window` had the text, type and code page of
// `target` and `settingsKey`; its job goes to `job`.
bool isLastComposeCheck(HWND window, const TargetMailInfo &target, const std::string &settingsKey,
                        JobTicket &job);

// The window whose check was the job `job`, with the text and type it checked; false when
// no record holds that job (the window was checked again, closed, or never was one).
bool composeCheckOfJob(JobTicket job, HWND &window, std::string &text, MimeType &mimeType);

// Forgets every record (at exit).
void forgetComposeChecks();

} // namespace quill
