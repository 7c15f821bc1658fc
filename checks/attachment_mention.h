// Whether the writer's own words in a mail say that something is attached: 添付, 同封, 別添,
// 添え状, attach(ed, ment), enclosed, or a file name with a common document extension.
// Platform-free.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace quill {

// The first word of `utf8Text` (UTF-8, LF line ends) that mentions an attachment, as
// written (「添付」, "attached", 「見積書.pdf」); none when there is none. Only the writer's own
// words count: not lines that begin with one of `quoteMarks` (UTF-8; blanks among them
// are no marks), not the signature (after the last "-- " or "--" line), not a forwarded or
// original message below its separator line, and not URLs. `html` reads the text as HTML,
// whose tags are no words.
std::optional<std::string> findAttachmentMention(std::string_view utf8Text,
                                                 std::string_view quoteMarks, bool html);

} // namespace quill
