// The background worker: one check at a time, the newest waiting request next.
#include "lint/background_check.h"

#include "common/system_error.h"

#include <windows.h>

#include <memory>
#include <mutex>

namespace quill {

namespace {

struct BackgroundJob {
    LintResultController *engine;
    JobTicket ticket; // entered by the thread that started the check
    TargetMailInfo target;
};

// The worker's state: whether one runs, and the one request waiting for it.
std::mutex queueMutex;
bool workerRunning = false;
std::unique_ptr<BackgroundJob> waitingJob;

void runJob(const BackgroundJob &job) {
    try {
        job.engine->runCheck(job.ticket, job.target);
    } catch (...) {
        // The check reports its own failures; nothing may leave the thread.
    }
}

// Runs the job it was started with, then each waiting one, and ends when none waits.
// `parameter` is the first job; the module reference is taken by the starter.
DWORD WINAPI backgroundCheckThread(LPVOID parameter) {
    HMODULE module = nullptr;
    GetModuleHandleExW(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS |
                           GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                       reinterpret_cast<LPCWSTR>(&backgroundCheckThread), &module);
    std::unique_ptr<BackgroundJob> job(static_cast<BackgroundJob *>(parameter));
    runJob(*job);
    for (;;) {
        {
            std::lock_guard<std::mutex> lock(queueMutex);
            job = std::move(waitingJob);
            if (!job) {
                workerRunning = false;
                break;
            }
        }
        if (job->engine->isLatestJob(job->ticket))
            runJob(*job);
    }
    // Everything of this module that the worker used is gone; the call that drops the
    // starter's reference does not return into the module.
    FreeLibraryAndExitThread(module, 0);
}

} // namespace

void dropWaitingBackgroundCheck() {
    std::unique_ptr<BackgroundJob> dropped;
    std::lock_guard<std::mutex> lock(queueMutex);
    dropped = std::move(waitingJob);
}

bool startBackgroundCheck(LintResultController &engine, const TargetMailInfo &target,
                          JobTicket *entered) {
    try {
        // The job enters here, not on the worker: a job that the caller starts after this one
        // is then the later one, however the threads are scheduled.
        auto job = std::make_unique<BackgroundJob>(
            BackgroundJob{&engine, engine.enterJob(target), target});
        if (entered != nullptr)
            *entered = job->ticket;
        std::lock_guard<std::mutex> lock(queueMutex);
        if (workerRunning) {
            waitingJob = std::move(job);
            return true;
        }
        HMODULE module = nullptr;
        if (!GetModuleHandleExW(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS,
                                reinterpret_cast<LPCWSTR>(&backgroundCheckThread), &module)) {
            writeLastErrorDiagnostic("GetModuleHandleExW(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS, "
                                     "backgroundCheckThread, &job->module) failed.",
                                     GetLastError());
            return false;
        }
        DWORD threadId = 0;
        HANDLE thread = CreateThread(nullptr, 0, backgroundCheckThread, job.get(), 0, &threadId);
        if (thread == nullptr) {
            DWORD code = GetLastError();
            FreeLibrary(module);
            writeLastErrorDiagnostic(
                "CreateThread(NULL, 0, backgroundCheckThread, job, 0, &threadId) failed.", code);
            return false;
        }
        job.release();
        workerRunning = true;
        // Detached: nobody waits for the worker or reads its result.
        CloseHandle(thread);
        return true;
    } catch (const std::exception &e) {
        writeDiagnosticLine(e.what());
        return false;
    }
}

} // namespace quill
