// The diagnostic line of an exception stopped at the host boundary.
#include "plugin/boundary_guard.h"

#include "common/system_error.h"

#include <cstdio>

namespace quill {

void writeStoppedException(const char *name, const std::exception *failure) noexcept {
    char line[512];
    if (failure != nullptr)
        std::snprintf(line, sizeof(line), "%s failed. %s", name, failure->what());
    else
        std::snprintf(line, sizeof(line), "%s failed.", name);
    try {
        writeDiagnosticLine(line);
    } catch (const std::exception &) {
        // Without memory for the line, the exception stays stopped unsaid.
    }
}

} // namespace quill
