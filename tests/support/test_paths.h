// Paths and temporary folders for the Windows tests.
#pragma once

#include <string>

namespace quill::test {

// A Unix path as Wine's Windows path ("/a/b" -> "Z:\a\b").
std::string windowsPathOf(const std::string &unixPath);

// The project's source folder and build folder as Windows paths, without a trailing
// backslash.
std::string sourceDir();
std::string binaryDir();

// A path inside tests/fixtures.
std::string fixturePath(const std::string &relative);

// The folder of the real textlint inside the Wine prefix, C:\textlint, or the copy that the
// environment variable QUILL_TEXTLINT_FOLDER names: a test program that changes the
// installed rules runs on a copy of its own, so that the programs running beside it see the
// install as it is.
std::string textlintFolder();
// The real textlint shim in that folder.
std::string textlintCmdPath();

// A new empty folder under the system's temporary folder; removed with its files by
// the destructor.
class TempDir {
  public:
    explicit TempDir(const std::string &prefix = "qct");
    ~TempDir();
    TempDir(const TempDir &) = delete;
    TempDir &operator=(const TempDir &) = delete;
    const std::string &path() const { return path_; }
    std::string file(const std::string &name) const { return path_ + "\\" + name; }

  private:
    std::string path_;
};

// Whole-file helpers (bytes, no conversion).
std::string readFileBytes(const std::string &path);
void writeFileBytes(const std::string &path, const std::string &bytes);

} // namespace quill::test
