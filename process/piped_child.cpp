// The piped child: its two pipes and the threads that move bytes through them.
#include "process/piped_child.h"

#include <algorithm>
#include <iterator>

namespace quill {

namespace {

// The calling thread's own handle, by which its blocked I/O can be cancelled.
HANDLE currentThreadHandle() {
    HANDLE self = nullptr;
    DuplicateHandle(GetCurrentProcess(), GetCurrentThread(), GetCurrentProcess(), &self, 0, FALSE,
                    DUPLICATE_SAME_ACCESS);
    return self;
}

} // namespace

PipedChild::PipedChild(std::size_t maxLineBytes) : framer_(maxLineBytes) {}

PipedChild::~PipedChild() {
    terminate();
    {
        std::lock_guard<std::mutex> lock(mutex_);
        stopping_ = true;
    }
    changed_.notify_all();
    cancelBlockedIo();
    if (writer_.joinable())
        writer_.join();
    if (reader_.joinable())
        reader_.join();
}

// The ended child's pipes normally release both threads at once; a read or write that
// stays blocked anyway is cancelled. Again and again, for a bounded time: a cancel reaches
// only a call already under way.
void PipedChild::cancelBlockedIo() {
    Clock::time_point until = Clock::now() + std::chrono::seconds(2);
    std::unique_lock<std::mutex> lock(mutex_);
    while (threadsRunning_ > 0 && Clock::now() < until) {
        for (HANDLE pipe : {output_.get(), input_.get()})
            if (pipe)
                CancelIoEx(pipe, nullptr);
        for (HANDLE thread : {readerThread_.get(), writerThread_.get()})
            if (thread)
                CancelSynchronousIo(thread);
        changed_.wait_for(lock, std::chrono::milliseconds(20));
    }
}

void PipedChild::threadEnded(bool reader) {
    {
        std::lock_guard<std::mutex> lock(mutex_);
        (reader ? readerThread_ : writerThread_).reset();
        --threadsRunning_;
        if (reader)
            outputEnded_ = true;
    }
    changed_.notify_all();
}

ChildStartResult PipedChild::start(const std::string &commandLine, HANDLE errorOutput) {
    UniqueHandle childInput;
    UniqueHandle childOutput;
    {
        HANDLE read = nullptr;
        HANDLE write = nullptr;
        if (!CreatePipe(&read, &write, nullptr, 0))
            return ChildStartFailure{ChildStartStep::InputPipe, GetLastError()};
        childInput.reset(read);
        input_.reset(write);
        if (!CreatePipe(&read, &write, nullptr, 0))
            return ChildStartFailure{ChildStartStep::OutputPipe, GetLastError()};
        output_.reset(read);
        childOutput.reset(write);
    }
    {
        std::lock_guard<std::mutex> lock(mutex_);
        if (ChildStartResult failed =
                child_.start(commandLine, {childInput.get(), childOutput.get(), errorOutput}))
            return failed;
        threadsRunning_ = 2;
    }
    // Only the child holds its pipe ends now: its end ends our reads and writes.
    childInput.reset();
    childOutput.reset();
    try {
        reader_ = std::thread([this] { readOutput(); });
    } catch (...) {
        threadEnded(true);
        threadEnded(false);
        terminate();
        return ChildStartFailure{ChildStartStep::PipeThreads, ERROR_NOT_ENOUGH_MEMORY};
    }
    try {
        writer_ = std::thread([this] { writeInput(); });
    } catch (...) {
        threadEnded(false);
        terminate();
        return ChildStartFailure{ChildStartStep::PipeThreads, ERROR_NOT_ENOUGH_MEMORY};
    }
    return std::nullopt;
}

void PipedChild::send(std::string bytes) {
    {
        std::lock_guard<std::mutex> lock(mutex_);
        toSend_.push_back(std::move(bytes));
    }
    changed_.notify_all();
}

std::optional<std::string> PipedChild::nextLine(Clock::time_point deadline) {
    std::unique_lock<std::mutex> lock(mutex_);
    for (;;) {
        if (std::optional<std::string> line = framer_.nextLine())
            return line;
        if (outputEnded_ || terminated_ || framer_.overflowed() || Clock::now() >= deadline)
            return std::nullopt;
        // The process handle is looked at too: a pipe end that some other child inherited
        // would keep the output open after the server died.
        if (child_.waitForExit(0))
            return std::nullopt;
        changed_.wait_until(lock, std::min(deadline, Clock::now() + std::chrono::milliseconds(50)));
    }
}

std::optional<std::string> PipedChild::readToEnd(Clock::time_point deadline) {
    std::string all;
    std::unique_lock<std::mutex> lock(mutex_);
    for (;;) {
        while (std::optional<std::string> line = framer_.nextLine()) {
            all += *line;
            all += '\n';
        }
        if (framer_.overflowed() || terminated_)
            return std::nullopt;
        if (outputEnded_) {
            // A last line without its LF.
            framer_.append("\n");
            if (std::optional<std::string> line = framer_.nextLine())
                all += *line;
            return all;
        }
        if (Clock::now() >= deadline)
            return std::nullopt;
        changed_.wait_until(lock, deadline);
    }
}

bool PipedChild::running() const {
    return child_.process() && WaitForSingleObject(child_.process(), 0) == WAIT_TIMEOUT;
}

void PipedChild::terminate() {
    {
        std::lock_guard<std::mutex> lock(mutex_);
        terminated_ = true;
        child_.terminate();
    }
    changed_.notify_all();
}

std::vector<DWORD> PipedChild::processIds() const {
    std::lock_guard<std::mutex> lock(mutex_);
    return child_.processIds();
}

// Nothing may leave a pipe thread: whatever fails there (an allocation while a line grows)
// ends the child, and the caller's wait ends with it.
void PipedChild::readOutput() {
    {
        std::lock_guard<std::mutex> lock(mutex_);
        readerThread_.reset(currentThreadHandle());
    }
    try {
        char buffer[4096];
        for (;;) {
            DWORD got = 0;
            if (!ReadFile(output_.get(), buffer, static_cast<DWORD>(std::size(buffer)), &got,
                          nullptr) ||
                got == 0)
                break;
            {
                std::lock_guard<std::mutex> lock(mutex_);
                framer_.append(std::string_view(buffer, got));
            }
            changed_.notify_all();
        }
    } catch (...) {
        terminate();
    }
    threadEnded(true);
}

void PipedChild::writeInput() {
    {
        std::lock_guard<std::mutex> lock(mutex_);
        writerThread_.reset(currentThreadHandle());
    }
    try {
        for (;;) {
            std::string bytes;
            {
                std::unique_lock<std::mutex> lock(mutex_);
                changed_.wait(lock, [this] { return stopping_ || !toSend_.empty(); });
                if (stopping_)
                    break;
                bytes = std::move(toSend_.front());
                toSend_.pop_front();
            }
            std::size_t at = 0;
            bool broken = false;
            while (at < bytes.size() && !broken) {
                DWORD written = 0;
                DWORD chunk = static_cast<DWORD>(std::min<std::size_t>(bytes.size() - at, 1 << 16));
                broken = !WriteFile(input_.get(), bytes.data() + at, chunk, &written, nullptr) ||
                         written == 0;
                at += written;
            }
            if (broken)
                break; // the child is gone; the reader notices its end
        }
    } catch (...) {
        terminate();
    }
    threadEnded(false);
}

} // namespace quill
