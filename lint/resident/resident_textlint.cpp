// The resident textlint's life: the background start (the proof of the configuration, see
// resident_config_proof.h; start, handshake, a first lint that loads the dictionary), the
// requests of the checks and auto-fixes, and the restart with back-off when it failed.
#include "lint/resident/resident_textlint.h"

#include "common/handles.h"
#include "common/system_error.h"
#include "config/text_lint_config.h"
#include "lint/lint_failure_texts.h"
#include "lint/textlint_command.h"
#include "lint/textlint_error_output.h"
#include "lint/textlint_run.h"
#include "process/piped_child.h"
#include "process/whole_file.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <iterator>

namespace quill {

namespace {

using Clock = std::chrono::steady_clock;
using std::chrono::milliseconds;
using std::chrono::seconds;

// The server's start (3.6 s under Wine) and its first lint, which loads the tokenizer's
// dictionary (1.8 s): generous, as nobody waits for them but the background thread.
constexpr seconds START_WAIT{60};
// The one-shot runs that tell whether the server can be trusted.
constexpr seconds PROBE_WAIT{60};
// A warm request takes 11-18 ms under Wine for a short mail. Two seconds plus 20 ms per
// kilobyte leave room for long mails and a busy machine and stay below what a cold run
// costs (6 s under Wine, one second or more on a PC) for mails of ordinary size.
milliseconds requestWait(std::size_t textBytes) {
    return std::min<milliseconds>(milliseconds(2000 + textBytes / 50), seconds(60));
}
// Restart back-off: 5 s, 10 s, 20 s ... after each failure in a row; after this many the
// server is left alone until the command path or the configuration changes.
constexpr unsigned MAX_FAILURES = 6;
// A server counts as sound, and the failures before it are forgotten, only once it has
// answered this many requests in a row: one that starts and then fails every request
// must reach the end of the back-off.
constexpr unsigned SOUND_AFTER_ANSWERS = 3;
// How long stop() waits for a request it ended to let go of the server's folder.
constexpr milliseconds STOP_REQUEST_WAIT{1000};
// The longest answer line: a fixed text comes back twice in it, JSON-escaped.
constexpr std::size_t MAX_ANSWER_LINE = 64u << 20;
// What the server's report is attributed to; the parser takes the path from the report.
constexpr char REPORT_PATH[] = "C:\\Quillcheck\\mail.txt";
// The first lint after the start, which loads what the rules need.
constexpr char WARM_UP_TEXT[] = "\xE3\x81\x93\xE3\x82\x8C\xE3\x81\xAF\xE8\xA9\xA6\xE9\xA8\x93"
                                "\xE3\x81\xA7\xE3\x81\x99\xE3\x80\x82\n";

constexpr char SERVER_ERRORS[] = "server.err";

// The diagnostic text of a failed start of a piped textlint; null for a failure that has
// none.
const char *startFailureText(ChildStartStep step) {
    switch (step) {
    case ChildStartStep::CreateJob:
        return "CreateJobObject(NULL, NULL) failed.";
    case ChildStartStep::LimitJob:
        return "SetInformationJobObject(JOB_OBJECT_LIMIT_KILL_ON_JOB_CLOSE) failed.";
    case ChildStartStep::StartsRefused:
        return "The plug-in is ending: textlint is not started.";
    case ChildStartStep::InputPipe:
        return "CreatePipe(standard input) failed.";
    case ChildStartStep::OutputPipe:
        return "CreatePipe(standard output) failed.";
    case ChildStartStep::NullDevice:
        return "CreateFile(\"NUL\") failed.";
    case ChildStartStep::InheritableCopy:
        return "DuplicateHandle(standard error) failed.";
    case ChildStartStep::HandleList:
        return "UpdateProcThreadAttribute(PROC_THREAD_ATTRIBUTE_HANDLE_LIST) failed.";
    case ChildStartStep::CreateProcess:
        return "CreateProcess(resident textlint) failed.";
    case ChildStartStep::AssignJob:
        return "AssignProcessToJobObject() failed.";
    case ChildStartStep::Resume:
        return "ResumeThread() failed.";
    case ChildStartStep::CloseThread:
        return lint_text::CLOSE_THREAD_FAILED;
    case ChildStartStep::PipeThreads:
        break;
    }
    return nullptr;
}

// True when the child started; otherwise writes the failure's diagnostic line.
bool started(const ChildStartResult &result) {
    if (!result)
        return true;
    if (const char *text = startFailureText(result->step))
        writeLastErrorDiagnostic(text, result->code);
    return false;
}

// What the server's error output gained from `from` on: empty unless it grew.
std::string errorOutputSince(const std::string &path, DWORD from) {
    std::string bytes;
    ULONGLONG size = 0;
    if (!readFilePart(path, from, 1u << 20, bytes, size))
        return size > from ? "unreadable" : "";
    return bytes;
}

// Runs `action` when the scope ends, however it ends.
template <typename Action> class AtScopeEnd {
  public:
    explicit AtScopeEnd(Action action) : action_(std::move(action)) {}
    ~AtScopeEnd() { action_(); }
    AtScopeEnd(const AtScopeEnd &) = delete;
    AtScopeEnd &operator=(const AtScopeEnd &) = delete;

  private:
    Action action_;
};

DWORD fileSize(const std::string &path) {
    WIN32_FILE_ATTRIBUTE_DATA data;
    if (!GetFileAttributesExA(path.c_str(), GetFileExInfoStandard, &data))
        return 0;
    return data.nFileSizeLow;
}

} // namespace

ResidentTextLint::ResidentTextLint()
    : proof_(
          [this](const std::optional<std::string> &commandLine) {
              return runForOutput(commandLine);
          },
          requestMutex_) {}

// The process-wide instance is never destroyed (see residentTextLint()); others are stopped.
ResidentTextLint::~ResidentTextLint() {
    stop();
}

// The output of a one-shot textlint run (`--version`, `--print-config`); none when it
// could not run or did not end in time.
std::optional<std::string>
ResidentTextLint::runForOutput(const std::optional<std::string> &commandLine) {
    if (!commandLine)
        return std::nullopt;
    PipedChild child(1u << 20);
    if (!started(child.start(*commandLine, nullptr)) || !setBusy(&child))
        return std::nullopt;
    AtScopeEnd notBusy([this] { setBusy(nullptr); });
    return child.readToEnd(Clock::now() + PROBE_WAIT);
}

// Records the child the background thread waits for; false (the child ended) when the
// resident textlint is stopping. A child refused is never recorded: it is destroyed when
// this returns, and stop() must not reach it afterwards.
bool ResidentTextLint::setBusy(PipedChild *child) {
    std::lock_guard<std::mutex> busy(busyLock_);
    if (child) {
        std::lock_guard<std::mutex> lock(stateMutex_);
        if (stopping_) {
            child->terminate();
            busy_ = nullptr;
            return false;
        }
    }
    busy_ = child;
    return true;
}

ResidentTextLint::Settings ResidentTextLint::currentSettings() {
    TextLintConfig &config = TextLintConfig::getInstance();
    Settings settings;
    settings.enabled = config.snapshot().enableResidentTextLint;
    if (settings.enabled) {
        settings.commandPath = config.commandPathInUse();
        settings.config = config.buildTextLintConfigJson();
    }
    return settings;
}

void ResidentTextLint::setGiveUpNotice(std::function<void()> notice) {
    std::lock_guard<std::mutex> lock(stateMutex_);
    giveUpNotice_ = std::move(notice);
}

void ResidentTextLint::setFirstBackOff(milliseconds wait) {
    std::lock_guard<std::mutex> lock(stateMutex_);
    firstBackOff_ = wait;
}

void ResidentTextLint::start(bool launchNow) {
    std::lock_guard<std::mutex> lock(stateMutex_);
    if (supervisor_.joinable())
        return;
    stopping_ = false;
    failures_ = 0;
    gaveUpTold_ = false;
    notBefore_ = Clock::time_point();
    serverWanted_ = workWanted_ = launchNow;
    lastNeed_ = Clock::now();
    supervisor_ = std::thread([this] { superviseLoop(); });
}

void ResidentTextLint::need() {
    {
        std::lock_guard<std::mutex> lock(stateMutex_);
        lastNeed_ = Clock::now();
        if (serverWanted_ && server_)
            return;
        serverWanted_ = workWanted_ = true;
    }
    stateChanged_.notify_all();
}

void ResidentTextLint::setIdleEnd(milliseconds idle, std::function<bool()> composeWindowOpen) {
    {
        std::lock_guard<std::mutex> lock(stateMutex_);
        idleEnd_ = idle;
        composeWindowOpen_ = std::move(composeWindowOpen);
    }
    stateChanged_.notify_all();
}

// Under `lock`: a server without a request or a need for the idle time ends, unless a
// compose window is open (asked without the lock: the compose windows' lock is taken on
// their threads, which may ask whether the server serves). The server is taken out under
// the lock that decided it, so that no request can take it up in between; the caller ends
// it once the lock is given up. None while the server stays.
std::shared_ptr<PipedChild> ResidentTextLint::takeIdleServer(std::unique_lock<std::mutex> &lock) {
    const auto idle = [this] {
        return idleEnd_.count() > 0 && server_ && requestsUnderWay_ == 0 &&
               Clock::now() >= lastNeed_ + idleEnd_;
    };
    if (!idle())
        return nullptr;
    std::function<bool()> composeWindowOpen = composeWindowOpen_;
    lock.unlock();
    bool open = false;
    try {
        open = composeWindowOpen && composeWindowOpen();
    } catch (...) {
        open = true;
    }
    lock.lock();
    if (!idle())
        return nullptr;
    if (open) {
        lastNeed_ = Clock::now();
        return nullptr;
    }
    serverWanted_ = false;
    workWanted_ = true;
    serverCommandPath_.clear();
    return std::move(server_);
}

// Every wait of the background thread and of a request ends when its child is ended, so
// nothing here waits for textlint; a request still under way gets a short while to let go
// of the folder, which otherwise stays for the next start to remove.
void ResidentTextLint::stop() {
    std::thread supervisor;
    std::shared_ptr<PipedChild> server;
    {
        std::lock_guard<std::mutex> lock(stateMutex_);
        stopping_ = true;
        supervisor = std::move(supervisor_);
        server = std::move(server_);
        serverCommandPath_.clear();
    }
    if (server)
        server->terminate();
    {
        // A one-shot run or a starting server the background thread waits for ends now.
        std::lock_guard<std::mutex> lock(busyLock_);
        if (busy_)
            busy_->terminate();
    }
    stateChanged_.notify_all();
    if (supervisor.joinable())
        supervisor.join();
    watch_.stop();
    server.reset();
    std::unique_lock<std::timed_mutex> request(requestMutex_, std::defer_lock);
    if (request.try_lock_for(STOP_REQUEST_WAIT)) {
        proof_.releaseFile();
        folder_.remove();
    }
    // The proved file went with the folder.
    proof_.forget();
}

void ResidentTextLint::wantWork() {
    {
        std::lock_guard<std::mutex> lock(stateMutex_);
        workWanted_ = true;
    }
    stateChanged_.notify_all();
}

void ResidentTextLint::superviseLoop() {
    std::unique_lock<std::mutex> lock(stateMutex_);
    while (!stopping_) {
        if (std::shared_ptr<PipedChild> idle = takeIdleServer(lock)) {
            lock.unlock();
            idle->terminate();
            idle.reset(); // the last reference: ends the tree and waits for its pipe threads
            lock.lock();
            continue;
        }
        const bool mayEndIdle = idleEnd_.count() > 0 && server_;
        if (mayEndIdle && requestsUnderWay_ > 0)
            // A request under way tells when it ends; the idle time counts from then.
            stateChanged_.wait(
                lock, [this] { return stopping_ || workWanted_ || requestsUnderWay_ == 0; });
        else if (mayEndIdle && !workWanted_)
            stateChanged_.wait_until(lock, lastNeed_ + idleEnd_,
                                     [this] { return stopping_ || workWanted_; });
        else
            stateChanged_.wait(lock, [this] { return stopping_ || workWanted_; });
        if (stopping_)
            break;
        if (!workWanted_)
            continue; // the idle time ran out, or a request moved it on
        if (Clock::now() < notBefore_) {
            stateChanged_.wait_until(lock, notBefore_, [this] { return stopping_; });
            continue;
        }
        workWanted_ = false;
        lock.unlock();
        try {
            reconcile();
        } catch (const std::exception &e) {
            writeDiagnosticLine(std::string("Resident textlint: ") + e.what());
        } catch (...) {
            writeDiagnosticLine("Resident textlint: the background work failed.");
        }
        lock.lock();
        stateChanged_.notify_all();
    }
}

// Under stateMutex_: failures counted for another command path or configuration no longer
// count.
void ResidentTextLint::forgetFailuresUnlessOf(const Settings &settings) {
    if (settings.commandPath != failedCommandPath_ || settings.config != failedConfig_) {
        failures_ = 0;
        gaveUpTold_ = false;
        failedCommandPath_ = settings.commandPath;
        failedConfig_ = settings.config;
    }
}

// Brings the server in line with the settings in force.
void ResidentTextLint::reconcile() {
    Settings settings = currentSettings();
    bool wanted;
    {
        std::lock_guard<std::mutex> lock(stateMutex_);
        wanted = serverWanted_;
    }
    if (!settings.enabled || !wanted) {
        dropServer();
        watch_.stop();
        return;
    }
    bool serving = false;
    bool diedIdle = false;
    bool givenUp = false;
    {
        std::lock_guard<std::mutex> lock(stateMutex_);
        if (stopping_)
            return;
        forgetFailuresUnlessOf(settings);
        givenUp = failures_ >= MAX_FAILURES;
        diedIdle = server_ && !server_->running();
        // Node keeps the modules it loaded: after a change in the rule folders only a new
        // server runs the rules (and the textlint) that are installed now.
        serving = server_ && !diedIdle && serverCommandPath_ == settings.commandPath &&
                  serverChanges_ == watch_.changes();
    }
    if (givenUp) {
        // A server that will not be trusted again only holds memory.
        dropServer();
        return;
    }
    if (diedIdle) {
        // Found dead between requests: a failure like any other.
        dropServer();
        return noteFailure(settings);
    }
    if (folder_.path().empty() && !folder_.create(lint_text::TEMP_PATH_FAILED))
        return noteFailure(settings);
    watch_.watch(settings.commandPath, [this] { wantWork(); });
    // A change not yet counted, or a folder not watched (set up again shortly): the watch
    // asks for this work again once it counts, and only then is a start worth its cost.
    if (watch_.changePending())
        return;
    switch (proof_.textLintIsRecentEnough(settings.commandPath, watch_.changes())) {
    case ResidentConfigProof::Verdict::Yes:
        break;
    case ResidentConfigProof::Verdict::RunFailed:
        noteFailure(settings);
        dropServer();
        return;
    case ResidentConfigProof::Verdict::No:
        dropServer();
        return;
    }
    if (!serving) {
        dropServer();
        // A new server proves its configuration anew: the rules may have gone since.
        proof_.forget();
        if (!prove(settings))
            return;
        const unsigned long changes = proof_.provedChanges();
        std::shared_ptr<PipedChild> child = launch(settings);
        if (!child)
            return noteFailure(settings);
        std::lock_guard<std::mutex> lock(stateMutex_);
        if (stopping_)
            return; // ended with `child` on return
        server_ = std::move(child);
        serverCommandPath_ = settings.commandPath;
        serverChanges_ = changes;
        answeredInRow_ = 0;
        lastNeed_ = Clock::now();
        return;
    }
    if (!proof_.holds(settings.commandPath, settings.config, watch_.changes()))
        prove(settings);
}

// Proves the configuration of `settings` before the server is given it; a textlint that
// did not run counts as a failure of the server's start.
bool ResidentTextLint::prove(const Settings &settings) {
    // Counted before textlint looks at the rules: a change while it looks proves anew.
    const unsigned long changes = watch_.changes();
    switch (proof_.prove(folder_.path(), settings.commandPath, settings.config, changes)) {
    case ResidentConfigProof::Verdict::Yes:
        return true;
    case ResidentConfigProof::Verdict::RunFailed:
        noteFailure(settings);
        return false;
    case ResidentConfigProof::Verdict::No:
        break;
    }
    return false;
}

std::shared_ptr<PipedChild> ResidentTextLint::launch(const Settings &settings) {
    TextLintCommandFiles files;
    files.commandPath = settings.commandPath;
    files.configFile = folder_.path() + ResidentConfigProof::serverConfigName();
    files.interpreterPath = textlint_run::commandInterpreterPath();
    std::optional<std::string> commandLine = makeResidentCommandLine(files);
    if (!commandLine)
        return nullptr;
    UniqueHandle errors(CreateFileA((folder_.path() + SERVER_ERRORS).c_str(), GENERIC_WRITE,
                                    FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                    CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!errors)
        return nullptr;
    auto child = std::make_shared<PipedChild>(MAX_ANSWER_LINE);
    if (!started(child->start(*commandLine, errors.get())) || !setBusy(child.get()))
        return nullptr;
    AtScopeEnd notBusy([this] { setBusy(nullptr); });
    Clock::time_point deadline = Clock::now() + START_WAIT;
    long long id = nextId_++;
    child->send(makeInitializeRequest(id));
    bool ready = false;
    for (;;) {
        std::optional<std::string> line = child->nextLine(deadline);
        if (!line)
            break;
        ResidentAnswer answer = readInitializeAnswer(*line, id);
        if (answer.kind == ResidentAnswerKind::NotOurs)
            continue;
        ready = answer.kind == ResidentAnswerKind::Success;
        break;
    }
    if (ready) {
        child->send(makeInitializedNotification());
        id = nextId_++;
        child->send(*makeToolCallRequest(id, ResidentTool::LintText, WARM_UP_TEXT, false));
        ready = false;
        while (std::optional<std::string> line = child->nextLine(deadline)) {
            ResidentAnswer answer = readToolAnswer(*line, id, ResidentTool::LintText);
            if (answer.kind == ResidentAnswerKind::NotOurs)
                continue;
            ready = answer.kind == ResidentAnswerKind::Success;
            break;
        }
    }
    if (!ready)
        return nullptr;
    return child;
}

void ResidentTextLint::dropServer() {
    std::shared_ptr<PipedChild> server;
    {
        std::lock_guard<std::mutex> lock(stateMutex_);
        server = std::move(server_);
        serverCommandPath_.clear();
    }
    if (server)
        server->terminate();
    // The last reference ends the tree and waits for its pipe threads.
}

void ResidentTextLint::noteFailure(const Settings &settings) {
    std::function<void()> tell;
    std::shared_ptr<PipedChild> givenUp;
    {
        std::lock_guard<std::mutex> lock(stateMutex_);
        if (stopping_)
            return;
        forgetFailuresUnlessOf(settings);
        ++failures_;
        answeredInRow_ = 0;
        unsigned shift = std::min(failures_ - 1, 10u);
        notBefore_ = Clock::now() + firstBackOff_ * (1u << shift);
        // Started again once the wait is over, unless it was the last try.
        workWanted_ = true;
        if (failures_ >= MAX_FAILURES) {
            // Given up: nothing of the server stays to hold memory.
            givenUp = std::move(server_);
            serverCommandPath_.clear();
            if (!gaveUpTold_) {
                gaveUpTold_ = true;
                tell = giveUpNotice_;
            }
        }
    }
    stateChanged_.notify_all();
    if (givenUp)
        givenUp->terminate();
    givenUp.reset();
    if (tell) {
        try {
            tell();
        } catch (...) {
        }
    }
}

std::optional<ResidentAnswer> ResidentTextLint::ask(ResidentTool tool, const std::string &text,
                                                    bool html) {
    std::optional<std::string_view> input = residentInputText(text);
    if (!input)
        return std::nullopt;
    Settings settings = currentSettings();
    milliseconds wait = requestWait(input->size());
    Clock::time_point deadline = Clock::now() + wait;
    std::unique_lock<std::timed_mutex> request(requestMutex_, std::defer_lock);
    if (!request.try_lock_for(wait))
        return std::nullopt;
    long long id = 0;
    std::shared_ptr<PipedChild> server;
    {
        std::lock_guard<std::mutex> lock(stateMutex_);
        if (!servesLocked(settings)) {
            // Started, restarted, stopped, given a new configuration or new rules in the
            // background.
            if (supervisor_.joinable() && (settings.enabled || server_)) {
                lastNeed_ = Clock::now();
                serverWanted_ = workWanted_ = true;
                stateChanged_.notify_all();
            }
            return std::nullopt;
        }
        lastNeed_ = Clock::now();
        id = nextId_++;
        server = server_;
        ++requestsUnderWay_;
    }
    AtScopeEnd requestEnded([this] {
        {
            std::lock_guard<std::mutex> lock(stateMutex_);
            --requestsUnderWay_;
            lastNeed_ = Clock::now();
        }
        stateChanged_.notify_all();
    });
    std::optional<std::string> line = makeToolCallRequest(id, tool, *input, html);
    if (!line)
        return std::nullopt;
    std::string errorPath = folder_.path() + SERVER_ERRORS;
    DWORD errorsBefore = fileSize(errorPath);
    server->send(std::move(*line));
    std::optional<ResidentAnswer> answer;
    while (std::optional<std::string> received = server->nextLine(deadline)) {
        ResidentAnswer read = readToolAnswer(*received, id, tool);
        if (read.kind == ResidentAnswerKind::NotOurs)
            continue;
        answer = std::move(read);
        break;
    }
    if (!answer) {
        // Dead, spoilt or too slow: it is ended here and started anew in the background.
        server->terminate();
        {
            std::lock_guard<std::mutex> lock(stateMutex_);
            if (server_ == server) {
                server_.reset();
                serverCommandPath_.clear();
            }
        }
        request.unlock();
        noteFailure(settings);
        return std::nullopt;
    }
    if (answer->kind != ResidentAnswerKind::Success) {
        // A well-formed error answer (a rule that threw): the server itself is fine, and the
        // cold run tells the user what it tells.
        writeDiagnosticLine("Resident textlint: " + answer->failure);
        return std::nullopt;
    }
    // Anything but runtime warnings on standard error fails a cold run: it fails here too.
    std::string errors = errorOutputSince(errorPath, errorsBefore);
    if (!errors.empty() && errorOutputMeansFailure(errors))
        return std::nullopt;
    {
        std::lock_guard<std::mutex> lock(stateMutex_);
        // Rules that changed while the server answered make the answer one of unproved rules.
        if (!servesLocked(settings))
            return std::nullopt;
        if (++answeredInRow_ >= SOUND_AFTER_ANSWERS)
            failures_ = 0;
    }
    ++answered_;
    return answer;
}

std::optional<std::string> ResidentTextLint::check(const std::string &text, bool html,
                                                   std::vector<ResidentFinding> *findings) {
    try {
        std::optional<ResidentAnswer> answer = ask(ResidentTool::LintText, text, html);
        if (!answer)
            return std::nullopt;
        std::string report = renderCompactReport(answer->findings, REPORT_PATH);
        if (findings != nullptr)
            *findings = std::move(answer->findings);
        return report;
    } catch (...) {
        writeDiagnosticLine("Resident textlint: the check failed; it runs cold.");
        return std::nullopt;
    }
}

std::optional<std::string> ResidentTextLint::fix(const std::string &text, bool html) {
    try {
        std::optional<ResidentAnswer> answer = ask(ResidentTool::FixText, text, html);
        if (!answer)
            return std::nullopt;
        return std::move(answer->fixedText);
    } catch (...) {
        writeDiagnosticLine("Resident textlint: the fix failed; it runs cold.");
        return std::nullopt;
    }
}

bool ResidentTextLint::servesLocked(const Settings &settings) {
    // A change still pending is asked about before the count: a change counted meanwhile
    // then shows in the count.
    return settings.enabled && !stopping_ && server_ && server_->running() &&
           serverCommandPath_ == settings.commandPath && !watch_.changePending() &&
           proof_.holds(settings.commandPath, settings.config, watch_.changes()) &&
           serverChanges_ == watch_.changes();
}

bool ResidentTextLint::isServing() {
    Settings settings = currentSettings();
    std::lock_guard<std::mutex> lock(stateMutex_);
    return servesLocked(settings);
}

bool ResidentTextLint::waitUntilServing(milliseconds bound) {
    Clock::time_point deadline = Clock::now() + bound;
    for (;;) {
        Settings settings = currentSettings();
        std::unique_lock<std::mutex> lock(stateMutex_);
        if (servesLocked(settings))
            return true;
        if (Clock::now() >= deadline || !supervisor_.joinable())
            return false;
        serverWanted_ = workWanted_ = true;
        stateChanged_.notify_all();
        stateChanged_.wait_until(lock, std::min(deadline, Clock::now() + milliseconds(100)));
    }
}

std::vector<DWORD> ResidentTextLint::processIds() {
    std::lock_guard<std::mutex> lock(stateMutex_);
    return server_ ? server_->processIds() : std::vector<DWORD>();
}

ResidentTextLint &residentTextLint() {
    // Never destroyed: its threads must not be joined while the module unloads. The plug-in
    // stops it at its end; the system ends the rest with the process.
    static ResidentTextLint *instance = new ResidentTextLint;
    return *instance;
}

} // namespace quill
