// Conversion of a byte string between two Windows code pages, through UTF-16.
#include "mail/charset.h"

#include "common/owner_window.h"
#include "common/system_error.h"

#include <windows.h>

#include <new>
#include <vector>

namespace quill {

namespace {

const char ALLOCATE_WIDE_FAILED[] =
    "convertCharSet() failed. cannot allocate memory of szOutputWC.";
const char TO_WIDE_FAILED[] =
    "convertCharSet() failed. cannot convert MultiByteChar to WideChar for result of lint text.";
const char ALLOCATE_MULTI_BYTE_FAILED[] =
    "convertCharSet() failed. cannot allocate memory of szMailTextMC.";
const char TO_MULTI_BYTE_FAILED[] =
    "convertCharSet() failed. cannot convert WideChar to MultiByteChar for result of lint text.";

// The diagnostic line and the message box of a failed conversion. The body is the system's
// text for the error, or the code itself when the system has none.
void reportFailure(const char *failure, DWORD code) {
    try {
        std::wstring body = systemErrorTextW(code);
        std::string bodyA = systemErrorTextA(code);
        if (body.empty()) {
            bodyA = "error " + std::to_string(code);
            body.assign(bodyA.begin(), bodyA.end());
        }
        writeDiagnosticLine(failure + bodyA);
        std::string captionA = failure;
        std::wstring caption(captionA.begin(), captionA.end()); // the failure texts are ASCII
        MessageBoxW(hostOwnerWindow(), body.c_str(), caption.c_str(), MB_OK);
    } catch (...) {
        // Out of memory while reporting: the empty result still tells the caller.
    }
}

// True when `converted` (in code page `to`, NUL-terminated) reads back as `wide`: nothing
// became the default character or a look-alike of the original. A round trip rather than
// the conversion's own flags, which code pages such as 50220 and 65001 refuse.
bool readsBackAs(UINT to, const char *converted, const std::vector<wchar_t> &wide) {
    const int size = MultiByteToWideChar(to, 0, converted, -1, nullptr, 0);
    if (size <= 0 || static_cast<std::size_t>(size) != wide.size())
        return false;
    std::vector<wchar_t> back(static_cast<std::size_t>(size), L'\0');
    return MultiByteToWideChar(to, 0, converted, -1, back.data(), size) == size && back == wide;
}

// The conversion itself; with `lossless`, a character the target cannot hold ends it with
// Unrepresentable instead of being replaced. A failure is reported only when `tell`.
std::string convert(const std::string &text, int fromCodePage, int toCodePage, bool lossless,
                    ConversionOutcome &outcome, bool tell = true) {
    outcome = ConversionOutcome::Failed;
    const auto fail = [tell](const char *failure, DWORD code) {
        if (tell)
            reportFailure(failure, code);
    };
    auto from = static_cast<UINT>(fromCodePage);
    auto to = static_cast<UINT>(toCodePage);
    try {
        // A code page the system does not support makes the size query fail; that is the
        // conversion's own failure, so it is reported with the conversion's text.
        int wideSize = MultiByteToWideChar(from, 0, text.c_str(), -1, nullptr, 0);
        if (wideSize <= 0) {
            fail(TO_WIDE_FAILED, GetLastError());
            return {};
        }
        std::vector<wchar_t> wide;
        try {
            wide.assign(static_cast<size_t>(wideSize), L'\0');
        } catch (const std::bad_alloc &) {
            fail(ALLOCATE_WIDE_FAILED, ERROR_NOT_ENOUGH_MEMORY);
            return {};
        }
        if (MultiByteToWideChar(from, 0, text.c_str(), -1, wide.data(), wideSize) == 0) {
            fail(TO_WIDE_FAILED, GetLastError());
            return {};
        }

        int multiByteSize =
            WideCharToMultiByte(to, 0, wide.data(), -1, nullptr, 0, nullptr, nullptr);
        if (multiByteSize <= 0) {
            fail(TO_MULTI_BYTE_FAILED, GetLastError());
            return {};
        }
        std::vector<char> multiByte;
        try {
            multiByte.assign(static_cast<size_t>(multiByteSize), '\0');
        } catch (const std::bad_alloc &) {
            fail(ALLOCATE_MULTI_BYTE_FAILED, ERROR_NOT_ENOUGH_MEMORY);
            return {};
        }
        if (WideCharToMultiByte(to, 0, wide.data(), -1, multiByte.data(), multiByteSize, nullptr,
                                nullptr) == 0) {
            fail(TO_MULTI_BYTE_FAILED, GetLastError());
            return {};
        }
        if (lossless && !readsBackAs(to, multiByte.data(), wide)) {
            outcome = ConversionOutcome::Unrepresentable;
            return {};
        }
        std::string result(multiByte.data());
        outcome = ConversionOutcome::Converted;
        return result;
    } catch (...) {
        // Only the result string's own allocation is left to fail here.
        fail(ALLOCATE_MULTI_BYTE_FAILED, ERROR_NOT_ENOUGH_MEMORY);
        return {};
    }
}

} // namespace

std::string convertCharSet(const std::string &text, int fromCodePage, int toCodePage,
                           bool &succeeded) {
    ConversionOutcome outcome = ConversionOutcome::Failed;
    std::string result = convert(text, fromCodePage, toCodePage, false, outcome);
    succeeded = outcome == ConversionOutcome::Converted;
    return result;
}

int resolvedCodePage(int codePage) {
    return codePage == CP_ACP ? static_cast<int>(GetACP()) : codePage;
}

std::string convertCharSetQuietly(const std::string &text, int fromCodePage, int toCodePage,
                                  bool &succeeded) {
    ConversionOutcome outcome = ConversionOutcome::Failed;
    std::string result = convert(text, fromCodePage, toCodePage, false, outcome, false);
    succeeded = outcome == ConversionOutcome::Converted;
    return result;
}

std::optional<std::string> utf8OfCodePageQuietly(const std::string &text, int fromCodePage) {
    bool succeeded = false;
    std::string result = convertCharSetQuietly(text, fromCodePage, CP_UTF8, succeeded);
    if (!succeeded)
        return std::nullopt;
    return result;
}

std::string convertCharSet(const std::string &text, int fromCodePage, int toCodePage) {
    bool succeeded = false;
    return convertCharSet(text, fromCodePage, toCodePage, succeeded);
}

std::string convertCharSetLossless(const std::string &text, int fromCodePage, int toCodePage,
                                   ConversionOutcome &outcome) {
    return convert(text, fromCodePage, toCodePage, true, outcome);
}

} // namespace quill
