// The findings the writer chose not to see: ignored for this run of the mail client (by
// rule, message and the text of their line), never to be shown again (by rule and message,
// kept in the settings), and those of the plug-in's own checks switched off. They are
// neither listed nor weighed by the send gate.
#pragma once

#include "lint/lint_result.h"

#include <cstddef>
#include <mutex>
#include <string>
#include <string_view>
#include <vector>

namespace quill {

// One ignored finding: texts as the findings hold them (ANSI), the line's text as textlint
// saw it (UTF-8, without its LF).
struct IgnoredFinding {
    std::string ruleName;
    std::string message;
    std::string lineText;
};

// The findings ignored while the plug-in runs; nothing of them is written anywhere.
class IgnoredFindings {
  public:
    void add(IgnoredFinding finding);
    bool contains(const LintResult &finding, std::string_view lineText);
    bool empty();
    void clear();

  private:
    std::mutex mutex_;
    std::vector<IgnoredFinding> findings_;
};

// The process-wide list.
IgnoredFindings &ignoredFindings();

// What one check held back.
struct HeldBack {
    std::size_t ignored = 0; // ignored for this run
    std::size_t hidden = 0;  // never to be shown, or of an own check switched off
    // The lines (1-based) that hold an ignored or hidden finding, ascending, each once: the
    // whole-mail fix gives them back as written. A finding of a rule switched off needs no
    // such line, since its rule fixes nothing.
    std::vector<std::size_t> lines;
};

// `findings` of a check of `checkedText` (UTF-8, LF line ends) without those held back.
std::vector<LintResult> withoutHeldBack(std::vector<LintResult> findings,
                                        std::string_view checkedText, HeldBack &heldBack);

// Whether anything could be held back at all: no list holds an entry and no own check is off.
bool nothingHeldBack();
// Whether a line could be held back from the whole-mail fix: a finding is ignored or hidden.
bool anyLineHeldBack();

} // namespace quill
