// Why a check or an auto-fix failed, as the run saw it, and the Japanese texts that tell the
// user what happened and what to do; also the result window's status line after a check.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

namespace quill {

enum class LintFailureKind {
    None,
    NoRule,          // no rule is configured: nothing to check
    CommandNotFound, // the command path names nothing and no textlint was found
    MissingPackages, // rules or plug-ins of the configuration are not installed
    ConfigRejected,  // textlint did not load the configuration for another reason
    TimedOut,        // textlint did not end within its wait
    TextLintError,   // textlint ended with an error
    NotConverted,    // the mail's text could not be converted from its code page
    FixMovedLines,   // a fix added or removed lines of a mail with quoted lines or a signature
    Internal,        // a step of the plug-in itself failed (files, process start)
};

// A rule or plug-in of the configuration and the npm package that provides it.
struct MissingPackage {
    std::wstring name;
    std::wstring package;
};

struct LintFailure {
    LintFailureKind kind = LintFailureKind::None;
    std::wstring commandPath;
    std::vector<MissingPackage> missing;
    // How to install the missing packages: an npm command line, and the folder to run it in
    // (empty for a global install).
    std::wstring installFolder;
    // The first lines of textlint's error output, or the plug-in's diagnostic line.
    std::wstring details;
    unsigned waitSeconds = 0;

    bool failed() const { return kind != LintFailureKind::None; }
};

// What happened and what to do, in Japanese; empty for LintFailureKind::None.
std::wstring describeLintFailure(const LintFailure &failure);

// The status line after a published check: the number of findings and the time of the check.
std::wstring publishedStatusText(std::size_t findings, int hour, int minute, int second);

// What the status line adds when a check held findings back: how many were ignored for
// this run and how many are never shown; empty when none.
std::wstring heldBackStatusText(std::size_t ignored, std::size_t hidden);

// The status line's first line while a check or fix the user chose runs.
inline constexpr wchar_t WORKING_STATUS_TEXT[] = L"校正中…";

// The status line after a failed check: the reason's text after a lead saying so.
std::wstring failedStatusText(const LintFailure &failure);

// At most `maxLines` non-blank lines of `output` (each cut to `maxChars` characters), joined
// by LF: enough of textlint's error output to tell what went wrong.
std::wstring firstLinesOf(const std::wstring &output, std::size_t maxLines = 5,
                          std::size_t maxChars = 200);

} // namespace quill
