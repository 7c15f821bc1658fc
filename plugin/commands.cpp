// The proofreading commands and the background triggers: what is checked, when, and on
// which thread.
#include "plugin/commands.h"

#include "common/ansi_encoding.h"
#include "common/system_error.h"
#include "lint/background_check.h"
#include "lint/lint_result_controller.h"
#include "lint/run_failure.h"
#include "mail/charset.h"
#include "plugin/boundary_guard.h"
#include "plugin/compose_checks.h"
#include "plugin/compose_hook.h"
#include "plugin/draft_marker.h"
#include "plugin/host_api.h"
#include "plugin/host_header.h"
#include "plugin/plugin_texts.h"

#include <iterator>

namespace quill {

std::atomic<UINT> checkCommandId{0};
std::atomic<UINT> autoFixCommandId{0};

namespace {

constexpr int MENU_TYPE_MENU_BAR = 10;
constexpr int MENU_TYPE_POPUP = 11;
constexpr int CP_UTF8_CODE_PAGE = 65001;

UINT registerCommand(const wchar_t *description, int menuType, HostCommandCallback callback) {
    // The host takes its texts in the system's ANSI code page.
    const std::string ansi = ansiFromWide(description);
    return hostApi().BKA_RegisterCommand(ansi.c_str(), menuType, callback);
}

// A text the host returned; a null pointer counts as an empty text.
std::string hostText(LPCSTR text) {
    return text != nullptr ? std::string(text) : std::string();
}

TargetMailInfo makeTarget(int isDraft, const char *mimeType, const std::string &text) {
    std::string from = specifiedHeader("From");
    std::string subject = specifiedHeader("Subject");
    return TargetMailInfo(isDraft, parseMimeType(mimeType), std::move(from), std::move(subject),
                          normalizeLineEnds(text));
}

void tellFailure(HWND window, const LintFailure &failure) {
    if (!failure.failed())
        return;
    MessageBoxW(window, describeLintFailure(failure).c_str(), plugin_text::ERROR_CAPTION, MB_OK);
}

// A background check of a text that could not be converted fails with that reason: the
// result window says so instead of showing findings of mojibake.
void startBackgroundCheckOf(const TargetMailInfo &target, bool converted) {
    LintResultController &engine = lintEngine();
    if (converted)
        startBackgroundCheck(engine, target);
    else
        engine.failCheck(engine.enterJob(target), notConvertedFailure());
}

} // namespace

ComposeContent readComposeWindow(HWND window, int isDraft, ConversionFailure failure) {
    HostApi &api = hostApi();
    char mimeType[64] = {};
    ComposeContent content;
    const LPCSTR hostTextPointer =
        api.BKA_CompGetText(window, mimeType, static_cast<int>(std::size(mimeType)));
    content.hostGaveText = hostTextPointer != nullptr;
    const std::string text = hostText(hostTextPointer);
    content.hostText = text;
    mimeType[std::size(mimeType) - 1] = '\0';
    char charSet[64] = {};
    content.codePage =
        api.BKA_CompGetCharSet(window, charSet, static_cast<int>(std::size(charSet)));
    const std::string utf8 =
        failure == ConversionFailure::Quiet
            ? convertCharSetQuietly(text, content.codePage, CP_UTF8_CODE_PAGE, content.converted)
            : convertCharSet(text, content.codePage, CP_UTF8_CODE_PAGE, content.converted);
    content.target = makeTarget(isDraft, mimeType, utf8);
    content.target.codePage = resolvedCodePage(content.codePage);
    return content;
}

namespace {
// Nested runs (a fix that checks again) keep the first one's cursor.
int workDepth = 0;
} // namespace

WorkInProgress::WorkInProgress() {
    if (workDepth++ > 0)
        return;
    // The thread does not handle WM_SETCURSOR while it waits, so the cursor set here stays
    // over its windows, the compose windows and the result window, until the run ends.
    previous_ = SetCursor(LoadCursor(nullptr, IDC_WAIT));
    lintEngine().setWorking(true);
}

WorkInProgress::~WorkInProgress() {
    if (--workDepth > 0)
        return;
    lintEngine().setWorking(false);
    SetCursor(previous_);
}

// A check the user chose tells why it found nothing to show: one box owned by the compose
// window, with what happened and what to do. The result window's status line says it too.
void WINAPI onCheckCommand(HWND window, LPARAM) {
    guarded("onCheckCommand()", [window] {
        if (!composeWindows().contains(window))
            return;
        checkComposeWindow(window);
    });
}

void checkComposeWindow(HWND window) {
    CheckOutcome outcome;
    {
        WorkInProgress work;
        ComposeContent content = readComposeWindow(window, 0);
        // Entered and run as the check entry does, with the job noted as the window's last
        // check, so that a pause right after it does not check the same text again.
        LintResultController &engine = lintEngine();
        const JobTicket job = engine.enterJob(content.target);
        recordComposeCheck(window, content.target, checkSettingsKey(), job);
        // A text that could not be converted would be checked as mojibake.
        outcome = content.converted ? engine.runCheck(job, content.target)
                                    : engine.failCheck(job, notConvertedFailure());
    }
    // The conversion has shown its own box; the status line gives the reason.
    if (outcome.publication == Publication::Failed &&
        outcome.failure.kind != LintFailureKind::NotConverted)
        tellFailure(window, outcome.failure);
    else if (outcome.noRule)
        tellFailure(window, noRuleFailure());
}

// The compose text is replaced only by a fix that went through whole and changed
// something: a text that could not be read, fixed or converted back leaves the window as the
// user wrote it. A host that gave no text at all may still hold one, so nothing is written
// over it either, nor is an empty fix written over a text. A character the window's code
// page cannot hold would become "?" or a look-alike: the fix is refused with a message.
void WINAPI onAutoFixCommand(HWND window, LPARAM) {
    guarded("onAutoFixCommand()", [window] {
        if (!composeWindows().contains(window))
            return;
        ComposeContent content = readComposeWindow(window, 0);
        // A conversion that failed has shown its own box.
        if (!content.hostGaveText || !content.converted)
            return;
        TextLintFixResult fixed;
        {
            WorkInProgress work;
            fixed = lintEngine().executeTextLintFix(content.target);
        }
        tellFailure(window, fixed.failure);
        if (!fixed.succeeded || fixed.text == content.target.getMailText())
            return;
        if (fixed.text.empty()) {
            writeDiagnosticLine("onAutoFixCommand() failed. the fix left no text; the mail is "
                                "left as it was.");
            return;
        }
        ConversionOutcome outcome = ConversionOutcome::Failed;
        const std::string text =
            convertCharSetLossless(fixed.text, CP_UTF8_CODE_PAGE, content.codePage, outcome);
        if (outcome == ConversionOutcome::Unrepresentable)
            MessageBoxW(window, plugin_text::FIX_NOT_REPRESENTABLE, plugin_text::ERROR_CAPTION,
                        MB_OK);
        if (outcome != ConversionOutcome::Converted)
            return;
        hostApi().BKA_CompSetText(window, 0, text.c_str());
    });
}

void addProofreadingCommands(HMENU menu, int menuType) {
    if (menuType == MENU_TYPE_MENU_BAR) {
        checkCommandId = registerCommand(plugin_text::CHECK_DESCRIPTION, menuType, onCheckCommand);
        autoFixCommandId =
            registerCommand(plugin_text::AUTO_FIX_DESCRIPTION, menuType, onAutoFixCommand);
        const HMENU popup = GetSubMenu(menu, 1);
        if (popup != nullptr) {
            AppendMenuW(popup, MF_SEPARATOR, 0, nullptr);
            AppendMenuW(popup, MF_STRING, checkCommandId.load(), plugin_text::CHECK_ITEM);
            AppendMenuW(popup, MF_STRING, autoFixCommandId.load(), plugin_text::AUTO_FIX_ITEM);
        }
    } else if (menuType == MENU_TYPE_POPUP) {
        AppendMenuW(menu, MF_SEPARATOR, 0, nullptr);
        const UINT checkId =
            registerCommand(plugin_text::CHECK_DESCRIPTION, menuType, onCheckCommand);
        AppendMenuW(menu, MF_STRING, checkId, plugin_text::CHECK_ITEM);
        const UINT autoFixId =
            registerCommand(plugin_text::AUTO_FIX_DESCRIPTION, menuType, onAutoFixCommand);
        AppendMenuW(menu, MF_STRING, autoFixId, plugin_text::AUTO_FIX_ITEM);
    }
}

void checkOpenedDraft(LPCSTR mailId) {
    if (mailId == nullptr || !isOutboxDraft(mailId, ansiCharLength))
        return;
    HostApi &api = hostApi();
    char mimeType[64] = {};
    const std::string text =
        hostText(api.BKA_GetText(mimeType, static_cast<int>(std::size(mimeType))));
    mimeType[std::size(mimeType) - 1] = '\0';
    char charSet[64] = {};
    const int codePage = api.BKA_GetCharSet(mailId, charSet, static_cast<int>(std::size(charSet)));
    bool converted = false;
    const std::string utf8 = convertCharSet(text, codePage, CP_UTF8_CODE_PAGE, converted);
    TargetMailInfo target = makeTarget(1, mimeType, utf8);
    target.codePage = resolvedCodePage(codePage);
    // A worker that cannot start has written its diagnostic; the host still gets 0.
    startBackgroundCheckOf(target, converted);
}

void checkForegroundComposeWindow() {
    const HWND foreground = GetForegroundWindow();
    if (foreground == nullptr)
        return;
    // One job per record of the window: a window opened twice is tracked twice. A text
    // whose check the result window still shows, with the same settings, is not checked
    // again.
    const std::size_t records = composeWindows().countOf(foreground);
    for (std::size_t i = 0; i < records; ++i) {
        const ComposeContent content = readComposeWindow(foreground, 1);
        const TargetMailInfo &target = content.target;
        if (!content.converted) {
            startBackgroundCheckOf(target, false);
            continue;
        }
        const std::string settingsKey = checkSettingsKey();
        JobTicket job;
        if (isLastComposeCheck(foreground, target, settingsKey, job) &&
            lintEngine().isLastPublished(job))
            continue;
        if (startBackgroundCheck(lintEngine(), target, &job))
            recordComposeCheck(foreground, target, settingsKey, job);
    }
}

} // namespace quill
