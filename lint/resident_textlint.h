// The resident textlint: one `textlint --mcp` kept running for the process, started in the
// background, asked first by every check and auto-fix. Whenever it cannot answer exactly as
// a cold run would (not started, still starting, a configuration not yet proved loadable, an
// old textlint, dead, slow, an error), the caller runs cold and the server is put right in
// the background.
#pragma once

#include "lint/private_temp_folder.h"
#include "lint/resident_protocol.h"

#include <windows.h>

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <thread>
#include <vector>

namespace quill {

class PipedChild;

class ResidentTextLint {
  public:
    ResidentTextLint();
    ~ResidentTextLint();
    ResidentTextLint(const ResidentTextLint &) = delete;
    ResidentTextLint &operator=(const ResidentTextLint &) = delete;

    // Starts the server in the background when the settings allow it; returns at once.
    void start();
    // Ends the server's process tree and the background work; returns when both are gone.
    // A later start() begins anew.
    void stop();

    // The compact report of checking `text` (UTF-8, as the cold run writes its input file),
    // as a cold run would have written it; none when the check must run cold.
    std::optional<std::string> check(const std::string &text, bool html);
    // The fixed text, as a cold run would have left it in its file; none when the fix must
    // run cold.
    std::optional<std::string> fix(const std::string &text, bool html);

    // Waits up to `bound` until the server serves the configuration of the settings in
    // force. For the tests and the benchmarks, which must know when checks go warm.
    bool waitUntilServing(std::chrono::milliseconds bound);
    // Whether a check asked now would be answered by the server (it runs, with the proved
    // configuration of the settings in force). Never waits for a request or a start.
    bool isServing();
    // The processes of the server's tree; empty when no server runs.
    std::vector<DWORD> processIds();
    // How many requests the server has answered since the plug-in started.
    unsigned long answeredRequests() const { return answered_; }

  private:
    struct Settings {
        bool enabled = false;
        std::string commandPath;
        std::string config;
    };
    static Settings currentSettings();
    // Under stateMutex_: the server runs the proved configuration of `settings`.
    bool servesLocked(const Settings &settings) const;

    std::optional<ResidentAnswer> ask(ResidentTool tool, const std::string &text, bool html);
    void wantWork();
    void superviseLoop();
    void reconcile();
    bool textLintIsRecentEnough(const std::string &commandPath);
    bool prove(const Settings &settings);
    std::unique_ptr<PipedChild> launch(const Settings &settings);
    void dropServer();
    void noteFailure(const std::string &commandPath);
    std::optional<std::string> runForOutput(const std::optional<std::string> &commandLine);
    bool setBusy(PipedChild *child);

    // Serialises requests to the server and the changes of the server and its configuration.
    std::timed_mutex requestMutex_;
    std::unique_ptr<PipedChild> server_; // changed only under requestMutex_ and stateMutex_

    std::mutex stateMutex_;
    std::condition_variable stateChanged_;
    std::string serverCommandPath_; // of the running server
    std::string provedConfig_;      // what the server's configuration file holds, proved
    std::string provedFor_;         // the command path that proved it
    std::string rejectedConfig_;    // the last configuration that textlint could not load
    std::string rejectedFor_;
    std::string failedCommandPath_;  // of the failures counted in failures_
    std::string versionCommandPath_; // the command whose version was looked at
    bool versionSupported_ = false;
    bool workWanted_ = false;
    bool stopping_ = false;
    unsigned failures_ = 0; // consecutive failed starts or requests
    std::chrono::steady_clock::time_point notBefore_;
    std::thread supervisor_;

    // The child that the background thread waits for, so that stop() can end it at once.
    std::mutex busyLock_;
    PipedChild *busy_ = nullptr;

    PrivateTempFolder folder_; // of the configuration and the error output
    long long nextId_ = 1;
    std::atomic<unsigned long> answered_{0};
};

// The process-wide resident textlint.
ResidentTextLint &residentTextLint();

} // namespace quill
