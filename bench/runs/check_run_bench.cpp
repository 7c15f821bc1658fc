// Wall time of a check through executeProofreadingTool against the same textlint command
// line started directly (same configuration, same text, files prepared beforehand), in
// alternating pairs; prints both medians and their ratio. An optional second argument
// names another command (a trivial .cmd shows the engine's own cost without textlint's).
#include "config/text_lint_config.h"
#include "lint/lint_result_controller.h"
#include "lint/textlint_command.h"

#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>
#include <vector>

namespace {

const char MAIL[] = "私は彼は好きです。\n日本語 の文章です。\nこれは、とても、良い、文章、です。\n";

double seconds() {
    LARGE_INTEGER now, frequency;
    QueryPerformanceCounter(&now);
    QueryPerformanceFrequency(&frequency);
    return static_cast<double>(now.QuadPart) / static_cast<double>(frequency.QuadPart);
}

void writeFile(const std::string &path, const std::string &bytes) {
    std::ofstream(path, std::ios::binary | std::ios::trunc) << bytes;
}

std::string tempName(const std::string &dir) {
    char name[MAX_PATH];
    GetTempFileNameA(dir.c_str(), "Qbe", 0, name);
    return name;
}

// The same command line the engine forms, started the same way, the files made beforehand.
double directRun(const std::string &commandPath, const std::string &config) {
    char dir[MAX_PATH];
    GetTempPathA(MAX_PATH, dir);
    quill::TextLintCommandFiles files;
    files.commandPath = commandPath;
    files.configFile = tempName(dir);
    files.reportFile = tempName(dir);
    files.errorFile = tempName(dir);
    std::string placeholder = tempName(dir);
    files.inputFile = placeholder + ".txt";
    MoveFileA(placeholder.c_str(), files.inputFile.c_str());
    writeFile(files.configFile, config);
    writeFile(files.inputFile, MAIL);
    std::string line = quill::makeCheckCommandLine(files).value();

    SECURITY_ATTRIBUTES inheritable = {sizeof(SECURITY_ATTRIBUTES), nullptr, TRUE};
    HANDLE nul =
        CreateFileA("NUL", GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE,
                    &inheritable, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    STARTUPINFOA si = {};
    si.cb = sizeof(si);
    si.dwFlags = STARTF_USESHOWWINDOW | STARTF_USESTDHANDLES;
    si.wShowWindow = SW_HIDE;
    si.hStdInput = si.hStdOutput = si.hStdError = nul;
    PROCESS_INFORMATION pi = {};
    std::vector<char> cmd(line.begin(), line.end());
    cmd.push_back('\0');
    double start = seconds();
    if (!CreateProcessA(nullptr, cmd.data(), nullptr, nullptr, TRUE, 0, nullptr, nullptr, &si,
                        &pi)) {
        std::printf("direct start failed\n");
        std::exit(1);
    }
    WaitForSingleObject(pi.hProcess, INFINITE);
    double elapsed = seconds() - start;
    CloseHandle(pi.hThread);
    CloseHandle(pi.hProcess);
    CloseHandle(nul);
    for (const std::string &f :
         {files.configFile, files.reportFile, files.errorFile, files.inputFile})
        DeleteFileA(f.c_str());
    return elapsed;
}

double engineRun(quill::LintResultController &engine, std::size_t expectedFindings) {
    quill::TargetMailInfo target(0, quill::MIME_TEXT_PLAIN, "", "", MAIL);
    double start = seconds();
    bool ok = engine.executeProofreadingTool(quill::ProofreadingToolControlType::Check, target);
    double elapsed = seconds() - start;
    if (!ok || engine.getLintResults().size() != expectedFindings) {
        std::printf("engine check failed\n");
        std::exit(1);
    }
    return elapsed;
}

double median(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    std::size_t n = v.size();
    return n % 2 ? v[n / 2] : (v[n / 2 - 1] + v[n / 2]) / 2;
}

} // namespace

int main(int argc, char **argv) {
    int pairs = argc > 1 ? std::max(5, std::atoi(argv[1])) : 7;
    std::string commandPath = argc > 2 ? argv[2] : "C:\\textlint\\textlint.cmd";
    // The real textlint finds three problems in the text; a trivial command one.
    std::size_t expected = argc > 2 ? 1 : 3;
    quill::TextLintConfig &settings = quill::TextLintConfig::getInstance();
    if (!settings.setTextLintCmdPath(commandPath)) {
        std::printf("no textlint at %s\n", commandPath.c_str());
        return 1;
    }
    std::vector<quill::TextLintRule> rules;
    for (const char *name : {"max-ten", "no-doubled-joshi", "preset-ja-spacing", "sentence-length",
                             "no-mix-dearu-desumasu"}) {
        quill::TextLintRule rule;
        rule.name = name;
        rule.enabled = true;
        rules.push_back(rule);
    }
    settings.setRules(rules);
    std::string config = settings.buildTextLintConfigJson();

    quill::LintResultController engine;
    engineRun(engine, expected); // warm the file cache and the wineserver
    std::vector<double> viaEngine, direct;
    for (int i = 0; i < pairs; ++i) {
        // Alternate the order so neither side always runs second.
        if (i % 2 == 0) {
            viaEngine.push_back(engineRun(engine, expected));
            direct.push_back(directRun(commandPath, config));
        } else {
            direct.push_back(directRun(commandPath, config));
            viaEngine.push_back(engineRun(engine, expected));
        }
        std::printf("pair %d: engine %.3f s, direct %.3f s\n", i + 1, viaEngine.back(),
                    direct.back());
    }
    double m1 = median(viaEngine), m2 = median(direct);
    std::printf("median over %d pairs: engine %.3f s, direct %.3f s, ratio %.3f (target <= 1.05)\n",
                pairs, m1, m2, m1 / m2);
    return 0;
}
