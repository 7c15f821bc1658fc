// System message texts and the diagnostic lines written to standard output.
#include "common/system_error.h"

#include <cstdio>

namespace quill {

namespace {

template <typename Char, typename Format>
std::basic_string<Char> formatSystemMessage(DWORD code, Format format) {
    Char *buffer = nullptr;
    DWORD length = format(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM |
                              FORMAT_MESSAGE_IGNORE_INSERTS,
                          nullptr, code, MAKELANGID(LANG_NEUTRAL, SUBLANG_DEFAULT),
                          reinterpret_cast<Char *>(&buffer), 0, nullptr);
    std::basic_string<Char> text;
    if (length != 0 && buffer != nullptr)
        text.assign(buffer, length);
    if (buffer != nullptr)
        LocalFree(buffer);
    while (!text.empty() && (text.back() == '\n' || text.back() == '\r' || text.back() == ' '))
        text.pop_back();
    return text;
}

} // namespace

std::string systemErrorTextA(DWORD code) {
    return formatSystemMessage<char>(code, FormatMessageA);
}

std::wstring systemErrorTextW(DWORD code) {
    return formatSystemMessage<wchar_t>(code, FormatMessageW);
}

void writeLastErrorDiagnostic(const std::string &failure, DWORD code) {
    std::string line = failure + "LastError: " + systemErrorTextA(code);
    writeDiagnosticLine(line);
}

void writeDiagnosticLine(const std::string &line) {
    std::fwrite(line.data(), 1, line.size(), stdout);
    std::fputc('\n', stdout);
    std::fflush(stdout);
}

} // namespace quill
