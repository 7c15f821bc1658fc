// Bounded composition of the result window's texts.
#include "view/result_text.h"

#include <cstring>

namespace quill {

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

namespace {

std::string shownPart(const std::string &text) {
    std::string shown;
    for (char c : text) {
        if (c == '\n')
            shown += "\xE2\x86\xB5"; // U+21B5, the return sign
        else if (c != '\r')
            shown += c;
    }
    return "\xE3\x80\x8C" + shown + "\xE3\x80\x8D"; // in 「」
}

} // namespace

std::string composeSuggestion(const LintFix &fix) {
    std::string text = u8"修正案: ";
    if (fix.text.empty())
        return text + shownPart(fix.replaced) + u8"を削除";
    if (fix.replaced.empty())
        return text + shownPart(fix.text) + u8"を挿入";
    return text + shownPart(fix.replaced) + u8"→" + shownPart(fix.text);
}

} // namespace quill
