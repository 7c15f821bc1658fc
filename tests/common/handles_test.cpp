// The handle owners release exactly once and treat both empty values as empty.
#include "common/handles.h"
#include "common/system_error.h"

#include <gtest/gtest.h>

namespace quill {
namespace {

TEST(UniqueHandle, ClosesOnceAndMovesOwnership) {
    HANDLE event = CreateEventA(nullptr, TRUE, FALSE, nullptr);
    ASSERT_NE(event, nullptr);
    UniqueHandle a(event);
    UniqueHandle b(std::move(a));
    EXPECT_FALSE(a.valid());
    EXPECT_TRUE(b.valid());
    EXPECT_TRUE(b.reset());
    EXPECT_FALSE(b.valid());
    // The handle is gone: closing it again fails.
    EXPECT_FALSE(CloseHandle(event));
}

TEST(UniqueHandle, InvalidHandleValueIsEmpty) {
    UniqueHandle h(INVALID_HANDLE_VALUE);
    EXPECT_FALSE(h.valid());
    EXPECT_TRUE(h.reset());
}

TEST(SystemErrorText, KnownAndUnknownCodes) {
    EXPECT_FALSE(systemErrorTextW(ERROR_INVALID_PARAMETER).empty());
    EXPECT_TRUE(systemErrorTextW(0x7FFFFFF0).empty());
}

} // namespace
} // namespace quill
