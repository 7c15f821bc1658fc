// Fuzz target: every input is parsed as a whole mail source and then tokenized as a
// header parameter list; the sanitizers and the checks below catch the faults.
#include "mail/mime_part.h"

#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>

namespace {

void require(bool condition) {
    if (!condition)
        std::abort();
}

void checkLines(const quill::LineList &list) {
    for (const std::string &line : list)
        require(!line.empty() && line.size() <= quill::MIME_LINE_CONTENT_MAX + 2);
}

void checkTree(const quill::MimePart &top) {
    // Walk without recursion: siblings and children are followed through a small stack.
    const quill::MimePart *stack[quill::MIME_NESTING_MAX + 2];
    int depth = 0;
    stack[depth++] = &top;
    while (depth > 0) {
        const quill::MimePart *part = stack[--depth];
        require(part->type.size() <= quill::MIME_TYPE_TEXT_MAX);
        require(part->subtype.size() <= quill::MIME_TYPE_TEXT_MAX);
        require(quill::getContentTypeValue(*part).size() <= quill::MIME_CONTENT_TYPE_VALUE_MAX);
        checkLines(part->headerLines);
        checkLines(part->bodyLines);
        checkLines(part->trailerLines);
        if (part->nextSibling)
            stack[depth++] = part->nextSibling.get();
        if (part->firstChild)
            stack[depth++] = part->firstChild.get();
        require(depth <= quill::MIME_NESTING_MAX + 1);
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size) {
    std::string source(reinterpret_cast<const char *>(data), size);
    const char *begin = source.c_str();
    const char *end = begin + std::strlen(begin);

    quill::MimePart top;
    const char *cursor = begin;
    quill::parseMimePart(top, cursor, nullptr);
    require(cursor >= begin && cursor <= end);
    checkTree(top);

    std::string text = source;
    char *next = text.data();
    const char *textEnd = text.data() + std::strlen(text.data());
    while (next != nullptr && *next != '\0') {
        char *name = nullptr;
        char *value = nullptr;
        char *after = quill::parseMimeParameter(next, &name, &value);
        require((after == nullptr) == (name == nullptr) && (name == nullptr) == (value == nullptr));
        if (after == nullptr)
            break;
        require(after > next && after <= textEnd);
        next = after;
    }
    return 0;
}
