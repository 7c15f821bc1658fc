// The one place where an exception stops before it reaches the host or the system: every
// export, command callback, hook and timer procedure of the plug-in runs its body through
// `guarded`, and nothing below them catches everything.
#pragma once

#include <exception>

namespace quill {

// Writes one diagnostic line: "<name> failed.", then the exception's own text when it has
// one. Never throws.
void writeStoppedException(const char *name, const std::exception *failure) noexcept;

// Runs `body`; an exception that leaves it stops here and is said in one diagnostic line.
template <typename Body> void guarded(const char *name, Body &&body) noexcept {
    try {
        body();
    } catch (const std::exception &failure) {
        writeStoppedException(name, &failure);
    } catch (...) {
        writeStoppedException(name, nullptr);
    }
}

// The same for a body with a result: what it returns, or `fallback` when it was stopped.
template <typename Result, typename Body>
Result guarded(const char *name, Result fallback, Body &&body) noexcept {
    Result result = fallback;
    guarded(name, [&] { result = body(); });
    return result;
}

} // namespace quill
