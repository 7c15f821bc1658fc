// The MIME parser: line reading with its break rules, header joining, Content-Type
// parsing, delimiter handling with put-back, and the tree's release.
#include "mail/mime_part.h"

#include "common/encoding.h"

#include <cstring>

namespace quill {

namespace {

// One line as it stands in the source: its content and whether a line break ended it.
struct SourceLine {
    const char *text = nullptr;
    std::size_t length = 0;
    bool hasBreak = false;
};

// Bytes that end a line's content: NUL, CR and LF.
struct StopTable {
    bool stop[256] = {};
    constexpr StopTable() : stop() {
        stop[0] = true;
        stop[static_cast<unsigned char>('\r')] = true;
        stop[static_cast<unsigned char>('\n')] = true;
    }
};
constexpr StopTable STOP_BYTES;

// Reads up to `maxContent` bytes and the line break that follows them directly (LF, CR,
// or CR LF). False, with the cursor unmoved, at the terminating NUL.
bool scanLine(const char *&cursor, std::size_t maxContent, SourceLine &line) {
    const char *p = cursor;
    if (*p == '\0')
        return false;
    const char *limit = p + maxContent;
    while (p < limit && !STOP_BYTES.stop[static_cast<unsigned char>(*p)])
        ++p;
    line.text = cursor;
    line.length = static_cast<std::size_t>(p - cursor);
    line.hasBreak = false;
    if (*p == '\n') {
        ++p;
        line.hasBreak = true;
    } else if (*p == '\r') {
        ++p;
        if (*p == '\n')
            ++p;
        line.hasBreak = true;
    }
    cursor = p;
    return true;
}

std::string storedLine(const SourceLine &line) {
    std::string text;
    text.reserve(line.length + 2);
    text.append(line.text, line.length);
    if (line.hasBreak)
        text.append("\r\n");
    return text;
}

bool isOneOf(char c, const char *set) {
    return c != '\0' && std::strchr(set, c) != nullptr;
}

// strtok-style token: skips leading delimiters, ends at the next one, and moves `pos`
// past the delimiter that ended it.
std::optional<std::string_view> nextToken(std::string_view text, std::size_t &pos,
                                          const char *delimiters) {
    while (pos < text.size() && isOneOf(text[pos], delimiters))
        ++pos;
    if (pos == text.size())
        return std::nullopt;
    std::size_t start = pos;
    while (pos < text.size() && !isOneOf(text[pos], delimiters))
        ++pos;
    std::string_view token = text.substr(start, pos - start);
    if (pos < text.size())
        ++pos;
    return token;
}

// Takes type, subtype and boundary from a (joined) Content-Type header line.
void readContentType(MimePart &part, std::string_view line) {
    static constexpr std::string_view NAME = "Content-Type:";
    std::size_t pos = NAME.size();
    auto type = nextToken(line, pos, "/ \t");
    if (!type)
        return;
    auto subtype = nextToken(line, pos, "; \r\n\t");
    if (!subtype)
        return;
    part.type.assign(type->substr(0, MIME_TYPE_TEXT_MAX));
    part.subtype.assign(subtype->substr(0, MIME_TYPE_TEXT_MAX));

    std::string rest(line.substr(pos));
    char *next = rest.data();
    while (next != nullptr && *next != '\0') {
        char *name = nullptr;
        char *value = nullptr;
        next = parseMimeParameter(next, &name, &value);
        if (name != nullptr && equalsIgnoringAsciiCase(name, "boundary"))
            part.boundary = std::string(value);
    }
}

class MimeParser {
  public:
    explicit MimeParser(const char *&cursor) : cursor_(cursor) {}

    void parse(MimePart &part, const std::string *parentBoundary, int depth);

  private:
    std::string readHeaderLine(const SourceLine &first);
    void readEpilogue(MimePart &part, const std::string &parentBoundary);

    const char *&cursor_;
};

// Joins the continuation lines that follow `first`, keeping the joined content within
// MIME_LINE_CONTENT_MAX bytes; the part of a continuation that does not fit stays in the
// source and becomes the next header line.
std::string MimeParser::readHeaderLine(const SourceLine &first) {
    std::string joined = storedLine(first);
    while (first.hasBreak && (*cursor_ == ' ' || *cursor_ == '\t') &&
           joined.size() < MIME_LINE_CONTENT_MAX) {
        SourceLine continuation;
        scanLine(cursor_, MIME_LINE_CONTENT_MAX - joined.size(), continuation);
        joined.append(continuation.text, continuation.length);
        if (!continuation.hasBreak)
            break;
        joined.append("\r\n");
    }
    return joined;
}

void MimeParser::readEpilogue(MimePart &part, const std::string &parentBoundary) {
    for (;;) {
        const char *lineStart = cursor_;
        SourceLine line;
        if (!scanLine(cursor_, MIME_LINE_CONTENT_MAX, line))
            return;
        std::string_view text(line.text, line.length);
        if (text.size() >= 2 && text.substr(0, 2) == "--" &&
            text.substr(2).substr(0, parentBoundary.size()) == parentBoundary) {
            cursor_ = lineStart;
            return;
        }
        part.trailerLines.lines.push_back(storedLine(line));
    }
}

void MimeParser::parse(MimePart &part, const std::string *parentBoundary, int depth) {
    clearLines(part.headerLines);
    clearLines(part.bodyLines);
    clearLines(part.trailerLines);
    MimePart *lastChild = part.firstChild.get();
    while (lastChild != nullptr && lastChild->nextSibling)
        lastChild = lastChild->nextSibling.get();

    bool inHeader = true;
    for (;;) {
        const char *lineStart = cursor_;
        SourceLine line;
        if (!scanLine(cursor_, MIME_LINE_CONTENT_MAX, line))
            return;

        if (inHeader) {
            if (line.length == 0) {
                addLine(part.headerLines, "\r\n");
                inHeader = false;
                continue;
            }
            std::string joined = readHeaderLine(line);
            if (startsWithIgnoringAsciiCase(joined, "Content-Type:"))
                readContentType(part, joined);
            part.headerLines.lines.push_back(std::move(joined));
            continue;
        }

        std::string_view text(line.text, line.length);
        if (text.size() >= 2 && text.substr(0, 2) == "--") {
            std::string_view afterDashes = text.substr(2);
            if (part.boundary && afterDashes == *part.boundary && depth < MIME_NESTING_MAX) {
                auto child = std::make_unique<MimePart>();
                parse(*child, &*part.boundary, depth + 1);
                MimePart *added = child.get();
                if (lastChild == nullptr)
                    part.firstChild = std::move(child);
                else
                    lastChild->nextSibling = std::move(child);
                lastChild = added;
                continue;
            }
            if (part.boundary && afterDashes.size() == part.boundary->size() + 2 &&
                afterDashes.substr(0, part.boundary->size()) == *part.boundary &&
                afterDashes.substr(part.boundary->size()) == "--") {
                if (parentBoundary != nullptr)
                    readEpilogue(part, *parentBoundary);
                return;
            }
            if (parentBoundary != nullptr &&
                afterDashes.substr(0, parentBoundary->size()) == *parentBoundary) {
                cursor_ = lineStart;
                return;
            }
        }
        part.bodyLines.lines.push_back(storedLine(line));
    }
}

} // namespace

void addLine(LineList &list, std::string_view line) {
    list.lines.emplace_back(line);
}

void clearLines(LineList &list) {
    list.lines.clear();
    list.lines.shrink_to_fit();
}

void parseMimePart(MimePart &part, const char *&cursor, const char *parentBoundary) {
    std::optional<std::string> parent;
    if (parentBoundary != nullptr)
        parent.emplace(parentBoundary);
    MimeParser parser(cursor);
    parser.parse(part, parent ? &*parent : nullptr, 1);
}

std::size_t readMimeLine(const char *&cursor, char *buffer, std::size_t size) {
    if (buffer == nullptr || size < 3)
        return 0;
    SourceLine line;
    if (!scanLine(cursor, size - 2, line)) {
        buffer[0] = '\0';
        return 0;
    }
    std::memcpy(buffer, line.text, line.length);
    std::size_t stored = line.length;
    if (line.hasBreak)
        buffer[stored++] = '\n';
    buffer[stored] = '\0';
    return stored;
}

std::string getContentTypeValue(const MimePart &part) {
    for (const std::string &line : part.headerLines) {
        if (line.size() < 13 || line[12] != ':' ||
            !startsWithIgnoringAsciiCase(line, "Content-Type"))
            continue;
        std::size_t pos = 13;
        while (pos < line.size() && isOneOf(line[pos], " \t\r\n"))
            ++pos;
        return line.substr(pos, MIME_CONTENT_TYPE_VALUE_MAX);
    }
    return std::string();
}

char *parseMimeParameter(char *text, char **name, char **value) {
    *name = nullptr;
    *value = nullptr;
    if (text == nullptr)
        return nullptr;
    char *p = text;
    while (isOneOf(*p, " \t\r\n;"))
        ++p;
    char *equals = std::strchr(p, '=');
    if (equals == nullptr)
        return nullptr;
    *equals = '\0';
    *name = p;
    p = equals + 1;
    while (isOneOf(*p, "\t \r\n"))
        ++p;
    if (*p == '"') {
        ++p;
        *value = p;
        char *closing = std::strchr(p, '"');
        if (closing == nullptr) {
            p += std::strlen(p);
        } else {
            *closing = '\0';
            p = closing + 1;
        }
    } else {
        *value = p;
        while (*p != '\0' && !isOneOf(*p, " \t;\r\n"))
            ++p;
        if (*p != '\0')
            *p++ = '\0';
    }
    while (isOneOf(*p, "; \t\r\n"))
        ++p;
    return p;
}

void destroyMimePart(MimePart &part) {
    // Children are unlinked before they are released, so no destructor recurses.
    std::vector<std::unique_ptr<MimePart>> pending;
    if (part.firstChild)
        pending.push_back(std::move(part.firstChild));
    while (!pending.empty()) {
        std::unique_ptr<MimePart> next = std::move(pending.back());
        pending.pop_back();
        if (next->nextSibling)
            pending.push_back(std::move(next->nextSibling));
        if (next->firstChild)
            pending.push_back(std::move(next->firstChild));
    }
    part.boundary.reset();
    clearLines(part.trailerLines);
    clearLines(part.bodyLines);
    clearLines(part.headerLines);
}

MimePart::~MimePart() {
    destroyMimePart(*this);
}

} // namespace quill
