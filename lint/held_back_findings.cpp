// The lists of ignored and hidden findings, and the filter every check's findings pass.
#include "lint/held_back_findings.h"

#include "config/text_lint_config.h"
#include "mail/text_span.h"

#include <algorithm>

namespace quill {

void IgnoredFindings::add(IgnoredFinding finding) {
    std::lock_guard<std::mutex> lock(mutex_);
    for (const IgnoredFinding &entry : findings_)
        if (entry.ruleName == finding.ruleName && entry.message == finding.message &&
            entry.lineText == finding.lineText)
            return;
    findings_.push_back(std::move(finding));
}

bool IgnoredFindings::contains(const LintResult &finding, std::string_view lineText) {
    std::lock_guard<std::mutex> lock(mutex_);
    for (const IgnoredFinding &entry : findings_)
        if (entry.ruleName == finding.ruleName && entry.message == finding.message &&
            entry.lineText == lineText)
            return true;
    return false;
}

bool IgnoredFindings::empty() {
    std::lock_guard<std::mutex> lock(mutex_);
    return findings_.empty();
}

void IgnoredFindings::clear() {
    std::lock_guard<std::mutex> lock(mutex_);
    findings_.clear();
}

IgnoredFindings &ignoredFindings() {
    static IgnoredFindings list;
    return list;
}

namespace {

void noteLine(HeldBack &heldBack, int line) {
    if (line <= 0)
        return;
    const auto at = static_cast<std::size_t>(line);
    auto place = std::lower_bound(heldBack.lines.begin(), heldBack.lines.end(), at);
    if (place == heldBack.lines.end() || *place != at)
        heldBack.lines.insert(place, at);
}

} // namespace

std::vector<LintResult> withoutHeldBack(std::vector<LintResult> findings,
                                        std::string_view checkedText, HeldBack &heldBack) {
    if (findings.empty() || nothingHeldBack())
        return findings;
    TextLintConfig &config = TextLintConfig::getInstance();
    const std::vector<HiddenFinding> hidden = config.getHiddenFindings();
    std::vector<LintResult> kept;
    kept.reserve(findings.size());
    for (LintResult &finding : findings) {
        const std::string_view line =
            lineOfText(checkedText, finding.line > 0 ? static_cast<std::size_t>(finding.line) : 0);
        if (ignoredFindings().contains(finding, line)) {
            ++heldBack.ignored;
        } else if (std::find(hidden.begin(), hidden.end(),
                             HiddenFinding{finding.ruleName, finding.message}) != hidden.end()) {
            ++heldBack.hidden;
        } else if (config.isOwnRuleOff(finding.ruleName)) {
            // Its rule fixes nothing: its line need not go back as written, which would
            // keep the other rules' fixes from it.
            ++heldBack.hidden;
            continue;
        } else {
            kept.push_back(std::move(finding));
            continue;
        }
        noteLine(heldBack, finding.line);
    }
    return kept;
}

bool anyLineHeldBack() {
    return !ignoredFindings().empty() || !TextLintConfig::getInstance().getHiddenFindings().empty();
}

bool nothingHeldBack() {
    if (!ignoredFindings().empty())
        return false;
    TextLintConfig &config = TextLintConfig::getInstance();
    if (!config.getHiddenFindings().empty())
        return false;
    for (const TextLintRule &rule : config.getRules())
        if (config.isOwnRuleOff(rule.name))
            return false;
    return true;
}

} // namespace quill
