// A child with pipes for its standard input and output, and the threads that move bytes
// through them, so that every wait of a caller is bounded by a deadline. The child runs in a
// job of its own that ends the whole tree when the owner lets it go.
#pragma once

#include "common/handles.h"
#include "process/child_process.h"
#include "process/line_framer.h"

#include <windows.h>

#include <chrono>
#include <condition_variable>
#include <deque>
#include <mutex>
#include <optional>
#include <string>
#include <thread>
#include <vector>

namespace quill {

class PipedChild {
  public:
    using Clock = std::chrono::steady_clock;

    // Lines longer than `maxLineBytes` spoil the output (see LineFramer).
    explicit PipedChild(std::size_t maxLineBytes);
    // Ends the tree, cancels a read or write still blocked, and waits for the pipe threads.
    ~PipedChild();
    PipedChild(const PipedChild &) = delete;
    PipedChild &operator=(const PipedChild &) = delete;

    // Starts `commandLine` as ChildProcess does. The child inherits exactly its two pipe
    // ends and `errorOutput` (the null device when null) as standard error.
    ChildStartResult start(const std::string &commandLine, HANDLE errorOutput);

    // Queues `bytes` for the child's standard input; a writer thread hands them over, so a
    // child that stops reading never holds up the caller.
    void send(std::string bytes);

    // The next line of the child's output, waiting until `deadline` at most. None when the
    // deadline passed, the output ended or was spoilt, or the child has ended or was ended.
    std::optional<std::string> nextLine(Clock::time_point deadline);

    // Everything the child writes until its output ends, lines joined by LF; none when the
    // deadline passes first, a line was spoilt or the child was ended.
    std::optional<std::string> readToEnd(Clock::time_point deadline);

    // Whether the child's first process is still running.
    bool running() const;

    // Ends every process of the tree now and wakes every wait on it; any thread may call it.
    void terminate();

    // The processes of the tree now; empty once it was ended.
    std::vector<DWORD> processIds() const;

  private:
    void readOutput();
    void writeInput();
    void threadEnded(bool reader);
    void cancelBlockedIo();

    ChildProcess child_;  // its job under mutex_ once the child runs
    UniqueHandle input_;  // our end of the child's standard input
    UniqueHandle output_; // our end of the child's standard output
    std::thread reader_;
    std::thread writer_;

    mutable std::mutex mutex_;
    std::condition_variable changed_;
    LineFramer framer_;
    bool outputEnded_ = false;
    std::deque<std::string> toSend_;
    bool stopping_ = false;
    bool terminated_ = false;
    // The pipe threads while they run, as handles their blocked I/O can be cancelled by.
    UniqueHandle readerThread_;
    UniqueHandle writerThread_;
    int threadsRunning_ = 0;
};

} // namespace quill
