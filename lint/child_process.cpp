// The child process tree in a job object.
#include "lint/child_process.h"

#include "lint/lint_failure_texts.h"

#include <algorithm>
#include <iterator>
#include <memory>
#include <mutex>
#include <vector>

namespace quill {

namespace {

const char CREATE_JOB_FAILED[] = "CreateJobObject() failed.";
const char HANDLE_LIST_FAILED[] =
    "UpdateProcThreadAttribute(PROC_THREAD_ATTRIBUTE_HANDLE_LIST) failed.";
const char DUPLICATE_FAILED[] = "DuplicateHandle(standard handle of the child) failed.";
const char ASSIGN_JOB_FAILED[] = "AssignProcessToJobObject() failed.";
const char RESUME_FAILED[] = "ResumeThread(pi.hThread) failed.";
const char STARTS_REFUSED[] = "The plug-in is ending: textlint is not started.";

// Long enough for Wine to take a killed cmd.exe/node.exe pair down; the wait is only spent
// when something had to be killed.
constexpr DWORD END_WAIT_MS = 5000;

// The attribute list that restricts inheritance to `handles`.
class InheritedHandles {
  public:
    bool init(const std::vector<HANDLE> &handles) {
        handles_ = handles;
        SIZE_T size = 0;
        InitializeProcThreadAttributeList(nullptr, 1, 0, &size);
        buffer_.reset(new (std::nothrow) char[size]);
        if (!buffer_)
            return false;
        auto *list = reinterpret_cast<LPPROC_THREAD_ATTRIBUTE_LIST>(buffer_.get());
        if (!InitializeProcThreadAttributeList(list, 1, 0, &size))
            return false;
        list_ = list;
        return UpdateProcThreadAttribute(list_, 0, PROC_THREAD_ATTRIBUTE_HANDLE_LIST,
                                         handles_.data(), handles_.size() * sizeof(HANDLE), nullptr,
                                         nullptr) != FALSE;
    }
    ~InheritedHandles() {
        if (list_)
            DeleteProcThreadAttributeList(list_);
    }
    LPPROC_THREAD_ATTRIBUTE_LIST list() const { return list_; }

  private:
    std::vector<HANDLE> handles_; // must outlive the list
    std::unique_ptr<char[]> buffer_;
    LPPROC_THREAD_ATTRIBUTE_LIST list_ = nullptr;
};

// Inheritable copies of the standard handles of one child, one per distinct handle (the
// system refuses a list that names a handle twice), closed again when the start is over.
class InheritableCopies {
  public:
    bool make(ChildStdio &stdio) {
        for (HANDLE *slot : {&stdio.input, &stdio.output, &stdio.error}) {
            if (*slot == nullptr || *slot == INVALID_HANDLE_VALUE)
                continue;
            std::size_t i = 0;
            while (i < originals_.size() && originals_[i] != *slot)
                ++i;
            if (i == originals_.size()) {
                HANDLE copy = nullptr;
                if (!DuplicateHandle(GetCurrentProcess(), *slot, GetCurrentProcess(), &copy, 0,
                                     TRUE, DUPLICATE_SAME_ACCESS))
                    return false;
                originals_.push_back(*slot);
                copies_.emplace_back(copy);
                raw_.push_back(copy);
            }
            *slot = raw_[i];
        }
        return true;
    }
    const std::vector<HANDLE> &handles() const { return raw_; }

  private:
    std::vector<HANDLE> originals_;
    std::vector<UniqueHandle> copies_;
    std::vector<HANDLE> raw_;
};

} // namespace

std::mutex &childStartLock() {
    static std::mutex lock;
    return lock;
}

namespace {

struct ChildJobs {
    std::mutex mutex;
    std::vector<HANDLE> jobs;
    bool refused = false;
};

ChildJobs &childJobs() {
    static ChildJobs jobs;
    return jobs;
}

} // namespace

bool listChildJob(HANDLE job) {
    ChildJobs &list = childJobs();
    std::lock_guard<std::mutex> lock(list.mutex);
    if (list.refused)
        return false;
    list.jobs.push_back(job);
    return true;
}

void unlistChildJob(HANDLE job) {
    ChildJobs &list = childJobs();
    std::lock_guard<std::mutex> lock(list.mutex);
    list.jobs.erase(std::remove(list.jobs.begin(), list.jobs.end(), job), list.jobs.end());
}

bool childStartsAllowed() {
    ChildJobs &list = childJobs();
    std::lock_guard<std::mutex> lock(list.mutex);
    return !list.refused;
}

void endEveryChildTree() {
    ChildJobs &list = childJobs();
    std::lock_guard<std::mutex> lock(list.mutex);
    list.refused = true;
    // Still open: a job leaves the list before its owner closes it.
    for (HANDLE job : list.jobs)
        TerminateJobObject(job, 1);
}

void allowChildStarts() {
    ChildJobs &list = childJobs();
    std::lock_guard<std::mutex> lock(list.mutex);
    list.refused = false;
}

const char *ChildProcessTree::start(const std::string &commandLine, const ChildStdio &stdio) {
    end();
    std::vector<char> cmd(commandLine.begin(), commandLine.end());
    cmd.push_back('\0');

    UniqueJob job(CreateJobObjectA(nullptr, nullptr));
    if (!job)
        return CREATE_JOB_FAILED;
    JOBOBJECT_EXTENDED_LIMIT_INFORMATION limits = {};
    limits.BasicLimitInformation.LimitFlags = JOB_OBJECT_LIMIT_KILL_ON_JOB_CLOSE;
    if (!SetInformationJobObject(job.get(), JobObjectExtendedLimitInformation, &limits,
                                 sizeof(limits)))
        return CREATE_JOB_FAILED;
    if (!listChildJob(job.get())) {
        SetLastError(ERROR_OPERATION_ABORTED);
        return STARTS_REFUSED;
    }
    // Unlisted again unless the tree starts and this object owns the job.
    struct Unlist {
        HANDLE job;
        ~Unlist() {
            if (job)
                unlistChildJob(job);
        }
    } unlist{job.get()};

    std::lock_guard<std::mutex> lock(childStartLock());
    ChildStdio childStdio = stdio;
    InheritableCopies copies;
    if (!copies.make(childStdio))
        return DUPLICATE_FAILED;
    InheritedHandles inherited;
    if (!inherited.init(copies.handles()))
        return HANDLE_LIST_FAILED;

    STARTUPINFOEXA si = {};
    si.StartupInfo.cb = sizeof(si);
    si.StartupInfo.dwFlags = STARTF_USESHOWWINDOW | STARTF_USESTDHANDLES;
    si.StartupInfo.wShowWindow = SW_HIDE;
    si.StartupInfo.hStdInput = childStdio.input;
    si.StartupInfo.hStdOutput = childStdio.output;
    si.StartupInfo.hStdError = childStdio.error;
    si.lpAttributeList = inherited.list();
    // Suspended until it is in the job, so that nothing it starts escapes the job.
    PROCESS_INFORMATION pi = {};
    if (!CreateProcessA(nullptr, cmd.data(), nullptr, nullptr, TRUE,
                        CREATE_SUSPENDED | EXTENDED_STARTUPINFO_PRESENT, nullptr, nullptr,
                        &si.StartupInfo, &pi))
        return lint_text::CREATE_PROCESS_FAILED;
    UniqueHandle process(pi.hProcess);
    UniqueHandle thread(pi.hThread);
    if (!AssignProcessToJobObject(job.get(), process.get())) {
        DWORD code = GetLastError();
        TerminateProcess(process.get(), 1);
        SetLastError(code);
        return ASSIGN_JOB_FAILED;
    }
    job_ = std::move(job);
    unlist.job = nullptr;
    process_ = std::move(process);
    // Refused after the job was listed: the end of the plug-in may have missed this child.
    if (!childStartsAllowed()) {
        end();
        SetLastError(ERROR_OPERATION_ABORTED);
        return STARTS_REFUSED;
    }
    if (ResumeThread(thread.get()) == static_cast<DWORD>(-1)) {
        DWORD code = GetLastError();
        end();
        SetLastError(code);
        return RESUME_FAILED;
    }
    if (!thread.reset()) {
        DWORD code = GetLastError();
        end();
        SetLastError(code);
        return lint_text::CLOSE_THREAD_FAILED;
    }
    return nullptr;
}

bool ChildProcessTree::waitForExit(DWORD milliseconds) const {
    return process_.valid() && WaitForSingleObject(process_.get(), milliseconds) == WAIT_OBJECT_0;
}

void ChildProcessTree::end() {
    if (!job_)
        return;
    DWORD code = GetLastError();
    unlistChildJob(job_.get());
    TerminateJobObject(job_.get(), 1);
    // First the process we started, then whatever it started: the job counts the
    // processes still alive in it (where it does not, the first one's end must do).
    const ULONGLONG deadline = GetTickCount64() + END_WAIT_MS;
    waitForExit(END_WAIT_MS);
    for (;;) {
        JOBOBJECT_BASIC_ACCOUNTING_INFORMATION info = {};
        if (!QueryInformationJobObject(job_.get(), JobObjectBasicAccountingInformation, &info,
                                       sizeof(info), nullptr) ||
            info.ActiveProcesses == 0 || GetTickCount64() >= deadline)
            break;
        Sleep(10);
    }
    job_.reset();
    process_.reset();
    SetLastError(code);
}

} // namespace quill
