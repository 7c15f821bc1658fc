// The child process tree in a job object: the start, the inherited handles, the end.
#include "process/child_process.h"

#include "process/child_jobs.h"

#include <tlhelp32.h>

#include <algorithm>
#include <memory>
#include <mutex>
#include <new>
#include <utility>

namespace quill {

namespace {

// Long enough for Wine to take a killed cmd.exe/node.exe pair down; the wait is only spent
// when something had to be killed.
constexpr DWORD END_WAIT_MS = 5000;
// Room for a few dozen processes in one query of the job.
constexpr DWORD MAX_LISTED_PROCESSES = 64;

// Held by every start while handles of ours are inheritable. Where the system ignores the
// list of handles to inherit (Wine 8 does), a child inherits every inheritable handle of the
// process: with starts one at a time, those are only its own.
std::mutex &startLock() {
    static std::mutex lock;
    return lock;
}

ChildStartFailure failure(ChildStartStep step, DWORD code = GetLastError()) {
    return {step, code};
}

// The null device, for reading and writing, not inheritable.
UniqueHandle openNullDevice() {
    return UniqueHandle(CreateFileA("NUL", GENERIC_READ | GENERIC_WRITE,
                                    FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                                    FILE_ATTRIBUTE_NORMAL, nullptr));
}

// Inheritable copies of a child's standard handles, one per distinct handle (the system
// refuses a list that names a handle twice), and the attribute list that restricts
// inheritance to them. Both go with the owner.
class InheritList {
  public:
    InheritList() = default;
    ~InheritList() {
        if (list_)
            DeleteProcThreadAttributeList(list_);
    }
    InheritList(const InheritList &) = delete;
    InheritList &operator=(const InheritList &) = delete;

    // Replaces each handle of `stdio` by its inheritable copy.
    bool copy(ChildStdio &stdio) {
        for (HANDLE *slot : {&stdio.input, &stdio.output, &stdio.error}) {
            const auto found = std::find(originals_.begin(), originals_.end(), *slot);
            const std::size_t i = static_cast<std::size_t>(found - originals_.begin());
            if (i == originals_.size()) {
                HANDLE copy = nullptr;
                if (!DuplicateHandle(GetCurrentProcess(), *slot, GetCurrentProcess(), &copy, 0,
                                     TRUE, DUPLICATE_SAME_ACCESS))
                    return false;
                originals_.push_back(*slot);
                copies_.emplace_back(copy);
                handles_.push_back(copy);
            }
            *slot = handles_[i];
        }
        return true;
    }

    // Builds the attribute list over the copies.
    bool build() {
        SIZE_T size = 0;
        InitializeProcThreadAttributeList(nullptr, 1, 0, &size);
        buffer_.reset(new (std::nothrow) unsigned char[size]);
        if (!buffer_) {
            SetLastError(ERROR_NOT_ENOUGH_MEMORY);
            return false;
        }
        auto *list = reinterpret_cast<LPPROC_THREAD_ATTRIBUTE_LIST>(buffer_.get());
        if (!InitializeProcThreadAttributeList(list, 1, 0, &size))
            return false;
        list_ = list;
        return UpdateProcThreadAttribute(list_, 0, PROC_THREAD_ATTRIBUTE_HANDLE_LIST,
                                         handles_.data(), handles_.size() * sizeof(HANDLE), nullptr,
                                         nullptr) != FALSE;
    }

    LPPROC_THREAD_ATTRIBUTE_LIST list() const { return list_; }

  private:
    std::vector<HANDLE> originals_;
    std::vector<UniqueHandle> copies_;
    std::vector<HANDLE> handles_; // the copies, as the list names them; must outlive it
    std::unique_ptr<unsigned char[]> buffer_;
    LPPROC_THREAD_ATTRIBUTE_LIST list_ = nullptr;
};

// Creates the suspended first process of a child that inherits `stdio` and nothing else.
ChildStartResult createSuspended(std::string commandLine, ChildStdio stdio,
                                 PROCESS_INFORMATION &pi) {
    std::lock_guard<std::mutex> lock(startLock());
    InheritList inherited;
    if (!inherited.copy(stdio))
        return failure(ChildStartStep::InheritableCopy);
    if (!inherited.build())
        return failure(ChildStartStep::HandleList);
    STARTUPINFOEXA si = {};
    si.StartupInfo.cb = sizeof(si);
    si.StartupInfo.dwFlags = STARTF_USESHOWWINDOW | STARTF_USESTDHANDLES;
    si.StartupInfo.wShowWindow = SW_HIDE;
    si.StartupInfo.hStdInput = stdio.input;
    si.StartupInfo.hStdOutput = stdio.output;
    si.StartupInfo.hStdError = stdio.error;
    si.lpAttributeList = inherited.list();
    // Suspended until it is in the job, so that nothing it starts escapes the job.
    if (!CreateProcessA(nullptr, &commandLine[0], nullptr, nullptr, TRUE,
                        CREATE_SUSPENDED | CREATE_NO_WINDOW | EXTENDED_STARTUPINFO_PRESENT, nullptr,
                        nullptr, &si.StartupInfo, &pi))
        return failure(ChildStartStep::CreateProcess);
    return std::nullopt;
}

} // namespace

ChildStartResult ChildProcess::start(const std::string &commandLine, const ChildStdio &stdio) {
    end();
    UniqueJob job(CreateJobObjectA(nullptr, nullptr));
    if (!job)
        return failure(ChildStartStep::CreateJob);
    JOBOBJECT_EXTENDED_LIMIT_INFORMATION limits = {};
    limits.BasicLimitInformation.LimitFlags = JOB_OBJECT_LIMIT_KILL_ON_JOB_CLOSE;
    if (!SetInformationJobObject(job.get(), JobObjectExtendedLimitInformation, &limits,
                                 sizeof(limits)))
        return failure(ChildStartStep::LimitJob);

    UniqueHandle nul;
    ChildStdio childStdio = stdio;
    for (HANDLE *slot : {&childStdio.input, &childStdio.output, &childStdio.error}) {
        if (*slot != nullptr && *slot != INVALID_HANDLE_VALUE)
            continue;
        if (!nul && !(nul = openNullDevice()))
            return failure(ChildStartStep::NullDevice);
        *slot = nul.get();
    }

    if (!listChildJob(job.get()))
        return failure(ChildStartStep::StartsRefused, ERROR_OPERATION_ABORTED);
    job_ = std::move(job);
    PROCESS_INFORMATION pi = {};
    if (ChildStartResult failed = createSuspended(commandLine, childStdio, pi)) {
        end();
        return failed;
    }
    process_.reset(pi.hProcess);
    UniqueHandle thread(pi.hThread);
    if (!AssignProcessToJobObject(job_.get(), process_.get())) {
        ChildStartFailure failed = failure(ChildStartStep::AssignJob);
        TerminateProcess(process_.get(), 1);
        end();
        return failed;
    }
    // Refused after the job was listed: the end of the plug-in may have missed this child.
    if (!childStartsAllowed()) {
        end();
        return failure(ChildStartStep::StartsRefused, ERROR_OPERATION_ABORTED);
    }
    if (ResumeThread(thread.get()) == static_cast<DWORD>(-1)) {
        ChildStartFailure failed = failure(ChildStartStep::Resume);
        end();
        return failed;
    }
    if (!thread.reset()) {
        ChildStartFailure failed = failure(ChildStartStep::CloseThread);
        end();
        return failed;
    }
    return std::nullopt;
}

bool ChildProcess::waitForExit(DWORD milliseconds) const {
    return process_.valid() && WaitForSingleObject(process_.get(), milliseconds) == WAIT_OBJECT_0;
}

void ChildProcess::terminate() {
    if (!job_)
        return;
    unlistChildJob(job_.get());
    job_.reset();
}

void ChildProcess::end() {
    DWORD code = GetLastError();
    if (job_) {
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
    }
    process_.reset();
    SetLastError(code);
}

std::vector<DWORD> ChildProcess::processIds() const {
    std::vector<DWORD> ids;
    if (!job_)
        return ids;
    struct {
        JOBOBJECT_BASIC_PROCESS_ID_LIST list;
        ULONG_PTR more[MAX_LISTED_PROCESSES - 1];
    } info = {};
    info.list.NumberOfAssignedProcesses = MAX_LISTED_PROCESSES;
    if (QueryInformationJobObject(job_.get(), JobObjectBasicProcessIdList, &info, sizeof(info),
                                  nullptr))
        for (DWORD i = 0; i < info.list.NumberOfProcessIdsInList && i < MAX_LISTED_PROCESSES; ++i)
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
    for (std::size_t i = 0; i < ids.size() && ids.size() < MAX_LISTED_PROCESSES; ++i)
        for (const auto &[process, parent] : parents)
            if (parent == ids[i] && process != ids[i] &&
                std::find(ids.begin(), ids.end(), process) == ids.end())
                ids.push_back(process);
    return ids;
}

} // namespace quill
