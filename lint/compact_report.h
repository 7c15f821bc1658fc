// Splitting of textlint's compact report into findings (line, column, message, rule), in
// UTF-8 and in one pass over the report; the code-page conversion happens elsewhere.
#pragma once

#include <cstddef>
#include <functional>
#include <string>
#include <string_view>

namespace quill {

// One finding as the report gives it. The texts are views into the report, or into the
// splitter's own buffer for a message over several lines: valid only during the callback.
struct CompactReportFinding {
    int line = 0;
    int index = 0;
    std::string_view message;  // UTF-8, one line: line breaks inside it became blanks
    std::string_view ruleName; // UTF-8
};

// Why a split ended early. The findings handed out before the failing one stand.
enum class CompactReportFailure {
    None,
    LocationScan,  // a location line whose ": line %d, col %d" does not read as two numbers
    EmptyMessage,  // a finding with a rule but no message text
    EmptyRuleName, // a finding whose rule is "()"
    Stopped,       // the callback asked to stop
};

// Called once per finding in report order; returning false ends the split.
using CompactReportCallback = std::function<bool(const CompactReportFinding &)>;

// Splits `report` into findings, in report order, and hands each to `onFinding`.
//
// The first line with two colons is a location line; the text before its second colon is
// the report's path, and a later line is a location line when it starts with that path and
// a colon. Other lines continue the message of the finding begun by the last location line
// (lines before the first one are skipped). A finding's rule is the parenthesised group
// that ends the last of its lines ending in ")"; findings without one, and location lines
// without the two commas after the location, are skipped. Nothing is copied but the
// messages over several lines, so the split costs the same per byte at any size.
CompactReportFailure splitCompactReport(std::string_view report,
                                        const CompactReportCallback &onFinding);

} // namespace quill
