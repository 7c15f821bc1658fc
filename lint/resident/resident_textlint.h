// The resident textlint: one `textlint --mcp` kept running for the process, started in the
// background, asked first by every check and auto-fix. Whenever it cannot answer exactly as
// a cold run would (not started, still starting, a configuration not yet proved loadable, an
// old textlint, dead, slow, an error), the caller runs cold and the server is put right in
// the background.
#pragma once

#include "common/handles.h"
#include "lint/resident/resident_config_proof.h"
#include "lint/resident/resident_protocol.h"
#include "lint/resident/rule_folder_watch.h"
#include "process/private_temp_folder.h"

#include <windows.h>

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <functional>
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

    // Starts the background work; returns at once. The server is started in the background
    // when the settings allow it: at once when `launchNow`, otherwise at the first need (a
    // check or fix asked, need()).
    void start(bool launchNow = true);
    // The server is likely to be needed soon (a compose window opened): it starts in the
    // background unless it runs.
    void need();
    // The server ends after `idle` without a request or a need while `composeWindowOpen`
    // says that no compose window is open, and starts again at the next need. Until this
    // is called it runs until stop().
    void setIdleEnd(std::chrono::milliseconds idle, std::function<bool()> composeWindowOpen);
    // Ends the server's process tree and the background work, and a request under way with
    // them; returns within a few seconds whatever the server does. A later start() begins
    // anew.
    void stop();

    // The compact report of checking `text` (UTF-8, as the cold run writes its input file),
    // as a cold run would have written it; none when the check must run cold, whatever
    // went wrong. Never throws. `findings`, when given, receives the answer's findings with
    // the replacements the report cannot carry.
    std::optional<std::string> check(const std::string &text, bool html,
                                     std::vector<ResidentFinding> *findings = nullptr);
    // The fixed text, as a cold run would have left it in its file; none when the fix must
    // run cold. Never throws.
    std::optional<std::string> fix(const std::string &text, bool html);

    // Called once, on a thread of the resident textlint, when it gives up after failing six
    // times in a row; it tries again only once the command path or the configuration
    // changes.
    void setGiveUpNotice(std::function<void()> notice);
    // The first wait after a failure; each further failure in a row doubles it. For the
    // tests, which cannot wait minutes.
    void setFirstBackOff(std::chrono::milliseconds wait);

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
    bool servesLocked(const Settings &settings);

    std::optional<ResidentAnswer> ask(ResidentTool tool, const std::string &text, bool html);
    void wantWork();
    void superviseLoop();
    std::shared_ptr<PipedChild> takeIdleServer(std::unique_lock<std::mutex> &lock);
    void reconcile();
    bool prove(const Settings &settings);
    std::shared_ptr<PipedChild> launch(const Settings &settings);
    void dropServer();
    void noteFailure(const Settings &settings);
    void forgetFailuresUnlessOf(const Settings &settings);
    std::optional<std::string> runForOutput(const std::optional<std::string> &commandLine);
    bool setBusy(PipedChild *child);

    // Serialises requests to the server and the changes of its configuration file.
    std::timed_mutex requestMutex_;

    std::mutex stateMutex_;
    std::condition_variable stateChanged_;
    // A request holds its own reference, so that stop() can end the server under way.
    std::shared_ptr<PipedChild> server_;
    std::string serverCommandPath_;   // of the running server
    unsigned long serverChanges_ = 0; // the rule folders' changes seen when it was started
    unsigned requestsUnderWay_ = 0;   // requests that took the server and have not ended
    std::string failedCommandPath_;   // of the failures counted in failures_
    std::string failedConfig_;
    bool workWanted_ = false;
    bool serverWanted_ = false; // false before the first need and after an idle end
    bool stopping_ = false;
    std::chrono::steady_clock::time_point lastNeed_;
    std::chrono::milliseconds idleEnd_{0}; // zero: the server never ends for idleness
    std::function<bool()> composeWindowOpen_;
    unsigned failures_ = 0;      // consecutive failures, however the server started
    unsigned answeredInRow_ = 0; // by the running server, without a failure between
    bool gaveUpTold_ = false;
    std::function<void()> giveUpNotice_;
    std::chrono::milliseconds firstBackOff_{5000};
    std::chrono::steady_clock::time_point notBefore_;
    std::thread supervisor_;

    ResidentConfigProof proof_;
    RuleFolderWatch watch_;

    // The child that the background thread waits for, so that stop() can end it at once.
    std::mutex busyLock_;
    PipedChild *busy_ = nullptr;

    PrivateTempFolder folder_; // of the configuration and the error output
    std::atomic<long long> nextId_{1};
    std::atomic<unsigned long> answered_{0};
};

// The process-wide resident textlint.
ResidentTextLint &residentTextLint();

} // namespace quill
