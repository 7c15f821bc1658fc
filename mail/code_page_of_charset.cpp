// The charset table: MIME charset names the plug-in knows and their Windows code pages.
#include "mail/charset.h"

#include "common/encoding.h"

#include <cstddef>

namespace quill {

namespace {

struct CharsetRow {
    const char *name;
    int codePage;
};

// Searched from the top; the first match wins. Shift_JIS, EUC-JP and the Windows code
// pages other than 1251 are deliberately absent: they fall back to the ANSI code page.
constexpr CharsetRow CHARSET_TABLE[] = {
    {"US-ASCII", 20127},    {"ISO-8859-1", 28591},   {"ISO-8859-2", 28592},  {"ISO-8859-15", 28605},
    {"ISO-2022-JP", 50220}, {"KS_C_5601-1987", 949}, {"ISO-2022-KR", 50225}, {"BIG5", 950},
    {"GB2312", 936},        {"GB18030", 54936},      {"HZ-GB-2312", 52936},  {"KOI8-R", 20866},
    {"KOI8-U", 21866},      {"WINDOWS-1251", 1251},  {"UTF-7", 65000},       {"UTF-8", 65001},
};

} // namespace

int codePageOfCharset(const std::string &name) {
    // ASCII letters only: charset names are ASCII, and other bytes must match exactly.
    for (const CharsetRow &row : CHARSET_TABLE)
        if (equalsIgnoringAsciiCase(name, row.name))
            return row.codePage;
    return 0;
}

} // namespace quill
