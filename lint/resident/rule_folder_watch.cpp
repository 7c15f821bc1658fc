// The watch over textlint's rule folders: one change notification per folder and a thread
// that waits for them.
#include "lint/resident/rule_folder_watch.h"

#include "common/system_error.h"

#include <iterator>

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

// The `@scope` folders inside a `node_modules` folder.
std::vector<std::string> scopeFoldersOf(const std::string &folder) {
    std::vector<std::string> scopes;
    WIN32_FIND_DATAA entry;
    HANDLE find = FindFirstFileA((folder + "@*").c_str(), &entry);
    if (find == INVALID_HANDLE_VALUE)
        return scopes;
    do {
        if (entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
            scopes.push_back(folder + entry.cFileName + "\\");
    } while (FindNextFileA(find, &entry));
    FindClose(find);
    return scopes;
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

void RuleFolderWatch::watch(const std::string &commandPath, std::function<void()> changed) {
    {
        std::lock_guard<std::mutex> lock(mutex_);
        if (watching_ && commandPath_ == commandPath)
            return;
    }
    stop();
    std::lock_guard<std::mutex> lock(mutex_);
    commandPath_ = commandPath;
    watching_ = true;
    broken_ = false;
    changed_ = std::move(changed);
    for (const std::string &folder : ruleFoldersOf(commandPath)) {
        std::vector<std::string> watched = scopeFoldersOf(folder);
        watched.insert(watched.begin(), folder);
        for (const std::string &path : watched) {
            if (folders_.size() == MAX_FOLDERS)
                break;
            UniqueChangeNotification notification(
                FindFirstChangeNotificationA(path.c_str(), FALSE, WATCHED));
            if (!notification) {
                writeLastErrorDiagnostic("FindFirstChangeNotification(rule folder) failed.",
                                         GetLastError());
                broken_ = true;
                continue;
            }
            folders_.push_back(std::move(notification));
        }
    }
    if (folders_.empty())
        return;
    stopEvent_.reset(CreateEventA(nullptr, TRUE, FALSE, nullptr));
    if (!stopEvent_) {
        broken_ = true;
        folders_.clear();
        return;
    }
    try {
        thread_ = std::thread([this] { run(); });
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
}

bool RuleFolderWatch::changePending() {
    std::lock_guard<std::mutex> lock(mutex_);
    if (broken_)
        return true;
    for (const UniqueChangeNotification &folder : folders_)
        if (WaitForSingleObject(folder.get(), 0) == WAIT_OBJECT_0)
            return true;
    return false;
}

// The folders and the event change only while no thread runs (watch() and stop() join it).
void RuleFolderWatch::run() {
    std::vector<HANDLE> handles{stopEvent_.get()};
    for (const UniqueChangeNotification &folder : folders_)
        handles.push_back(folder.get());
    for (;;) {
        DWORD got = WaitForMultipleObjects(static_cast<DWORD>(handles.size()), handles.data(),
                                           FALSE, INFINITE);
        if (got == WAIT_OBJECT_0)
            break;
        if (got >= WAIT_OBJECT_0 + handles.size()) {
            std::lock_guard<std::mutex> lock(mutex_);
            broken_ = true; // nothing is watched any more
            break;
        }
        // Counted while the notification still shows the change as pending, so that at no
        // instant neither tells of it; the system keeps a change that comes before the
        // notification is watched again, so one during the new proof is seen too.
        ++changes_;
        if (!FindNextChangeNotification(handles[got - WAIT_OBJECT_0])) {
            std::lock_guard<std::mutex> lock(mutex_);
            broken_ = true;
        }
        try {
            if (changed_)
                changed_();
        } catch (...) {
            // Whoever listens puts things right at its next request.
        }
        bool broken;
        {
            std::lock_guard<std::mutex> lock(mutex_);
            broken = broken_;
        }
        if (broken)
            break;
    }
}

} // namespace quill
