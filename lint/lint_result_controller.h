// The lint engine: the current target mail, the findings of the latest published check
// run, the listeners, and the latest-job rule that decides which run may publish.
#pragma once

#include "lint/lint_result.h"
#include "lint/lint_result_model_listener.h"
#include "mail/target_mail_info.h"

#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace quill {

enum class ProofreadingToolControlType : int { Check = 0 };

// Outcome of an auto-fix run: the text to use and whether the run succeeded. After a
// failure `text` is the target's text unchanged.
struct TextLintFixResult {
    std::string text;
    bool succeeded = false;
};

class LintResultController {
  public:
    LintResultController();
    ~LintResultController();
    LintResultController(const LintResultController &) = delete;
    LintResultController &operator=(const LintResultController &) = delete;

    // Job entry of every check: enters the job, then runs the check on this thread.
    bool executeProofreadingTool(ProofreadingToolControlType type, TargetMailInfo target);

    // Auto-fix entry: enters the job and returns textlint's corrected text (UTF-8).
    TextLintFixResult executeTextLintFix(TargetMailInfo target);

    void addLintResultModelListener(LintResultModelListener *listener);
    void removeLintResultModelListener(LintResultModelListener *listener);
    TargetMailInfo getTargetMailInfo();

    // Appends one finding per finding of the compact report, in the ANSI code page; a
    // message or rule name longer than 1023 units is cut at a character boundary. Throws
    // std::runtime_error with the failure text, keeping the findings appended before it.
    void parseLintResultInCompactFormat(std::string report);
    void clearLintResult();
    std::vector<LintResult> getLintResults();
    bool isEvaluateValueOverThreshold();

    // Records the calling thread as the latest job's and copies the target.
    void enterJob(const TargetMailInfo &target);

    // Publication of a finished check run: under the lock, when the calling thread is the
    // latest job's, clears, parses `report` and notifies every listener in order. Returns
    // false (after writing the parser's failure text) when the report cannot be parsed;
    // true otherwise, also when the report was dropped.
    bool publishReport(const std::string &report);

    // True when the calling thread entered the latest job. Takes the lock.
    bool isLatestJob();

    // Check run of one target on the calling thread (the job must have been entered).
    bool executeTextLint(const TargetMailInfo &target);

    // How many 100 ms waits a run grants textlint; 600 (one minute) unless a test
    // shortens it.
    void setChildWaitCount(unsigned count) { childWaitCount_ = count; }
    unsigned childWaitCount() const { return childWaitCount_; }

    // The recursive lock, for listeners and callers that must see one consistent run.
    std::recursive_mutex &mutex() { return mutex_; }

  private:
    TargetMailInfo target_;
    std::vector<LintResult> findings_;
    std::vector<LintResultModelListener *> listeners_;
    std::thread::id latestJobThread_;
    std::recursive_mutex mutex_;
    unsigned childWaitCount_ = 600;
};

// The process-wide engine, alive from module load to unload.
LintResultController &lintEngine();

} // namespace quill
