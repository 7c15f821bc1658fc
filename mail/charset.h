// Code-page conversion of mail text and the table from MIME charset names to code pages.
#pragma once

#include <optional>
#include <string>

namespace quill {

// Re-encodes `text` (up to its first NUL) from one Windows code page to another; 0 is the
// system's ANSI code page, 65001 UTF-8. Characters the target cannot hold become the
// system's default character. On failure it writes a diagnostic line, shows a message box
// (caption: the failure text; body: the system's text for the error) and returns "".
// Never throws.
std::string convertCharSet(const std::string &text, int fromCodePage, int toCodePage);

// The same; `succeeded` tells a failure apart from a text that converts to "".
std::string convertCharSet(const std::string &text, int fromCodePage, int toCodePage,
                           bool &succeeded);

// The same without any report of a failure: for checks nobody asked for, which must never
// interrupt the writer with a box.
std::string convertCharSetQuietly(const std::string &text, int fromCodePage, int toCodePage,
                                  bool &succeeded);

// `text` from a code page to UTF-8 without any report; none when it could not be converted.
std::optional<std::string> utf8OfCodePageQuietly(const std::string &text, int fromCodePage);

// How a conversion that may not lose a character ended.
enum class ConversionOutcome { Converted, Failed, Unrepresentable };

// The same, but no character is replaced: when the target code page cannot hold one of
// them exactly (it would become the default character or a look-alike), the outcome is
// Unrepresentable and the result "", without a report. Other failures report as above.
std::string convertCharSetLossless(const std::string &text, int fromCodePage, int toCodePage,
                                   ConversionOutcome &outcome);

// `codePage` with 0 (the system's ANSI code page) replaced by the ANSI code page's number.
int resolvedCodePage(int codePage);

// The code page of a MIME charset name (whole name, letter case ignored), or 0 (the
// system's ANSI code page) for a name not in the table.
int codePageOfCharset(const std::string &name);

} // namespace quill
