// Notices changes in the folders textlint loads its rules from: the `node_modules` folder in
// the command's folder and in each folder above it, and their `@scope` folders. npm rewrites
// `node_modules\.package-lock.json` at every install, update and removal, so a change of any
// package shows there too. A change notification of the system, not polling.
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

    // Watches the folders of `commandPath`; after every change, `changed` is called on the
    // watch's own thread. Nothing happens when the same path is watched already.
    void watch(const std::string &commandPath, std::function<void()> changed);
    // Ends the watch and its thread.
    void stop();

    // How many changes were seen so far; a proof made before a change no longer holds.
    unsigned long changes() const { return changes_; }
    // Whether a change happened that changes() does not count yet, or the watch failed:
    // until it is counted, nothing proved before can be trusted.
    bool changePending();

  private:
    void run();

    std::mutex mutex_; // guards the members below; the thread reads them while it runs
    std::string commandPath_;
    bool watching_ = false;
    bool broken_ = false;
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
