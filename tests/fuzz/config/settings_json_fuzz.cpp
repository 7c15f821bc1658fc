// Fuzzes the reading of the rules and weights texts: no input may crash, values judged
// readable never fail, and rules read from any input must be written as JSON that reads
// back to the same rules, with options the settings dialog accepts.
#include "config/config_json_text.h"
#include "config/dialog_data.h"
#include "common/json_value.h"
#include "config/rules_from_json.h"

#include <cstdint>
#include <cstdlib>
#include <string_view>

namespace {

bool keepUtf8(std::string_view utf8, std::string &out) {
    out.assign(utf8);
    return true;
}

// As the settings reader does: values it cannot read give no rules. Values it judges
// readable must never make the rule reading fail.
bool readRules(std::string_view rulesText, std::string_view weightsText,
               std::vector<quill::TextLintRule> &rules) {
    quill::JsonValue rulesConfig = quill::JsonValue::parseLenient(rulesText);
    quill::JsonValue weights = quill::JsonValue::parseLenient(weightsText);
    if (!quill::isReadableRulesValue(rulesConfig) || !quill::isReadableWeightsValue(weights))
        return false;
    try {
        rules = quill::rulesFromJson(rulesConfig, weights, keepUtf8);
    } catch (const quill::JsonTypeError &) {
        std::abort();
    }
    return true;
}

bool sameRules(const std::vector<quill::TextLintRule> &a,
               const std::vector<quill::TextLintRule> &b) {
    if (a.size() != b.size())
        return false;
    for (std::size_t i = 0; i < a.size(); ++i)
        if (a[i].name != b[i].name || a[i].enabled != b[i].enabled || a[i].weight != b[i].weight ||
            a[i].options != b[i].options)
            return false;
    return true;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
    // The rules text, a NUL, then the weights text (the weight list "{}" when there is none).
    std::string_view input(reinterpret_cast<const char *>(data), size);
    std::size_t split = input.find('\0');
    std::string_view rulesText = input.substr(0, split);
    std::string_view weightsText =
        split == std::string_view::npos ? std::string_view("{}") : input.substr(split + 1);

    std::vector<quill::TextLintRule> rules;
    if (!readRules(rulesText, weightsText, rules))
        return 0;
    std::string rulesWritten = quill::buildTextLintConfigText(rules, false, nullptr);
    std::string weightsWritten = quill::buildWeightListText(rules, nullptr);
    // Options read from the file are what the settings dialog accepts.
    if (quill::firstRuleWithUnreadableOptions(rules,
                                              [](std::string_view t) { return std::string(t); }))
        std::abort();
    std::vector<quill::TextLintRule> again;
    if (!readRules(rulesWritten, weightsWritten, again) || !sameRules(rules, again))
        std::abort();
    quill::buildTextLintConfigText(rules, true, nullptr);
    return 0;
}
