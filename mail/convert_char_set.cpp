// Conversion of a byte string between two Windows code pages, through UTF-16.
#include "mail/charset.h"

#include "common/system_error.h"

#include <windows.h>

#include <new>
#include <vector>

namespace quill {

namespace {

const char kAllocateWideFailed[] = "convertCharSet() failed. cannot allocate memory of szOutputWC.";
const char kToWideFailed[] =
    "convertCharSet() failed. cannot convert MultiByteChar to WideChar for result of lint text.";
const char kAllocateMultiByteFailed[] =
    "convertCharSet() failed. cannot allocate memory of szMailTextMC.";
const char kToMultiByteFailed[] =
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
        MessageBoxW(nullptr, body.c_str(), caption.c_str(), MB_OK);
    } catch (...) {
        // Out of memory while reporting: the empty result still tells the caller.
    }
}

} // namespace

std::string convertCharSet(const std::string &text, int fromCodePage, int toCodePage,
                           bool &succeeded) {
    succeeded = false;
    auto from = static_cast<UINT>(fromCodePage);
    auto to = static_cast<UINT>(toCodePage);
    try {
        // A code page the system does not support makes the size query fail; that is the
        // conversion's own failure, so it is reported with the conversion's text.
        int wideSize = MultiByteToWideChar(from, 0, text.c_str(), -1, nullptr, 0);
        if (wideSize <= 0) {
            reportFailure(kToWideFailed, GetLastError());
            return {};
        }
        std::vector<wchar_t> wide;
        try {
            wide.assign(static_cast<size_t>(wideSize), L'\0');
        } catch (const std::bad_alloc &) {
            reportFailure(kAllocateWideFailed, ERROR_NOT_ENOUGH_MEMORY);
            return {};
        }
        if (MultiByteToWideChar(from, 0, text.c_str(), -1, wide.data(), wideSize) == 0) {
            reportFailure(kToWideFailed, GetLastError());
            return {};
        }

        int multiByteSize =
            WideCharToMultiByte(to, 0, wide.data(), -1, nullptr, 0, nullptr, nullptr);
        if (multiByteSize <= 0) {
            reportFailure(kToMultiByteFailed, GetLastError());
            return {};
        }
        std::vector<char> multiByte;
        try {
            multiByte.assign(static_cast<size_t>(multiByteSize), '\0');
        } catch (const std::bad_alloc &) {
            reportFailure(kAllocateMultiByteFailed, ERROR_NOT_ENOUGH_MEMORY);
            return {};
        }
        if (WideCharToMultiByte(to, 0, wide.data(), -1, multiByte.data(), multiByteSize, nullptr,
                                nullptr) == 0) {
            reportFailure(kToMultiByteFailed, GetLastError());
            return {};
        }
        std::string result(multiByte.data());
        succeeded = true;
        return result;
    } catch (...) {
        // Only the result string's own allocation is left to fail here.
        reportFailure(kAllocateMultiByteFailed, ERROR_NOT_ENOUGH_MEMORY);
        return {};
    }
}

std::string convertCharSet(const std::string &text, int fromCodePage, int toCodePage) {
    bool succeeded = false;
    return convertCharSet(text, fromCodePage, toCodePage, succeeded);
}

} // namespace quill
