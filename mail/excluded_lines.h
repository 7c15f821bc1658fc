// The lines of a mail that are not the writer's own words: quoted lines and the signature.
// textlint sees them as empty lines, so every finding keeps the line and column it has in
// the mail as written, and a fix of the remaining text gets them back untouched.
#pragma once

#include <optional>
#include <string>
#include <vector>

namespace quill {

struct LineExclusion {
    // A line whose first character is one of `quoteMarks` (UTF-8) is a quoted line. Blanks
    // among the marks are separators, never marks: indented paragraphs stay checked.
    bool quotedLines = false;
    std::string quoteMarks;
    // The signature: the last line that is exactly "-- " or "--" and every line after it.
    bool signature = false;
};

// Further lines (0-based, ascending or not) left out and given back as written: the lines
// of findings the writer chose to keep, which a fix of the whole mail must not undo.
using KeptLines = std::vector<std::size_t>;

// One flag per line of `mailText` (lines end in LF): true for a line textlint does not see.
std::vector<bool> excludedLineFlags(const std::string &mailText, const LineExclusion &exclusion);

// The text textlint sees: `mailText` (UTF-8, lines ending in LF) with every excluded line
// emptied and every line end kept. With nothing to exclude it is `mailText` byte for byte.
std::string maskExcludedLines(const std::string &mailText, const LineExclusion &exclusion,
                              const KeptLines &kept = {});

// Puts the excluded lines of `mailText` back into `fixedMaskedText`, textlint's fix of the
// masked text. None when the fix changed the number of lines or wrote into an emptied
// line: the lines would no longer stand where they stood, and the mail must stay as it was.
// A mail without excluded lines gets the fix as it is.
std::optional<std::string> restoreExcludedLines(const std::string &mailText,
                                                const std::string &fixedMaskedText,
                                                const LineExclusion &exclusion,
                                                const KeptLines &kept = {});

} // namespace quill
