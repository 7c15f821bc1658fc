// The lint engine: the current target mail, the findings of the latest published check
// run, the listeners, and the latest-job rule that decides which run may publish.
#pragma once

#include "lint/lint_failure.h"
#include "lint/lint_result.h"
#include "lint/lint_result_model_listener.h"
#include "lint/resident/resident_protocol.h"
#include "mail/target_mail_info.h"

#include <atomic>
#include <cstdint>
#include <functional>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

namespace quill {

enum class ProofreadingToolControlType : int { Check = 0 };

// Outcome of an auto-fix run: the text to use and whether the run succeeded. After a
// failure `text` is the target's text unchanged.
struct TextLintFixResult {
    std::string text;
    bool succeeded = false;
    LintFailure failure; // why it failed, or NoRule when it had nothing to fix
};

// The identity a job gets when it enters the engine, on the thread that starts it. Only the
// job that entered last may publish; the empty ticket is never the latest.
struct JobTicket {
    std::uint64_t id = 0;
};

enum class Publication {
    Published,  // the findings became the engine's and every listener was told
    Superseded, // a later job entered meanwhile: nothing changed
    Failed,     // the run failed: nothing published
};

// What one check did. `findings` are the run's own, also when a later job kept them from
// being published; empty after a failure.
struct CheckOutcome {
    Publication publication = Publication::Failed;
    std::vector<LintResult> findings;
    bool nothingToCheck = false; // no rule and no own check: nothing was run
    bool timedOut = false;       // textlint had not ended when the run stopped waiting
    bool noRule = false;         // no textlint rule is configured
    LintFailure failure;         // why it failed, when it did
};

// What a check's findings refer to: the text textlint saw (UTF-8, LF line ends, excluded
// lines emptied), and the resident textlint's own findings with their replacements.
struct CheckedInput {
    std::string text;
    std::vector<ResidentFinding> warmFindings;
};

class LintResultController {
  public:
    LintResultController();
    ~LintResultController();
    LintResultController(const LintResultController &) = delete;
    LintResultController &operator=(const LintResultController &) = delete;

    // Job entry of every check: enters the job, then runs the check on this thread. True
    // when the run reached its end, whether or not its findings were published.
    bool executeProofreadingTool(ProofreadingToolControlType type, TargetMailInfo target);

    // Auto-fix entry: enters the job and returns textlint's corrected text (UTF-8).
    TextLintFixResult executeTextLintFix(TargetMailInfo target);

    // Records a new job as the latest one and copies its target; its ticket goes to the
    // run. Called on the thread that starts the job, before any worker is started for it.
    JobTicket enterJob(const TargetMailInfo &target);

    // The check of an entered job, on the calling thread: runs textlint over the target's
    // text and publishes the findings. Failures are written to standard output.
    CheckOutcome runCheck(JobTicket job, const TargetMailInfo &target);

    // Publication of a finished check: under the lock, when `job` is still the latest one,
    // the findings replace the engine's and every listener is told, in order.
    // The status line then gives the number of findings and the time, or, when
    // `nothingToCheck`, says that no rule is configured.
    // Findings the writer chose not to see are left out first (`input.text` gives their
    // lines), and the status line counts them.
    CheckOutcome publishFindings(JobTicket job, std::vector<LintResult> findings,
                                 bool nothingToCheck = false, const CheckedInput &input = {});
    // A failed check of `job`: when it is still the latest job, the status line gives the
    // reason and says the findings shown are the last published ones, and every listener is
    // told through updateLintStatus. The findings stay.
    CheckOutcome failCheck(JobTicket job, LintFailure failure);
    // The same for textlint's compact report, parsed first and merged with `ownFindings`
    // (the plug-in's own, in line and column order). A report that cannot be parsed fails
    // (after its failure text): the findings read before the failing line replace the
    // engine's when `job` is the latest, and nobody is told.
    // With `input.warmFindings`, each finding of the report takes the replacement of its
    // resident finding.
    CheckOutcome publishReport(JobTicket job, const std::string &report,
                               std::vector<LintResult> ownFindings = {},
                               const CheckedInput &input = {});

    // The findings of a compact report, without publishing them; false when the report
    // cannot be read.
    static bool findingsOfReport(const std::string &report, std::vector<LintResult> &findings);

    // The last publication: its job and the text it checked.
    JobTicket publishedJob();
    std::string checkedText();
    // When `shown` made the last publication: takes the findings for which `drop` holds out
    // of it (the status line counts the ignored and the hidden ones) and tells every
    // listener. False when a later publication replaced `shown`.
    enum class DropReason { Ignored, Hidden, RuleOff };
    bool dropFindings(JobTicket shown, const std::function<bool(const LintResult &)> &drop,
                      DropReason reason);
    // What an action on a finding did or why it did nothing: shown in the status line until
    // the next check ends.
    void setActionNote(const std::wstring &text);

    // A check or fix the user waits for: while one runs, the status line says so first.
    void setWorking(bool working);

    // True when `job` is the latest job. Takes the lock.
    bool isLatestJob(JobTicket job);
    // True when `job` made the latest publication, so its findings are what the listeners
    // show. Takes the lock.
    bool isLastPublished(JobTicket job);

    // The result window's status line: a note set by setStatusText (kept while the plug-in
    // runs, first), then what the latest published or failed check left. setStatusText
    // tells every listener through updateLintStatus.
    void setStatusText(const std::wstring &text);
    std::wstring statusText();
    // True from a failed check until the next published one.
    bool latestCheckFailed();

    void addLintResultModelListener(LintResultModelListener *listener);
    void removeLintResultModelListener(LintResultModelListener *listener);
    TargetMailInfo getTargetMailInfo();

    // Appends one finding per finding of the compact report, in the ANSI code page; a
    // message or rule name longer than 1023 units is cut at a character boundary. Throws
    // std::runtime_error with the failure text, keeping the findings appended before it.
    void parseLintResultInCompactFormat(std::string report);
    void clearLintResult();
    std::vector<LintResult> getLintResults();
    // Whether the weights of the current findings, or of `findings`, add up to more than
    // the threshold of the settings.
    bool isEvaluateValueOverThreshold();
    static bool isEvaluateValueOverThreshold(const std::vector<LintResult> &findings);

    // How many 100 ms waits a run grants textlint; 600 (one minute) unless a test
    // shortens it.
    void setChildWaitCount(unsigned count) { childWaitCount_ = count; }
    unsigned childWaitCount() const { return childWaitCount_; }

    // The recursive lock, for listeners and callers that must see one consistent run.
    std::recursive_mutex &mutex() { return mutex_; }

  private:
    // The text an auto-fix of the entered target returns, or nothing after a failure,
    // whose reason goes to `failure`; without a rule, the text as it is and NoRule.
    std::optional<std::string> runFix(const TargetMailInfo &target, LintFailure &failure);
    // The lines (1-based) of `masked` that hold a finding the writer chose not to see, as
    // the choices stand now: from the findings of the last publication when it checked this
    // text, else from a check of it; none when that check fails (its reason goes to
    // `failure`).
    std::optional<std::vector<std::size_t>>
    heldBackLinesOf(const std::string &masked, const TargetMailInfo &target, LintFailure &failure);
    // Calls every listener; the lock is held.
    void notifyListeners();
    void notifyStatusListeners();

    TargetMailInfo target_;
    std::vector<LintResult> findings_;
    std::vector<LintResultModelListener *> listeners_;
    void setPublishedStatus();

    std::wstring statusText_;
    std::wstring statusNote_;
    bool working_ = false;
    std::wstring actionNote_;
    std::string checkedText_;
    // The last publication's findings before those held back were left out: the whole-mail
    // fix holds back lines by the choices in force when it runs.
    std::vector<LintResult> publishedBeforeHeldBack_;
    std::size_t heldBackIgnored_ = 0;
    std::size_t heldBackHidden_ = 0;
    int publishedTime_[3] = {0, 0, 0}; // hour, minute, second
    bool latestCheckFailed_ = false;
    std::uint64_t latestJob_ = 0;
    std::uint64_t publishedJob_ = 0;
    std::uint64_t lastTicket_ = 0;
    std::recursive_mutex mutex_;
    std::atomic<unsigned> childWaitCount_{600};
};

// The process-wide engine, alive from module load to unload.
LintResultController &lintEngine();

} // namespace quill
