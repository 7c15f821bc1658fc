// Finding and fixing the characters a recipient may not see, one decoded character at a
// time; line and column are counted as textlint counts them, so the rows sort together.
#include "mail/recipient_char_check.h"

#include "common/encoding.h"
#include "config/plugin_rules.h"
#include "mail/recipient_chars.h"
#include "common/utf8.h"

namespace quill {

namespace {

// A half-width run is named in its finding up to this many characters, so that a line of
// them still makes a message the result window can show.
constexpr std::size_t SHOWN_RUN_LENGTH = 20;

int utf16Units(char32_t codePoint) {
    return codePoint > 0xFFFF ? 2 : 1;
}

std::string machineDependentMessage(std::string_view character, const RecipientCharInfo &info) {
    std::string message = "Error - 機種依存文字「";
    message.append(character);
    message += "」は受信者の環境で正しく表示されないことがあります。";
    if (info.use == ReplacementUse::Fix) {
        message += "「";
        message += info.replacement;
        message += "」に置き換えてください。";
    } else if (info.use == ReplacementUse::Suggest) {
        message += "人名などでなければ「";
        message += info.replacement;
        message += "」を使ってください。";
    }
    return message;
}

std::string halfWidthKanaMessage(std::string_view shownRun, const std::u32string &shownCodePoints,
                                 bool cut) {
    std::string message = "Error - 半角カナ「";
    message.append(shownRun);
    if (cut)
        message += "…";
    message += "」は受信者の環境で正しく表示されないことがあります。全角の「";
    message += fullWidthKana(shownCodePoints);
    if (cut)
        message += "…";
    message += "」に置き換えてください。";
    return message;
}

// Walks the text character by character and hands each machine-dependent character and
// each half-width run, with its place, to the visitor.
class RecipientCharWalker {
  public:
    explicit RecipientCharWalker(std::string_view text) : text_(text) {}

    template <typename OnOrdinary, typename OnMachineDependent, typename OnKanaRun>
    void walk(OnOrdinary onOrdinary, OnMachineDependent onMachineDependent, OnKanaRun onKanaRun) {
        int line = 1;
        int column = 1;
        std::size_t pos = 0;
        while (pos < text_.size()) {
            std::size_t end = pos;
            const char32_t codePoint = decodeUtf8(text_, end);
            const RecipientCharInfo info = classifyRecipientChar(codePoint);
            if (info.kind == RecipientCharKind::HalfWidthKana) {
                const std::size_t start = pos;
                const int startColumn = column;
                std::u32string run;
                while (pos < text_.size()) {
                    std::size_t next = pos;
                    const char32_t kana = decodeUtf8(text_, next);
                    if (classifyRecipientChar(kana).kind != RecipientCharKind::HalfWidthKana)
                        break;
                    run += kana;
                    pos = next;
                    column += utf16Units(kana);
                }
                onKanaRun(line, startColumn, text_.substr(start, pos - start), run);
                continue;
            }
            const std::string_view character = text_.substr(pos, end - pos);
            if (info.kind == RecipientCharKind::MachineDependent)
                onMachineDependent(line, column, character, info);
            else
                onOrdinary(character);
            pos = end;
            if (codePoint == '\n') {
                ++line;
                column = 1;
            } else {
                column += utf16Units(codePoint);
            }
        }
    }

  private:
    std::string_view text_;
};

} // namespace

std::vector<RecipientCharFinding> findRecipientChars(std::string_view utf8Text) {
    std::vector<RecipientCharFinding> findings;
    RecipientCharWalker(utf8Text).walk(
        [](std::string_view) {},
        [&](int line, int column, std::string_view character, const RecipientCharInfo &info) {
            findings.push_back({line, column, machineDependentMessage(character, info),
                                MACHINE_DEPENDENT_RULE_NAME});
        },
        [&](int line, int column, std::string_view run, const std::u32string &codePoints) {
            // Every half-width kana is three bytes in UTF-8.
            const bool cut = codePoints.size() > SHOWN_RUN_LENGTH;
            const std::string_view shown = cut ? run.substr(0, SHOWN_RUN_LENGTH * 3) : run;
            const std::u32string shownCodePoints =
                cut ? codePoints.substr(0, SHOWN_RUN_LENGTH) : codePoints;
            findings.push_back({line, column, halfWidthKanaMessage(shown, shownCodePoints, cut),
                                HALF_WIDTH_KANA_RULE_NAME});
        });
    return findings;
}

std::string fixRecipientChars(std::string_view utf8Text) {
    std::string fixed;
    fixed.reserve(utf8Text.size());
    RecipientCharWalker(utf8Text).walk(
        [&](std::string_view character) { fixed.append(character); },
        [&](int, int, std::string_view character, const RecipientCharInfo &info) {
            if (info.use == ReplacementUse::Fix)
                fixed += info.replacement;
            else
                fixed.append(character);
        },
        [&](int, int, std::string_view, const std::u32string &codePoints) {
            fixed += fullWidthKana(codePoints);
        });
    return fixed;
}

} // namespace quill
