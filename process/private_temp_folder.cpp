// The private temporary folder: a random name from the system's random number generator
// and a protected access list that grants the current user alone.
#include "process/private_temp_folder.h"

#include "common/handles.h"
#include "common/system_error.h"

#include <windows.h>

#include <bcrypt.h>

#include <iterator>
#include <vector>

namespace quill {

namespace {

constexpr std::size_t RANDOM_BYTES = 16;
constexpr char FOLDER_PREFIX[] = "Quillcheck-";
// Held open by the owner without delete sharing while the folder is in use.
constexpr char IN_USE_FILE[] = "in-use";
// A folder without its in-use file may be one another process is just making.
constexpr ULONGLONG UNMARKED_AGE_100NS = 60ull * 10000000ull;

bool failed(const char *text) {
    writeLastErrorDiagnostic(text, GetLastError());
    return false;
}

bool randomHex(std::string &hex) {
    unsigned char bytes[RANDOM_BYTES];
    if (!BCRYPT_SUCCESS(BCryptGenRandom(nullptr, bytes, static_cast<ULONG>(std::size(bytes)),
                                        BCRYPT_USE_SYSTEM_PREFERRED_RNG))) {
        SetLastError(ERROR_GEN_FAILURE);
        return false;
    }
    static const char DIGITS[] = "0123456789abcdef";
    for (unsigned char b : bytes) {
        hex += DIGITS[b >> 4];
        hex += DIGITS[b & 0x0f];
    }
    return true;
}

// The TOKEN_USER record of the process token.
bool currentTokenUser(std::vector<unsigned char> &tokenUser) {
    HANDLE raw = nullptr;
    if (!OpenProcessToken(GetCurrentProcess(), TOKEN_QUERY, &raw))
        return false;
    UniqueHandle token(raw);
    DWORD size = 0;
    GetTokenInformation(token.get(), TokenUser, nullptr, 0, &size);
    if (size == 0)
        return false;
    tokenUser.resize(size);
    return GetTokenInformation(token.get(), TokenUser, tokenUser.data(), size, &size) != FALSE;
}

void removeTree(const std::string &folder) {
    WIN32_FIND_DATAA entry;
    HANDLE find = FindFirstFileA((folder + "*").c_str(), &entry);
    if (find != INVALID_HANDLE_VALUE) {
        do {
            std::string name = entry.cFileName;
            if (name == "." || name == "..")
                continue;
            std::string path = folder + name;
            if (entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
                removeTree(path + "\\");
            else
                DeleteFileA(path.c_str());
        } while (FindNextFileA(find, &entry));
        FindClose(find);
    }
    RemoveDirectoryA(folder.c_str());
}

} // namespace

bool UserOnlySecurity::init() {
    if (!currentTokenUser(tokenUser_))
        return false;
    PSID sid = reinterpret_cast<TOKEN_USER *>(tokenUser_.data())->User.Sid;
    acl_.resize(sizeof(ACL) + sizeof(ACCESS_ALLOWED_ACE) + GetLengthSid(sid));
    PACL acl = reinterpret_cast<PACL>(acl_.data());
    if (!InitializeAcl(acl, static_cast<DWORD>(acl_.size()), ACL_REVISION) ||
        !AddAccessAllowedAceEx(acl, ACL_REVISION, OBJECT_INHERIT_ACE | CONTAINER_INHERIT_ACE,
                               FILE_ALL_ACCESS, sid) ||
        !InitializeSecurityDescriptor(&descriptor_, SECURITY_DESCRIPTOR_REVISION) ||
        !SetSecurityDescriptorDacl(&descriptor_, TRUE, acl, FALSE) ||
        !SetSecurityDescriptorControl(&descriptor_, SE_DACL_PROTECTED, SE_DACL_PROTECTED))
        return false;
    attributes_ = {sizeof(SECURITY_ATTRIBUTES), &descriptor_, FALSE};
    return true;
}

bool PrivateTempFolder::create(const char *tempPathFailure) {
    remove();
    char tempDir[MAX_PATH];
    DWORD n = GetTempPathA(static_cast<DWORD>(std::size(tempDir)), tempDir);
    if (n == 0 || n > std::size(tempDir)) {
        if (n != 0)
            SetLastError(ERROR_FILENAME_EXCED_RANGE);
        return failed(tempPathFailure);
    }
    std::string hex;
    if (!randomHex(hex))
        return failed("BCryptGenRandom(BCRYPT_USE_SYSTEM_PREFERRED_RNG) failed.");
    UserOnlySecurity security;
    if (!security.init())
        return failed("The security descriptor of the private folder could not be made.");
    std::string folder = std::string(tempDir, n) + FOLDER_PREFIX + hex;
    // Fails when the name exists: a folder nobody else made is the only one we use.
    if (!CreateDirectoryA(folder.c_str(), security.attributes()))
        return failed("CreateDirectory(private temporary folder) failed.");
    path_ = folder + "\\";
    inUse_.reset(CreateFileA((path_ + IN_USE_FILE).c_str(), GENERIC_READ | GENERIC_WRITE,
                             FILE_SHARE_READ, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!inUse_) {
        DWORD code = GetLastError();
        remove();
        SetLastError(code);
        return failed("CreateFile(in-use file of the private temporary folder) failed.");
    }
    return true;
}

void PrivateTempFolder::remove() {
    if (path_.empty())
        return;
    DWORD code = GetLastError();
    inUse_.reset();
    removeTree(path_);
    path_.clear();
    SetLastError(code);
}

void removeAbandonedPrivateFolders() {
    char tempDir[MAX_PATH];
    DWORD n = GetTempPathA(static_cast<DWORD>(std::size(tempDir)), tempDir);
    if (n == 0 || n > std::size(tempDir))
        return;
    const std::string temp(tempDir, n);
    FILETIME nowTime;
    GetSystemTimeAsFileTime(&nowTime);
    const auto ticks = [](const FILETIME &t) {
        return (static_cast<ULONGLONG>(t.dwHighDateTime) << 32) | t.dwLowDateTime;
    };
    WIN32_FIND_DATAA entry;
    HANDLE find = FindFirstFileA((temp + FOLDER_PREFIX + "*").c_str(), &entry);
    if (find == INVALID_HANDLE_VALUE)
        return;
    do {
        if (!(entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY))
            continue;
        const std::string folder = temp + entry.cFileName + "\\";
        // Deleting the in-use file fails while its owner holds it.
        bool abandoned = DeleteFileA((folder + IN_USE_FILE).c_str()) != FALSE;
        if (!abandoned && GetLastError() == ERROR_FILE_NOT_FOUND)
            abandoned = ticks(entry.ftCreationTime) < ticks(nowTime) &&
                        ticks(nowTime) - ticks(entry.ftCreationTime) > UNMARKED_AGE_100NS;
        if (abandoned)
            removeTree(folder);
    } while (FindNextFileA(find, &entry));
    FindClose(find);
}

} // namespace quill
