// A child process together with every process it starts (a batch file runs cmd.exe, which
// runs the program), held in a job object: when the owner goes, or ends it, the whole tree
// ends, and when the host process dies the system ends it too.
#pragma once

#include "common/handles.h"

#include <windows.h>

#include <optional>
#include <string>
#include <vector>

namespace quill {

// The standard handles a child gets; an empty one gets the null device. The child gets
// inheritable copies of these and inherits no other handle of ours.
struct ChildStdio {
    HANDLE input = nullptr;
    HANDLE output = nullptr;
    HANDLE error = nullptr;
};

// The step of a start that failed. Each caller turns it into its own diagnostic text.
enum class ChildStartStep {
    CreateJob,       // CreateJobObject
    LimitJob,        // SetInformationJobObject (end the tree when the job closes)
    StartsRefused,   // the plug-in is ending
    InputPipe,       // CreatePipe for the child's standard input
    OutputPipe,      // CreatePipe for the child's standard output
    NullDevice,      // CreateFile("NUL")
    InheritableCopy, // DuplicateHandle of a standard handle
    HandleList,      // the attribute list of the handles to inherit
    CreateProcess,   // CreateProcess
    AssignJob,       // AssignProcessToJobObject
    Resume,          // ResumeThread
    CloseThread,     // CloseHandle of the first thread
    PipeThreads,     // the threads that move bytes through the pipes
};

// A failed start: its step and the system's error code read right after the failing call.
struct ChildStartFailure {
    ChildStartStep step;
    DWORD code;
};

// None when the child started.
using ChildStartResult = std::optional<ChildStartFailure>;

class ChildProcess {
  public:
    ChildProcess() = default;
    ~ChildProcess() { end(); }
    ChildProcess(const ChildProcess &) = delete;
    ChildProcess &operator=(const ChildProcess &) = delete;

    // Starts `commandLine` (no application name: its first word names the program) without
    // a window, suspended until it is in a new job that ends the tree when it is closed. No
    // process is left running after a failure.
    ChildStartResult start(const std::string &commandLine, const ChildStdio &stdio);

    // The first process of the tree; null before a start and after end().
    HANDLE process() const { return process_.get(); }

    // Waits at most `milliseconds` for the first process of the tree; true once it ended.
    bool waitForExit(DWORD milliseconds) const;

    // Ends every process of the tree now and lets the job go; returns at once. The first
    // process's handle stays for waits and its exit code.
    void terminate();

    // Ends every process of the tree and waits, up to a few seconds, until they are gone,
    // so that the files they held open can be deleted. Nothing when nothing was started.
    void end();

    // The processes of the tree now; empty once it was ended.
    std::vector<DWORD> processIds() const;

  private:
    UniqueJob job_;
    UniqueHandle process_;
};

} // namespace quill
