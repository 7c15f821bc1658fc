// The plug-in's own findings, held like textlint's.
#include "lint/own_findings.h"

#include "config/text_lint_config.h"
#include "checks/own_rules.h"
#include "lint/lint_text_conversion.h"

#include <windows.h>

#include <algorithm>
#include <climits>
#include <cstdio>
#include <iterator>

namespace quill {

namespace {

// The day a test has set, when it has set a well-formed one.
std::optional<CalendarDay> dayOfTheTests() {
    char value[16] = "";
    const DWORD length = GetEnvironmentVariableA("QUILLCHECK_TEST_TODAY", value, sizeof(value));
    if (length == 0 || length >= sizeof(value))
        return std::nullopt;
    CalendarDay day;
    if (std::sscanf(value, "%4d-%2d-%2d", &day.year, &day.month, &day.day) != 3)
        return std::nullopt;
    return day;
}

} // namespace

OwnCheckContext ownCheckContext(const TargetMailInfo &target) {
    OwnCheckContext context;
    context.codePage = target.codePage;
    if (std::optional<CalendarDay> day = dayOfTheTests()) {
        context.today = *day;
    } else {
        SYSTEMTIME now{};
        GetLocalTime(&now);
        context.today = {now.wYear, now.wMonth, now.wDay};
    }
    return context;
}

std::vector<LintResult> ownFindings(const std::string &text, const TargetMailInfo &target) {
    std::vector<LintResult> results;
    const TextLintSettings settings = TextLintConfig::getInstance().snapshot();
    if (!anyOwnRuleOn(settings))
        return results;
    for (const OwnRuleFinding &finding : checkOwnRules(text, ownCheckContext(target), settings)) {
        std::optional<std::wstring> wideMessage = lintTextToWide(finding.message);
        std::optional<std::wstring> wideRule = lintTextToWide(finding.ruleName);
        if (!wideMessage || !wideRule)
            continue;
        std::optional<std::string> message = lintTextToAnsi(*wideMessage);
        std::optional<std::string> ruleName = lintTextToAnsi(*wideRule);
        if (!message || !ruleName)
            continue;
        LintResult result;
        result.line = finding.line;
        result.index = finding.column;
        result.message = std::move(*message);
        result.ruleName = std::move(*ruleName);
        if (finding.fix && finding.fix->end <= static_cast<std::size_t>(INT_MAX))
            result.fix = LintFix{static_cast<int>(finding.fix->start),
                                 static_cast<int>(finding.fix->end),
                                 finding.fix->text,
                                 {}};
        results.push_back(std::move(result));
    }
    return results;
}

std::string fixOwnFindings(const std::string &text, const TargetMailInfo &target) {
    TextLintConfig &config = TextLintConfig::getInstance();
    const TextLintSettings settings = config.snapshot();
    if (!anyOwnRuleOn(settings))
        return text;
    // A rule whose row is off fixes nothing, as the rows stand now: a choice made after the
    // last check counts as much as one made before it.
    std::vector<std::string> rulesOff;
    for (const OwnRule &rule : ownRules())
        if (config.isOwnRuleOff(rule.name))
            rulesOff.emplace_back(rule.name);
    return fixOwnRules(text, ownCheckContext(target), settings, rulesOff);
}

std::vector<LintResult> mergeFindings(std::vector<LintResult> textlintFindings,
                                      std::vector<LintResult> ownFindings) {
    if (ownFindings.empty())
        return textlintFindings;
    std::vector<LintResult> merged = std::move(textlintFindings);
    merged.insert(merged.end(), std::make_move_iterator(ownFindings.begin()),
                  std::make_move_iterator(ownFindings.end()));
    std::stable_sort(merged.begin(), merged.end(), [](const LintResult &a, const LintResult &b) {
        return a.line != b.line ? a.line < b.line : a.index < b.index;
    });
    return merged;
}

} // namespace quill
