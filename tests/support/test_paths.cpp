#include "tests/support/test_paths.h"

#include "quill_test_config.h"

#include <windows.h>

#include <atomic>
#include <fstream>
#include <sstream>
#include <stdexcept>

namespace quill::test {

std::string windowsPathOf(const std::string &unixPath) {
    std::string path = "Z:" + unixPath;
    for (char &c : path)
        if (c == '/')
            c = '\\';
    return path;
}

std::string sourceDir() {
    return windowsPathOf(QUILL_SOURCE_DIR_UNIX);
}
std::string binaryDir() {
    return windowsPathOf(QUILL_BINARY_DIR_UNIX);
}

std::string fixturePath(const std::string &relative) {
    std::string path = sourceDir() + "\\tests\\fixtures\\" + relative;
    for (char &c : path)
        if (c == '/')
            c = '\\';
    return path;
}

std::string textlintFolder() {
    char folder[MAX_PATH];
    DWORD length = GetEnvironmentVariableA("QUILL_TEXTLINT_FOLDER", folder, sizeof folder);
    if (length > 0 && length < sizeof folder)
        return folder;
    return "C:\\textlint";
}

std::string textlintCmdPath() {
    return textlintFolder() + "\\textlint.cmd";
}

namespace {

void removeTree(const std::string &dir) {
    WIN32_FIND_DATAA data;
    HANDLE find = FindFirstFileA((dir + "\\*").c_str(), &data);
    if (find != INVALID_HANDLE_VALUE) {
        do {
            std::string name = data.cFileName;
            if (name == "." || name == "..")
                continue;
            std::string child = dir + "\\" + name;
            if (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
                removeTree(child);
            else
                DeleteFileA(child.c_str());
        } while (FindNextFileA(find, &data));
        FindClose(find);
    }
    RemoveDirectoryA(dir.c_str());
}

} // namespace

TempDir::TempDir(const std::string &prefix) {
    static std::atomic<unsigned> counter{0};
    char base[MAX_PATH];
    DWORD n = GetTempPathA(MAX_PATH, base);
    if (n == 0 || n >= MAX_PATH)
        throw std::runtime_error("GetTempPathA failed");
    for (;;) {
        std::ostringstream name;
        name << base << prefix << GetCurrentProcessId() << "_" << counter++;
        if (CreateDirectoryA(name.str().c_str(), nullptr)) {
            path_ = name.str();
            return;
        }
        if (GetLastError() != ERROR_ALREADY_EXISTS)
            throw std::runtime_error("CreateDirectoryA failed for " + name.str());
    }
}

TempDir::~TempDir() {
    removeTree(path_);
}

std::string readFileBytes(const std::string &path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream out;
    out << in.rdbuf();
    return out.str();
}

void writeFileBytes(const std::string &path, const std::string &bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

} // namespace quill::test
