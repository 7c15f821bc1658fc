// The target mail record, the MIME type mapping and the line-end normalisation.
#include "mail/target_mail_info.h"

#include <utility>

namespace quill {

TargetMailInfo::TargetMailInfo(int isDraftFlag, MimeType type, std::string from,
                               std::string subject, std::string mailText)
    : isDraft(isDraftFlag), mimeType(type), from_(std::move(from)), subject_(std::move(subject)),
      mailText_(std::move(mailText)) {}

MimeType parseMimeType(const std::string &mimeTypeText) {
    return mimeTypeText == "text/html" ? MIME_TEXT_HTML : MIME_TEXT_PLAIN;
}

std::string normalizeLineEnds(const std::string &text) {
    std::string out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] != '\r') {
            out += text[i];
            continue;
        }
        out += '\n';
        if (i + 1 < text.size() && text[i + 1] == '\n')
            ++i;
    }
    return out;
}

} // namespace quill
