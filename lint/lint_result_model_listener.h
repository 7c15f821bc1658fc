// What the lint engine tells after each published check run.
#pragma once

namespace quill {

class LintResultModelListener {
  public:
    virtual ~LintResultModelListener() = default;
    // Called on the publishing thread with the engine's lock held.
    virtual void updateLintResult() = 0;
};

} // namespace quill
