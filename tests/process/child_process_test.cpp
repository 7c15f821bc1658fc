// Children started through the process layer: the whole tree ends with its job, a child
// inherits only its own standard handles, a failed start names its step and error code,
// and a pipe read that the child never answers ends with the deadline or the child.
#include "process/child_process.h"
#include "process/piped_child.h"
#include "tests/support/child_processes.h"

#include <gtest/gtest.h>

#include <chrono>

namespace quill {
namespace {

using Clock = std::chrono::steady_clock;
using std::chrono::seconds;

std::string interpreter() {
    char dir[MAX_PATH];
    UINT n = GetSystemDirectoryA(dir, MAX_PATH);
    return std::string(dir, n) + "\\cmd.exe";
}

// cmd.exe running ping.exe for about a minute: a tree of two that writes nothing.
std::string longTree() {
    return "\"" + interpreter() + "\" /c ping -n 60 127.0.0.1 >nul";
}

// Waits up to ten seconds until this program's descendants include `name`.
bool waitForDescendant(const std::string &name) {
    const Clock::time_point until = Clock::now() + seconds(10);
    while (!test::containsName(test::descendantProcessNames(), name))
        if (Clock::now() >= until)
            return false;
        else
            Sleep(20);
    return true;
}

TEST(ChildProcess, WholeTreeEndsWithTheJob) {
    {
        ChildProcess child;
        ASSERT_FALSE(child.start(longTree(), {}));
        ASSERT_TRUE(waitForDescendant("ping.exe"));
        EXPECT_GE(child.processIds().size(), 2u);
        child.end();
        EXPECT_EQ(std::vector<std::string>{}, test::descendantProcessNames());
        EXPECT_TRUE(child.processIds().empty());
    }
    // Ended the quick way, as a pipe reader is, and by letting the owner go.
    {
        PipedChild child(1024);
        ASSERT_FALSE(child.start(longTree(), nullptr));
        ASSERT_TRUE(waitForDescendant("ping.exe"));
        child.terminate();
        EXPECT_FALSE(child.nextLine(Clock::now() + seconds(10)));
    }
    const Clock::time_point until = Clock::now() + seconds(10);
    while (!test::descendantProcessNames().empty() && Clock::now() < until)
        Sleep(20);
    EXPECT_EQ(std::vector<std::string>{}, test::descendantProcessNames());
}

// A child that starts while another one runs gets none of the other's pipe ends: the
// first one's output ends with the first one.
TEST(ChildProcess, InheritsOnlyItsOwnStandardHandles) {
    PipedChild first(1024);
    ASSERT_FALSE(
        first.start("\"" + interpreter() + "\" /c ping -n 2 127.0.0.1 >nul & echo one", nullptr));
    ChildProcess second;
    ASSERT_FALSE(second.start(longTree(), {}));
    std::optional<std::string> output = first.readToEnd(Clock::now() + seconds(30));
    ASSERT_TRUE(output);
    EXPECT_EQ(output->substr(0, 3), "one");
    EXPECT_TRUE(second.processIds().size() >= 1u);
}

TEST(ChildProcess, FailedStartNamesItsStepAndTheSystemsCode) {
    ChildProcess child;
    ChildStartResult failed = child.start("Z:\\nowhere\\missing-program.exe", {});
    ASSERT_TRUE(failed);
    EXPECT_EQ(failed->step, ChildStartStep::CreateProcess);
    EXPECT_TRUE(failed->code == ERROR_FILE_NOT_FOUND || failed->code == ERROR_PATH_NOT_FOUND)
        << failed->code;
    EXPECT_EQ(child.process(), nullptr);
}

// A read the child never answers ends at the deadline, and the owner's end does not wait
// for the child's minute.
TEST(PipedChild, BlockedReadEndsAtTheDeadlineAndWithTheOwner) {
    const Clock::time_point before = Clock::now();
    {
        PipedChild child(1024);
        ASSERT_FALSE(child.start(longTree(), nullptr));
        child.send("unread\n");
        EXPECT_FALSE(child.nextLine(Clock::now() + std::chrono::milliseconds(300)));
        EXPECT_TRUE(child.running());
    }
    EXPECT_LT(Clock::now() - before, seconds(30));
    EXPECT_EQ(std::vector<std::string>{}, test::descendantProcessNames());
}

} // namespace
} // namespace quill
