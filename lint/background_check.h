// Checks that the plug-in starts on its own (a draft opened from the outbox, the minute
// tick): each runs on a detached worker thread with its own copy of the target.
#pragma once

#include "lint/lint_result_controller.h"
#include "mail/target_mail_info.h"

namespace quill {

// Enters a check job for `target` on `engine` on the calling thread, then starts a worker
// that runs the check and ends. The copy is made before this returns, so the caller may destroy
// `target` at once. While the worker runs it keeps the module holding this code loaded, so that an
// unload of the plug-in during a check never leaves it running unloaded code. False, after
// one diagnostic line, when the worker cannot be started.
bool startBackgroundCheck(LintResultController &engine, const TargetMailInfo &target);

} // namespace quill
