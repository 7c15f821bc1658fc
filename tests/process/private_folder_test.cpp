// The private temporary folder of a run: a name nobody can guess, an access list for the
// current user alone, and nothing left of it afterwards.
#include "process/private_temp_folder.h"
#include "tests/support/scoped_environment.h"
#include "tests/support/test_paths.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <vector>

namespace quill::test {
namespace {

std::vector<unsigned char> currentTokenUser() {
    HANDLE token = nullptr;
    EXPECT_TRUE(OpenProcessToken(GetCurrentProcess(), TOKEN_QUERY, &token));
    DWORD size = 0;
    GetTokenInformation(token, TokenUser, nullptr, 0, &size);
    std::vector<unsigned char> user(size);
    EXPECT_TRUE(GetTokenInformation(token, TokenUser, user.data(), size, &size));
    CloseHandle(token);
    return user;
}

// Names in `dir` that a private folder or its files could have left.
std::vector<std::string> leftovers(const std::string &dir) {
    std::vector<std::string> names;
    WIN32_FIND_DATAA data;
    HANDLE find = FindFirstFileA((dir + "\\Qui*").c_str(), &data);
    if (find == INVALID_HANDLE_VALUE)
        return names;
    do
        names.push_back(data.cFileName);
    while (FindNextFileA(find, &data));
    FindClose(find);
    return names;
}

TEST(PrivateFolder, RandomNameGoneWithItsContent) {
    TempDir temp("qcproc");
    ScopedEnvironment tmp("TMP", temp.path());
    ScopedEnvironment tempVariable("TEMP", temp.path());
    PrivateTempFolder first;
    PrivateTempFolder second;
    ASSERT_TRUE(first.create("GetTempPath failed."));
    ASSERT_TRUE(second.create("GetTempPath failed."));
    const std::string prefix = temp.path() + "\\Quillcheck-";
    ASSERT_EQ(first.path().rfind(prefix, 0), 0u) << first.path();
    const std::string name = first.path().substr(prefix.size());
    EXPECT_EQ(name.size(), 33u) << name;
    EXPECT_EQ(name.find_first_not_of("0123456789abcdef"), 32u) << name;
    EXPECT_NE(first.path(), second.path());

    writeFileBytes(first.path() + "a.tmp", "x");
    ASSERT_TRUE(CreateDirectoryA((first.path() + "sub").c_str(), nullptr));
    writeFileBytes(first.path() + "sub\\b.tmp", "y");
    first.remove();
    second.remove();
    EXPECT_TRUE(leftovers(temp.path()).empty());
}

// Makes the folder `path` with `files` in it; returns the path.
std::string makeFolder(const std::string &path, const std::vector<std::string> &files) {
    EXPECT_TRUE(CreateDirectoryA(path.c_str(), nullptr)) << path;
    for (const std::string &file : files)
        writeFileBytes(path + "\\" + file, "x");
    return path;
}

bool exists(const std::string &path) {
    return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

// A link named like the plug-in's folders, and a link inside a dead folder of the plug-in's,
// lead outside TEMP: the sweep removes the dead folder and never what a link leads to.
TEST(PrivateFolder, SweepNeverFollowsALink) {
    TempDir temp("qcsweep");
    TempDir outside("qcout");
    ScopedEnvironment tmp("TMP", temp.path());
    ScopedEnvironment tempVariable("TEMP", temp.path());
    makeFolder(outside.path() + "\\linked", {"in-use", "keep.txt"});
    const std::wstring linkName = std::wstring(temp.path().begin(), temp.path().end()) +
                                  L"\\Quillcheck-00000000000000000000000000000001";
    const std::wstring target =
        std::wstring(outside.path().begin(), outside.path().end()) + L"\\linked";
    const DWORD directoryLink = SYMBOLIC_LINK_FLAG_DIRECTORY | 0x2; // unprivileged create
    if (!CreateSymbolicLinkW(linkName.c_str(), target.c_str(), directoryLink))
        GTEST_SKIP() << "no directory symbolic links here: " << GetLastError();
    const std::string dead = makeFolder(
        temp.path() + "\\Quillcheck-00000000000000000000000000000002", {"in-use", "mail.txt"});
    const std::wstring inner = std::wstring(dead.begin(), dead.end()) + L"\\inner";
    ASSERT_TRUE(CreateSymbolicLinkW(inner.c_str(), target.c_str(), directoryLink));

    removeAbandonedPrivateFolders();
    EXPECT_FALSE(exists(dead));
    EXPECT_TRUE(exists(outside.path() + "\\linked\\in-use"));
    EXPECT_TRUE(exists(outside.path() + "\\linked\\keep.txt"));
    RemoveDirectoryW(linkName.c_str());
}

// Wine keeps no access lists on files (it maps them to Unix permissions), so the list is
// read from the descriptor the folder is made with.
TEST(UserOnlySecurity, GrantsTheUserAloneAndInheritsNothing) {
    UserOnlySecurity security;
    ASSERT_TRUE(security.init());
    PSECURITY_DESCRIPTOR descriptor = security.attributes()->lpSecurityDescriptor;
    SECURITY_DESCRIPTOR_CONTROL control = 0;
    DWORD revision = 0;
    ASSERT_TRUE(GetSecurityDescriptorControl(descriptor, &control, &revision));
    EXPECT_TRUE(control & SE_DACL_PROTECTED);
    BOOL present = FALSE;
    BOOL defaulted = FALSE;
    PACL dacl = nullptr;
    ASSERT_TRUE(GetSecurityDescriptorDacl(descriptor, &present, &dacl, &defaulted));
    ASSERT_TRUE(present && dacl != nullptr);
    ASSERT_EQ(dacl->AceCount, 1);
    ACCESS_ALLOWED_ACE *ace = nullptr;
    ASSERT_TRUE(GetAce(dacl, 0, reinterpret_cast<void **>(&ace)));
    EXPECT_EQ(ace->Header.AceType, ACCESS_ALLOWED_ACE_TYPE);
    EXPECT_EQ(ace->Header.AceFlags, OBJECT_INHERIT_ACE | CONTAINER_INHERIT_ACE);
    std::vector<unsigned char> user = currentTokenUser();
    EXPECT_TRUE(EqualSid(&ace->SidStart, reinterpret_cast<TOKEN_USER *>(user.data())->User.Sid));
}

} // namespace
} // namespace quill::test
