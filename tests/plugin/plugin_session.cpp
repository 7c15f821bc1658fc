// Loading the built plug-in from a folder of its own, and counting textlint starts.
#include "tests/plugin/plugin_session.h"

#include "tools/standin_host/standin_host.h"

#include <stdexcept>

namespace quill::test {

std::string iniText(const std::string &textLintCmdPath, const std::string &extraLines) {
    return "[Quillcheck]\r\n"
           "TextLintCmdPath=" +
           textLintCmdPath +
           "\r\n"
           "EvaluateWeightList={\"max-ten\":1,\"no-doubled-joshi\":1}\r\n"
           "TextLintConfig={\"rules\":{\"max-ten\":{\"max\":3},\"no-doubled-joshi\":true,"
           "\"preset-ja-spacing\":true}}\r\n" +
           extraLines +
           (extraLines.find("EnableResidentTextLint=") == std::string::npos
                ? "EnableResidentTextLint=false\r\n"
                : "");
}

PluginSession::PluginSession(const std::string &ini, const std::string &subfolder,
                             const std::string &fileName, const std::string &iniName,
                             const std::function<void(const std::string &)> &prepare)
    : dir_("qcp") {
    folder_ = dir_.path() + "\\" + subfolder;
    if (!CreateDirectoryA(folder_.c_str(), nullptr))
        throw std::runtime_error("CreateDirectoryA failed for " + folder_);
    const std::string dll = folder_ + "\\" + fileName;
    if (!CopyFileA((binaryDir() + "\\Quillcheck.dll").c_str(), dll.c_str(), FALSE))
        throw std::runtime_error("CopyFileA failed for " + dll);
    if (!ini.empty())
        writeFileBytes(file(iniName), ini);
    if (prepare)
        prepare(folder_);
    // A trailing dot keeps LoadLibrary from adding ".dll" to a name without extension.
    const std::string loadName = fileName.find('.') == std::string::npos ? dll + "." : dll;
    module_ = LoadLibraryA(loadName.c_str());
}

PluginSession::PluginSession(const InPlace &where, const std::string &ini) : dir_("qcp") {
    folder_ = where.dllPath.substr(0, where.dllPath.find_last_of('\\'));
    if (!ini.empty())
        writeFileBytes(file("Quillcheck.ini"), ini);
    module_ = LoadLibraryA(where.dllPath.c_str());
}

PluginSession::~PluginSession() {
    unload();
}

void PluginSession::unload() {
    if (module_ != nullptr)
        FreeLibrary(module_);
    module_ = nullptr;
}

int PluginSession::start() const {
    return proc<int(WINAPI *)()>("BKC_OnStart")();
}
int PluginSession::exit() const {
    return proc<int(WINAPI *)()>("BKC_OnExit")();
}
int PluginSession::menuInit(HWND window, HMENU menu, int type) const {
    return proc<int(WINAPI *)(HWND, HMENU, int)>("BKC_OnMenuInit")(window, menu, type);
}
int PluginSession::openMail(const char *mailId) const {
    return proc<int(WINAPI *)(LPCSTR)>("BKC_OnOpenMail")(mailId);
}
int PluginSession::everyMinute() const {
    return proc<int(WINAPI *)()>("BKC_OnEveryMinute")();
}
int PluginSession::openCompose(HWND window) const {
    return proc<int(WINAPI *)(HWND, int)>("BKC_OnOpenCompose")(window, 0);
}

bool pumpUntil(const std::function<bool()> &done, DWORD timeoutMs,
               const std::function<void()> &nudge) {
    const ULONGLONG end = GetTickCount64() + timeoutMs;
    ULONGLONG nextNudge = GetTickCount64() + 1000;
    while (!done()) {
        if (GetTickCount64() > end)
            return false;
        if (nudge && GetTickCount64() > nextNudge) {
            nudge();
            nextNudge = GetTickCount64() + 1000;
        }
        standin::pumpMessages(20);
    }
    return true;
}

bool anyRowHas(HWND result, const std::string &part) {
    for (const std::string &row : standin::resultRows(result))
        if (row.find(part) != std::string::npos)
            return true;
    return false;
}

std::string inCodePage(const std::string &utf8, UINT codePage) {
    return standin::recode(utf8, CP_UTF8, codePage);
}

RunLog::RunLog() : dir_("qcr"), path_(dir_.file("runs.txt")) {
    SetEnvironmentVariableA("QUILL_RUN_LOG", path_.c_str());
}

RunLog::~RunLog() {
    SetEnvironmentVariableA("QUILL_RUN_LOG", nullptr);
}

std::size_t RunLog::count() const {
    std::size_t lines = 0;
    for (char c : readFileBytes(path_))
        lines += c == '\n' ? 1 : 0;
    return lines;
}

std::size_t RunLog::count(const std::string &line) const {
    std::size_t lines = 0;
    const std::string text = readFileBytes(path_);
    for (std::size_t at = 0, end; (end = text.find('\n', at)) != std::string::npos; at = end + 1)
        lines += text.compare(at, end - at, line + "\r") == 0 ? 1 : 0;
    return lines;
}

bool RunLog::waitForCount(const std::string &line, std::size_t n, DWORD timeoutMs) const {
    const ULONGLONG end = GetTickCount64() + timeoutMs;
    while (count(line) < n) {
        if (GetTickCount64() > end)
            return false;
        Sleep(20);
    }
    return true;
}

bool RunLog::waitForCount(std::size_t n, DWORD timeoutMs) const {
    const ULONGLONG end = GetTickCount64() + timeoutMs;
    while (count() < n) {
        if (GetTickCount64() > end)
            return false;
        Sleep(50);
    }
    return true;
}

bool runComposeCommand(const PluginSession &plugin, HWND window, bool autoFix) {
    constexpr int MENU_BAR = 10;
    const std::size_t before = standin::registeredCommands().size();
    plugin.menuInit(window, GetMenu(window), MENU_BAR);
    const UINT id = standin::registeredCommands().at(before + (autoFix ? 1 : 0)).id;
    plugin.openCompose(window);
    return standin::chooseCommand(id, window);
}

} // namespace quill::test
