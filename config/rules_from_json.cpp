// Reads the rules and their weights out of the parsed INI values.
#include "config/rules_from_json.h"

namespace quill {

namespace {

std::string optionFragment(const std::string &name, const JsonValue &value,
                           const RecordTextConverter &toRecordText) {
    std::string held;
    if (toRecordText(jsonStringLiteral(name, false) + ":" + value.serialize(false), held))
        return held;
    return jsonStringLiteral(name, true) + ":" + value.serialize(true);
}

} // namespace

bool isReadableRulesValue(const JsonValue &rulesConfig) {
    return rulesConfig.isObject() &&
           (!rulesConfig.hasMember("rules") || rulesConfig.member("rules").isObject());
}

bool isReadableWeightsValue(const JsonValue &weights) {
    if (!weights.isObject())
        return false;
    for (const auto &member : weights.members())
        if (!member.second.isNumber())
            return false;
    return true;
}

std::vector<TextLintRule> rulesFromJson(const JsonValue &rulesConfig, const JsonValue &weights,
                                        const RecordTextConverter &toRecordText) {
    std::vector<TextLintRule> rules;
    if (!rulesConfig.hasMember("rules"))
        return rules;
    for (const auto &[name, value] : rulesConfig.member("rules").members()) {
        TextLintRule rule;
        toRecordText(name, rule.name);
        if (value.isBool()) {
            rule.enabled = value.asBool();
        } else if (value.isObject()) {
            rule.enabled = true;
            for (const auto &[optionName, optionValue] : value.members())
                rule.options.push_back(optionFragment(optionName, optionValue, toRecordText));
        }
        if (weights.hasMember(name))
            rule.weight = weights.member(name).asInteger();
        rules.push_back(std::move(rule));
    }
    return rules;
}

} // namespace quill
