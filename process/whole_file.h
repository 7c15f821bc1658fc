// Files written whole and read whole (or from an offset on), as bytes without conversion.
#pragma once

#include <windows.h>

#include <string>
#include <string_view>

namespace quill {

// Writes `bytes` into `path`, opened with `disposition` (OPEN_EXISTING, CREATE_ALWAYS) and
// no sharing. False, with the system's last error set, when the open, a write or the close
// fails.
bool writeWholeFile(const std::string &path, std::string_view bytes, DWORD disposition);

// Reads at most `limit` bytes of `path` from byte `from` on into `bytes`, and its size into
// `size`. Every kind of sharing is granted, so that a child that still holds the file does
// not fail the read. False, with the system's last error set, when the open, the read or
// the close fails.
bool readFilePart(const std::string &path, ULONGLONG from, DWORD limit, std::string &bytes,
                  ULONGLONG &size);

} // namespace quill
