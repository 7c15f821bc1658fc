// The scoped environment variable.
#include "tests/support/scoped_environment.h"

#include <windows.h>

namespace quill::test {

std::string environmentValue(const char *name, bool *had) {
    char value[32768];
    DWORD n = GetEnvironmentVariableA(name, value, sizeof value);
    if (had)
        *had = n != 0 && n < sizeof value;
    return n != 0 && n < sizeof value ? std::string(value, n) : std::string();
}

ScopedEnvironment::ScopedEnvironment(const std::string &name, const std::string &value)
    : name_(name), old_(environmentValue(name.c_str(), &had_)) {
    SetEnvironmentVariableA(name.c_str(), value.c_str());
}

ScopedEnvironment::~ScopedEnvironment() {
    SetEnvironmentVariableA(name_.c_str(), had_ ? old_.c_str() : nullptr);
}

} // namespace quill::test
