// The resident textlint through the built plug-in in the stand-in host: it is started with
// the plug-in only when the settings allow it, its answers count only for the rules it was
// proved with, it gives up after failing again and again, its watch of the rule folders
// recovers, and nothing of it outlives BKC_OnExit, which returns promptly whatever it is
// doing.
#include "common/handles.h"
#include "resources/resource_ids.h"
#include "tests/lint/resident/probe_rule.h"
#include "tests/plugin/plugin_session.h"
#include "tests/support/message_box_watcher.h"
#include "tests/support/scoped_environment.h"
#include "tools/standin_host/standin_host.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <tlhelp32.h>

#include <atomic>
#include <map>
#include <set>
#include <thread>

namespace quill::test {
namespace {

using namespace quill::standin;

// The processes started by this test program, directly or further down, by name.
std::multiset<std::string> descendants() {
    std::map<DWORD, std::pair<DWORD, std::string>> processes; // pid -> (parent, name)
    UniqueHandle snapshot(CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0));
    PROCESSENTRY32 entry = {};
    entry.dwSize = sizeof(entry);
    for (BOOL more = Process32First(snapshot.get(), &entry); more;
         more = Process32Next(snapshot.get(), &entry))
        processes[entry.th32ProcessID] = {entry.th32ParentProcessID, entry.szExeFile};
    std::multiset<std::string> names;
    for (const auto &[pid, process] : processes) {
        DWORD parent = process.first;
        for (int depth = 0; depth < 8 && parent != 0 && parent != pid; ++depth) {
            if (parent == GetCurrentProcessId()) {
                names.insert(process.second);
                break;
            }
            auto it = processes.find(parent);
            if (it == processes.end())
                break;
            parent = it->second.first;
        }
    }
    return names;
}

// Waits until the server's error output exists in a folder of the plug-in's inside `temp`
// (the server is being started) and a node.exe of ours runs.
bool waitForServerStart(const std::string &temp, DWORD timeoutMs) {
    const ULONGLONG end = GetTickCount64() + timeoutMs;
    for (;;) {
        WIN32_FIND_DATAA data;
        HANDLE find = FindFirstFileA((temp + "\\Quillcheck-*").c_str(), &data);
        bool started = false;
        if (find != INVALID_HANDLE_VALUE) {
            std::string folder = temp + "\\" + data.cFileName;
            started =
                GetFileAttributesA((folder + "\\server.err").c_str()) != INVALID_FILE_ATTRIBUTES;
            FindClose(find);
        }
        if (started && descendants().count("node.exe") > 0)
            return true;
        if (GetTickCount64() > end)
            return false;
        Sleep(100);
    }
}

// The TEMP and TMP of this process and its children, for the life of the object.
class ScopedTempFolder {
  public:
    explicit ScopedTempFolder(const std::string &path) {
        GetEnvironmentVariableA("TEMP", old_, MAX_PATH);
        SetEnvironmentVariableA("TEMP", path.c_str());
        SetEnvironmentVariableA("TMP", path.c_str());
    }
    ~ScopedTempFolder() {
        SetEnvironmentVariableA("TEMP", old_);
        SetEnvironmentVariableA("TMP", old_);
    }

  private:
    char old_[MAX_PATH] = "";
};

std::size_t textLintProcesses() {
    std::multiset<std::string> names = descendants();
    return names.count("node.exe") + names.count("cmd.exe");
}

class ResidentPluginTest : public ::testing::Test {
  protected:
    void SetUp() override { resetHost(); }
    void TearDown() override { resetHost(); }
};

TEST_F(ResidentPluginTest, NoTextLintProcessOutlivesTheEndOfThePlugin) {
    TempDir temp("qcrt");
    ScopedTempFolder scoped(temp.path());
    // With the send gate on the server starts with the plug-in.
    PluginSession plugin(iniText(textlintCmdPath(), "EnableResidentTextLint=true\r\n"
                                                    "EnableEvaluateValueThreshold=true\r\n"));
    ASSERT_NE(nullptr, plugin.module());
    ASSERT_EQ(textLintProcesses(), 0u);
    EXPECT_EQ(0, plugin.start());
    // The server comes up in the background; the end may catch it at any step after.
    EXPECT_TRUE(waitForServerStart(temp.path(), 180000));
    EXPECT_EQ(0, plugin.exit());
    EXPECT_EQ(textLintProcesses(), 0u);
}

TEST_F(ResidentPluginTest, SwitchedOffNoServerIsStarted) {
    RunLog runs;
    PluginSession plugin(
        iniText(fixturePath("plugin/count_runs.cmd"), "EnableResidentTextLint=false\r\n"));
    ASSERT_NE(nullptr, plugin.module());
    EXPECT_EQ(0, plugin.start());
    ShownMail mail;
    mail.text = inCodePage("下書きの本文です。\r\n", 932);
    setShownMail(mail);
    EXPECT_EQ(0, plugin.openMail("0a1b2c3d/!!!!Outbox\\!!!Draft\\42.msg"));
    EXPECT_TRUE(runs.waitForCount(1, 60000));
    EXPECT_EQ(0, plugin.exit());
    // Switched on, the start alone would already have asked the command for its version.
    EXPECT_EQ(1u, runs.count());
    EXPECT_EQ(textLintProcesses(), 0u);
}

// The first folder of the plug-in in `temp` ("" when none), with its trailing backslash.
std::string pluginFolderIn(const std::string &temp) {
    WIN32_FIND_DATAA data;
    HANDLE find = FindFirstFileA((temp + "\\Quillcheck-*").c_str(), &data);
    if (find == INVALID_HANDLE_VALUE)
        return "";
    FindClose(find);
    return temp + "\\" + data.cFileName + "\\";
}

bool waitForFile(const std::string &path, DWORD timeoutMs) {
    const ULONGLONG end = GetTickCount64() + timeoutMs;
    while (GetFileAttributesA(path.c_str()) == INVALID_FILE_ATTRIBUTES) {
        if (GetTickCount64() > end)
            return false;
        Sleep(50);
    }
    return true;
}

// A folder renamed away for the life of the object.
class RenamedAway {
  public:
    explicit RenamedAway(const std::string &path) : path_(path) {
        moved_ = MoveFileA(path_.c_str(), (path_ + ".away").c_str()) != FALSE;
    }
    ~RenamedAway() {
        if (moved_)
            MoveFileA((path_ + ".away").c_str(), path_.c_str());
    }
    bool moved() const { return moved_; }

  private:
    std::string path_;
    bool moved_ = false;
};

const std::string MAIL_HEAD = "Content-Type: text/plain; charset=UTF-8\r\n\r\n";
// A max-ten finding, which the gate with threshold 0 stops.
const std::string MAX_TEN = "私は、今日、とても、眠い、けれど、働きます。\r\n";

int send(const PluginSession &plugin, const std::string &source) {
    // Under Wine node.exe cannot write to an inherited console.
    ::testing::internal::CaptureStdout();
    int result = plugin.proc<int(WINAPI *)(LPCSTR)>("BKC_OnSend")(source.c_str());
    ::testing::internal::GetCapturedStdout();
    return result;
}

std::wstring statusLine() {
    wchar_t text[512] = L"";
    GetWindowTextW(GetDlgItem(findResultWindow(), IDC_RESULT_STATUS), text, 512);
    return text;
}

// A rule package that goes away while the server runs leaves textlint with no rules at all,
// answering every mail as clean: the next check must not pass the mail silently.
TEST_F(ResidentPluginTest, RulesGoneWhileServingNeverPassTheMailAsClean) {
    TempDir temp("qcrg");
    ScopedTempFolder scoped(temp.path());
    PluginSession plugin(iniText(textlintCmdPath(), "EnableResidentTextLint=true\r\n"
                                                    "EnableEvaluateValueThreshold=true\r\n"
                                                    "EvaluateValueThreshold=0\r\n"));
    ASSERT_NE(nullptr, plugin.module());
    setHeader("From", "a@example.jp");
    setHeader("Subject", "subject");
    MessageBoxRecorder boxes;
    ASSERT_EQ(0, plugin.start());
    // Warm once the gate answers far quicker than a cold run (about 6 s here) can.
    bool warm = false;
    for (ULONGLONG end = GetTickCount64() + 240000; !warm && GetTickCount64() < end;) {
        ULONGLONG before = GetTickCount64();
        ASSERT_EQ(-1, send(plugin, MAIL_HEAD + MAX_TEN));
        warm = GetTickCount64() - before < 1500;
    }
    ASSERT_TRUE(warm);
    const std::string folder = pluginFolderIn(temp.path());
    ASSERT_FALSE(folder.empty());
    EXPECT_FALSE(DeleteFileA((folder + "server.json").c_str()));
    EXPECT_NE(GetFileAttributesA((folder + "server.json").c_str()), INVALID_FILE_ATTRIBUTES);
    const std::size_t boxesBefore = boxes.count();

    RenamedAway rule(textlintFolder() + "\\node_modules\\textlint-rule-max-ten");
    ASSERT_TRUE(rule.moved());
    // The plug-in proves the rules again as soon as it notices; the check below must not
    // pass the mail however long that takes.
    waitForFile(folder + "proof.json", 60000);
    int result = send(plugin, MAIL_HEAD + MAX_TEN);
    EXPECT_TRUE(result == -1 || boxes.waitForCount(boxesBefore + 1)) << result;
    EXPECT_EQ(0, plugin.exit());
}

// The fixture server that answers late, with the resident textlint and the gate on.
std::string lateServerWithGate() {
    return iniText(fixturePath("plugin/late_server.cmd"), "EnableResidentTextLint=true\r\n"
                                                          "EnableEvaluateValueThreshold=true\r\n"
                                                          "EvaluateValueThreshold=0\r\n");
}

// A server that starts well and then answers every request late is given up after six
// starts; the user reads why in the result window.
TEST_F(ResidentPluginTest, ServerThatAlwaysAnswersLateIsLeftAloneAfterSixStarts) {
    RunLog log;
    ScopedEnvironment backOff("QUILLCHECK_TEST_FIRST_BACK_OFF_MS", "100");
    PluginSession plugin(lateServerWithGate());
    ASSERT_NE(nullptr, plugin.module());
    ASSERT_EQ(0, plugin.start());
    std::size_t checksAfterSixth = 0;
    for (ULONGLONG end = GetTickCount64() + 300000;
         checksAfterSixth < 8 && GetTickCount64() < end;) {
        // The fixture's cold check finds nothing: every mail goes.
        EXPECT_EQ(0, send(plugin, MAIL_HEAD + MAX_TEN));
        if (log.count("server") >= 6)
            ++checksAfterSixth;
    }
    EXPECT_EQ(checksAfterSixth, 8u);
    EXPECT_EQ(log.count("server"), 6u);
    std::wstring status;
    for (ULONGLONG end = GetTickCount64() + 10000; status.empty() && GetTickCount64() < end;) {
        pumpMessages(20);
        status = statusLine();
    }
    EXPECT_EQ(0u, status.find(L"常駐 textlint が 6 回続けて失敗したため")) << status.size();
    EXPECT_EQ(0, plugin.exit());
    EXPECT_EQ(textLintProcesses(), 0u);
}

// The end of the plug-in waits neither for a request the server is late with nor for a
// cold check under way in the background.
TEST_F(ResidentPluginTest, ExitIsPromptWhileAWarmRequestAndAColdCheckRun) {
    RunLog log;
    ScopedEnvironment backOff("QUILLCHECK_TEST_FIRST_BACK_OFF_MS", "100");
    PluginSession plugin(lateServerWithGate());
    ASSERT_NE(nullptr, plugin.module());
    MessageBoxRecorder boxes;
    ASSERT_EQ(0, plugin.start());
    ASSERT_TRUE(log.waitForCount("server", 1, 120000));
    // A background check whose cold run hangs (after a late warm request, if it made one).
    ShownMail mail;
    mail.text = "HANG\r\n";
    setShownMail(mail);
    EXPECT_EQ(0, plugin.openMail("0a1b2c3d/!!!!Outbox\\!!!Draft\\42.msg"));
    ASSERT_TRUE(log.waitForCount("cold", 1, 120000));
    // Sends until one makes a warm request, which the server is late with.
    const std::size_t requests = log.count("request");
    std::atomic<bool> ending{false};
    std::thread sender([&] {
        while (!ending)
            send(plugin, MAIL_HEAD + MAX_TEN);
    });
    bool asked = log.waitForCount("request", requests + 1, 120000);
    ending = true;
    DeleteFileA(plugin.file("Quillcheck.ini").c_str());
    ULONGLONG before = GetTickCount64();
    EXPECT_EQ(0, plugin.exit());
    ULONGLONG took = GetTickCount64() - before;
    sender.join();
    EXPECT_TRUE(asked);
    EXPECT_LE(took, 2000u) << "BKC_OnExit took " << took << " ms";
    EXPECT_NE(GetFileAttributesA(plugin.file("Quillcheck.ini").c_str()), INVALID_FILE_ATTRIBUTES);
    std::size_t left = textLintProcesses();
    for (ULONGLONG end = GetTickCount64() + 5000; left > 0 && GetTickCount64() < end; Sleep(20))
        left = textLintProcesses();
    EXPECT_EQ(left, 0u);
}

// A host killed while textlint ran leaves a folder with a copy of the mail; the next start
// removes it, and leaves the folder of a plug-in that runs.
TEST_F(ResidentPluginTest, StartRemovesFoldersOfDeadOwnersOnly) {
    TempDir temp("qcrs");
    ScopedTempFolder scoped(temp.path());
    const std::string dead = temp.path() + "\\Quillcheck-0123456789abcdef0123456789abcdef";
    ASSERT_TRUE(CreateDirectoryA(dead.c_str(), nullptr));
    writeFileBytes(dead + "\\in-use", "");
    writeFileBytes(dead + "\\Quillcheck1.tmp.txt", "下書き");

    RunLog log;
    PluginSession running(iniText(fixturePath("plugin/late_server.cmd"),
                                  "EnableResidentTextLint=true\r\n"
                                  "EnableEvaluateValueThreshold=true\r\n"),
                          "running");
    ASSERT_NE(nullptr, running.module());
    ASSERT_EQ(0, running.start());
    ASSERT_TRUE(log.waitForCount("server", 1, 120000));
    EXPECT_EQ(GetFileAttributesA(dead.c_str()), INVALID_FILE_ATTRIBUTES);
    const std::string live = pluginFolderIn(temp.path());
    ASSERT_FALSE(live.empty());

    PluginSession second(iniText(fixturePath("plugin/count_runs.cmd")), "second");
    ASSERT_NE(nullptr, second.module());
    EXPECT_EQ(0, second.start());
    EXPECT_NE(GetFileAttributesA((live + "server.json").c_str()), INVALID_FILE_ATTRIBUTES);
    EXPECT_NE(GetFileAttributesA((live + "in-use").c_str()), INVALID_FILE_ATTRIBUTES);
    EXPECT_EQ(0, second.exit());
    EXPECT_EQ(0, running.exit());
    EXPECT_TRUE(pluginFolderIn(temp.path()).empty());
}

// Sets the creation and write times of the folder `path` `minutes` back.
void dateBack(const std::string &path, int minutes) {
    UniqueHandle folder(CreateFileA(path.c_str(), FILE_WRITE_ATTRIBUTES,
                                    FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                    OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr));
    ASSERT_TRUE(folder);
    FILETIME now;
    GetSystemTimeAsFileTime(&now);
    ULARGE_INTEGER at;
    at.LowPart = now.dwLowDateTime;
    at.HighPart = now.dwHighDateTime;
    at.QuadPart -= static_cast<ULONGLONG>(minutes) * 60ull * 10000000ull;
    FILETIME then{at.LowPart, at.HighPart};
    ASSERT_TRUE(SetFileTime(folder.get(), &then, &then, &then));
}

// The start removes only what is surely the plug-in's: a folder of the user's that begins
// with the same word, and one of the plug-in's pattern without its in-use file, both long
// past any start, stay with what they hold.
TEST_F(ResidentPluginTest, StartLeavesFoldersThatAreNotSurelyThePlugins) {
    TempDir temp("qcrk");
    ScopedTempFolder scoped(temp.path());
    const std::string notes = temp.path() + "\\Quillcheck-notes";
    const std::string unmarked = temp.path() + "\\Quillcheck-00112233445566778899aabbccddeeff";
    for (const std::string &folder : {notes, unmarked}) {
        ASSERT_TRUE(CreateDirectoryA(folder.c_str(), nullptr));
        writeFileBytes(folder + "\\note.txt", "メモ");
        ASSERT_NO_FATAL_FAILURE(dateBack(folder, 2));
    }
    PluginSession plugin(iniText(fixturePath("plugin/count_runs.cmd")));
    ASSERT_NE(nullptr, plugin.module());
    EXPECT_EQ(0, plugin.start());
    EXPECT_EQ(0, plugin.exit());
    for (const std::string &folder : {notes, unmarked})
        EXPECT_EQ(readFileBytes(folder + "\\note.txt"), "メモ") << folder;
}

// Waits up to `timeoutMs` until no textlint process of ours runs.
bool waitUntilNoTextLint(DWORD timeoutMs) {
    const ULONGLONG end = GetTickCount64() + timeoutMs;
    while (textLintProcesses() > 0) {
        if (GetTickCount64() > end)
            return false;
        Sleep(50);
    }
    return true;
}

// Without the send gate the server waits for a compose window; it ends after the idle time
// once no compose window is open, and the next window starts it again.
TEST_F(ResidentPluginTest, ServerRunsOnlyWhileComposeWindowsMayNeedIt) {
    RunLog log;
    ScopedEnvironment idle("QUILLCHECK_TEST_RESIDENT_IDLE_MS", "1000");
    PluginSession plugin(
        iniText(fixturePath("plugin/late_server.cmd"), "EnableResidentTextLint=true\r\n"));
    ASSERT_NE(nullptr, plugin.module());
    ASSERT_EQ(0, plugin.start());
    EXPECT_EQ(textLintProcesses(), 0u);

    HWND compose = createComposeWindow();
    EXPECT_EQ(0, plugin.openCompose(compose));
    ASSERT_TRUE(log.waitForCount("server", 1, 120000));
    // Three idle times with the window open: the server stays.
    EXPECT_FALSE(waitUntilNoTextLint(3000));
    DestroyWindow(compose);
    EXPECT_TRUE(waitUntilNoTextLint(30000));

    compose = createComposeWindow();
    EXPECT_EQ(0, plugin.openCompose(compose));
    EXPECT_TRUE(log.waitForCount("server", 2, 120000));
    DestroyWindow(compose);
    EXPECT_EQ(0, plugin.exit());
    EXPECT_EQ(textLintProcesses(), 0u);
}

// Waits up to `timeoutMs` until a check made at a pause in typing, which runs only while the
// resident textlint serves, lists a row holding `part`. Each nudge gives the window another
// text, so that every pause has one to check; no cold run takes the processor meanwhile.
bool warmCheckLists(HWND compose, const std::string &part, DWORD timeoutMs) {
    const HWND result = findResultWindow();
    SetForegroundWindow(compose);
    SetFocus(composeEditor(compose));
    bool longer = false;
    return pumpUntil(
        [&] { return anyRowHas(result, part); }, timeoutMs,
        [&] {
            longer = !longer;
            setComposeText(compose, inCodePage(longer ? "プローブ\r\n\r\n" : "プローブ\r\n", 932));
            postKey(compose, VK_SHIFT);
        });
}

// npm removes a `@scope` folder with its last package and creates it again with the next. A
// watch that held the folder open would keep npm from creating it, and one of the old folder
// sees nothing of the new: checks must be warm again within a minute, with the new rule, and
// a change inside the new folder must still be seen.
TEST_F(ResidentPluginTest, ScopeFolderRemovedAndCreatedAgainIsWatchedAgain) {
    ProbeRule probe("probe-old", "@quill-probe-scope");
    PluginSession plugin(
        "[Quillcheck]\r\nTextLintCmdPath=" + textlintCmdPath() +
        "\r\nTextLintConfig={\"rules\":{\"" + probe.name() +
        "\":true}}\r\nEnableResidentTextLint=true\r\nCheckWhileTypingDelay=300\r\n");
    ASSERT_NE(nullptr, plugin.module());
    ASSERT_EQ(0, plugin.start());
    const HWND compose = createComposeWindow();
    EXPECT_EQ(0, plugin.openCompose(compose));
    ASSERT_TRUE(warmCheckLists(compose, "probe-old", 240000));

    probe.remove();
    probe.create("probe-new");
    EXPECT_TRUE(warmCheckLists(compose, "probe-new", 60000));

    // The package replaced inside the new `@scope` folder, npm's lock file untouched.
    probe.remove(false);
    probe.create("probe-newer");
    EXPECT_TRUE(warmCheckLists(compose, "probe-newer", 60000));
    EXPECT_EQ(0, plugin.exit());
}

} // namespace
} // namespace quill::test
