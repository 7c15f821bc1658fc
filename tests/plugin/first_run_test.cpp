// A first run and the reasons of failed checks, through the plug-in's exports in the stand-in
// host: textlint found where npm puts it, the word about a missing rule set, a missing
// textlint or rule package, and the result window's status line.
#include "config/recommended_rules.h"
#include "resources/resource_ids.h"
#include "tests/plugin/plugin_session.h"
#include "tests/support/message_box_watcher.h"
#include "tests/support/scoped_environment.h"
#include "tools/standin_host/standin_host.h"

#include <commctrl.h>
#include <gtest/gtest.h>

#include <memory>

namespace quill::test {
namespace {

using namespace quill::standin;

const char DRAFT_ID[] = "0a1b2c3d/!!!!Outbox\\!!!Draft\\7.msg";
const char MAX_TEN_TEXT[] = "今日は、雨が、降って、いて、とても、寒い。\r\n";
const char RULES_ONLY_INI[] = "[Quillcheck]\r\n"
                              "TextLintConfig={\"rules\":{\"max-ten\":{\"max\":3}}}\r\n"
                              "EnableResidentTextLint=false\r\n";

std::string utf8Of(const std::wstring &wide) {
    int size = WideCharToMultiByte(CP_UTF8, 0, wide.c_str(), -1, nullptr, 0, nullptr, nullptr);
    std::string bytes(static_cast<std::size_t>(size > 0 ? size : 1), '\0');
    WideCharToMultiByte(CP_UTF8, 0, wide.c_str(), -1, bytes.data(), size, nullptr, nullptr);
    bytes.resize(bytes.size() - 1);
    return bytes;
}

std::string statusOf(HWND result) {
    wchar_t text[4096] = {};
    GetWindowTextW(GetDlgItem(result, IDC_RESULT_STATUS), text, static_cast<int>(std::size(text)));
    return utf8Of(text);
}

std::string headingOf(HWND result) {
    wchar_t text[512] = {};
    LVCOLUMNW column{};
    column.mask = LVCF_TEXT;
    column.pszText = text;
    column.cchTextMax = static_cast<int>(std::size(text));
    SendMessageW(GetDlgItem(result, IDC_RESULT_LIST), LVM_GETCOLUMNW, 0,
                 reinterpret_cast<LPARAM>(&column));
    return utf8Of(text);
}

bool has(const std::string &text, const std::string &part) {
    return text.find(part) != std::string::npos;
}

// Waits, handling the window's messages, until the status line holds `part`.
bool waitForStatus(HWND result, const std::string &part, DWORD timeoutMs = 60000) {
    const ULONGLONG end = GetTickCount64() + timeoutMs;
    while (!has(statusOf(result), part)) {
        if (GetTickCount64() > end)
            return false;
        pumpMessages(20);
    }
    return true;
}

class FirstRunTest : public ::testing::Test {
  protected:
    void SetUp() override {
        resetHost();
        // The user's folder of this test: npm's textlint is there only when a test puts it.
        appDataVariable_ = std::make_unique<ScopedEnvironment>("APPDATA", appData_.path());
        CreateDirectoryA(npmFolder().c_str(), nullptr);
    }
    void TearDown() override {
        DeleteFileA((npmFolder() + "\\textlint.cmd").c_str());
        RemoveDirectoryA(npmFolder().c_str());
        appDataVariable_.reset();
        resetHost();
    }
    std::string npmFolder() const { return appData_.path() + "\\npm"; }
    // A compose window with `utf8Text`, tracked by the plug-in; its check command's id.
    static std::pair<HWND, UINT> composeWith(const PluginSession &plugin, const char *utf8Text) {
        ComposeWindowOptions options;
        options.text = inCodePage(utf8Text, 932);
        const HWND window = createComposeWindow(options);
        const std::size_t before = registeredCommands().size();
        plugin.menuInit(window, GetMenu(window), 10);
        plugin.openCompose(window);
        return {window, registeredCommands().at(before).id};
    }

    TempDir appData_{"qad"};
    std::unique_ptr<ScopedEnvironment> appDataVariable_;
};

// A fresh install: textlint went where npm puts it, the INI names rules but no path. The
// first check works, its status line counts the findings, and the path found is kept.
TEST_F(FirstRunTest, TextlintWhereNpmPutsItChecksAtOnceAndIsKeptAtExit) {
    const std::string shim = npmFolder() + "\\textlint.cmd";
    writeFileBytes(shim, "@call \"" + textlintCmdPath() + "\" %*\r\n");
    MessageBoxRecorder boxes;
    PluginSession plugin(RULES_ONLY_INI);
    ASSERT_NE(nullptr, plugin.module());
    plugin.start();
    const HWND result = findResultWindow();
    ASSERT_NE(nullptr, result);
    const auto [window, checkId] = composeWith(plugin, MAX_TEN_TEXT);
    ASSERT_TRUE(chooseCommand(checkId, window));
    const std::vector<std::string> rows = resultRows(result);
    ASSERT_FALSE(rows.empty()) << statusOf(result);
    EXPECT_TRUE(has(rows[0], "max-ten")) << rows[0];
    EXPECT_TRUE(has(statusOf(result), "指摘 " + std::to_string(rows.size()) + " 件"))
        << statusOf(result);
    EXPECT_EQ(0u, boxes.count());
    plugin.exit();
    EXPECT_TRUE(
        has(readFileBytes(plugin.file("Quillcheck.ini")), "TextLintCmdPath=" + shim + "\r\n"))
        << readFileBytes(plugin.file("Quillcheck.ini"));
    DestroyWindow(window);
}

TEST_F(FirstRunTest, CheckWithoutAnyRuleSaysWhereRulesAreEntered) {
    MessageBoxRecorder boxes;
    PluginSession plugin("");
    ASSERT_NE(nullptr, plugin.module());
    plugin.start();
    const auto [window, checkId] = composeWith(plugin, MAX_TEN_TEXT);
    ASSERT_TRUE(chooseCommand(checkId, window));
    ASSERT_TRUE(boxes.waitForCount(1));
    ASSERT_EQ(1u, boxes.count());
    EXPECT_EQ("Quillcheck Plugin Error", boxes.boxes()[0].captionUtf8());
    EXPECT_EQ(window, boxes.boxes()[0].owner);
    EXPECT_TRUE(has(boxes.boxes()[0].textUtf8(), "ルールが設定されていない"));
    EXPECT_TRUE(has(boxes.boxes()[0].textUtf8(), "設定ダイアログ"));
    plugin.exit();
    DestroyWindow(window);
}

// No textlint at the path and none where npm puts it: a background check stays quiet and
// says so in the status line; the command shows one box; both name the path and the npm
// command that installs textlint.
TEST_F(FirstRunTest, MissingTextlintIsNamedQuietlyInTheBackgroundAndOnceByTheCommand) {
    const std::string nowhere = "C:\\nowhere\\textlint.cmd";
    MessageBoxRecorder boxes;
    PluginSession plugin(iniText(nowhere));
    ASSERT_NE(nullptr, plugin.module());
    plugin.start();
    const HWND result = findResultWindow();
    ASSERT_NE(nullptr, result);
    ShownMail draft;
    draft.text = inCodePage(MAX_TEN_TEXT, 932);
    setShownMail(draft);
    EXPECT_EQ(0, plugin.openMail(DRAFT_ID));
    ASSERT_TRUE(waitForStatus(result, nowhere)) << statusOf(result);
    EXPECT_TRUE(has(statusOf(result), "npm install -g textlint"));
    EXPECT_EQ(0u, boxes.count());

    const auto [window, checkId] = composeWith(plugin, MAX_TEN_TEXT);
    ASSERT_TRUE(chooseCommand(checkId, window));
    ASSERT_TRUE(boxes.waitForCount(1));
    ASSERT_EQ(1u, boxes.count());
    const ShownMessageBox box = boxes.boxes()[0];
    EXPECT_EQ("Quillcheck Plugin Error", box.captionUtf8());
    EXPECT_EQ(window, box.owner);
    EXPECT_TRUE(has(box.textUtf8(), nowhere)) << box.textUtf8();
    EXPECT_TRUE(has(box.textUtf8(), "npm install -g textlint")) << box.textUtf8();
    plugin.exit();
    DestroyWindow(window);
}

// The real textlint with a rule that is not installed answers only "No rules found": the
// plug-in names the rule and its package itself, and the rows of the check before stay
// marked as the earlier result.
TEST_F(FirstRunTest, RuleNotInstalledIsNamedWithItsPackageAndEarlierRowsAreMarked) {
    TempDir tool("qtl");
    const std::string command = tool.file("textlint.cmd");
    // First a textlint that reports one finding of its own.
    writeFileBytes(command, "@echo %~7: line 1, col 1, Error - earlier finding (max-ten)>%4\r\n");
    MessageBoxRecorder boxes;
    PluginSession plugin("[Quillcheck]\r\nTextLintCmdPath=" + command +
                         "\r\nTextLintConfig={\"rules\":{\"max-ten\":true,"
                         "\"no-such-rule-q\":true}}\r\nEnableResidentTextLint=false\r\n");
    ASSERT_NE(nullptr, plugin.module());
    plugin.start();
    const HWND result = findResultWindow();
    const auto [window, checkId] = composeWith(plugin, MAX_TEN_TEXT);
    ASSERT_TRUE(chooseCommand(checkId, window));
    ASSERT_EQ(1u, resultRows(result).size()) << statusOf(result);

    // Then the real one, with max-ten installed beside the command and the other rule not.
    writeFileBytes(command, "@call \"" + textlintCmdPath() + "\" %*\r\n");
    const std::string modules = tool.file("node_modules");
    const std::string maxTen = modules + "\\textlint-rule-max-ten";
    CreateDirectoryA(modules.c_str(), nullptr);
    CreateDirectoryA(maxTen.c_str(), nullptr);
    ASSERT_TRUE(chooseCommand(checkId, window));
    ASSERT_TRUE(boxes.waitForCount(1));
    const std::string text = boxes.boxes()[0].textUtf8();
    EXPECT_TRUE(has(text, "no-such-rule-q (npm パッケージ textlint-rule-no-such-rule-q)")) << text;
    EXPECT_FALSE(has(text, "textlint-rule-max-ten")) << text;
    EXPECT_TRUE(has(statusOf(result), "textlint-rule-no-such-rule-q")) << statusOf(result);
    EXPECT_EQ(1u, resultRows(result).size());
    EXPECT_TRUE(has(headingOf(result), "最新の校正は失敗しました")) << headingOf(result);
    plugin.exit();
    DestroyWindow(window);
    RemoveDirectoryA(maxTen.c_str());
    RemoveDirectoryA(modules.c_str());
    DeleteFileA(command.c_str());
}

// The plug-in's own rules carry weights in the rule list but are no npm packages: a textlint
// that fails is told with its own error output, and no advice names a package for them.
TEST_F(FirstRunTest, OwnRulesAreNeverAdvisedAsPackagesAndTheErrorOutputIsKept) {
    TempDir tool("qtf");
    const std::string command = tool.file("textlint.cmd");
    writeFileBytes(command, "@echo Error: the rule broke while loading>&2\r\n@exit /b 2\r\n");
    CreateDirectoryA(tool.file("node_modules").c_str(), nullptr);
    CreateDirectoryA(tool.file("node_modules\\textlint-rule-max-ten").c_str(), nullptr);
    MessageBoxRecorder boxes;
    PluginSession plugin("[Quillcheck]\r\nTextLintCmdPath=" + command +
                         "\r\nEvaluateWeightList={\"max-ten\":1,"
                         "\"quillcheck/half-width-kana\":5,"
                         "\"quillcheck/machine-dependent-character\":5}\r\n"
                         "TextLintConfig={\"rules\":{\"max-ten\":true,"
                         "\"quillcheck/half-width-kana\":true,"
                         "\"quillcheck/machine-dependent-character\":true}}\r\n"
                         "EnableResidentTextLint=false\r\n");
    ASSERT_NE(nullptr, plugin.module());
    plugin.start();
    const auto [window, checkId] = composeWith(plugin, MAX_TEN_TEXT);
    ASSERT_TRUE(chooseCommand(checkId, window));
    ASSERT_TRUE(boxes.waitForCount(1));
    const std::string text = boxes.boxes()[0].textUtf8();
    EXPECT_FALSE(has(text, "quillcheck/")) << text;
    EXPECT_FALSE(has(text, "npm install")) << text;
    EXPECT_TRUE(has(text, "Error: the rule broke while loading")) << text;
    plugin.exit();
    DestroyWindow(window);
    RemoveDirectoryA(tool.file("node_modules\\textlint-rule-max-ten").c_str());
    RemoveDirectoryA(tool.file("node_modules").c_str());
    DeleteFileA(command.c_str());
}

// What a release with its own textlint unpacks beside the DLL, as far as the plug-in asks:
// textlint's script in Quillcheck-textlint.
void placeBundle(const std::string &folder) {
    std::string path = folder;
    for (const char *part : {"Quillcheck-textlint", "node_modules", "textlint", "bin"}) {
        path += std::string("\\") + part;
        CreateDirectoryA(path.c_str(), nullptr);
    }
    writeFileBytes(path + "\\textlint.js", "");
}

// A mail with the common mistakes: a doubled particle, more than three 、, a redundant
// expression, ら抜き言葉.
const char MISTAKES_TEXT[] =
    "山田様\r\n\r\n私は資料は来週までにお送りします。\r\n"
    "新しいサービスでは、お客様が、スマートフォンから、いつでも、どこでも、"
    "契約内容を確認することができます。\r\n会議の録画も後から見れるようになっております。\r\n";

// A new install (no rules key) with the bundle beside the DLL runs with the recommended
// rules at once, and writes them at exit like any rules. The command path set here exists
// and is used, so the test bed's textlint (which holds the recommended rules) checks.
TEST_F(FirstRunTest, NewInstallWithTheBundleChecksWithTheRecommendedRulesAndWritesThem) {
    MessageBoxRecorder boxes;
    PluginSession plugin("[Quillcheck]\r\nTextLintCmdPath=" + textlintCmdPath() +
                             "\r\nEnableResidentTextLint=false\r\n",
                         "plugin", "Quillcheck.dll", "Quillcheck.ini", placeBundle);
    ASSERT_NE(nullptr, plugin.module());
    plugin.start();
    const HWND result = findResultWindow();
    ASSERT_NE(nullptr, result);
    const auto [window, checkId] = composeWith(plugin, MISTAKES_TEXT);
    ASSERT_TRUE(chooseCommand(checkId, window));
    for (const char *rule :
         {"no-doubled-joshi", "max-ten", "ja-no-redundant-expression", "no-dropping-the-ra"})
        EXPECT_TRUE(anyRowHas(result, rule)) << rule << "\n" << statusOf(result);
    EXPECT_EQ(0u, boxes.count());
    plugin.exit();
    const std::string ini = readFileBytes(plugin.file("Quillcheck.ini"));
    for (const TextLintRule &rule : recommendedRules())
        EXPECT_TRUE(has(ini, "\"" + rule.name + "\"")) << rule.name << "\n" << ini;
    EXPECT_TRUE(has(ini, "\"max-ten\":{\"max\":3}")) << ini;
    DestroyWindow(window);
}

// Rules the user emptied stay empty with the bundle present; without the bundle a new
// install has no rules, as before.
TEST_F(FirstRunTest, EmptiedRulesStayEmptyAndWithoutTheBundleNoRulesAreAdded) {
    {
        PluginSession plugin("[Quillcheck]\r\nTextLintConfig={}\r\n", "plugin", "Quillcheck.dll",
                             "Quillcheck.ini", placeBundle);
        ASSERT_NE(nullptr, plugin.module());
        plugin.start();
        plugin.exit();
        EXPECT_TRUE(has(readFileBytes(plugin.file("Quillcheck.ini")), "TextLintConfig={}\r\n"));
    }
    PluginSession plugin("[Quillcheck]\r\nEnableResidentTextLint=false\r\n");
    ASSERT_NE(nullptr, plugin.module());
    plugin.start();
    plugin.exit();
    EXPECT_TRUE(has(readFileBytes(plugin.file("Quillcheck.ini")), "TextLintConfig={}\r\n"));
}

} // namespace
} // namespace quill::test
