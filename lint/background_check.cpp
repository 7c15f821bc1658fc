// The detached worker of a background check.
#include "lint/background_check.h"

#include "common/system_error.h"

#include <windows.h>

#include <memory>

namespace quill {

namespace {

struct BackgroundJob {
    LintResultController *engine;
    JobTicket ticket; // entered by the thread that started the check
    TargetMailInfo target;
    HMODULE module; // our own reference to the module, released as the worker ends
};

DWORD WINAPI backgroundCheckThread(LPVOID parameter) {
    HMODULE module = nullptr;
    {
        std::unique_ptr<BackgroundJob> job(static_cast<BackgroundJob *>(parameter));
        module = job->module;
        try {
            job->engine->runCheck(job->ticket, job->target);
        } catch (...) {
            // The job entry reports its own failures; nothing may leave the thread.
        }
    }
    // Everything of this module that the worker used is gone; the call that drops the
    // reference does not return into the module.
    FreeLibraryAndExitThread(module, 0);
}

} // namespace

bool startBackgroundCheck(LintResultController &engine, const TargetMailInfo &target) {
    try {
        // The job enters here, not on the worker: a job that the caller starts after this one
        // is then the later one, however the threads are scheduled.
        auto job = std::make_unique<BackgroundJob>(
            BackgroundJob{&engine, engine.enterJob(target), target, nullptr});
        if (!GetModuleHandleExW(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS,
                                reinterpret_cast<LPCWSTR>(&backgroundCheckThread), &job->module)) {
            writeLastErrorDiagnostic("GetModuleHandleExW(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS, "
                                     "backgroundCheckThread, &job->module) failed.",
                                     GetLastError());
            return false;
        }
        DWORD threadId = 0;
        HANDLE thread = CreateThread(nullptr, 0, backgroundCheckThread, job.get(), 0, &threadId);
        if (thread == nullptr) {
            DWORD code = GetLastError();
            FreeLibrary(job->module);
            writeLastErrorDiagnostic(
                "CreateThread(NULL, 0, backgroundCheckThread, job, 0, &threadId) failed.", code);
            return false;
        }
        job.release();
        // Detached: nobody waits for the worker or reads its result.
        CloseHandle(thread);
        return true;
    } catch (const std::exception &e) {
        writeDiagnosticLine(e.what());
        return false;
    }
}

} // namespace quill
