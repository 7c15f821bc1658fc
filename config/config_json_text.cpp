// Builds the weight list and the textlint configuration texts from the rules.
#include "config/config_json_text.h"

#include "config/plugin_rules.h"

#include <cstdio>

namespace quill {

std::string escapeJsonName(std::string_view name, CharLengthOf charLength) {
    std::string out;
    out.reserve(name.size());
    for (std::size_t i = 0; i < name.size(); ++i) {
        unsigned char byte = static_cast<unsigned char>(name[i]);
        const std::size_t length = charLength != nullptr ? charLength(byte) : 1;
        if (length > 1 && length <= name.size() - i) {
            out.append(name, i, length);
            i += length - 1;
        } else if (byte == '"' || byte == '\\') {
            out += '\\';
            out += name[i];
        } else if (byte < 0x20) {
            char escape[8];
            std::snprintf(escape, std::size(escape), "\\u%04x", byte);
            out += escape;
        } else {
            out += name[i];
        }
    }
    return out;
}

std::string buildWeightListText(const std::vector<TextLintRule> &rules, CharLengthOf charLength) {
    std::string text = "{";
    for (std::size_t i = 0; i < rules.size(); ++i) {
        if (i != 0)
            text += ',';
        text += '"';
        text += escapeJsonName(rules[i].name, charLength);
        text += "\":";
        text += std::to_string(rules[i].weight);
    }
    text += '}';
    return text;
}

std::string buildTextLintConfigText(const std::vector<TextLintRule> &rules, bool withHtmlPlugin,
                                    CharLengthOf charLength) {
    std::string text;
    text.reserve(1024);
    text += '{';
    if (withHtmlPlugin)
        text += "\"plugins\":[ \"html\" ], ";
    if (!rules.empty())
        text += "\"rules\":{";
    for (std::size_t i = 0; i < rules.size(); ++i) {
        const TextLintRule &rule = rules[i];
        if (i != 0)
            text += ',';
        text += '"';
        text += escapeJsonName(rule.name, charLength);
        text += "\":";
        if (rule.options.empty()) {
            text += rule.enabled ? "true" : "false";
            continue;
        }
        text += '{';
        for (std::size_t k = 0; k < rule.options.size(); ++k) {
            if (k != 0)
                text += ',';
            text += rule.options[k];
        }
        text += '}';
    }
    if (!rules.empty())
        text += '}';
    text += '}';
    return text;
}

bool configuresAnyRule(const std::vector<TextLintRule> &rules) {
    for (const TextLintRule &rule : rules)
        if (rule.enabled && !isPluginRuleName(rule.name))
            return true;
    return false;
}

std::vector<TextLintRule> textLintRulesOf(const std::vector<TextLintRule> &rules) {
    std::vector<TextLintRule> kept;
    kept.reserve(rules.size());
    for (const TextLintRule &rule : rules)
        if (!isPluginRuleName(rule.name))
            kept.push_back(rule);
    return kept;
}

} // namespace quill
