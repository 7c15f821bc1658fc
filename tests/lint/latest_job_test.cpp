// The latest-job rule with real threads, listener registration, and listeners that call
// back into the engine while it notifies them.
#include "lint/lint_result_controller.h"
#include "tests/support/counting_listener.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <future>
#include <string>
#include <thread>

namespace quill {
namespace {

using test::CountingListener;

std::string reportOf(const std::string &rule) {
    return "C:\\T\\a.txt: line 1, col 1, Error - x (" + rule + ")\n\n1 problem\n";
}

std::string ruleOf(LintResultController &engine) {
    std::vector<LintResult> findings = engine.getLintResults();
    return findings.size() == 1 ? findings[0].ruleName
                                : "<" + std::to_string(findings.size()) + ">";
}

bool published(const CheckOutcome &outcome) {
    return outcome.publication == Publication::Published;
}

TargetMailInfo targetWithSubject(const std::string &subject) {
    return TargetMailInfo(1, MIME_TEXT_PLAIN, "from", subject, "text\n");
}

// Runs `job` on a thread of its own; a job that hangs (a deadlock) ends the whole program
// rather than the test run.
bool runJobThread(const std::function<bool()> &job) {
    std::packaged_task<bool()> task(job);
    std::future<bool> result = task.get_future();
    std::thread thread(std::move(task));
    if (result.wait_for(std::chrono::seconds(10)) != std::future_status::ready) {
        std::fprintf(stderr, "job thread did not finish: deadlock\n");
        std::_Exit(3);
    }
    thread.join();
    return result.get();
}

TEST(LatestJob, AnEarlierJobThatFinishesLaterPublishesNothing) {
    LintResultController engine;
    CountingListener listener;
    engine.addLintResultModelListener(&listener);
    std::promise<void> earlierEntered;
    std::promise<void> laterEntered;
    std::promise<void> laterPublished;
    std::thread earlier([&] {
        JobTicket job = engine.enterJob(targetWithSubject("A"));
        earlierEntered.set_value();
        laterEntered.get_future().wait();
        laterPublished.get_future().wait();
        EXPECT_FALSE(engine.isLatestJob(job));
        CheckOutcome outcome = engine.publishReport(job, reportOf("from-A"));
        EXPECT_EQ(outcome.publication, Publication::Superseded);
        // The run keeps its own findings for a caller that weighs them.
        ASSERT_EQ(outcome.findings.size(), 1u);
        EXPECT_EQ(outcome.findings[0].ruleName, "from-A");
    });
    std::thread later([&] {
        earlierEntered.get_future().wait();
        JobTicket job = engine.enterJob(targetWithSubject("B"));
        laterEntered.set_value();
        EXPECT_EQ(engine.publishReport(job, reportOf("from-B")).publication,
                  Publication::Published);
        laterPublished.set_value();
    });
    later.join();
    earlier.join();
    EXPECT_EQ(ruleOf(engine), "from-B");
    EXPECT_EQ(engine.getTargetMailInfo().getSubject(), "B");
    EXPECT_EQ(listener.calls, 1);
}

TEST(LatestJob, AJobDoneBeforeTheNextEntersIsPublishedThenReplaced) {
    LintResultController engine;
    CountingListener listener;
    engine.addLintResultModelListener(&listener);
    runJobThread([&] {
        JobTicket job = engine.enterJob(targetWithSubject("A"));
        return published(engine.publishReport(job, reportOf("from-A")));
    });
    EXPECT_EQ(ruleOf(engine), "from-A");
    runJobThread([&] {
        JobTicket job = engine.enterJob(targetWithSubject("B"));
        return published(engine.publishReport(job, reportOf("from-B")));
    });
    EXPECT_EQ(ruleOf(engine), "from-B");
    EXPECT_EQ(listener.calls, 2);
}

TEST(LatestJob, AJobThatNeverEnteredDoesNotPublish) {
    LintResultController engine;
    EXPECT_EQ(engine.publishReport(JobTicket{}, reportOf("stray")).publication,
              Publication::Superseded);
    EXPECT_TRUE(engine.getLintResults().empty());
}

// The job belongs to whoever entered it, not to a thread: a job entered on one thread and
// run on another publishes, and a later job entered on the same thread supersedes it.
TEST(LatestJob, IdentityIsTheJobsNotTheThreads) {
    LintResultController engine;
    JobTicket first = engine.enterJob(targetWithSubject("A"));
    EXPECT_TRUE(
        runJobThread([&] { return published(engine.publishReport(first, reportOf("A"))); }));
    JobTicket second = engine.enterJob(targetWithSubject("B"));
    EXPECT_FALSE(engine.isLatestJob(first));
    EXPECT_FALSE(published(engine.publishReport(first, reportOf("late-A"))));
    EXPECT_TRUE(published(engine.publishReport(second, reportOf("B"))));
    EXPECT_EQ(ruleOf(engine), "B");
}

TEST(LatestJob, AFailedParseKeepsItsEarlierFindingsAndNotifiesNobody) {
    LintResultController engine;
    CountingListener listener;
    engine.addLintResultModelListener(&listener);
    JobTicket job = engine.enterJob(targetWithSubject("A"));
    ASSERT_TRUE(published(engine.publishReport(job, reportOf("old"))));
    EXPECT_EQ(engine.publishReport(job, reportOf("kept") + "C:\\T\\a.txt: a: b (r)\n").publication,
              Publication::Failed);
    EXPECT_EQ(ruleOf(engine), "kept");
    EXPECT_EQ(listener.calls, 1);
}

TEST(Listeners, RegisteredTwiceIsCalledTwiceAndRemovedOnce) {
    LintResultController engine;
    CountingListener twice;
    CountingListener once;
    engine.addLintResultModelListener(&twice);
    engine.addLintResultModelListener(&once);
    engine.addLintResultModelListener(&twice);
    JobTicket job = engine.enterJob(targetWithSubject("A"));
    engine.publishReport(job, reportOf("r"));
    EXPECT_EQ(twice.calls, 2);
    EXPECT_EQ(once.calls, 1);
    engine.removeLintResultModelListener(&twice);
    engine.publishReport(job, reportOf("r"));
    EXPECT_EQ(twice.calls, 2);
    EXPECT_EQ(once.calls, 2);
}

TEST(Listeners, ReadTheEngineFromAWorkerThreadWithoutDeadlock) {
    LintResultController engine;
    std::string seenSubject;
    std::string seenRule;
    CountingListener reader([&] {
        seenSubject = engine.getTargetMailInfo().getSubject();
        seenRule = ruleOf(engine);
        engine.isLatestJob(JobTicket{});
    });
    engine.addLintResultModelListener(&reader);
    EXPECT_TRUE(runJobThread([&] {
        JobTicket job = engine.enterJob(targetWithSubject("subject of B"));
        return published(engine.publishReport(job, reportOf("rule-B")));
    }));
    EXPECT_EQ(seenSubject, "subject of B");
    EXPECT_EQ(seenRule, "rule-B");
    // Another thread is let in again once the publication is over.
    EXPECT_EQ(engine.getLintResults().size(), 1u);
}

TEST(Listeners, RemovingAnotherDuringTheNotificationSkipsIt) {
    LintResultController engine;
    CountingListener second;
    CountingListener first([&] { engine.removeLintResultModelListener(&second); });
    engine.addLintResultModelListener(&first);
    engine.addLintResultModelListener(&second);
    JobTicket job = engine.enterJob(targetWithSubject("A"));
    EXPECT_TRUE(published(engine.publishReport(job, reportOf("r"))));
    EXPECT_EQ(first.calls, 1);
    EXPECT_EQ(second.calls, 0);
}

} // namespace
} // namespace quill
