// Reading the INI section's entries and their plain values: the key/value split of one
// entry, atoi-style numbers and the "true" flag.
#pragma once

#include <string_view>
#include <utility>
#include <vector>

namespace quill {

struct IniEntry {
    std::string_view key;
    std::string_view value;
};

// The entries of a section list as GetPrivateProfileSectionA fills it: NUL-terminated
// "key=value" texts ended by an empty one, all within `buffer`. Each is split at its first
// "=" after any leading "=" characters; an entry without "=" is all key with an empty
// value; an entry with no key character is left out. Views point into `buffer`.
std::vector<IniEntry> splitSectionEntries(std::string_view buffer);

// The value's leading decimal integer as atoi reads it (blanks, an optional sign, digits;
// 0 when there is none), clamped to the 32-bit range instead of overflowing.
int parseIniInteger(std::string_view value);

// True when the value is "true" in any letter case.
bool parseIniBool(std::string_view value);

} // namespace quill
