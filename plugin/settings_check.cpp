// The settings dialog's test run through the lint engine.
#include "plugin/settings_check.h"

#include "lint/lint_result_controller.h"

namespace quill {

namespace {

// UTF-8, which is what textlint reads.
const char TEST_SENTENCE[] = "本日は晴天なり。ハローワールド。Hello World.";

} // namespace

bool checkTestSentence(std::wstring &why) {
    LintResultController engine;
    TargetMailInfo target(1, MIME_TEXT_PLAIN, "Dummy From:", "Dummy Subject:", TEST_SENTENCE);
    const CheckOutcome outcome = engine.runCheck(engine.enterJob(target), target);
    if (outcome.publication != Publication::Failed)
        return true;
    why = describeLintFailure(outcome.failure);
    return false;
}

} // namespace quill
