// Toolhelp snapshot of this program's descendants, and waits for files.
#include "tests/support/child_processes.h"

#include <tlhelp32.h>

#include <algorithm>
#include <cctype>
#include <set>

namespace quill::test {

std::vector<std::string> descendantProcessNames() {
    struct Entry {
        DWORD id;
        DWORD parent;
        std::string name;
    };
    std::vector<Entry> entries;
    HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
    if (snapshot == INVALID_HANDLE_VALUE)
        return {"<no snapshot>"};
    PROCESSENTRY32 entry = {};
    entry.dwSize = sizeof(entry);
    for (BOOL more = Process32First(snapshot, &entry); more;
         more = Process32Next(snapshot, &entry)) {
        std::string name = entry.szExeFile;
        std::transform(name.begin(), name.end(), name.begin(),
                       [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
        entries.push_back({entry.th32ProcessID, entry.th32ParentProcessID, name});
    }
    CloseHandle(snapshot);

    std::set<DWORD> ours = {GetCurrentProcessId()};
    std::vector<std::string> names;
    for (bool grew = true; grew;) {
        grew = false;
        for (const Entry &e : entries) {
            // Wine's desktop process is started by the first program that shows a window
            // (each test program does, at its start): it is no child the plug-in left.
            if (ours.count(e.parent) && !ours.count(e.id) && e.name != "explorer.exe") {
                ours.insert(e.id);
                names.push_back(e.name);
                grew = true;
            }
        }
    }
    return names;
}

bool containsName(const std::vector<std::string> &names, const std::string &name) {
    return std::find(names.begin(), names.end(), name) != names.end();
}

bool waitForFile(const std::string &path, DWORD timeoutMs) {
    const ULONGLONG end = GetTickCount64() + timeoutMs;
    while (GetFileAttributesA(path.c_str()) == INVALID_FILE_ATTRIBUTES) {
        if (GetTickCount64() >= end)
            return false;
        Sleep(20);
    }
    return true;
}

} // namespace quill::test
