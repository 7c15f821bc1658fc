// The registry of the plug-in's own rules, and what all of them share: turning a rule's
// byte places into textlint's lines, columns and UTF-16 ranges, and applying fixes.
#include "checks/own_rules.h"

#include "common/utf8.h"

#include <algorithm>

namespace quill {

// Each rule is defined in a file of its own; registering one is one line here. Their order
// is the order of their findings at the same place.
#define QUILL_OWN_RULES(RULE)                                                                      \
    RULE(MACHINE_DEPENDENT_CHARACTER_RULE)                                                         \
    RULE(HALF_WIDTH_KANA_RULE)                                                                     \
    RULE(DATE_WEEKDAY_RULE)                                                                        \
    RULE(HONORIFIC_RULE)

#define QUILL_DECLARE_OWN_RULE(rule) extern const OwnRule rule;
QUILL_OWN_RULES(QUILL_DECLARE_OWN_RULE)
#undef QUILL_DECLARE_OWN_RULE

namespace {

int utf16Units(char32_t codePoint) {
    return codePoint > 0xFFFF ? 2 : 1;
}

struct Place {
    int line = 1;
    int column = 1;
    std::size_t unit = 0; // UTF-16 code units before it
};

// The places of the byte offsets `offsets` (ascending, without repeats) in one walk over
// the text. An offset inside a character takes the place of that character's start.
std::vector<Place> placesOf(std::string_view text, const std::vector<std::size_t> &offsets) {
    std::vector<Place> places;
    places.reserve(offsets.size());
    Place place;
    std::size_t pos = 0;
    for (std::size_t offset : offsets) {
        while (pos < offset && pos < text.size()) {
            std::size_t next = pos;
            const char32_t codePoint = decodeUtf8(text, next);
            if (next > offset)
                break;
            if (codePoint == '\n') {
                ++place.line;
                place.column = 1;
            } else {
                place.column += utf16Units(codePoint);
            }
            place.unit += static_cast<std::size_t>(utf16Units(codePoint));
            pos = next;
        }
        places.push_back(place);
    }
    return places;
}

constexpr std::size_t NO_BYTE = static_cast<std::size_t>(-1);

// The byte offsets of the UTF-16 positions `units` (ascending, without repeats); NO_BYTE
// for a position inside a character or beyond the text.
std::vector<std::size_t> bytesOf(std::string_view text, const std::vector<std::size_t> &units) {
    std::vector<std::size_t> bytes;
    bytes.reserve(units.size());
    std::size_t unit = 0;
    std::size_t pos = 0;
    for (std::size_t wanted : units) {
        while (unit < wanted && pos < text.size()) {
            std::size_t next = pos;
            const std::size_t width = static_cast<std::size_t>(utf16Units(decodeUtf8(text, next)));
            if (unit + width > wanted)
                break;
            unit += width;
            pos = next;
        }
        bytes.push_back(unit == wanted ? pos : NO_BYTE);
    }
    return bytes;
}

template <typename T> std::size_t indexOf(const std::vector<T> &sorted, T value) {
    return static_cast<std::size_t>(std::lower_bound(sorted.begin(), sorted.end(), value) -
                                    sorted.begin());
}

template <typename T> void sortUnique(std::vector<T> &values) {
    std::sort(values.begin(), values.end());
    values.erase(std::unique(values.begin(), values.end()), values.end());
}

} // namespace

const std::vector<OwnRule> &ownRules() {
#define QUILL_LIST_OWN_RULE(rule) rule,
    static const std::vector<OwnRule> rules{QUILL_OWN_RULES(QUILL_LIST_OWN_RULE)};
#undef QUILL_LIST_OWN_RULE
    return rules;
}

bool anyOwnRuleOn(const TextLintSettings &settings) {
    const std::vector<OwnRule> &rules = ownRules();
    return std::any_of(rules.begin(), rules.end(),
                       [&](const OwnRule &rule) { return settings.*rule.setting; });
}

std::vector<OwnRuleFinding> checkOwnRules(std::string_view utf8Text, const OwnCheckContext &context,
                                          const TextLintSettings &settings) {
    struct RuleHit {
        const char *ruleName;
        OwnRuleHit hit;
    };
    std::vector<RuleHit> hits;
    std::vector<OwnRuleHit> ruleHits;
    for (const OwnRule &rule : ownRules()) {
        if (!(settings.*rule.setting))
            continue;
        ruleHits.clear();
        rule.check(utf8Text, context, ruleHits);
        for (OwnRuleHit &hit : ruleHits)
            hits.push_back({rule.name, std::move(hit)});
    }
    std::stable_sort(hits.begin(), hits.end(),
                     [](const RuleHit &a, const RuleHit &b) { return a.hit.begin < b.hit.begin; });

    std::vector<std::size_t> offsets;
    offsets.reserve(hits.size() * 2);
    for (const RuleHit &ruleHit : hits) {
        offsets.push_back(ruleHit.hit.begin);
        if (ruleHit.hit.replacement)
            offsets.push_back(std::max(ruleHit.hit.begin, ruleHit.hit.end));
    }
    sortUnique(offsets);
    const std::vector<Place> places = placesOf(utf8Text, offsets);

    std::vector<OwnRuleFinding> findings;
    findings.reserve(hits.size());
    for (RuleHit &ruleHit : hits) {
        const Place &at = places[indexOf(offsets, ruleHit.hit.begin)];
        OwnRuleFinding finding;
        finding.line = at.line;
        finding.column = at.column;
        finding.message = std::move(ruleHit.hit.message);
        finding.ruleName = ruleHit.ruleName;
        if (ruleHit.hit.replacement) {
            const Place &end =
                places[indexOf(offsets, std::max(ruleHit.hit.begin, ruleHit.hit.end))];
            finding.fix = TextFix{at.unit, end.unit, std::move(*ruleHit.hit.replacement)};
        }
        findings.push_back(std::move(finding));
    }
    return findings;
}

std::string applyTextFixes(std::string_view utf8Text, std::vector<TextFix> fixes) {
    std::stable_sort(fixes.begin(), fixes.end(),
                     [](const TextFix &a, const TextFix &b) { return a.start < b.start; });
    std::vector<std::size_t> units;
    units.reserve(fixes.size() * 2);
    for (const TextFix &fix : fixes) {
        units.push_back(fix.start);
        units.push_back(fix.end);
    }
    sortUnique(units);
    const std::vector<std::size_t> bytes = bytesOf(utf8Text, units);

    std::string fixed;
    fixed.reserve(utf8Text.size());
    std::size_t copied = 0;
    for (const TextFix &fix : fixes) {
        const std::size_t start = bytes[indexOf(units, fix.start)];
        const std::size_t end = bytes[indexOf(units, fix.end)];
        if (start == NO_BYTE || end == NO_BYTE || end < start || start < copied)
            continue;
        fixed.append(utf8Text.substr(copied, start - copied));
        fixed += fix.text;
        copied = end;
    }
    fixed.append(utf8Text.substr(copied));
    return fixed;
}

std::string fixOwnRules(std::string_view utf8Text, const OwnCheckContext &context,
                        const TextLintSettings &settings,
                        const std::vector<std::string> &rulesOff) {
    std::vector<TextFix> fixes;
    for (OwnRuleFinding &finding : checkOwnRules(utf8Text, context, settings))
        if (finding.fix &&
            std::find(rulesOff.begin(), rulesOff.end(), finding.ruleName) == rulesOff.end())
            fixes.push_back(std::move(*finding.fix));
    if (fixes.empty())
        return std::string(utf8Text);
    return applyTextFixes(utf8Text, std::move(fixes));
}

} // namespace quill
