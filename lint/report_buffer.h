// The growing buffer that a textlint run reads its report (or fixed text) into: room for
// 20000 bytes at first, doubled whenever the next chunk and the closing NUL would not fit.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <memory>
#include <string>

namespace quill {

class ReportBuffer {
  public:
    static constexpr std::uint32_t INITIAL_CAPACITY = 20000;

    // Allocates the first 20000 bytes, all zero. False when the allocation fails.
    bool allocate();

    // Appends `len` bytes and a NUL after them, growing first when they would not fit.
    // False when the growth fails; the buffer is then freed and empty.
    bool append(const char *chunk, std::size_t len);

    std::uint32_t capacity() const { return capacity_; }
    std::size_t size() const { return total_; }

    // The bytes up to the first NUL, as the parser and the fixed text take them.
    std::string text() const;

  private:
    struct Free {
        void operator()(char *p) const { std::free(p); }
    };
    std::unique_ptr<char, Free> mem_;
    std::uint32_t capacity_ = 0;
    std::size_t total_ = 0;
};

} // namespace quill
