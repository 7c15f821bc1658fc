// Generated compact reports that look like textlint's: Japanese findings of common rules,
// every tenth one with a message over several lines, and the problem count at the end.
#pragma once

#include <cstddef>
#include <string>

namespace quill::bench {

// A report of at least `bytes` bytes; `findings` receives the number of findings in it.
std::string generateCompactReport(std::size_t bytes, std::size_t &findings);

// What the two builds measure: one parse of `report`, returning the findings it yields.
std::size_t parseReportOnce(const std::string &report);

} // namespace quill::bench
