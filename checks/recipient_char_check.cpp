// The rules of the characters a recipient may not see: machine-dependent characters and runs
// of half-width katakana, each with its replacement when one is certain.
#include "checks/recipient_char_check.h"

#include "common/utf8.h"
#include "config/plugin_rules.h"
#include "checks/own_rules.h"
#include "checks/recipient_chars.h"
#include "checks/recipient_code_pages.h"

namespace quill {

namespace {

// A half-width run is named in its finding up to this many characters, so that a line of
// them still makes a message the result window can show.
constexpr std::size_t SHOWN_RUN_LENGTH = 20;

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

bool isHalfWidthKana(char32_t codePoint) {
    return classifyRecipientChar(codePoint).kind == RecipientCharKind::HalfWidthKana;
}

void checkMachineDependentCharacters(std::string_view text, const OwnCheckContext &context,
                                     std::vector<OwnRuleHit> &hits) {
    if (!codePageHidesRecipientChars(context.codePage))
        return;
    std::size_t pos = 0;
    while (pos < text.size()) {
        // ASCII is never machine-dependent: skipped without decoding.
        if (static_cast<unsigned char>(text[pos]) < 0x80) {
            ++pos;
            continue;
        }
        const std::size_t begin = pos;
        const RecipientCharInfo info = classifyRecipientChar(decodeUtf8(text, pos));
        if (info.kind != RecipientCharKind::MachineDependent)
            continue;
        OwnRuleHit hit;
        hit.begin = begin;
        hit.end = pos;
        hit.message = machineDependentMessage(text.substr(begin, pos - begin), info);
        // Kanji variants are only suggested: a name must not change.
        if (info.use == ReplacementUse::Fix)
            hit.replacement = info.replacement;
        hits.push_back(std::move(hit));
    }
}

void checkHalfWidthKana(std::string_view text, const OwnCheckContext &context,
                        std::vector<OwnRuleHit> &hits) {
    if (!codePageHidesRecipientChars(context.codePage))
        return;
    // Every half-width kana is three bytes in UTF-8, led by EF: only those bytes are looked at.
    for (std::size_t pos = text.find('\xEF'); pos != std::string_view::npos;
         pos = text.find('\xEF', pos)) {
        const std::size_t begin = pos;
        std::u32string run;
        while (pos < text.size()) {
            std::size_t next = pos;
            const char32_t kana = decodeUtf8(text, next);
            if (!isHalfWidthKana(kana))
                break;
            run += kana;
            pos = next;
        }
        if (run.empty()) {
            ++pos;
            continue;
        }
        const std::string_view written = text.substr(begin, pos - begin);
        const bool cut = run.size() > SHOWN_RUN_LENGTH;
        const std::string_view shown = cut ? written.substr(0, SHOWN_RUN_LENGTH * 3) : written;
        const std::u32string shownCodePoints = cut ? run.substr(0, SHOWN_RUN_LENGTH) : run;
        OwnRuleHit hit;
        hit.begin = begin;
        hit.end = pos;
        hit.message = halfWidthKanaMessage(shown, shownCodePoints, cut);
        hit.replacement = fullWidthKana(run);
        hits.push_back(std::move(hit));
    }
}

// The settings under which only these two rules run, in a code page that can lose the
// characters.
TextLintSettings recipientCharsOnly() {
    TextLintSettings settings;
    for (const OwnRule &rule : ownRules())
        settings.*rule.setting = false;
    settings.checkMachineDependentCharacters = true;
    return settings;
}

constexpr int SHIFT_JIS_CODE_PAGE = 932;

} // namespace

extern const OwnRule MACHINE_DEPENDENT_CHARACTER_RULE{
    MACHINE_DEPENDENT_RULE_NAME, checkMachineDependentCharacters,
    &TextLintSettings::checkMachineDependentCharacters};
extern const OwnRule HALF_WIDTH_KANA_RULE{HALF_WIDTH_KANA_RULE_NAME, checkHalfWidthKana,
                                          &TextLintSettings::checkMachineDependentCharacters};

std::vector<RecipientCharFinding> findRecipientChars(std::string_view utf8Text) {
    OwnCheckContext context;
    context.codePage = SHIFT_JIS_CODE_PAGE;
    std::vector<RecipientCharFinding> findings;
    for (OwnRuleFinding &finding : checkOwnRules(utf8Text, context, recipientCharsOnly()))
        findings.push_back(
            {finding.line, finding.column, std::move(finding.message), finding.ruleName});
    return findings;
}

std::string fixRecipientChars(std::string_view utf8Text) {
    OwnCheckContext context;
    context.codePage = SHIFT_JIS_CODE_PAGE;
    return fixOwnRules(utf8Text, context, recipientCharsOnly());
}

} // namespace quill
