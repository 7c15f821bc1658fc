// The settings record's plain values: flags, numbers and the quote marks, without the
// command path, the rules and the INI path. Platform-free, so text logic can take it.
#pragma once

#include <string>

namespace quill {

// The quote marks used when the INI file has none: ">" and the full-width "＞", held in the
// ANSI code page like every INI text (CP932: 3E 81 84).
inline constexpr char DEFAULT_QUOTE_MARKS[] = ">\x81\x84";

// How long a compose window must go without input before it is checked while the user
// writes, in milliseconds: the default and the range any value is held to.
inline constexpr int DEFAULT_CHECK_WHILE_TYPING_DELAY = 1500;
inline constexpr int MIN_CHECK_WHILE_TYPING_DELAY = 300;
inline constexpr int MAX_CHECK_WHILE_TYPING_DELAY = 10000;

// `delay` held to the range: a shorter pause would check between keystrokes, a longer one
// would leave the findings stale.
inline constexpr int clampCheckWhileTypingDelay(int delay) {
    return delay < MIN_CHECK_WHILE_TYPING_DELAY   ? MIN_CHECK_WHILE_TYPING_DELAY
           : delay > MAX_CHECK_WHILE_TYPING_DELAY ? MAX_CHECK_WHILE_TYPING_DELAY
                                                  : delay;
}

// The settings' plain values. A copy is taken whole under the record's lock, so a reader on
// a worker or hook thread sees either all of a change made by the dialog or none of it.
struct TextLintSettings {
    // The send-time gate: when on, a send whose findings weigh more than the threshold stops.
    bool enableEvaluateValueThreshold = false;
    int evaluateValueThreshold = 0;
    // HTML mails are proofread (with textlint's HTML plug-in).
    bool enableProofreadingHTMLMail = false;
    // The result window's outer rectangle in screen pixels, kept across sessions.
    int resultWindowX = 500;
    int resultWindowY = 250;
    int resultWindowWidth = 500;
    int resultWindowHeight = 250;
    // Keep one textlint running and send checks to it; off: every run starts textlint anew.
    bool enableResidentTextLint = true;
    // Lines whose first character is one of `quoteMarks` are not proofread.
    bool excludeQuotedLines = true;
    // The quote characters, in the ANSI code page (CP932); each character, single- or
    // double-byte, is one mark.
    std::string quoteMarks = DEFAULT_QUOTE_MARKS;
    // The signature (after the last "-- " or "--" line) is not proofread.
    bool excludeSignature = true;
    // Machine-dependent characters and half-width katakana are findings of the plug-in's
    // own, and the auto-fix replaces those with an unambiguous replacement, in mails whose
    // code page is a Japanese one that can lose them.
    bool checkMachineDependentCharacters = true;
    // Own rules: a date whose weekday does not match it, and doubled honorifics.
    bool checkDateWeekdays = true;
    bool checkHonorifics = true;
    // A mail whose own text mentions an attachment but that has none asks before it goes.
    bool remindForgottenAttachment = true;
    // A mail whose addressee block greets a person nobody on To or Cc bears asks before it
    // goes.
    bool remindMismatchedAddressee = true;
    // A compose window is checked once its user has paused for `checkWhileTypingDelay` ms.
    bool checkWhileTyping = true;
    int checkWhileTypingDelay = DEFAULT_CHECK_WHILE_TYPING_DELAY;
};

} // namespace quill
