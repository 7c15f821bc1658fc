// What the lint engine tells after each published check run and each change of the status
// line.
#pragma once

namespace quill {

class LintResultModelListener {
  public:
    virtual ~LintResultModelListener() = default;
    // Called on the publishing thread with the engine's lock held.
    virtual void updateLintResult() = 0;
    // Called when the status line changed without a publication (a failed check, a note),
    // on the thread that changed it, with the engine's lock held.
    virtual void updateLintStatus() {}
};

} // namespace quill
