// The watch over textlint's rule folders: one change notification per `node_modules` folder,
// over its whole tree, and a thread that waits for them.
#include "lint/resident/rule_folder_watch.h"

#include "common/system_error.h"

#include <algorithm>

namespace quill {

namespace {

// WaitForMultipleObjects takes 64 handles; one is the stop event.
constexpr std::size_t MAX_FOLDERS = MAXIMUM_WAIT_OBJECTS - 1;

constexpr DWORD WATCHED = FILE_NOTIFY_CHANGE_FILE_NAME | FILE_NOTIFY_CHANGE_DIR_NAME |
                          FILE_NOTIFY_CHANGE_LAST_WRITE | FILE_NOTIFY_CHANGE_SIZE;

bool isFolder(const std::string &path) {
    DWORD attributes = GetFileAttributesA(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

} // namespace

std::vector<std::string> ruleFoldersOf(const std::string &commandPath) {
    std::vector<std::string> folders;
    std::string path = commandPath;
    if (path.size() >= 2 && path.front() == '"' && path.back() == '"')
        path = path.substr(1, path.size() - 2);
    std::size_t cut = path.find_last_of("\\/");
    while (cut != std::string::npos && cut > 0) {
        path.resize(cut);
        std::string candidate = path + "\\node_modules\\";
        if (isFolder(candidate))
            folders.push_back(candidate);
        cut = path.find_last_of("\\/");
    }
    return folders;
}

namespace {

// The folders of `commandPath` that exist now, at most MAX_FOLDERS.
std::vector<std::string> watchedFoldersOf(const std::string &commandPath) {
    std::vector<std::string> watched = ruleFoldersOf(commandPath);
    if (watched.size() > MAX_FOLDERS)
        watched.resize(MAX_FOLDERS);
    return watched;
}

// One notification per folder of `commandPath` into `folders`, each over the folder's whole
// tree: the `@scope` folders and the packages in it are seen without a notification of
// their own, which would hold the folder open, so that npm could not remove it and create
// it anew. False when one could not be set up (a folder being removed, say), whose failure
// is written when `report`.
bool openFolders(const std::string &commandPath, std::vector<UniqueChangeNotification> &folders,
                 bool report) {
    bool whole = true;
    for (const std::string &path : watchedFoldersOf(commandPath)) {
        UniqueChangeNotification notification(
            FindFirstChangeNotificationA(path.c_str(), TRUE, WATCHED));
        if (!notification) {
            if (report)
                writeLastErrorDiagnostic("FindFirstChangeNotification(rule folder) failed.",
                                         GetLastError());
            whole = false;
            continue;
        }
        folders.push_back(std::move(notification));
    }
    return whole;
}

// A watch that failed is set up again after this wait; npm removes and creates folders
// within moments.
constexpr DWORD RETRY_WAIT_MS = 1000;
// A change is told once the folders have been quiet this long, or at the latest after the
// limit, while npm may still be writing.
constexpr DWORD QUIET_MS = 300;
constexpr ULONGLONG SETTLE_LIMIT_MS = 3000;

} // namespace

void RuleFolderWatch::watch(const std::string &commandPath, std::function<void()> changed) {
    bool setUpAgain = false;
    {
        std::lock_guard<std::mutex> lock(mutex_);
        if (watching_ && commandPath_ == commandPath) {
            // A thread that runs keeps the watch whole; one that could not start is
            // replaced here, at the next check.
            if (thread_.joinable() || !broken_)
                return;
            setUpAgain = true;
        }
    }
    stop();
    std::lock_guard<std::mutex> lock(mutex_);
    commandPath_ = commandPath;
    watching_ = true;
    changed_ = std::move(changed);
    broken_ = !openFolders(commandPath, folders_, !setUpAgain);
    if (setUpAgain && !broken_)
        ++changes_; // what changed while nothing was watched is not known
    if (folders_.empty() && !broken_)
        return; // nothing to watch
    stopEvent_.reset(CreateEventA(nullptr, TRUE, FALSE, nullptr));
    if (!stopEvent_) {
        broken_ = true;
        folders_.clear();
        return;
    }
    try {
        thread_ = std::thread([this, commandPath] { run(commandPath); });
    } catch (...) {
        broken_ = true;
        folders_.clear();
    }
}

void RuleFolderWatch::stop() {
    std::thread thread;
    {
        std::lock_guard<std::mutex> lock(mutex_);
        if (stopEvent_)
            SetEvent(stopEvent_.get());
        thread = std::move(thread_);
    }
    if (thread.joinable())
        thread.join();
    std::lock_guard<std::mutex> lock(mutex_);
    folders_.clear();
    stopEvent_.reset();
    changed_ = nullptr;
    commandPath_.clear();
    watching_ = false;
    broken_ = false;
    settling_ = false;
}

bool RuleFolderWatch::changePending() {
    std::lock_guard<std::mutex> lock(mutex_);
    if (broken_ || settling_)
        return true;
    for (const UniqueChangeNotification &folder : folders_)
        if (WaitForSingleObject(folder.get(), 0) == WAIT_OBJECT_0)
            return true;
    return false;
}

void RuleFolderWatch::renew(const std::string &commandPath, bool changed) {
    std::vector<UniqueChangeNotification> fresh;
    bool wasBroken;
    {
        std::lock_guard<std::mutex> lock(mutex_);
        wasBroken = broken_;
    }
    // Opened before the old ones close, so that no change falls between them.
    const bool whole = openFolders(commandPath, fresh, !wasBroken);
    const bool counted = changed || (wasBroken && whole);
    std::function<void()> tell;
    {
        std::lock_guard<std::mutex> lock(mutex_);
        // Counted while the old notification still shows the change as pending, so that at
        // no instant neither tells of it.
        if (counted)
            ++changes_;
        folders_.swap(fresh);
        broken_ = !whole;
        settling_ = false;
        if (counted)
            tell = changed_;
    }
    // The old notifications close here, a failed one among them: npm can then remove or
    // create its folder, which an open notification would hold.
    fresh.clear();
    if (!tell)
        return;
    try {
        tell();
    } catch (...) {
        // Whoever listens puts things right at its next request.
    }
}

// Every change, and every failure, sets the watch up anew over the folders that exist then:
// a folder removed and created again is a new folder, which the old notification no longer
// sees. The folders change only on this thread while it runs (watch() and stop() join it
// first).
void RuleFolderWatch::run(const std::string &commandPath) {
    for (;;) {
        std::vector<HANDLE> handles{stopEvent_.get()};
        bool broken;
        {
            std::lock_guard<std::mutex> lock(mutex_);
            for (const UniqueChangeNotification &folder : folders_)
                handles.push_back(folder.get());
            broken = broken_;
        }
        DWORD got = WaitForMultipleObjects(static_cast<DWORD>(handles.size()), handles.data(),
                                           FALSE, broken ? RETRY_WAIT_MS : INFINITE);
        if (got == WAIT_OBJECT_0)
            break;
        if (got == WAIT_TIMEOUT) {
            renew(commandPath, false);
            continue;
        }
        if (got >= WAIT_OBJECT_0 + handles.size()) {
            // Nothing is watched now: the notifications close, and the watch is set up
            // again after the wait, counting one change.
            writeLastErrorDiagnostic("WaitForMultipleObjects(rule folders) failed.",
                                     GetLastError());
            std::lock_guard<std::mutex> lock(mutex_);
            broken_ = true;
            folders_.clear();
            continue;
        }
        // A change seen: told once the folders are quiet, so that npm's many writes of one
        // install lead to one new server, not to one per file.
        {
            std::lock_guard<std::mutex> lock(mutex_);
            settling_ = true;
        }
        if (!settle(handles, got))
            break;
        renew(commandPath, true);
    }
}

// Waits until no notification tells of another change for a moment, at most a few seconds.
bool RuleFolderWatch::settle(const std::vector<HANDLE> &handles, DWORD got) {
    const ULONGLONG end = GetTickCount64() + SETTLE_LIMIT_MS;
    for (;;) {
        // A notification that cannot be re-armed is replaced by renew() at once.
        if (!FindNextChangeNotification(handles[got - WAIT_OBJECT_0]))
            return true;
        const ULONGLONG now = GetTickCount64();
        if (now >= end)
            return true;
        got = WaitForMultipleObjects(static_cast<DWORD>(handles.size()), handles.data(), FALSE,
                                     static_cast<DWORD>(std::min<ULONGLONG>(QUIET_MS, end - now)));
        if (got == WAIT_OBJECT_0)
            return false;
        if (got == WAIT_TIMEOUT || got >= WAIT_OBJECT_0 + handles.size())
            return true;
    }
}

} // namespace quill
