// Classification of textlint's standard error output.
#include "lint/textlint_error_output.h"

#include <cctype>

namespace quill {

namespace {

bool startsWith(const std::string &text, const char *prefix) {
    return text.compare(0, std::char_traits<char>::length(prefix), prefix) == 0;
}

bool endsWith(const std::string &text, const char *suffix) {
    std::size_t n = std::char_traits<char>::length(suffix);
    return text.size() >= n && text.compare(text.size() - n, n, suffix) == 0;
}

} // namespace

bool isNodeWarningLine(const std::string &line) {
    const char prefix[] = "(node:";
    if (!startsWith(line, prefix))
        return false;
    std::size_t pos = sizeof prefix - 1;
    std::size_t digits = pos;
    while (pos < line.size() && line[pos] >= '0' && line[pos] <= '9')
        ++pos;
    if (pos == digits || line.compare(pos, 2, ") ") != 0)
        return false;
    pos += 2;
    // An optional code such as "[DEP0040] ".
    if (pos < line.size() && line[pos] == '[') {
        std::size_t close = line.find("] ", pos);
        if (close == std::string::npos)
            return false;
        pos = close + 2;
    }
    // The warning's name: letters ending in "Warning: ". An unhandled promise rejection is
    // printed in this form by older Node.js, but it is textlint failing.
    std::size_t name = pos;
    while (pos < line.size() && std::isalpha(static_cast<unsigned char>(line[pos])))
        ++pos;
    std::string word = line.substr(name, pos - name);
    return endsWith(word, "Warning") && word != "UnhandledPromiseRejectionWarning" &&
           line.compare(pos, 2, ": ") == 0;
}

bool isNodeTraceHintLine(const std::string &line) {
    return startsWith(line, "(Use `node --trace-") &&
           endsWith(line, "` to show where the warning was created)");
}

bool errorOutputMeansFailure(const std::string &bytes) {
    std::size_t start = 0;
    while (start < bytes.size()) {
        std::size_t end = bytes.find('\n', start);
        std::size_t next = end == std::string::npos ? bytes.size() : end + 1;
        if (end == std::string::npos)
            end = bytes.size();
        if (end > start && bytes[end - 1] == '\r')
            --end;
        std::string line = bytes.substr(start, end - start);
        if (!isNodeWarningLine(line) && !isNodeTraceHintLine(line))
            return true;
        start = next;
    }
    return false;
}

} // namespace quill
