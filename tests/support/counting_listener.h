// A listener of the lint engine that counts its publications, for tests that wait for one
// or check how many there were; it can keep what the engine held at each and run a step
// of the test's own on the publishing thread.
#pragma once

#include "lint/lint_result_controller.h"

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <functional>
#include <mutex>
#include <utility>
#include <vector>

namespace quill::test {

class CountingListener : public LintResultModelListener {
  public:
    CountingListener() = default;
    // Keeps the results `engine` holds at each publication in `seen`.
    explicit CountingListener(LintResultController &engine) : engine_(&engine) {}
    // Calls `onUpdate` at each publication, after counting it.
    explicit CountingListener(std::function<void()> onUpdate) : onUpdate_(std::move(onUpdate)) {}

    void updateLintResult() override {
        {
            std::lock_guard<std::mutex> lock(mutex_);
            ++calls;
            if (engine_ != nullptr)
                seen = engine_->getLintResults();
        }
        if (onUpdate_)
            onUpdate_();
        changed_.notify_all();
    }
    // Waits up to `timeoutMs` until `n` publications were counted; true when they were.
    bool waitForCalls(int n, unsigned timeoutMs) {
        std::unique_lock<std::mutex> lock(mutex_);
        return changed_.wait_for(lock, std::chrono::milliseconds(timeoutMs),
                                 [&] { return calls >= n; });
    }

    std::atomic<int> calls{0};
    std::vector<LintResult> seen;

  private:
    LintResultController *engine_ = nullptr;
    std::function<void()> onUpdate_;
    std::mutex mutex_;
    std::condition_variable changed_;
};

} // namespace quill::test
