// Splitting the INI section list into entries and parsing their numbers and flags.
#include "config/ini_entries.h"

#include "common/encoding.h"

#include <climits>

namespace quill {

std::vector<IniEntry> splitSectionEntries(std::string_view buffer) {
    std::vector<IniEntry> entries;
    std::size_t pos = 0;
    while (pos < buffer.size()) {
        std::size_t end = buffer.find('\0', pos);
        if (end == std::string_view::npos)
            end = buffer.size();
        std::string_view entry = buffer.substr(pos, end - pos);
        if (entry.empty())
            break;
        pos = end + 1;
        std::size_t keyStart = entry.find_first_not_of('=');
        if (keyStart == std::string_view::npos)
            continue;
        entry.remove_prefix(keyStart);
        std::size_t equals = entry.find('=');
        if (equals == std::string_view::npos)
            entries.push_back({entry, std::string_view()});
        else
            entries.push_back({entry.substr(0, equals), entry.substr(equals + 1)});
    }
    return entries;
}

int parseIniInteger(std::string_view value) {
    std::size_t i = 0;
    while (i < value.size() && (value[i] == ' ' || (value[i] >= '\t' && value[i] <= '\r')))
        ++i;
    bool negative = false;
    if (i < value.size() && (value[i] == '+' || value[i] == '-'))
        negative = value[i++] == '-';
    long long magnitude = 0;
    const long long limit = negative ? -static_cast<long long>(INT_MIN) : INT_MAX;
    for (; i < value.size() && value[i] >= '0' && value[i] <= '9'; ++i) {
        magnitude = magnitude * 10 + (value[i] - '0');
        if (magnitude > limit)
            magnitude = limit;
    }
    return static_cast<int>(negative ? -magnitude : magnitude);
}

bool parseIniBool(std::string_view value) {
    return equalsIgnoringAsciiCase(value, "true");
}

} // namespace quill
