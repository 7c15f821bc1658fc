// Checks that the plug-in starts on its own (a draft opened from the outbox, the minute
// tick): one at a time, on a worker thread, each with its own copy of the target.
#pragma once

#include "lint/lint_result_controller.h"
#include "mail/target_mail_info.h"

namespace quill {

// Enters a check job for `target` on `engine` on the calling thread, then has it checked on
// the background worker: at once when no background check runs (a worker is started),
// otherwise after the running one. A request that is still waiting is replaced by a newer
// one, and a waiting job that a later job superseded meanwhile is dropped (it could not
// publish). The copy of `target` is made before this returns. While the worker runs it
// keeps the module holding this code loaded, so that an unload of the plug-in during a
// check never leaves it running unloaded code. False, after one diagnostic line, when the
// worker cannot be started. `entered`, when given, gets the job's ticket.
bool startBackgroundCheck(LintResultController &engine, const TargetMailInfo &target,
                          JobTicket *entered = nullptr);

// Forgets the request waiting for the worker, if any (at exit: a check nobody will see must
// not start textlint once more); a check that runs ends as it would.
void dropWaitingBackgroundCheck();

} // namespace quill
