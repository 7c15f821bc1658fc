// The demo's console driver of the lint engine: reads a settings file and a mail, checks the
// mail with textlint, prints the findings as the result window lists them, then auto-fixes
// the mail and prints the corrected text. Output is UTF-8 for the terminal.
#include "common/ansi_encoding.h"
#include "config/text_lint_config.h"
#include "lint/lint_result_controller.h"
#include "mail/target_mail_info.h"

#include <windows.h>

#include <cstdio>
#include <exception>
#include <fstream>
#include <sstream>
#include <string>

namespace {

void print(const std::string &text) {
    std::fwrite(text.data(), 1, text.size(), stdout);
    std::fflush(stdout);
}

int run(const std::string &iniPath, const std::string &mailPath) {
    quill::TextLintConfig &settings = quill::TextLintConfig::getInstance();
    settings.readConfigFile(iniPath);
    settings.setIniFilePath(iniPath);

    std::ifstream in(mailPath, std::ios::binary);
    if (!in) {
        print("cannot read " + mailPath + "\n");
        return 2;
    }
    std::ostringstream bytes;
    bytes << in.rdbuf();
    quill::TargetMailInfo target(0, quill::MIME_TEXT_PLAIN, "sato@example.jp", "demo",
                                 quill::normalizeLineEnds(bytes.str()));

    print("== textlint: " + settings.getTextLintCmdPath() + "\n== Findings\n");
    quill::LintResultController engine;
    bool checked =
        engine.executeProofreadingTool(quill::ProofreadingToolControlType::Check, target);
    for (const quill::LintResult &finding : engine.getLintResults()) {
        char head[64];
        std::snprintf(head, sizeof head, "Line: %d, Index: %d, Msg: ", finding.line, finding.index);
        print(head + quill::utf8FromAnsi(finding.message) +
              ", Rule: " + quill::utf8FromAnsi(finding.ruleName) + "\n");
    }
    print(checked ? "== Check succeeded: " + std::to_string(engine.getLintResults().size()) +
                        " findings; over the threshold: " +
                        (engine.isEvaluateValueOverThreshold() ? "yes" : "no") + "\n"
                  : "== Check failed\n");

    quill::TextLintFixResult fixed = engine.executeTextLintFix(target);
    print(fixed.succeeded ? "== Corrected text\n" : "== Auto-fix failed; the text as it was\n");
    print(fixed.text);
    return checked && fixed.succeeded ? 0 : 1;
}

} // namespace

int main(int argc, char **argv) {
    if (argc != 3) {
        print("usage: demo_console <Quillcheck.ini> <mail.txt>\n");
        return 2;
    }
    try {
        return run(argv[1], argv[2]);
    } catch (const std::exception &e) {
        print(std::string("demo_console: ") + e.what() + "\n");
        return 1;
    }
}
