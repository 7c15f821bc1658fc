// The piped textlint child: its job, its two pipes and the threads that move bytes through
// them, so that every wait of a caller is bounded by a deadline.
#include "lint/piped_child.h"

#include "common/system_error.h"
#include "lint/child_process.h"

#include <tlhelp32.h>

#include <algorithm>
#include <cstdlib>
#include <iterator>
#include <memory>
#include <vector>

namespace quill {

namespace {

bool failed(const char *what) {
    writeLastErrorDiagnostic(what, GetLastError());
    return false;
}

struct AttributeListDeleter {
    void operator()(LPPROC_THREAD_ATTRIBUTE_LIST list) const {
        DeleteProcThreadAttributeList(list);
        std::free(list);
    }
};
using AttributeList = std::unique_ptr<_PROC_THREAD_ATTRIBUTE_LIST, AttributeListDeleter>;

// An attribute list that restricts the inherited handles to `handles`: without it, a child
// would also inherit every inheritable handle that another thread holds at the time.
AttributeList inheritOnly(HANDLE *handles, std::size_t count) {
    SIZE_T size = 0;
    InitializeProcThreadAttributeList(nullptr, 1, 0, &size);
    auto *raw = static_cast<LPPROC_THREAD_ATTRIBUTE_LIST>(std::malloc(size));
    if (!raw)
        return nullptr;
    if (!InitializeProcThreadAttributeList(raw, 1, 0, &size)) {
        std::free(raw);
        return nullptr;
    }
    AttributeList list(raw);
    if (!UpdateProcThreadAttribute(raw, 0, PROC_THREAD_ATTRIBUTE_HANDLE_LIST, handles,
                                   count * sizeof(HANDLE), nullptr, nullptr))
        return nullptr;
    return list;
}

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

bool PipedChild::start(const std::string &commandLine, HANDLE errorOutput) {
    std::vector<char> cmd(commandLine.begin(), commandLine.end());
    cmd.push_back('\0');

    job_.reset(CreateJobObjectA(nullptr, nullptr));
    if (!job_)
        return failed("CreateJobObject(NULL, NULL) failed.");
    JOBOBJECT_EXTENDED_LIMIT_INFORMATION limits = {};
    limits.BasicLimitInformation.LimitFlags = JOB_OBJECT_LIMIT_KILL_ON_JOB_CLOSE;
    if (!SetInformationJobObject(job_.get(), JobObjectExtendedLimitInformation, &limits,
                                 sizeof(limits)))
        return failed("SetInformationJobObject(JOB_OBJECT_LIMIT_KILL_ON_JOB_CLOSE) failed.");
    if (!listChildJob(job_.get())) {
        job_.reset();
        SetLastError(ERROR_OPERATION_ABORTED);
        return failed("The plug-in is ending: textlint is not started.");
    }

    UniqueHandle childInput;
    UniqueHandle childOutput;
    UniqueHandle childError;
    {
        HANDLE read = nullptr;
        HANDLE write = nullptr;
        if (!CreatePipe(&read, &write, nullptr, 0))
            return failed("CreatePipe(standard input) failed.");
        childInput.reset(read);
        input_.reset(write);
        if (!CreatePipe(&read, &write, nullptr, 0))
            return failed("CreatePipe(standard output) failed.");
        output_.reset(read);
        childOutput.reset(write);
    }
    HANDLE error = errorOutput;
    if (!error) {
        childError.reset(CreateFileA("NUL", GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                     nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
        if (!childError)
            return failed("CreateFile(\"NUL\") failed.");
    } else {
        HANDLE copy = nullptr;
        if (!DuplicateHandle(GetCurrentProcess(), errorOutput, GetCurrentProcess(), &copy, 0, FALSE,
                             DUPLICATE_SAME_ACCESS))
            return failed("DuplicateHandle(standard error) failed.");
        childError.reset(copy);
    }

    HANDLE inherited[] = {childInput.get(), childOutput.get(), childError.get()};
    AttributeList attributes = inheritOnly(inherited, std::size(inherited));
    if (!attributes)
        return failed("UpdateProcThreadAttribute(PROC_THREAD_ATTRIBUTE_HANDLE_LIST) failed.");

    STARTUPINFOEXA si = {};
    si.StartupInfo.cb = sizeof(si);
    si.StartupInfo.dwFlags = STARTF_USESHOWWINDOW | STARTF_USESTDHANDLES;
    si.StartupInfo.wShowWindow = SW_HIDE;
    si.StartupInfo.hStdInput = childInput.get();
    si.StartupInfo.hStdOutput = childOutput.get();
    si.StartupInfo.hStdError = childError.get();
    si.lpAttributeList = attributes.get();
    PROCESS_INFORMATION pi = {};
    {
        std::lock_guard<std::mutex> lock(childStartLock());
        for (HANDLE handle : inherited)
            SetHandleInformation(handle, HANDLE_FLAG_INHERIT, HANDLE_FLAG_INHERIT);
        // Suspended until it is in the job, so nothing it starts escapes the job.
        BOOL created =
            CreateProcessA(nullptr, cmd.data(), nullptr, nullptr, TRUE,
                           CREATE_SUSPENDED | CREATE_NO_WINDOW | EXTENDED_STARTUPINFO_PRESENT,
                           nullptr, nullptr, &si.StartupInfo, &pi);
        DWORD error = GetLastError();
        childInput.reset();
        childOutput.reset();
        childError.reset();
        SetLastError(error);
        if (!created)
            return failed("CreateProcess(resident textlint) failed.");
    }
    process_.reset(pi.hProcess);
    UniqueHandle thread(pi.hThread);
    if (!AssignProcessToJobObject(job_.get(), pi.hProcess)) {
        DWORD error = GetLastError();
        TerminateProcess(pi.hProcess, 1);
        SetLastError(error);
        return failed("AssignProcessToJobObject() failed.");
    }
    // Refused after the job was listed: the end of the plug-in may have missed this child.
    if (!childStartsAllowed()) {
        terminate();
        SetLastError(ERROR_OPERATION_ABORTED);
        return failed("The plug-in is ending: textlint is not started.");
    }
    if (ResumeThread(pi.hThread) == static_cast<DWORD>(-1)) {
        terminate();
        return failed("ResumeThread() failed.");
    }
    {
        std::lock_guard<std::mutex> lock(mutex_);
        threadsRunning_ = 2;
    }
    try {
        reader_ = std::thread([this] { readOutput(); });
    } catch (...) {
        threadsRunning_ = 0;
        terminate();
        return false;
    }
    try {
        writer_ = std::thread([this] { writeInput(); });
    } catch (...) {
        threadEnded(false);
        terminate();
        return false;
    }
    return true;
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
        if (WaitForSingleObject(process_.get(), 0) == WAIT_OBJECT_0)
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
    return process_ && WaitForSingleObject(process_.get(), 0) == WAIT_TIMEOUT;
}

void PipedChild::terminate() {
    {
        std::lock_guard<std::mutex> lock(mutex_);
        terminated_ = true;
        if (job_) {
            unlistChildJob(job_.get());
            TerminateJobObject(job_.get(), 1);
        }
        job_.reset();
    }
    changed_.notify_all();
}

std::vector<DWORD> PipedChild::processIds() const {
    std::lock_guard<std::mutex> lock(mutex_);
    std::vector<DWORD> ids;
    if (!job_)
        return ids;
    // Room for a few dozen processes; the tree holds the interpreter and node.
    struct {
        JOBOBJECT_BASIC_PROCESS_ID_LIST list;
        ULONG_PTR more[63];
    } info = {};
    info.list.NumberOfAssignedProcesses = 64;
    if (QueryInformationJobObject(job_.get(), JobObjectBasicProcessIdList, &info, sizeof(info),
                                  nullptr))
        for (DWORD i = 0; i < info.list.NumberOfProcessIdsInList && i < 64; ++i)
            ids.push_back(static_cast<DWORD>(info.list.ProcessIdList[i]));
    // Where the job lists fewer than it holds (Wine), the tree under the child adds the rest.
    UniqueHandle snapshot(CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0));
    if (!snapshot)
        return ids;
    std::vector<std::pair<DWORD, DWORD>> parents; // (process, parent)
    PROCESSENTRY32 entry = {};
    entry.dwSize = sizeof(entry);
    for (BOOL more = Process32First(snapshot.get(), &entry); more;
         more = Process32Next(snapshot.get(), &entry))
        parents.emplace_back(entry.th32ProcessID, entry.th32ParentProcessID);
    DWORD root = GetProcessId(process_.get());
    if (std::find(ids.begin(), ids.end(), root) == ids.end())
        ids.push_back(root);
    for (std::size_t i = 0; i < ids.size() && ids.size() < 64; ++i)
        for (const auto &[process, parent] : parents)
            if (parent == ids[i] && process != ids[i] &&
                std::find(ids.begin(), ids.end(), process) == ids.end())
                ids.push_back(process);
    return ids;
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
