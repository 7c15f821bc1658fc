// The last check of each compose window: its text, its settings and its job.
#include "plugin/compose_checks.h"

#include "config/text_lint_config.h"
#include "checks/own_rules.h"
#include "lint/own_findings.h"

#include <algorithm>
#include <mutex>
#include <vector>

namespace quill {

namespace {

struct ComposeCheck {
    HWND window = nullptr;
    MimeType mimeType = MIME_TEXT_PLAIN;
    int codePage = 0; // the plug-in's own character findings depend on it
    std::string text;
    std::string settingsKey;
    JobTicket job;
};

std::mutex checksMutex;
std::vector<ComposeCheck> checks;

} // namespace

std::string checkSettingsKey() {
    TextLintConfig &config = TextLintConfig::getInstance();
    const TextLintSettings settings = config.snapshot();
    std::string key = config.getTextLintCmdPath();
    key += '\0';
    // A path that names nothing runs the textlint found instead.
    key += config.commandPathInUse();
    key += '\0';
    key += config.buildTextLintConfigJson();
    key += '\0';
    key += settings.excludeQuotedLines ? '1' : '0';
    key += settings.excludeSignature ? '1' : '0';
    for (const OwnRule &rule : ownRules())
        key += settings.*rule.setting ? '1' : '0';
    key += settings.quoteMarks;
    key += '\0';
    // Dates written without a year are read against the day of the check.
    const CalendarDay today = ownCheckContext(TargetMailInfo{}).today;
    key += std::to_string(today.year) + '-' + std::to_string(today.month) + '-' +
           std::to_string(today.day);
    return key;
}

void recordComposeCheck(HWND window, const TargetMailInfo &target, const std::string &settingsKey,
                        JobTicket job) {
    ComposeCheck check{window, target.mimeType, target.codePage, target.getMailText(), settingsKey,
                       job};
    std::lock_guard<std::mutex> lock(checksMutex);
    // Records of closed windows go, so that a new window given the same handle starts afresh.
    checks.erase(std::remove_if(checks.begin(), checks.end(),
                                [window](const ComposeCheck &entry) {
                                    return entry.window == window || !IsWindow(entry.window);
                                }),
                 checks.end());
    checks.push_back(std::move(check));
}

bool isLastComposeCheck(HWND window, const TargetMailInfo &target, const std::string &settingsKey,
                        JobTicket &job) {
    std::lock_guard<std::mutex> lock(checksMutex);
    for (const ComposeCheck &check : checks) {
        if (check.window != window)
            continue;
        job = check.job;
        return check.mimeType == target.mimeType && check.codePage == target.codePage &&
               check.settingsKey == settingsKey && check.text == target.getMailText();
    }
    return false;
}

bool composeCheckOfJob(JobTicket job, HWND &window, std::string &text, MimeType &mimeType) {
    std::lock_guard<std::mutex> lock(checksMutex);
    for (const ComposeCheck &check : checks) {
        if (job.id == 0 || check.job.id != job.id)
            continue;
        window = check.window;
        text = check.text;
        mimeType = check.mimeType;
        return true;
    }
    return false;
}

void forgetComposeChecks() {
    std::lock_guard<std::mutex> lock(checksMutex);
    checks.clear();
}

} // namespace quill
