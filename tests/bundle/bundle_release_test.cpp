// The release that brings its own textlint, unpacked as a user would (the DLL and
// Quillcheck-textlint\ side by side) into a 64-bit Wine prefix where no Node.js and no
// textlint are installed: the plug-in finds the bundled textlint by itself, starts node.exe
// with no command interpreter in between, and leaves no process behind. Run by
// script/bundle-prefix, which prepares that prefix and names the plug-in folder.
#include "config/recommended_rules.h"
#include "resources/resource_ids.h"
#include "tests/plugin/plugin_session.h"
#include "tests/support/child_processes.h"
#include "tests/support/message_box_watcher.h"
#include "tests/support/scoped_environment.h"
#include "tools/standin_host/standin_host.h"

#include <gtest/gtest.h>

#include <atomic>
#include <mutex>
#include <set>
#include <thread>

namespace quill::test {
namespace {

using namespace quill::standin;

// A mail with the mistakes a writer makes most: more than three 「、」 in a sentence, a
// doubled particle, a ら抜き言葉, a sentence of 146 characters, and a redundant
// することができます (which auto-fix shortens).
const char MAIL[] =
    "山田様\r\n"
    "\r\n"
    "いつもお世話になっております。\r\n"
    "今日は、雨が、降って、いて、とても、寒い。\r\n"
    "私は彼は好きだと思います。\r\n"
    "明日は来れる予定です。\r\n"
    "来週の定例会議では新しい販売計画の進め方と各部署の担当範囲と今後の日程と予算の配分と外部"
    "の協力会社への依頼内容と社内の承認手続きの流れについてまとめて確認したいと考えております"
    "ので事前に資料をご確認のうえ当日は必要な情報をお持ちいただけますと大変助かりますのでどうぞ"
    "よろしくお願いいたします。\r\n"
    "資料は共有フォルダーで確認することができます。\r\n";

// The rule of each mistake, as part of its rule id (a preset reports "<preset>/<rule>").
const char *const MISTAKE_RULES[] = {"max-ten", "no-doubled-joshi", "no-dropping-the-ra",
                                     "sentence-length"};

std::string pluginFolder() {
    return environmentValue("QUILL_BUNDLE_PLUGINS");
}

std::string bundledNode() {
    return pluginFolder() + "\\Quillcheck-textlint\\node.exe";
}

// Every process name that descends from this program while the object lives, sampled
// often enough to see a command interpreter that lives as long as its node.exe.
class ProcessSampler {
  public:
    ProcessSampler() : thread_([this] { run(); }) {}
    ~ProcessSampler() {
        stop_ = true;
        thread_.join();
    }
    std::set<std::string> seen() const {
        std::lock_guard<std::mutex> lock(mutex_);
        return seen_;
    }

  private:
    void run() {
        while (!stop_) {
            std::vector<std::string> names = descendantProcessNames();
            {
                std::lock_guard<std::mutex> lock(mutex_);
                seen_.insert(names.begin(), names.end());
            }
            Sleep(20);
        }
    }
    mutable std::mutex mutex_;
    std::set<std::string> seen_;
    std::atomic<bool> stop_{false};
    std::thread thread_;
};

bool has(const std::string &text, const std::string &part) {
    return text.find(part) != std::string::npos;
}

std::string controlTextUtf8(HWND dialog, int id) {
    wchar_t text[1024] = L"";
    GetDlgItemTextW(dialog, id, text, static_cast<int>(std::size(text)));
    char bytes[4096] = "";
    WideCharToMultiByte(CP_UTF8, 0, text, -1, bytes, static_cast<int>(std::size(bytes)), nullptr,
                        nullptr);
    return bytes;
}

// True once none of the plug-in's children runs, waiting up to five seconds.
bool nothingLeft() {
    for (ULONGLONG end = GetTickCount64() + 5000;; Sleep(50)) {
        const std::vector<std::string> names = descendantProcessNames();
        if (!containsName(names, "node.exe") && !containsName(names, "cmd.exe"))
            return true;
        if (GetTickCount64() > end)
            return false;
    }
}

class BundleReleaseTest : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_FALSE(pluginFolder().empty()) << "run by script/bundle-prefix";
        ASSERT_NE(INVALID_FILE_ATTRIBUTES, GetFileAttributesA(bundledNode().c_str()));
        // A PC without Node.js: nothing along PATH, nothing where npm puts textlint.
        char found[MAX_PATH];
        for (const char *name : {"node.exe", "textlint.cmd", "textlint"})
            EXPECT_EQ(0u, SearchPathA(nullptr, name, nullptr, MAX_PATH, found, nullptr))
                << name << " at " << found;
        const std::string npm = environmentValue("APPDATA") + "\\npm\\textlint.cmd";
        EXPECT_EQ(INVALID_FILE_ATTRIBUTES, GetFileAttributesA(npm.c_str()));
        DeleteFileA(iniPath().c_str());
        resetHost();
    }
    void TearDown() override {
        DeleteFileA(iniPath().c_str());
        resetHost();
    }
    static std::string iniPath() { return pluginFolder() + "\\Quillcheck.ini"; }
    static PluginSession::InPlace dll() { return {pluginFolder() + "\\Quillcheck.dll"}; }

    // A compose window with the mail, tracked by the plug-in; its check and fix commands.
    struct Compose {
        HWND window;
        UINT check;
        UINT fix;
    };
    static Compose composeMail(const PluginSession &plugin) {
        ComposeWindowOptions options;
        options.text = inCodePage(MAIL, 932);
        const HWND window = createComposeWindow(options);
        const std::size_t before = registeredCommands().size();
        plugin.menuInit(window, GetMenu(window), 10);
        plugin.openCompose(window);
        return {window, registeredCommands().at(before).id, registeredCommands().at(before + 1).id};
    }
    // Runs the check command; the rows it left, and how long it took.
    static std::vector<std::string> check(const Compose &compose, ULONGLONG *took = nullptr) {
        const ULONGLONG before = GetTickCount64();
        EXPECT_TRUE(chooseCommand(compose.check, compose.window));
        if (took)
            *took = GetTickCount64() - before;
        return resultRows(findResultWindow());
    }
    static void expectEveryMistakeFound(const std::vector<std::string> &rows) {
        for (const char *rule : MISTAKE_RULES) {
            bool found = false;
            for (const std::string &row : rows)
                found = found || has(row, rule);
            EXPECT_TRUE(found) << rule << " in " << rows.size() << " rows";
        }
    }
    // Opens the settings dialog; its command path field and the word below it.
    static HWND openSettings(const PluginSession &plugin) {
        plugin.proc<int(WINAPI *)(HWND)>("BKC_OnPlugInSetup")(hostMainWindow());
        return FindWindowW(nullptr, L"Quillcheckオプション");
    }
};

// No INI file: the first check finds the bundled textlint and checks with the recommended
// rules, the resident textlint takes over for the next ones, the dialog says which textlint
// is in use, and the end of the plug-in leaves nothing running and writes the recommended
// rules, but no path of the bundle as one set.
TEST_F(BundleReleaseTest, FoundBesideTheDllChecksColdThenWarmAndLeavesNothingAtExit) {
    MessageBoxRecorder boxes;
    {
        PluginSession plugin(dll(), "");
        ASSERT_NE(nullptr, plugin.module());
        ASSERT_EQ(0, plugin.start());
        const Compose compose = composeMail(plugin);
        const std::vector<std::string> first = check(compose);
        expectEveryMistakeFound(first);

        // Warm once a check answers far quicker than node.exe can start.
        bool warm = false;
        std::vector<std::string> rows;
        for (ULONGLONG end = GetTickCount64() + 240000; !warm && GetTickCount64() < end;) {
            ULONGLONG took = 0;
            rows = check(compose, &took);
            warm = took < 1500;
        }
        EXPECT_TRUE(warm);
        EXPECT_EQ(first, rows);

        const HWND dialog = openSettings(plugin);
        ASSERT_NE(nullptr, dialog);
        EXPECT_EQ(bundledNode(), controlTextUtf8(dialog, IDC_SETTINGS_CMD_PATH));
        EXPECT_TRUE(has(controlTextUtf8(dialog, IDC_SETTINGS_CMD_FOUND), "同梱"))
            << controlTextUtf8(dialog, IDC_SETTINGS_CMD_FOUND);
        DestroyWindow(dialog);

        EXPECT_EQ(0, plugin.exit());
        EXPECT_TRUE(nothingLeft());
        DestroyWindow(compose.window);
    }
    EXPECT_EQ(0u, boxes.count());
    const std::string ini = readFileBytes(iniPath());
    EXPECT_FALSE(has(ini, "Quillcheck-textlint")) << ini;
    for (const TextLintRule &rule : recommendedRules())
        EXPECT_TRUE(has(ini, "\"" + rule.name + "\"")) << rule.name << "\n" << ini;
}

// Without the resident textlint every check starts the bundled node.exe anew: each lists the
// same findings, and neither they, the auto-fix nor the settings dialog's test run start a
// command interpreter. A textlint.cmd where npm puts it comes after the bundle.
TEST_F(BundleReleaseTest, WithoutResidentEveryRunStartsNodeWithoutInterpreter) {
    const std::string npm = environmentValue("APPDATA") + "\\npm";
    CreateDirectoryA(npm.c_str(), nullptr);
    writeFileBytes(npm + "\\textlint.cmd", "@echo run>>\"%QUILL_RUN_LOG%\"\r\n");
    RunLog npmRuns;
    MessageBoxRecorder boxes;
    ProcessSampler sampler;
    PluginSession plugin(dll(), "[Quillcheck]\r\nEnableResidentTextLint=false\r\n");
    ASSERT_NE(nullptr, plugin.module());
    ASSERT_EQ(0, plugin.start());
    const Compose compose = composeMail(plugin);
    const std::vector<std::string> first = check(compose);
    expectEveryMistakeFound(first);
    EXPECT_EQ(first, check(compose));

    ASSERT_TRUE(chooseCommand(compose.fix, compose.window));
    const std::string fixed = recode(composeText(compose.window), 932, CP_UTF8);
    EXPECT_TRUE(has(fixed, "共有フォルダーで確認できます")) << fixed;

    const HWND dialog = openSettings(plugin);
    ASSERT_NE(nullptr, dialog);
    SendMessageW(dialog, WM_COMMAND, IDOK, 0);
    EXPECT_FALSE(IsWindow(dialog)) << "the test run with the bundled textlint failed";
    EXPECT_EQ(0u, boxes.count());

    EXPECT_EQ(0, plugin.exit());
    EXPECT_TRUE(nothingLeft());
    DestroyWindow(compose.window);
    const std::set<std::string> seen = sampler.seen();
    EXPECT_EQ(1u, seen.count("node.exe"));
    EXPECT_EQ(0u, seen.count("cmd.exe"));
    EXPECT_EQ(0u, npmRuns.count());
    DeleteFileA((npm + "\\textlint.cmd").c_str());
    RemoveDirectoryA(npm.c_str());
}

// A command the user set that exists wins over the bundle, and a batch file is started
// through its interpreter as before.
TEST_F(BundleReleaseTest, UserSetCommandThatExistsIsUsedInsteadOfTheBundle) {
    TempDir userFolder("qcu");
    const std::string shim = userFolder.file("textlint.cmd");
    const std::string bundle = pluginFolder() + "\\Quillcheck-textlint";
    writeFileBytes(shim, "@echo run>>\"%QUILL_RUN_LOG%\"\r\n@\"" + bundle + "\\node.exe\" \"" +
                             bundle + "\\node_modules\\textlint\\bin\\textlint.js\" %*\r\n");
    RunLog log;
    ProcessSampler sampler;
    PluginSession plugin(dll(), "[Quillcheck]\r\nTextLintCmdPath=" + shim +
                                    "\r\nEnableResidentTextLint=false\r\n");
    ASSERT_NE(nullptr, plugin.module());
    ASSERT_EQ(0, plugin.start());
    const Compose compose = composeMail(plugin);
    expectEveryMistakeFound(check(compose));
    EXPECT_EQ(1u, log.count());
    EXPECT_EQ(1u, sampler.seen().count("cmd.exe"));
    EXPECT_EQ(0, plugin.exit());
    EXPECT_TRUE(nothingLeft());
    DestroyWindow(compose.window);
    EXPECT_TRUE(has(readFileBytes(iniPath()), "TextLintCmdPath=" + shim + "\r\n"));
}

// Rules the user emptied stay empty with the bundle beside the DLL: a check says that no
// rule is set, and the INI keeps them empty.
TEST_F(BundleReleaseTest, EmptiedRulesStayEmpty) {
    MessageBoxRecorder boxes;
    PluginSession plugin(dll(), "[Quillcheck]\r\nTextLintConfig={}\r\n");
    ASSERT_NE(nullptr, plugin.module());
    ASSERT_EQ(0, plugin.start());
    const Compose compose = composeMail(plugin);
    EXPECT_TRUE(chooseCommand(compose.check, compose.window));
    ASSERT_TRUE(boxes.waitForCount(1));
    EXPECT_TRUE(has(boxes.boxes()[0].textUtf8(), "ルールが設定されていない"));
    EXPECT_EQ(0, plugin.exit());
    DestroyWindow(compose.window);
    EXPECT_TRUE(has(readFileBytes(iniPath()), "TextLintConfig={}\r\n"));
}

} // namespace
} // namespace quill::test
