// The host's send event: parses the outgoing source, asks before a mail goes whose words
// mention an attachment it does not carry or that greets a person it is not sent to, checks its
// body with textlint on the host's thread, and refuses the send when the evaluation value exceeds
// the threshold.
#include "plugin/send_gate.h"

#include "common/ansi_encoding.h"
#include "common/encoding.h"
#include "common/owner_window.h"
#include "common/system_error.h"
#include "config/text_lint_config.h"
#include "mail/attached_file.h"
#include "mail/charset.h"
#include "checks/attachment_mention.h"
#include "plugin/addressee_confirmation.h"
#include "lint/lint_result_controller.h"
#include "lint/run_failure.h"
#include "plugin/host_header.h"
#include "plugin/plugin_texts.h"

#include <atomic>
#include <cstring>
#include <iterator>
#include <new>
#include <vector>

namespace quill {

namespace {

constexpr std::size_t BODY_TEXT_RESERVE = 5120;

// The value of the part's first header line named `name` (with its colon), up to the
// first white space or ";"; empty without one.
std::string headerToken(const MimePart &part, const char *name) {
    const std::size_t length = std::strlen(name);
    for (const std::string &line : part.headerLines) {
        if (!startsWithIgnoringAsciiCase(line, name))
            continue;
        std::size_t start = line.find_first_not_of(" \t\r\n", length);
        if (start == std::string::npos)
            return std::string();
        std::size_t end = line.find_first_of(" \t\r\n;", start);
        return line.substr(start, end == std::string::npos ? std::string::npos : end - start);
    }
    return std::string();
}

// Plain text that the parser keeps as it stands: no transfer encoding, or an identity one.
bool isReadablePlainText(const MimePart &part) {
    if (!equalsIgnoringAsciiCase(part.type, "text") ||
        !equalsIgnoringAsciiCase(part.subtype, "plain"))
        return false;
    std::string encoding = headerToken(part, "content-transfer-encoding:");
    return encoding.empty() || equalsIgnoringAsciiCase(encoding, "7bit") ||
           equalsIgnoringAsciiCase(encoding, "8bit") || equalsIgnoringAsciiCase(encoding, "binary");
}

void showMessage(const wchar_t *text, const wchar_t *caption) {
    MessageBoxW(hostOwnerWindow(), text, caption, MB_OK);
}

// A mail went out unchecked: the user is told why, once per kind of reason while the
// plug-in runs: the reason holds for every later mail too, and a box on every send would be
// noise.
std::atomic<bool> toldUnchecked[static_cast<std::size_t>(LintFailureKind::Internal) + 1];

void tellUncheckedOnce(const LintFailure &failure) {
    const auto index = static_cast<std::size_t>(failure.kind);
    if (index >= std::size(toldUnchecked) || toldUnchecked[index].exchange(true))
        return;
    const std::wstring text = std::wstring(plugin_text::SEND_UNCHECKED) + L"\n" +
                              describeLintFailure(failure) + L"\n" +
                              plugin_text::SEND_UNCHECKED_ONCE;
    showMessage(text.c_str(), plugin_text::INFO_CAPTION);
}

// A mail whose own words mention an attachment but that carries no file: the writer is
// asked, owned by the host's window, with the word found; No (the default) stops the send.
bool confirmSendWithoutAttachment(const MimePart &top, const std::string &bodyText,
                                  const std::string &quoteMarks) {
    if (hasAttachedFile(top))
        return true;
    const std::optional<std::string> mention =
        findAttachmentMention(bodyText, quoteMarks, sendMimeType(top) == MIME_TEXT_HTML);
    if (!mention)
        return true;
    const std::wstring text = std::wstring(plugin_text::ATTACHMENT_MISSING_BEFORE) +
                              wideFromUtf8(*mention) + plugin_text::ATTACHMENT_MISSING_AFTER;
    return MessageBoxW(hostOwnerWindow(), text.c_str(), plugin_text::INFO_CAPTION,
                       MB_YESNO | MB_ICONQUESTION | MB_DEFBUTTON2) == IDYES;
}

} // namespace

int gateOutgoingMail(LPCSTR source) {
    TextLintConfig &config = TextLintConfig::getInstance();
    const TextLintSettings settings = config.snapshot();
    if (!settings.enableEvaluateValueThreshold && !settings.remindForgottenAttachment &&
        !settings.remindMismatchedAddressee)
        return 0;
    if (source == nullptr) {
        writeDiagnosticLine("BKC_OnSend() failed. no mail source.");
        return 0;
    }

    MimePart top;
    {
        std::string mailSource;
        try {
            mailSource = source;
        } catch (const std::bad_alloc &) {
            showMessage(plugin_text::SEND_SOURCE_NOT_COPIED, plugin_text::ERROR_CAPTION);
            return 0;
        }
        const char *cursor = mailSource.c_str();
        parseMimePart(top, cursor, nullptr);
    }

    const MimePart &textPart = selectTextPart(top);
    int codePage = codePageOfContentType(getContentTypeValue(textPart));
    std::optional<std::string> bodyText = sendBodyText(textPart, codePage);
    if (!bodyText) {
        if (settings.enableEvaluateValueThreshold)
            tellUncheckedOnce(notConvertedFailure());
        return 0;
    }
    // The reminders come before the gate, the attachment first: a mail the writer stops at
    // either need not be asked about further or weighed.
    const std::string quoteMarks = utf8FromAnsi(settings.quoteMarks);
    if (settings.remindForgottenAttachment &&
        !confirmSendWithoutAttachment(top, *bodyText, quoteMarks))
        return -1;
    // An HTML body has no addressee lines to read.
    if (settings.remindMismatchedAddressee && sendMimeType(top) != MIME_TEXT_HTML &&
        !confirmSendToGreetedPersons(top.headerLines, *bodyText, quoteMarks))
        return -1;
    if (!settings.enableEvaluateValueThreshold)
        return 0;
    std::string from = specifiedHeader("From");
    std::string subject = specifiedHeader("Subject");
    TargetMailInfo target(0, sendMimeType(top), from, subject, *bodyText);
    target.codePage = resolvedCodePage(codePage);

    // The gate weighs the findings of its own run, also when a job that entered later kept
    // them from the window. A failed run has none: the findings the engine still holds
    // belong to some other mail, so they must not decide this one. Errors never stop a send.
    LintResultController &engine = lintEngine();
    CheckOutcome outcome = engine.runCheck(engine.enterJob(target), target);
    if (outcome.publication == Publication::Failed) {
        writeDiagnosticLine("BKC_OnSend() failed. the mail was sent unchecked.");
        tellUncheckedOnce(outcome.failure);
        return 0;
    }
    if (outcome.nothingToCheck ||
        !LintResultController::isEvaluateValueOverThreshold(outcome.findings))
        return 0;
    showMessage(plugin_text::SEND_REFUSED, plugin_text::INFO_CAPTION);
    return -1;
}

int codePageOfContentType(const std::string &contentTypeValue) {
    static const char CHARSET[] = "charset=";
    const std::size_t length = std::size(CHARSET) - 1;
    for (std::size_t pos = 0; pos + length <= contentTypeValue.size(); ++pos) {
        if (!startsWithIgnoringAsciiCase(std::string_view(contentTypeValue).substr(pos), CHARSET))
            continue;
        std::vector<char> text(contentTypeValue.begin() + static_cast<std::ptrdiff_t>(pos),
                               contentTypeValue.end());
        text.push_back('\0');
        char *name = nullptr;
        char *value = nullptr;
        parseMimeParameter(text.data(), &name, &value);
        if (value == nullptr || *value == '\0')
            return 0;
        return codePageOfCharset(value);
    }
    return 0;
}

const MimePart &selectTextPart(const MimePart &top) {
    if (!equalsIgnoringAsciiCase(top.type, "multipart"))
        return top;
    std::vector<const MimePart *> pending;
    if (top.firstChild)
        pending.push_back(top.firstChild.get());
    while (!pending.empty()) {
        const MimePart *part = pending.back();
        pending.pop_back();
        if (isReadablePlainText(*part))
            return *part;
        if (part->nextSibling)
            pending.push_back(part->nextSibling.get());
        if (part->firstChild)
            pending.push_back(part->firstChild.get());
    }
    return top;
}

// The body is converted as one text rather than line by line: a failing conversion then
// reports once, not once per line, and a character cut at a 64 KiB line piece stays whole.
std::optional<std::string> sendBodyText(const MimePart &part, int codePage) {
    std::string joined;
    std::size_t total = 0;
    for (const std::string &line : part.bodyLines)
        total += line.size();
    joined.reserve(total > BODY_TEXT_RESERVE ? total : BODY_TEXT_RESERVE);
    for (const std::string &line : part.bodyLines)
        joined += line;
    if (joined.empty())
        return joined;
    bool converted = false;
    std::string text = convertCharSet(joined, codePage, CP_UTF8, converted);
    if (!converted)
        return std::nullopt;
    return normalizeLineEnds(text);
}

MimeType sendMimeType(const MimePart &top) {
    return equalsIgnoringAsciiCase(top.type, "text") && equalsIgnoringAsciiCase(top.subtype, "html")
               ? MIME_TEXT_HTML
               : MIME_TEXT_PLAIN;
}

} // namespace quill
