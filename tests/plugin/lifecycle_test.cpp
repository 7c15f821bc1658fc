// Loading, starting and exiting the plug-in in a stand-in host: the INI file beside the
// module, the refused load, the information texts, the ignored events and the exit order.
#include "tests/plugin/plugin_session.h"
#include "tests/support/message_box_watcher.h"
#include "tools/standin_host/standin_host.h"

#include <gtest/gtest.h>

#include <cstring>

namespace quill::test {
namespace {

using namespace quill::standin;

std::string iniValue(const std::string &iniPath, const char *key) {
    char value[256] = {};
    GetPrivateProfileStringA("Quillcheck", key, "<missing>", value, sizeof value, iniPath.c_str());
    return value;
}

class LifecycleTest : public ::testing::Test {
  protected:
    void SetUp() override { resetHost(); }
    void TearDown() override { resetHost(); }
};

TEST_F(LifecycleTest, ReadsAndWritesTheIniFileNamedAfterTheModule) {
    struct Case {
        const char *subfolder;
        const char *fileName;
        const char *iniName; // from the module's folder
    } cases[] = {
        {"plug.ins", "Quillcheck.dll", "Quillcheck.ini"},
        // No dot in the file name: the folder's dot is the last one of the path.
        {"a.b", "plugin", "..\\a.ini"},
    };
    for (const Case &c : cases) {
        // The file holds no "EnableProofreadingHTMLMail": it appears only when written.
        PluginSession plugin(iniText("C:\\elsewhere\\textlint.cmd"), c.subfolder, c.fileName,
                             c.iniName);
        ASSERT_NE(nullptr, plugin.module()) << c.fileName;
        const std::string iniPath = plugin.file(c.iniName);
        ASSERT_EQ("<missing>", iniValue(iniPath, "EnableProofreadingHTMLMail"));
        EXPECT_EQ(0, plugin.exit());
        EXPECT_EQ("C:\\elsewhere\\textlint.cmd", iniValue(iniPath, "TextLintCmdPath"))
            << c.subfolder << "\\" << c.fileName;
        EXPECT_EQ("false", iniValue(iniPath, "EnableProofreadingHTMLMail"));
    }
}

TEST_F(LifecycleTest, KeepsStoredRulesItCannotReadAndSaysSoOnce) {
    const std::string rules = "{\"rules\":{\"sentence-length\":{max: 120}}}";
    const std::string weights = "{\"sentence-length\":3}";
    PluginSession plugin("[Quillcheck]\r\nEnableResidentTextLint=false\r\nTextLintConfig=" + rules +
                         "\r\nEvaluateWeightList=" + weights + "\r\n");
    ASSERT_NE(nullptr, plugin.module());
    const std::string iniPath = plugin.file("Quillcheck.ini");
    MessageBoxRecorder boxes;
    EXPECT_EQ(0, plugin.start());
    ASSERT_EQ(1u, boxes.count());
    EXPECT_EQ("Quillcheck Plugin Error", boxes.boxes()[0].captionUtf8());
    EXPECT_NE(std::string::npos, boxes.boxes()[0].textUtf8().find("TextLintConfig"));
    EXPECT_EQ(0, plugin.exit());
    EXPECT_EQ(1u, boxes.count());
    EXPECT_EQ(rules, iniValue(iniPath, "TextLintConfig"));
    EXPECT_EQ(weights, iniValue(iniPath, "EvaluateWeightList"));
    EXPECT_EQ("500", iniValue(iniPath, "ResultWindowX"));
}

TEST_F(LifecycleTest, WritesTheFourInformationTextsAndNothingElse) {
    PluginSession plugin(iniText("C:\\textlint\\textlint.cmd"));
    ASSERT_NE(nullptr, plugin.module());
    char record[400];
    std::memset(record, '#', sizeof record);
    EXPECT_EQ(0, plugin.proc<int(WINAPI *)(LPVOID)>("BKC_OnPlugInInfo")(record));
    const struct {
        std::size_t offset;
        const char *text;
    } fields[] = {{0, "Becky! Quill Check plug-in"},
                  {80, "Penwright"},
                  {160, "1.0"},
                  {240, "Enabled proofreading E-Mail using textlint."}};
    std::size_t written = 0;
    for (const auto &field : fields) {
        EXPECT_STREQ(field.text, record + field.offset);
        written += std::strlen(field.text) + 1;
    }
    std::size_t untouched = 0;
    for (char byte : record)
        untouched += byte == '#' ? 1 : 0;
    EXPECT_EQ(sizeof record - written, untouched) << "bytes past the texts belong to the host";
}

TEST_F(LifecycleTest, IgnoredEventsReturnZeroAndCallNothing) {
    PluginSession plugin(iniText("C:\\textlint\\textlint.cmd"));
    ASSERT_NE(nullptr, plugin.module());
    const std::size_t callsAtLoad = hostCalls().size();
    using One = int(WINAPI *)(LPARAM);
    using Two = int(WINAPI *)(LPARAM, LPARAM);
    using Three = int(WINAPI *)(LPARAM, LPARAM, LPARAM);
    using Four = int(WINAPI *)(LPARAM, LPARAM, LPARAM, LPARAM);
    const LPARAM junk = static_cast<LPARAM>(0xdeadbeef);
    for (const char *name : {"BKC_OnOpenFolder", "BKC_OnFinishRetrieve"})
        EXPECT_EQ(0, plugin.proc<One>(name)(junk)) << name;
    for (const char *name : {"BKC_OnRetrieve", "BKC_OnOutgoing"})
        EXPECT_EQ(0, plugin.proc<Two>(name)(junk, -1)) << name;
    EXPECT_EQ(0, plugin.proc<Three>("BKC_OnKeyDispatch")(junk, 0, -1));
    for (const char *name : {"BKC_OnDragDrop", "BKC_OnBeforeFilter2"})
        EXPECT_EQ(0, plugin.proc<Four>(name)(junk, 0, -1, junk)) << name;
    EXPECT_EQ(callsAtLoad, hostCalls().size());
}

#if defined(__i386__)
// Calls `function` with `count` (at least one) zero arguments pushed, the way the host calls an
// event, and returns how far the stack pointer moved across the call. A stdcall export pops
// its own arguments, so the answer is 0; a cdecl one would leave 4 bytes per argument.
long stackMovedByCall(FARPROC function, unsigned count) {
    long moved = 0;
    asm volatile("movl %[function], %%eax\n\t"
                 "movl %[count], %%ecx\n\t"
                 "movl %%esp, %%esi\n\t"
                 "1: pushl $0\n\t"
                 "loop 1b\n\t"
                 "call *%%eax\n\t"
                 "movl %%esp, %%edi\n\t"
                 "subl %%esi, %%edi\n\t"
                 "movl %%esi, %%esp\n\t"
                 "movl %%edi, %[moved]\n\t"
                 : [moved] "=m"(moved)
                 : [function] "m"(function), [count] "m"(count)
                 : "eax", "ecx", "edx", "esi", "edi", "memory", "cc");
    return moved;
}
#endif

TEST_F(LifecycleTest, EventsPopTheirOwnArguments) {
#if defined(__i386__)
    PluginSession plugin(iniText("C:\\textlint\\textlint.cmd"));
    ASSERT_NE(nullptr, plugin.module());
    const struct {
        const char *name;
        unsigned arguments;
    } events[] = {{"BKC_OnOpenFolder", 1},   {"BKC_OnFinishRetrieve", 1}, {"BKC_OnRetrieve", 2},
                  {"BKC_OnOutgoing", 2},     {"BKC_OnKeyDispatch", 3},    {"BKC_OnDragDrop", 4},
                  {"BKC_OnBeforeFilter2", 4}};
    for (const auto &event : events)
        EXPECT_EQ(0, stackMovedByCall(plugin.proc<FARPROC>(event.name), event.arguments))
            << event.name;
#else
    GTEST_SKIP() << "x86-64 has one calling convention, in which the caller clears the stack: "
                    "who pops the arguments matters to the 32-bit module only";
#endif
}

TEST_F(LifecycleTest, ExitRemovesTheHooksStoresTheWindowRectangleAndWritesTheIniFile) {
    PluginSession plugin(iniText("C:\\textlint\\textlint.cmd"));
    ASSERT_NE(nullptr, plugin.module());
    EXPECT_EQ(0, plugin.start());
    const HWND result = findResultWindow();
    ASSERT_NE(nullptr, result);
    SetWindowPos(result, nullptr, 123, 77, 610, 420, SWP_NOZORDER | SWP_NOACTIVATE);

    ComposeWindowOptions options;
    options.text = inCodePage("本文", 932);
    const HWND compose = createComposeWindow(options);
    plugin.menuInit(compose, GetMenu(compose), 10);
    EXPECT_EQ(0, plugin.openCompose(compose));
    EXPECT_EQ(0, plugin.openCompose(compose));
    const UINT checkId = registeredCommands().at(0).id;
    const HMENU menu = GetMenu(compose);

    EnableMenuItem(menu, checkId, MF_BYCOMMAND | MF_GRAYED);
    PostMessageW(compose, WM_NULL, 0, 0);
    pumpMessages();
    ASSERT_EQ(MF_ENABLED, GetMenuState(menu, checkId, MF_BYCOMMAND) & MF_GRAYED)
        << "the hook is in place before the exit";

    EXPECT_EQ(0, plugin.exit());
    EXPECT_EQ(nullptr, findResultWindow());
    EnableMenuItem(menu, checkId, MF_BYCOMMAND | MF_GRAYED);
    PostMessageW(compose, WM_NULL, 0, 0);
    pumpMessages();
    EXPECT_EQ(static_cast<UINT>(MF_GRAYED), GetMenuState(menu, checkId, MF_BYCOMMAND) & MF_GRAYED)
        << "no hook is left after the exit";

    const std::string iniPath = plugin.file("Quillcheck.ini");
    EXPECT_EQ("123", iniValue(iniPath, "ResultWindowX"));
    EXPECT_EQ("77", iniValue(iniPath, "ResultWindowY"));
    EXPECT_EQ("610", iniValue(iniPath, "ResultWindowWidth"));
    EXPECT_EQ("420", iniValue(iniPath, "ResultWindowHeight"));
}

TEST_F(LifecycleTest, ExitClosesOpenSettingsWindowsSoNoneOutlivesTheModule) {
    PluginSession plugin(iniText("C:\\textlint\\textlint.cmd"));
    ASSERT_NE(nullptr, plugin.module());
    EXPECT_EQ(0, plugin.start());
    using Setup = int(WINAPI *)(HWND);
    const auto setup = plugin.proc<Setup>("BKC_OnPlugInSetup");
    ASSERT_NE(nullptr, setup);
    EXPECT_EQ(1, setup(nullptr));
    EXPECT_EQ(1, setup(nullptr));
    auto settingsWindows = [] {
        int count = 0;
        HWND window = nullptr;
        while ((window = FindWindowExW(nullptr, window, L"#32770", L"Quillcheckオプション")))
            ++count;
        return count;
    };
    ASSERT_EQ(2, settingsWindows());

    EXPECT_EQ(0, plugin.exit());
    EXPECT_EQ(0, settingsWindows());
    plugin.unload();
    pumpMessages();
}

} // namespace
} // namespace quill::test
