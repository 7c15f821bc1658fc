// Line framing of a child's output: bytes as reads cut them, lines as the reader wants
// them; no platform calls.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace quill {

// Splits the bytes read from a child into lines. A line that grows past `maxLineBytes`
// without its end spoils the stream for good: nothing after it can be matched safely. Such a
// line is refused as its bytes arrive, before they are stored.
class LineFramer {
  public:
    explicit LineFramer(std::size_t maxLineBytes) : maxLineBytes_(maxLineBytes) {}

    void append(std::string_view bytes);
    // The next complete line without its LF and a CR before it; none while no line is
    // complete or once the stream overflowed.
    std::optional<std::string> nextLine();
    bool overflowed() const { return overflowed_; }

  private:
    void overflow();

    std::string buffer_;
    std::size_t start_ = 0;   // first byte not yet handed out
    std::size_t scanned_ = 0; // bytes from start_ known to hold no LF
    std::size_t maxLineBytes_;
    bool overflowed_ = false;
};

} // namespace quill
