// A child process together with every process it starts (textlint.cmd runs cmd.exe, which
// runs node.exe), held in a job object: when the owner goes, or ends it, the whole tree
// ends, and when the host process dies the system ends it too.
#pragma once

#include "common/handles.h"

#include <windows.h>

#include <mutex>
#include <string>

namespace quill {

// Held by every start of a child of ours while its handles are inheritable. Where the system
// ignores the list of handles to inherit (Wine 8 does), a child inherits every inheritable
// handle of the process: with starts one at a time, those are only its own.
std::mutex &childStartLock();

// Every job of a child tree of ours is listed while it may hold a process, so that the end
// of the plug-in can end them all at once, whichever thread waits for them.
// Lists `job`; false when starts are refused (the plug-in is ending).
bool listChildJob(HANDLE job);
void unlistChildJob(HANDLE job);
// False once starts are refused: a child put into its job after the refusal must end.
bool childStartsAllowed();
// Ends every process of every listed job now and refuses new starts; returns at once.
void endEveryChildTree();
// Allows starts again (the plug-in starts).
void allowChildStarts();

// The standard handles a child gets (inheritable or not: the child gets copies of its own).
// The child inherits these and no other handle of ours.
struct ChildStdio {
    HANDLE input = nullptr;
    HANDLE output = nullptr;
    HANDLE error = nullptr;
};

class ChildProcessTree {
  public:
    ChildProcessTree() = default;
    ~ChildProcessTree() { end(); }
    ChildProcessTree(const ChildProcessTree &) = delete;
    ChildProcessTree &operator=(const ChildProcessTree &) = delete;

    // Starts `commandLine` (no application name: its first word names the program) with a
    // hidden window, in a new job that ends the tree when it is closed. Returns null, or
    // the diagnostic text of the step that failed with the system's last error set; no
    // process is left running after a failure.
    const char *start(const std::string &commandLine, const ChildStdio &stdio);

    HANDLE process() const { return process_.get(); }
    bool running() const { return process_.valid(); }

    // Waits at most `milliseconds` for the first process of the tree; true once it ended.
    bool waitForExit(DWORD milliseconds) const;

    // Ends every process of the tree and waits, up to a few seconds, until they are gone,
    // so that the files they held open can be deleted. Nothing when nothing was started.
    void end();

  private:
    UniqueJob job_;
    UniqueHandle process_;
};

} // namespace quill
