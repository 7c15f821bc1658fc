// The boundary guard: a body's exception stops in it, with one diagnostic line, and the
// caller gets the fallback; a body that ends normally passes its result through unsaid.
#include "plugin/boundary_guard.h"

#include <gtest/gtest.h>

#include <stdexcept>
#include <string>

namespace quill {
namespace {

TEST(Guarded, StopsEveryExceptionWithOneLineAndTheFallback) {
    ::testing::internal::CaptureStdout();
    const int afterText =
        guarded("BKC_OnSend()", 0, []() -> int { throw std::runtime_error("no memory"); });
    const int afterOther = guarded("BKC_OnSend()", 7, []() -> int { throw 42; });
    guarded("Writing the INI file", [] { throw std::logic_error("disk full"); });
    EXPECT_EQ(::testing::internal::GetCapturedStdout(), "BKC_OnSend() failed. no memory\n"
                                                        "BKC_OnSend() failed.\n"
                                                        "Writing the INI file failed. disk full\n");
    EXPECT_EQ(afterText, 0);
    EXPECT_EQ(afterOther, 7);
}

TEST(Guarded, PassesAResultThroughWithoutALine) {
    ::testing::internal::CaptureStdout();
    int calls = 0;
    const int result = guarded("BKC_OnSend()", 0, [&] {
        ++calls;
        return -1;
    });
    EXPECT_EQ(::testing::internal::GetCapturedStdout(), "");
    EXPECT_EQ(result, -1);
    EXPECT_EQ(calls, 1);
}

} // namespace
} // namespace quill
