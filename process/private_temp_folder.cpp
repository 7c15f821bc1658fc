// The private temporary folder: a random name from the system's random number generator
// and a protected access list that grants the current user alone.
#include "process/private_temp_folder.h"

#include "common/ansi_encoding.h"
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
constexpr wchar_t FOLDER_PREFIX_W[] = L"Quillcheck-";
// Held open by the owner without delete sharing while the folder is in use; it marks the
// folder as one of the plug-in's.
constexpr char IN_USE_FILE[] = "in-use";
constexpr wchar_t IN_USE_FILE_W[] = L"in-use";

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

bool isLink(DWORD attributes) {
    return (attributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0;
}

// Whether `folder` (no trailing backslash) is a folder of its own right now, not a link to
// one: looked at through a handle to the entry itself, so a link is never followed.
bool isPlainFolder(const std::wstring &folder) {
    UniqueHandle handle(
        CreateFileW(folder.c_str(), FILE_READ_ATTRIBUTES,
                    FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_EXISTING,
                    FILE_FLAG_BACKUP_SEMANTICS | FILE_FLAG_OPEN_REPARSE_POINT, nullptr));
    BY_HANDLE_FILE_INFORMATION information;
    return handle && GetFileInformationByHandle(handle.get(), &information) &&
           (information.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0 &&
           !isLink(information.dwFileAttributes);
}

// Deletes `folder` (with its trailing backslash) and what it holds. A junction or symbolic
// link inside is removed as the link it is, never followed: nothing outside the folder is
// touched, whatever was planted in it.
void removeTree(const std::wstring &folder) {
    if (!isPlainFolder(folder.substr(0, folder.size() - 1)))
        return;
    WIN32_FIND_DATAW entry;
    HANDLE find = FindFirstFileW((folder + L"*").c_str(), &entry);
    if (find != INVALID_HANDLE_VALUE) {
        do {
            const std::wstring name = entry.cFileName;
            if (name == L"." || name == L"..")
                continue;
            const std::wstring path = folder + name;
            const bool directory = (entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
            if (directory && !isLink(entry.dwFileAttributes))
                removeTree(path + L"\\");
            else if (directory)
                RemoveDirectoryW(path.c_str());
            else
                DeleteFileW(path.c_str());
        } while (FindNextFileW(find, &entry));
        FindClose(find);
    }
    RemoveDirectoryW(folder.c_str());
}

// Whether `name` is exactly what create() names a folder: the prefix and 32 lower-case
// hexadecimal digits.
bool isPrivateFolderName(const std::wstring &name) {
    const std::size_t prefix = std::size(FOLDER_PREFIX_W) - 1;
    if (name.size() != prefix + 2 * RANDOM_BYTES || name.compare(0, prefix, FOLDER_PREFIX_W) != 0)
        return false;
    for (std::size_t i = prefix; i < name.size(); ++i) {
        const wchar_t c = name[i];
        if (!((c >= L'0' && c <= L'9') || (c >= L'a' && c <= L'f')))
            return false;
    }
    return true;
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
    removeTree(wideFromAnsi(path_));
    path_.clear();
    SetLastError(code);
}

void removeAbandonedPrivateFolders() {
    wchar_t tempDir[MAX_PATH + 1];
    DWORD n = GetTempPathW(static_cast<DWORD>(std::size(tempDir)), tempDir);
    if (n == 0 || n >= std::size(tempDir))
        return;
    const std::wstring temp(tempDir, n);
    WIN32_FIND_DATAW entry;
    HANDLE find = FindFirstFileW((temp + FOLDER_PREFIX_W + L"*").c_str(), &entry);
    if (find == INVALID_HANDLE_VALUE)
        return;
    do {
        // Only a folder of the plug-in's own name that is no link: a link may lead anywhere.
        if (!(entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) ||
            isLink(entry.dwFileAttributes) || !isPrivateFolderName(entry.cFileName))
            continue;
        const std::wstring folder = temp + entry.cFileName + L"\\";
        if (!isPlainFolder(folder.substr(0, folder.size() - 1)))
            continue;
        // Deleting the in-use file fails while its owner holds it, and when there is none:
        // a folder without the marker may be one another process is just making, or not
        // the plug-in's at all.
        if (DeleteFileW((folder + IN_USE_FILE_W).c_str()))
            removeTree(folder);
    } while (FindNextFileW(find, &entry));
    FindClose(find);
}

} // namespace quill
