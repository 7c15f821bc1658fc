// Notices changes in the folders textlint loads its rules from: the `node_modules` folder in
// the command's folder and in each folder above it, each with everything in it (the `@scope`
// folders, the packages and their code). npm also rewrites `node_modules\.package-lock.json`
// at every install, update and removal. A change notification of the system, not polling.
#pragma once

#include "common/handles.h"

#include <windows.h>

#include <atomic>
#include <functional>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace quill {

class RuleFolderWatch {
  public:
    RuleFolderWatch() = default;
    ~RuleFolderWatch() { stop(); }
    RuleFolderWatch(const RuleFolderWatch &) = delete;
    RuleFolderWatch &operator=(const RuleFolderWatch &) = delete;

    // Watches the folders of `commandPath`; after a change, once the folders have been
    // quiet for a moment, `changed` is called on the watch's own thread. Nothing happens when the
    // same path is watched already (a watch whose thread could not start is set up anew).
    void watch(const std::string &commandPath, std::function<void()> changed);
    // Ends the watch and its thread.
    void stop();

    // How many changes were seen so far; a proof made before a change no longer holds. A
    // watch that failed and was set up again counts as one change: one may have gone
    // unseen meanwhile.
    unsigned long changes() const { return changes_; }
    // Whether a change happened that changes() does not count yet, or a folder is not
    // watched: until then, nothing proved before can be trusted.
    bool changePending();

  private:
    void run(const std::string &commandPath);
    // Sets the watch up anew over the folders that exist now, closing the notifications it
    // held; `changed` when a notification or a failed wait led here.
    void renew(const std::string &commandPath, bool changed);
    // Re-arms the notification `got` of `handles` (the stop event first) and waits until
    // the folders are quiet; false when the watch is stopped meanwhile.
    bool settle(const std::vector<HANDLE> &handles, DWORD got);

    std::mutex mutex_; // guards the members below; the thread reads them while it runs
    std::string commandPath_;
    bool watching_ = false;
    // A folder that exists is not watched (its notification could not be set up, or the
    // wait failed): the thread tries again after a short wait.
    bool broken_ = false;
    // A change was seen and is told once the folders are quiet.
    bool settling_ = false;
    std::vector<UniqueChangeNotification> folders_;
    UniqueHandle stopEvent_;
    std::function<void()> changed_;
    std::thread thread_;
    std::atomic<unsigned long> changes_{0};
};

// The `node_modules` folders (with their trailing backslash) that textlint would load rules
// from for `commandPath`, nearest first; only those that exist.
std::vector<std::string> ruleFoldersOf(const std::string &commandPath);

} // namespace quill
