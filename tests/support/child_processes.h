// What this test program has left running: the processes that descend from it, from a
// Toolhelp snapshot, and bounded waits on files that children make.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

namespace quill::test {

// Lower-case executable names ("cmd.exe", "node.exe") of every running process whose
// parent chain leads to this process, but for Wine's desktop process.
std::vector<std::string> descendantProcessNames();

// True when one of `names` is `name`.
bool containsName(const std::vector<std::string> &names, const std::string &name);

// Waits up to `timeoutMs` until `path` exists; true when it does.
bool waitForFile(const std::string &path, DWORD timeoutMs);

} // namespace quill::test
