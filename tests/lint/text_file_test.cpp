// The one writer of the runs' input and configuration files: the text up to its first NUL,
// into an existing file or one it creates, as the caller asks.
#include "lint/textlint_run.h"
#include "tests/support/test_paths.h"

#include <gtest/gtest.h>

#include <string>

namespace quill {
namespace {

using textlint_run::writeTextFile;

TEST(WriteTextFile, WritesUpToTheFirstNulAndOpensAsAsked) {
    test::TempDir dir;
    const std::string path = dir.file("config.json");

    // An existing file is not made up: nothing is created, and the error says why.
    const bool written = writeTextFile(path, "{}", OPEN_EXISTING);
    const DWORD code = GetLastError();
    EXPECT_FALSE(written);
    EXPECT_EQ(code, static_cast<DWORD>(ERROR_FILE_NOT_FOUND));
    EXPECT_EQ(GetFileAttributesA(path.c_str()), INVALID_FILE_ATTRIBUTES);

    EXPECT_TRUE(writeTextFile(path, std::string("{\"rules\":{}}\0tail", 17), CREATE_ALWAYS));
    EXPECT_EQ(test::readFileBytes(path), "{\"rules\":{}}");
    // A shorter text replaces the longer one whole.
    EXPECT_TRUE(writeTextFile(path, "{}", CREATE_ALWAYS));
    EXPECT_EQ(test::readFileBytes(path), "{}");
    EXPECT_TRUE(writeTextFile(path, "本日は晴天なり。", OPEN_EXISTING));
    EXPECT_EQ(test::readFileBytes(path), "本日は晴天なり。");
}

} // namespace
} // namespace quill
