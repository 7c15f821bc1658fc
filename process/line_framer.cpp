// The line framer.
#include "process/line_framer.h"

#include <algorithm>
#include <cstring>

namespace quill {

void LineFramer::append(std::string_view bytes) {
    if (overflowed_)
        return;
    // Drop what was handed out once it is the larger part, so the buffer stays bounded.
    if (start_ > 0 && start_ >= buffer_.size() / 2) {
        buffer_.erase(0, start_);
        start_ = 0;
    }
    // A line that would pass the bound is refused before it is stored, and the buffer grows
    // in steps that stop at the bound: a doubling string would take twice what a line may.
    std::size_t lastLf = bytes.rfind('\n');
    std::size_t open = lastLf == std::string_view::npos ? buffer_.size() - start_ + bytes.size()
                                                        : bytes.size() - lastLf - 1;
    if (open > maxLineBytes_) {
        overflow();
        return;
    }
    std::size_t needed = buffer_.size() + bytes.size();
    if (needed > buffer_.capacity())
        buffer_.reserve(std::max(needed, std::min(buffer_.capacity() * 2, maxLineBytes_ + 8192)));
    buffer_.append(bytes.data(), bytes.size());
}

void LineFramer::overflow() {
    overflowed_ = true;
    std::string().swap(buffer_);
    start_ = scanned_ = 0;
}

std::optional<std::string> LineFramer::nextLine() {
    if (overflowed_)
        return std::nullopt;
    std::size_t from = start_ + scanned_;
    const void *lf = from < buffer_.size()
                         ? std::memchr(buffer_.data() + from, '\n', buffer_.size() - from)
                         : nullptr;
    if (!lf) {
        scanned_ = buffer_.size() - start_;
        if (scanned_ > maxLineBytes_)
            overflow();
        return std::nullopt;
    }
    std::size_t end = static_cast<std::size_t>(static_cast<const char *>(lf) - buffer_.data());
    if (end - start_ > maxLineBytes_) {
        overflow();
        return std::nullopt;
    }
    std::size_t lineEnd = end > start_ && buffer_[end - 1] == '\r' ? end - 1 : end;
    std::string line = buffer_.substr(start_, lineEnd - start_);
    start_ = end + 1;
    scanned_ = 0;
    return line;
}

} // namespace quill
