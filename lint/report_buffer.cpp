// The growing report buffer.
#include "lint/report_buffer.h"

#include <cstring>

namespace quill {

bool ReportBuffer::allocate() {
    mem_.reset(static_cast<char *>(std::calloc(INITIAL_CAPACITY, sizeof(char))));
    capacity_ = mem_ ? INITIAL_CAPACITY : 0;
    total_ = 0;
    return mem_ != nullptr;
}

bool ReportBuffer::append(const char *chunk, std::size_t len) {
    if (!mem_)
        return false;
    // Widened so that the test itself cannot wrap around.
    if (static_cast<std::uint64_t>(len) + 1 + total_ > capacity_) {
        std::uint64_t doubled = static_cast<std::uint64_t>(capacity_) * 2;
        std::uint32_t grown =
            doubled > 0xFFFFFFFFu ? 0xFFFFFFFFu : static_cast<std::uint32_t>(doubled);
        if (static_cast<std::uint64_t>(len) + 1 + total_ > grown) {
            mem_.reset();
            capacity_ = 0;
            total_ = 0;
            return false;
        }
        char *moved = static_cast<char *>(std::realloc(mem_.get(), grown));
        if (moved == nullptr) {
            mem_.reset();
            capacity_ = 0;
            total_ = 0;
            return false;
        }
        mem_.release();
        mem_.reset(moved);
        capacity_ = grown;
    }
    std::memcpy(mem_.get() + total_, chunk, len);
    total_ += len;
    mem_.get()[total_] = '\0';
    return true;
}

std::string ReportBuffer::text() const {
    if (!mem_)
        return std::string();
    return std::string(mem_.get(), ::strnlen(mem_.get(), total_));
}

} // namespace quill
