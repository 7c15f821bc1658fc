// Whole-file writes and bounded reads.
#include "process/whole_file.h"

#include "common/handles.h"

#include <algorithm>

namespace quill {

bool writeWholeFile(const std::string &path, std::string_view bytes, DWORD disposition) {
    UniqueHandle file(CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, disposition,
                                  FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file)
        return false;
    while (!bytes.empty()) {
        DWORD chunk = static_cast<DWORD>(std::min<std::size_t>(bytes.size(), 1u << 30));
        DWORD written = 0;
        const bool wrote = WriteFile(file.get(), bytes.data(), chunk, &written, nullptr) != FALSE;
        if (!wrote || written == 0) {
            // The write's error, not that of the close after it.
            const DWORD code = wrote ? static_cast<DWORD>(ERROR_WRITE_FAULT) : GetLastError();
            file.reset();
            SetLastError(code);
            return false;
        }
        bytes.remove_prefix(written);
    }
    return file.reset();
}

bool readFilePart(const std::string &path, ULONGLONG from, DWORD limit, std::string &bytes,
                  ULONGLONG &size) {
    bytes.clear();
    UniqueHandle file(CreateFileA(path.c_str(), GENERIC_READ,
                                  FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                  OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file)
        return false;
    LARGE_INTEGER length = {};
    if (!GetFileSizeEx(file.get(), &length))
        return false;
    size = static_cast<ULONGLONG>(length.QuadPart);
    if (size > from && limit > 0) {
        bytes.resize(static_cast<std::size_t>(std::min<ULONGLONG>(size - from, limit)));
        LARGE_INTEGER offset = {};
        offset.QuadPart = static_cast<LONGLONG>(from);
        DWORD got = 0;
        if (!SetFilePointerEx(file.get(), offset, nullptr, FILE_BEGIN) ||
            !ReadFile(file.get(), &bytes[0], static_cast<DWORD>(bytes.size()), &got, nullptr)) {
            bytes.clear();
            return false;
        }
        bytes.resize(got);
    }
    return file.reset();
}

} // namespace quill
