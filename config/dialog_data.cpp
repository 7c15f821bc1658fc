// Parsing and formatting of the settings dialogs' texts.
#include "config/dialog_data.h"

#include "config/ini_entries.h"
#include "common/json_value.h"

#include <climits>

namespace quill {

int leadingInteger(const std::string &text) {
    return parseIniInteger(text);
}

std::vector<std::string> splitOptionFragments(const std::string &cell) {
    std::vector<std::string> fragments;
    std::size_t start = 0;
    while (start <= cell.size()) {
        std::size_t comma = cell.find(',', start);
        if (comma == std::string::npos)
            comma = cell.size();
        if (comma > start)
            fragments.push_back(cell.substr(start, comma - start));
        start = comma + 1;
    }
    return fragments;
}

std::string joinOptionFragments(const std::vector<std::string> &fragments) {
    std::string cell;
    for (const std::string &fragment : fragments) {
        if (!cell.empty())
            cell += ',';
        cell += fragment;
    }
    return cell;
}

std::optional<std::size_t>
firstRuleWithUnreadableOptions(const std::vector<TextLintRule> &rules,
                               const std::function<std::string(std::string_view)> &toUtf8) {
    for (std::size_t i = 0; i < rules.size(); ++i) {
        if (rules[i].options.empty())
            continue;
        const std::string object = "{" + joinOptionFragments(rules[i].options) + "}";
        if (!JsonValue::parseWhole(toUtf8(object)).isObject())
            return i;
    }
    return std::nullopt;
}

RuleRow rowOfRule(const TextLintRule &rule) {
    return RuleRow{rule.name, std::to_string(rule.weight), joinOptionFragments(rule.options),
                   rule.enabled};
}

TextLintRule ruleOfRow(const RuleRow &row) {
    TextLintRule rule;
    rule.name = row.name;
    rule.enabled = row.checked;
    rule.weight = leadingInteger(row.weight);
    rule.options = splitOptionFragments(row.options);
    return rule;
}

std::string hiddenFindingLine(const HiddenFinding &finding) {
    return finding.ruleName + ": " + finding.message;
}

std::string weightCellOf(const std::string &weightField) {
    return weightField.empty() ? std::string("0") : weightField;
}

std::string steppedThreshold(const std::string &thresholdText, int spinDelta) {
    // Only ASCII digits count, so a cut through a double-byte character does no harm.
    long long value = leadingInteger(thresholdText.substr(0, THRESHOLD_SPIN_LIMIT));
    if (spinDelta < 0 && value < INT_MAX)
        ++value;
    else if (spinDelta > 0 && value > INT_MIN)
        --value;
    return std::to_string(value);
}

} // namespace quill
