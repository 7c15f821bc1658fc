// The bundled textlint against the same textlint through an npm-style textlint.cmd, with the
// same rules and mail: cold checks (the first check after a start) of node.exe started
// directly, the same with Node's on-disk compile cache (NODE_COMPILE_CACHE, filled before),
// and through the batch file; then warm checks through the resident textlint of each. Run in the
// prefix of the release with textlint by script/bundle-prefix, which names the plug-in folder in
// QUILL_BUNDLE_PLUGINS:
//   script/bundle-prefix build/bench/runs/bundle_bench.exe build/Quillcheck.dll
//       <INI with the rules> <mail> [cold rounds] [warm checks]
#include "bench/resident/bench_stats.h"
#include "config/text_lint_config.h"
#include "lint/cold_run.h"
#include "lint/lint_result_controller.h"
#include "lint/resident/resident_textlint.h"

#include <windows.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

namespace {

std::string readFile(const std::string &path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

std::string environment(const char *name) {
    char value[MAX_PATH] = "";
    DWORD length = GetEnvironmentVariableA(name, value, MAX_PATH);
    return length > 0 && length < MAX_PATH ? value : "";
}

void report(const char *name, const std::vector<double> &times) {
    std::printf("%-28s n=%2zu  p50 %8.0f ms  p95 %8.0f ms\n", name, times.size(),
                bench::percentile(times, 50), bench::percentile(times, 95));
}

double coldCheck(const std::string &mail) {
    double start = bench::milliseconds();
    quill::ColdRunProblem problem;
    if (!quill::runColdCheck(mail, quill::MIME_TEXT_PLAIN, 1200, &problem)) {
        std::printf("cold check failed: %s\n", problem.diagnostic.c_str());
        std::exit(1);
    }
    return bench::milliseconds() - start;
}

std::vector<double> warmChecks(const std::string &mail, int count) {
    quill::TargetMailInfo target(0, quill::MIME_TEXT_PLAIN, "", "", mail);
    quill::LintResultController engine;
    quill::residentTextLint().start();
    if (!quill::residentTextLint().waitUntilServing(std::chrono::minutes(5))) {
        std::printf("the resident textlint did not come up\n");
        std::exit(1);
    }
    std::vector<double> times;
    for (int i = 0; i < count + 3; ++i) {
        double start = bench::milliseconds();
        engine.executeProofreadingTool(quill::ProofreadingToolControlType::Check, target);
        if (i >= 3)
            times.push_back(bench::milliseconds() - start);
    }
    quill::residentTextLint().stop();
    return times;
}

} // namespace

int main(int argc, char **argv) {
    if (argc < 3) {
        std::printf("usage: bundle_bench <INI> <mail> [cold rounds] [warm checks]\n");
        return 2;
    }
    const int rounds = argc > 3 ? std::atoi(argv[3]) : 5;
    const int warmCount = argc > 4 ? std::atoi(argv[4]) : 30;
    const std::string bundle = environment("QUILL_BUNDLE_PLUGINS") + "\\Quillcheck-textlint";
    const std::string node = bundle + "\\node.exe";
    const std::string cache = environment("LOCALAPPDATA") + "\\Quillcheck\\node-compile-cache";
    // textlint.cmd as npm writes it beside node.exe, here in a folder of its own.
    char temp[MAX_PATH];
    GetTempPathA(MAX_PATH, temp);
    const std::string shim = std::string(temp) + "textlint.cmd";
    std::ofstream(shim, std::ios::binary) << "@\"" << node << "\" \"" << bundle
                                          << "\\node_modules\\textlint\\bin\\textlint.js\" %*\r\n";

    quill::TextLintConfig &settings = quill::TextLintConfig::getInstance();
    if (!settings.readConfigFile(argv[1])) {
        std::printf("cannot read %s\n", argv[1]);
        return 1;
    }
    const std::string mail = readFile(argv[2]);

    // Each variant sets the command and whether node.exe is given a compile cache.
    struct Variant {
        const char *name;
        std::string command;
        bool cache;
        std::vector<double> times;
    };
    std::vector<Variant> variants = {{"node.exe, compile cache", node, true, {}},
                                     {"node.exe", node, false, {}},
                                     {"textlint.cmd (npm style)", shim, false, {}}};
    const auto use = [&](const Variant &variant) {
        settings.setTextLintCmdPath(variant.command);
        // The children inherit it.
        SetEnvironmentVariableA("NODE_COMPILE_CACHE", variant.cache ? cache.c_str() : nullptr);
    };
    use(variants[0]);
    coldCheck(mail); // fills the compile cache, the file cache and the wineserver
    for (int round = 0; round < rounds; ++round)
        for (std::size_t i = 0; i < variants.size(); ++i) {
            // Rotated, so that no variant always follows the same one.
            Variant &variant = variants[(i + static_cast<std::size_t>(round)) % variants.size()];
            use(variant);
            variant.times.push_back(coldCheck(mail));
        }
    std::printf("cold checks (the first check after a start), %d rounds:\n", rounds);
    for (const Variant &variant : variants)
        report(variant.name, variant.times);

    std::printf("warm checks through the resident textlint, %d each:\n", warmCount);
    use(variants[1]);
    report("node.exe", warmChecks(mail, warmCount));
    use(variants[2]);
    report("textlint.cmd (npm style)", warmChecks(mail, warmCount));
    return 0;
}
