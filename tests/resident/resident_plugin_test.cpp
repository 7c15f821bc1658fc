// The resident textlint through the built plug-in in the stand-in host: it is started with
// the plug-in only when the settings allow it, and nothing of it outlives BKC_OnExit.
#include "common/handles.h"
#include "tests/plugin/plugin_session.h"
#include "tools/standin_host/standin_host.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <tlhelp32.h>

#include <map>
#include <set>

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
    PluginSession plugin(iniText(textlintCmdPath(), "EnableResidentTextLint=true\r\n"));
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

} // namespace
} // namespace quill::test
