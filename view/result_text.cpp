// Bounded composition of the result window's texts.
#include "view/result_text.h"

#include <cstring>

namespace quill {

std::size_t shiftJisCharLength(unsigned char leadByte) {
    bool lead = (leadByte >= 0x81 && leadByte <= 0x9F) || (leadByte >= 0xE0 && leadByte <= 0xFC);
    return lead ? 2 : 1;
}

std::size_t utf8CharLength(unsigned char leadByte) {
    if (leadByte >= 0xF0 && leadByte <= 0xF4)
        return 4;
    if (leadByte >= 0xE0 && leadByte <= 0xEF)
        return 3;
    if (leadByte >= 0xC2 && leadByte <= 0xDF)
        return 2;
    return 1;
}

std::string cutAtCharBoundary(const std::string &text, std::size_t maxBytes,
                              CharLengthOf charLength) {
    std::size_t end = std::strlen(text.c_str());
    std::size_t kept = 0;
    while (kept < end) {
        std::size_t next = kept + charLength(static_cast<unsigned char>(text[kept]));
        // A lead byte whose trail is missing at the end of the text is no whole character.
        if (next > maxBytes || next > end)
            break;
        kept = next;
    }
    return text.substr(0, kept);
}

namespace {

// A text composed in one of the window's buffers: parts are appended while they fit, and
// once one has been cut nothing more goes in, as with bounded formatting.
class BoundedText {
  public:
    explicit BoundedText(CharLengthOf charLength) : charLength_(charLength) {}

    BoundedText &operator<<(const std::string &part) {
        if (full_)
            return *this;
        const std::size_t limit = RESULT_TEXT_BUFFER_SIZE - 1;
        std::size_t room = text_.size() < limit ? limit - text_.size() : 0;
        std::string kept = cutAtCharBoundary(part, room, charLength_);
        full_ = kept.size() != std::strlen(part.c_str());
        text_ += kept;
        return *this;
    }
    const std::string &text() const { return text_; }

  private:
    CharLengthOf charLength_;
    std::string text_;
    bool full_ = false;
};

} // namespace

std::string composeMailLine(const std::string &kindLabel, const std::string &from,
                            CharLengthOf charLength) {
    BoundedText line(charLength);
    line << kindLabel << " - From: " << from;
    return line.text();
}

std::string composeRowText(const LintResult &result, CharLengthOf charLength) {
    BoundedText row(charLength);
    row << "Line: " << std::to_string(result.line) << ", Index: " << std::to_string(result.index)
        << ", Msg: " << result.message << ", Rule: " << result.ruleName;
    return row.text();
}

std::string composeFindingDiagnostic(const LintResult &result) {
    std::string line = "Line: " + std::to_string(result.line) +
                       ", Index: " + std::to_string(result.index) + ", Message: ";
    line += result.message.c_str();
    line += ", Rule: ";
    line += result.ruleName.c_str();
    line += result.autoFix ? ", AutFix: 1" : ", AutFix: 0";
    return line;
}

} // namespace quill
