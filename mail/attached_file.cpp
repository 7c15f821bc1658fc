// Looking through every part's header for a file: walked with a list of pending parts, not
// by recursion, so a deep tree cannot exhaust the stack.
#include "mail/attached_file.h"

#include "common/encoding.h"

#include <vector>

namespace quill {

namespace {

// Whether the header value `value` (letter case lowered) has the parameter `name`, plain
// or in the extended form of RFC 2231 ("name*=", "name*0=").
bool hasParameter(const std::string &value, std::string_view name) {
    for (std::size_t pos = value.find(name); pos != std::string::npos;
         pos = value.find(name, pos + 1)) {
        const char before = pos == 0 ? ';' : value[pos - 1];
        if (before != ';' && before != ' ' && before != '\t' && before != '\r' && before != '\n')
            continue;
        const std::size_t after = value.find_first_not_of(" \t", pos + name.size());
        if (after != std::string::npos && (value[after] == '=' || value[after] == '*'))
            return true;
    }
    return false;
}

bool carriesFile(const MimePart &part) {
    constexpr std::string_view DISPOSITION = "content-disposition:";
    constexpr std::string_view TYPE = "content-type:";
    constexpr std::string_view RFC822 = "message/rfc822";
    for (const std::string &line : part.headerLines) {
        const std::string lower = lowerAscii(line);
        if (lower.compare(0, DISPOSITION.size(), DISPOSITION) == 0) {
            const std::size_t start = lower.find_first_not_of(" \t", DISPOSITION.size());
            if ((start != std::string::npos && lower.compare(start, 10, "attachment") == 0) ||
                hasParameter(lower, "filename"))
                return true;
        } else if (lower.compare(0, TYPE.size(), TYPE) == 0) {
            // A forwarded mail travels as a message/rfc822 part, often with no name at all.
            const std::size_t start = lower.find_first_not_of(" \t\r\n", TYPE.size());
            if (hasParameter(lower, "name") ||
                (start != std::string::npos && lower.compare(start, RFC822.size(), RFC822) == 0))
                return true;
        }
    }
    return false;
}

} // namespace

bool hasAttachedFile(const MimePart &top) {
    std::vector<const MimePart *> pending{&top};
    while (!pending.empty()) {
        const MimePart *part = pending.back();
        pending.pop_back();
        if (carriesFile(*part))
            return true;
        if (part->nextSibling)
            pending.push_back(part->nextSibling.get());
        if (part->firstChild)
            pending.push_back(part->firstChild.get());
    }
    return false;
}

} // namespace quill
