// The plug-in's own rules over any bytes: every finding stands on a line of the text, every
// fix lies inside it, and the fixed text keeps the lines.
#include "checks/own_rules.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size) {
    const std::string text(reinterpret_cast<const char *>(data), size);
    const long lines = static_cast<long>(std::count(text.begin(), text.end(), '\n')) + 1;
    quill::OwnCheckContext context;
    context.codePage = 932;
    context.today = {2026, 12, 8};
    const quill::TextLintSettings settings;
    // Every byte is at most one UTF-16 unit.
    for (const quill::OwnRuleFinding &finding : quill::checkOwnRules(text, context, settings)) {
        if (finding.line < 1 || finding.line > lines || finding.column < 1 ||
            finding.message.empty() || finding.ruleName == nullptr)
            std::abort();
        if (finding.fix && (finding.fix->start > finding.fix->end || finding.fix->end > size))
            std::abort();
    }
    const std::string fixed = quill::fixOwnRules(text, context, settings);
    if (std::count(fixed.begin(), fixed.end(), '\n') != lines - 1)
        std::abort();
    return 0;
}
