// The record of the one mail a proofreading job works on: where it came from, its type,
// its From and Subject texts, and its text in UTF-8 with LF line ends.
#pragma once

#include <string>

namespace quill {

enum MimeType : int { MIME_TEXT_PLAIN = 0, MIME_TEXT_HTML = 1 };

class TargetMailInfo {
  public:
    TargetMailInfo() = default;
    TargetMailInfo(int isDraft, MimeType mimeType, std::string from, std::string subject,
                   std::string mailText);

    std::string getFrom() const { return from_; }
    std::string getSubject() const { return subject_; }
    std::string getMailText() const { return mailText_; }

    int isDraft = 0;
    MimeType mimeType = MIME_TEXT_PLAIN;
    // The code page the mail is written in, as the host reports it, with 0 (the system's
    // ANSI code page) resolved to its number; 0 when no host gave one (the settings
    // dialog's test run). Decides whether the characters a recipient may not see are
    // checked.
    int codePage = 0;

  private:
    std::string from_;     // host code page, as the host returned it
    std::string subject_;  // host code page
    std::string mailText_; // UTF-8, LF line ends
};

// MIME_TEXT_HTML for exactly "text/html" (letter case significant), MIME_TEXT_PLAIN else.
MimeType parseMimeType(const std::string &mimeTypeText);

// Every CR LF pair and every lone CR becomes one LF.
std::string normalizeLineEnds(const std::string &text);

} // namespace quill
