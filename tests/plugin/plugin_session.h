// The built plug-in copied into a folder of its own beside its INI file and loaded into the
// test program, which is the stand-in host (tools/standin_host, which also reads the result
// window's rows); plus the starts of a stand-in textlint the tests count.
#pragma once

#include "tests/support/test_paths.h"

#include <windows.h>

#include <functional>
#include <string>
#include <vector>

namespace quill::test {

// INI text of the plug-in's section with the given command path and the rule set the
// real textlint tests use; `extraLines` (each ending in CR LF) are added to the section.
// The resident textlint is off unless `extraLines` switch it on.
std::string iniText(const std::string &textLintCmdPath, const std::string &extraLines = "");

class PluginSession {
  public:
    // Copies build/Quillcheck.dll to `<temp>\<subfolder>\<fileName>` with `ini` (when not
    // empty) beside it as the INI file the module will look for, lets `prepare` (when given)
    // add files to that folder, and loads it.
    explicit PluginSession(const std::string &ini, const std::string &subfolder = "plugin",
                           const std::string &fileName = "Quillcheck.dll",
                           const std::string &iniName = "Quillcheck.ini",
                           const std::function<void(const std::string &)> &prepare = nullptr);
    // Loads the DLL `dllPath` where it is (a release unpacked as a user would), with `ini`
    // (when not empty) written beside it as its INI file.
    struct InPlace {
        std::string dllPath;
    };
    PluginSession(const InPlace &where, const std::string &ini);
    ~PluginSession();
    PluginSession(const PluginSession &) = delete;
    PluginSession &operator=(const PluginSession &) = delete;

    HMODULE module() const { return module_; }
    const std::string &folder() const { return folder_; }
    std::string file(const std::string &name) const { return folder_ + "\\" + name; }
    void unload();

    template <typename Function> Function proc(const char *name) const {
        return reinterpret_cast<Function>(reinterpret_cast<void *>(GetProcAddress(module_, name)));
    }

    int start() const;
    int exit() const;
    int menuInit(HWND window, HMENU menu, int type) const;
    int openMail(const char *mailId) const;
    int everyMinute() const;
    int openCompose(HWND window) const;

  private:
    TempDir dir_;
    std::string folder_;
    HMODULE module_ = nullptr;
};

// Registers the commands through `window`'s menu bar, records the window as opened and
// chooses the check command, or the auto-fix command; false when it could not be chosen.
bool runComposeCommand(const PluginSession &plugin, HWND window, bool autoFix);

// Pumps this thread's messages until `done` holds or `timeoutMs` passed; `nudge`, when
// given, runs about once a second meanwhile.
bool pumpUntil(const std::function<bool()> &done, DWORD timeoutMs,
               const std::function<void()> &nudge = nullptr);

// Whether a row of the result window holds `part`.
bool anyRowHas(HWND result, const std::string &part);

// `utf8` re-encoded in code page `codePage`, as the host holds texts.
std::string inCodePage(const std::string &utf8, UINT codePage);

// Counts the starts of the stand-in textlint fixtures (tests/fixtures/plugin): they append
// a line to the file that QUILL_RUN_LOG names, which this object sets for the process.
class RunLog {
  public:
    RunLog();
    ~RunLog();
    std::size_t count() const;
    // Waits up to `timeoutMs` until at least `n` starts were counted.
    bool waitForCount(std::size_t n, DWORD timeoutMs) const;
    // The lines that are `line` (fixtures that log what they did), and the wait for them.
    std::size_t count(const std::string &line) const;
    bool waitForCount(const std::string &line, std::size_t n, DWORD timeoutMs) const;

  private:
    TempDir dir_;
    std::string path_;
};

} // namespace quill::test
