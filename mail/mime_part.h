// The MIME parser for outgoing mail sources: a tree of parts with their header, body and
// epilogue lines, the Content-Type value of a part and the header-parameter tokenizer.
#pragma once

#include <cstddef>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace quill {

// Most content bytes one line read takes; a longer physical line is read in pieces.
constexpr std::size_t MIME_LINE_CONTENT_MAX = 65535;
// `type` and `subtype` keep this many bytes at most.
constexpr std::size_t MIME_TYPE_TEXT_MAX = 40;
// getContentTypeValue copies at most this many bytes.
constexpr std::size_t MIME_CONTENT_TYPE_VALUE_MAX = 127;
// Multipart levels that open sub-parts, the top level counted as 1. Delimiter lines met
// deeper than this are ordinary body lines, so a crafted mail cannot exhaust the stack.
constexpr int MIME_NESTING_MAX = 32;

// Lines in the order they were added. Each stored line ends in CR LF, except the last
// line of a source without a final line break and the pieces of an over-long line.
struct LineList {
    std::vector<std::string> lines;

    std::size_t size() const { return lines.size(); }
    bool empty() const { return lines.empty(); }
    const std::string &operator[](std::size_t i) const { return lines[i]; }
    auto begin() const { return lines.begin(); }
    auto end() const { return lines.end(); }
};

void addLine(LineList &list, std::string_view line);
void clearLines(LineList &list);

struct MimePart {
    MimePart() = default;
    ~MimePart();
    MimePart(const MimePart &) = delete;
    MimePart &operator=(const MimePart &) = delete;

    std::string type;    // media type of the Content-Type header, empty without one
    std::string subtype; // media subtype, empty without one
    std::optional<std::string> boundary;
    LineList headerLines;  // header lines with continuations joined, then the empty line
    LineList bodyLines;    // body, or for a multipart part its preamble
    LineList trailerLines; // epilogue of a nested multipart part
    std::unique_ptr<MimePart> nextSibling;
    std::unique_ptr<MimePart> firstChild;
};

// Fills `part` from the source at `cursor` (NUL-terminated, never modified) and advances
// `cursor` past every line consumed. `parentBoundary` is the enclosing multipart part's
// boundary, or null at the top level.
void parseMimePart(MimePart &part, const char *&cursor, const char *parentBoundary);

// Reads one line into `buffer` (`size` bytes, at least 3): at most size - 2 content bytes,
// a single LF for a line break found (LF, CR or CR LF), then NUL. Returns the bytes
// stored; 0, with the cursor unmoved, at the terminating NUL.
std::size_t readMimeLine(const char *&cursor, char *buffer, std::size_t size);

// The value of the part's first Content-Type header line, without the white space after
// the colon, at most 127 bytes; empty when the header has none.
std::string getContentTypeValue(const MimePart &part);

// Isolates one name=value parameter in `text`, cutting it in place, and points `name`
// and `value` into it (the value without its double quotes). Returns where the next
// parameter may start, or null (with both outputs null) when `text` holds no "=".
char *parseMimeParameter(char *text, char **name, char **value);

// Releases the part's children, boundary and lines; iterative, so deep or long trees
// cannot exhaust the stack.
void destroyMimePart(MimePart &part);

} // namespace quill
