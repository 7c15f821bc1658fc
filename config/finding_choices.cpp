// The INI values of the hidden findings and of the rules switched off.
#include "config/finding_choices.h"

#include "config/config_json_text.h"
#include "config/plugin_rules.h"
#include "config/rule_weights.h"

#include <algorithm>

namespace quill {

namespace {

std::string quoted(const std::string &text, CharLengthOf charLength) {
    return "\"" + escapeJsonName(text, charLength) + "\"";
}

bool keepsItsOffState(const TextLintRule &rule) {
    return !rule.options.empty() || isPluginRuleName(rule.name);
}

} // namespace

std::string buildHiddenFindingsText(const std::vector<HiddenFinding> &findings,
                                    CharLengthOf charLength) {
    std::string text = "[";
    for (const HiddenFinding &finding : findings) {
        if (text.size() > 1)
            text += ',';
        text += "{\"rule\":" + quoted(finding.ruleName, charLength) +
                ",\"message\":" + quoted(finding.message, charLength) + "}";
    }
    return text + "]";
}

bool isReadableHiddenFindingsValue(const JsonValue &value) {
    return value.isArray();
}

std::vector<HiddenFinding> hiddenFindingsFromJson(const JsonValue &value,
                                                  const RecordTextConverter &toRecordText) {
    std::vector<HiddenFinding> findings;
    if (!value.isArray())
        return findings;
    for (const JsonValue &entry : value.elements()) {
        if (!entry.isObject() || !entry.member("rule").isString() ||
            !entry.member("message").isString())
            continue;
        HiddenFinding finding;
        toRecordText(entry.member("rule").asString(), finding.ruleName);
        toRecordText(entry.member("message").asString(), finding.message);
        if (std::find(findings.begin(), findings.end(), finding) == findings.end())
            findings.push_back(std::move(finding));
    }
    return findings;
}

std::string buildDisabledRulesText(const std::vector<TextLintRule> &rules,
                                   CharLengthOf charLength) {
    std::string text = "[";
    for (const TextLintRule &rule : rules) {
        if (rule.enabled || !keepsItsOffState(rule))
            continue;
        if (text.size() > 1)
            text += ',';
        text += quoted(rule.name, charLength);
    }
    return text + "]";
}

void applyDisabledRules(const JsonValue &value, std::vector<TextLintRule> &rules,
                        const RecordTextConverter &toRecordText) {
    std::vector<std::string> listed;
    if (value.isArray()) {
        for (const JsonValue &entry : value.elements()) {
            if (!entry.isString())
                continue;
            std::string name;
            toRecordText(entry.asString(), name);
            listed.push_back(std::move(name));
        }
    }
    for (TextLintRule &rule : rules) {
        const bool off = std::find(listed.begin(), listed.end(), rule.name) != listed.end();
        if (off)
            rule.enabled = false;
        else if (isPluginRuleName(rule.name))
            rule.enabled = true;
    }
}

bool switchRuleOffIn(std::vector<TextLintRule> &rules, const std::string &ruleName,
                     CharLengthOf charLength) {
    for (TextLintRule &rule : rules) {
        if (rule.name != ruleName)
            continue;
        const bool changed = rule.enabled;
        rule.enabled = false;
        return changed;
    }
    if (isPluginRuleName(ruleName)) {
        rules.push_back(TextLintRule{ruleName, false, 0, {}});
        return true;
    }
    // A rule of a preset: the preset stays on with that rule switched off in its options.
    const TextLintRule *preset = weighingRule(rules, ruleName);
    const std::size_t slash = ruleName.find('/');
    if (preset == nullptr || slash == std::string::npos)
        return false;
    for (TextLintRule &rule : rules) {
        if (&rule != preset)
            continue;
        const std::string key =
            "\"" + escapeJsonName(ruleName.substr(slash + 1), charLength) + "\":";
        const std::string off = key + "false";
        if (std::find(rule.options.begin(), rule.options.end(), off) != rule.options.end())
            return false;
        rule.options.erase(std::remove_if(rule.options.begin(), rule.options.end(),
                                          [&key](const std::string &fragment) {
                                              return fragment.compare(0, key.size(), key) == 0;
                                          }),
                           rule.options.end());
        // A preset that was on without options takes its check box's state into the object.
        if (rule.enabled || !rule.options.empty())
            rule.options.push_back(off);
        return true;
    }
    return false;
}

} // namespace quill
