// The settings dialog's test run through the lint engine.
#include "plugin/settings_check.h"

#include "lint/lint_result_controller.h"

namespace quill {

namespace {

// UTF-8, which is what textlint reads.
const char TEST_SENTENCE[] = "本日は晴天なり。ハローワールド。Hello World.";

} // namespace

bool checkTestSentence() {
    LintResultController engine;
    TargetMailInfo target(1, MIME_TEXT_PLAIN, "Dummy From:", "Dummy Subject:", TEST_SENTENCE);
    return engine.executeProofreadingTool(ProofreadingToolControlType::Check, target);
}

} // namespace quill
