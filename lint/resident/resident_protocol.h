// The conversation with a resident textlint (`textlint --mcp`): one JSON-RPC message per
// line over its standard input and output. The requests, and the reading of its answers
// into what a cold run would have produced; no platform calls.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace quill {

// The two tools of the server that the plug-in uses.
enum class ResidentTool { LintText, FixText };

// Requests larger than this are not sent: the server drops its whole input stream when its
// read buffer passes 10 MiB.
constexpr std::size_t RESIDENT_REQUEST_MAX_BYTES = 8u << 20;

// The `initialize` request and the `notifications/initialized` notification, each ending
// in its LF.
std::string makeInitializeRequest(long long id);
std::string makeInitializedNotification();

// The text exactly as a cold run hands it to textlint: up to its first NUL, as the cold run
// writes its input file. None when the server cannot take it the same way: the text is
// empty (the server refuses empty texts) or not valid UTF-8 (the two sides would replace
// bad bytes differently).
std::optional<std::string_view> residentInputText(std::string_view mailText);

// A `tools/call` request for `tool` over `text` (from residentInputText), named "mail.html"
// for HTML targets and "mail.txt" otherwise, so that the same plug-in reads it as in a cold
// run. None when the request would exceed RESIDENT_REQUEST_MAX_BYTES.
std::optional<std::string> makeToolCallRequest(long long id, ResidentTool tool,
                                               std::string_view text, bool html);

// One finding as textlint's compact formatter prints it.
struct ResidentFinding {
    int line = 0;
    int column = 0;
    const char *severityWord = "Warning"; // "Error", "Warning" or "Info"
    std::string message;
    std::string ruleId; // empty: printed without a rule
    // textlint's replacement for the finding, when its rule offers one: [fixStart, fixEnd)
    // in UTF-16 code units into the text checked, and the text to put there.
    bool hasFix = false;
    int fixStart = 0;
    int fixEnd = 0;
    std::string fixText;
};

enum class ResidentAnswerKind {
    NotOurs, // not the answer to the request waited for (another id, a notification, noise)
    Failure, // the answer, but an error or not in the expected form
    Success,
};

struct ResidentAnswer {
    ResidentAnswerKind kind = ResidentAnswerKind::NotOurs;
    std::vector<ResidentFinding> findings; // LintText
    std::string fixedText;                 // FixText, up to its first NUL
    std::string failure;                   // for a diagnostic
};

// Reads one line as the answer to `initialize` with `id`: Success for any result object.
ResidentAnswer readInitializeAnswer(std::string_view line, long long id);

// Reads one line as the answer to the tool call `id`. Never throws: malformed input of any
// kind is NotOurs or Failure.
ResidentAnswer readToolAnswer(std::string_view line, long long id, ResidentTool tool);

// The findings as the compact formatter prints them for a file `path`, count line included,
// cut at a first NUL as the cold run's reading of the report cuts it. Fed to the report
// parser, this gives the same rows as a cold run's report of the same findings.
std::string renderCompactReport(const std::vector<ResidentFinding> &findings,
                                std::string_view path);

// The version a `textlint --version` output names ("v15.8.0"), as (major, minor); none when
// the output holds no such version.
std::optional<std::pair<int, int>> parseTextLintVersion(std::string_view output);

// Whether `textlint --print-config` output shows a configuration that loaded at least one
// rule: textlint loads all or nothing, and an unloadable configuration prints an empty
// "rule" array.
bool printedConfigHasRules(std::string_view output);

} // namespace quill
