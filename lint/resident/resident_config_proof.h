// What the resident textlint may be given: a textlint recent enough to take the plug-in's
// configuration with `--mcp`, and a configuration proved loadable by that textlint. A
// configuration textlint cannot load serves zero rules without any error, where the cold
// run fails the check, so only a proved one reaches the server's file. Both verdicts hold
// until the command path, the configuration or the rule folders' change count changes.
#pragma once

#include "common/handles.h"

#include <functional>
#include <mutex>
#include <optional>
#include <string>

namespace quill {

class ResidentConfigProof {
  public:
    // Runs a one-shot textlint command line and gives its output; none when it could not
    // run or did not end in time (or there was no command line).
    using OneShotRun =
        std::function<std::optional<std::string>(const std::optional<std::string> &commandLine)>;

    enum class Verdict {
        Yes,
        No,
        RunFailed, // textlint did not run: a failure of the server's start like any other
    };

    // `requests` is held by every request to the server, which reads the configuration
    // file: the file changes only while none runs.
    ResidentConfigProof(OneShotRun run, std::timed_mutex &requests);
    ResidentConfigProof(const ResidentConfigProof &) = delete;
    ResidentConfigProof &operator=(const ResidentConfigProof &) = delete;

    // Whether the textlint of `commandPath` takes `-c` with `--mcp` (15.2 on); `changes` is
    // the rule folders' change count, counted before the question is asked.
    Verdict textLintIsRecentEnough(const std::string &commandPath, unsigned long changes);
    // Proves `config` with textlint's `--print-config` and, when it loads rules, makes it
    // the server's file in `folder` (its path with a trailing backslash), held open so that
    // it stays as proved.
    Verdict prove(const std::string &folder, const std::string &commandPath,
                  const std::string &config, unsigned long changes);
    // The server's file holds `config`, proved by `commandPath` at change count `changes`.
    bool holds(const std::string &commandPath, const std::string &config,
               unsigned long changes) const;
    // The change count of the configuration proved last.
    unsigned long provedChanges() const;
    // A new server proves its configuration anew: the rules may have gone since.
    void forget();
    // Lets go of the server's file, so that its folder can be removed; the caller holds
    // the requests' lock.
    void releaseFile();

    // The name of the server's configuration file in the folder.
    static const char *serverConfigName();

  private:
    OneShotRun run_;
    std::timed_mutex &requests_;

    mutable std::mutex mutex_;
    std::string provedConfig_;        // what the server's configuration file holds, proved
    std::string provedFor_;           // the command path that proved it
    unsigned long provedChanges_ = 0; // the rule folders' changes seen when it was proved
    std::string rejectedConfig_;      // the last configuration that textlint could not load
    std::string rejectedFor_;
    unsigned long rejectedChanges_ = 0;
    std::string versionCommandPath_;   // the command whose version was looked at
    unsigned long versionChanges_ = 0; // the rule folders' changes seen when it was
    bool versionSupported_ = false;

    // The server's configuration file, held open while the server may read it, so that
    // nobody deletes or changes it; under the requests' lock.
    UniqueHandle configHold_;
};

} // namespace quill
