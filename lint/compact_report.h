// Splitting of textlint's compact report into findings (line, column, message, rule), in
// UTF-8 and in one pass over the report; the code-page conversion happens elsewhere.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace quill {

struct CompactReportEntry {
    int line = 0;
    int index = 0;
    std::string message;  // UTF-8, one line: the line breaks of a long message became blanks
    std::string ruleName; // UTF-8
};

// Why a split ended early. The entries found before the failing finding are kept.
enum class CompactReportFailure {
    None,
    LocationScan,  // a location line whose ": line %d, col %d" does not read as two numbers
    EmptyMessage,  // a finding with a rule but no message text
    EmptyRuleName, // a finding whose rule is "()"
};

struct CompactReport {
    std::vector<CompactReportEntry> entries;
    CompactReportFailure failure = CompactReportFailure::None;
};

// Splits `report` into findings, in report order.
//
// The first line with two colons is a location line; the text before its second colon is
// the report's path, and a later line is a location line when it starts with that path and
// a colon. Other lines continue the message of the finding begun by the last location line
// (lines before the first one are skipped). A finding's rule is the parenthesised group
// that ends the last of its lines ending in ")"; findings without one, and location lines
// without the two commas after the location, are skipped.
CompactReport splitCompactReport(std::string_view report);

// The length of the longest prefix of `text` of at most `maxBytes` bytes that does not end
// inside a UTF-8 sequence.
std::size_t utf8PrefixLength(std::string_view text, std::size_t maxBytes);

} // namespace quill
