// The settings' switches and quote marks as a LineExclusion.
#include "lint/excluded_lines_setting.h"

#include "common/ansi_encoding.h"
#include "config/text_lint_config.h"

namespace quill {

LineExclusion lineExclusionFor(const TargetMailInfo &target) {
    LineExclusion exclusion;
    if (target.mimeType != MIME_TEXT_PLAIN)
        return exclusion;
    const TextLintSettings settings = TextLintConfig::getInstance().snapshot();
    exclusion.quotedLines = settings.excludeQuotedLines;
    // The INI file holds the marks in the ANSI code page; the mail text is UTF-8.
    exclusion.quoteMarks = utf8FromAnsi(settings.quoteMarks);
    exclusion.signature = settings.excludeSignature;
    return exclusion;
}

} // namespace quill
