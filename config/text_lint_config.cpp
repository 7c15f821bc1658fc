// The settings record: reading and writing its INI section, the rules under a lock shared
// with the check runs, and the textlint configuration text.
#include "config/text_lint_config.h"

#include "common/ansi_encoding.h"
#include "common/system_error.h"
#include "config/config_json_text.h"
#include "config/ini_entries.h"
#include "common/json_value.h"
#include "config/plugin_rules.h"
#include "config/rule_weights.h"
#include "config/rules_from_json.h"
#include "config/textlint_command_path.h"
#include "config/textlint_lookup.h"

#include <shlwapi.h>

#include <algorithm>
#include <climits>
#include <new>
#include <stdexcept>

namespace quill {

const char DEFAULT_TEXTLINT_CMD_PATH[] =
    "C:\\Users\\Administrator\\AppData\\Roaming\\npm\\textlint.cmd";

namespace {

// The first size tried for the section; the buffer doubles until the whole section fits.
constexpr DWORD INITIAL_SECTION_BUFFER_SIZE = 10240;

// The INI value (ANSI) as UTF-16; raises the reader's texts on failure.
std::u16string utf16FromIniValue(const std::string &value) {
    std::u16string szBufIniDataW;
    try {
        std::wstring wide = wideFromAnsi(value);
        if (wide.empty() && !value.empty())
            throw std::runtime_error("TextLintConfig::readConfigFile() failed. cannot convert "
                                     "MultiByteChar to WideChar for result of lint text.");
        szBufIniDataW.assign(wide.begin(), wide.end());
    } catch (const std::bad_alloc &) {
        throw std::runtime_error(
            "TextLintConfig::readConfigFile() failed. cannot allocate memory of szBufIniDataW.");
    }
    return szBufIniDataW;
}

// WritePrivateProfileStringA passes its value through a counted UTF-16 string limited to
// 32767 units: a longer value (the rules text of a large rule set) is written garbled while
// the call reports success. Long values therefore go through the W call; for an ANSI file
// the bytes written are the same.
constexpr std::size_t LONG_INI_VALUE = 32000;

bool writeIniValue(const std::string &section, const char *key, const std::string &value,
                   const std::string &iniPath) {
    BOOL ok;
    if (value.size() < LONG_INI_VALUE) {
        ok = WritePrivateProfileStringA(section.c_str(), key, value.c_str(), iniPath.c_str());
    } else {
        std::wstring valueW = wideFromAnsi(value);
        ok = !valueW.empty() &&
             WritePrivateProfileStringW(wideFromAnsi(section).c_str(), wideFromAnsi(key).c_str(),
                                        valueW.c_str(), wideFromAnsi(iniPath).c_str());
    }
    if (!ok)
        writeLastErrorDiagnostic("TextLintConfig::writeConfigFile() failed. cannot write " +
                                     std::string(key) + ". ",
                                 GetLastError());
    return ok != FALSE;
}

bool isBlank(const std::string &text) {
    return text.find_first_not_of(" \t\r\n") == std::string::npos;
}

// The INI file is made of lines: a line break inside a value would cut it there and leave
// the rest as a stray line. In a rules text that reads back, a line break can only stand
// between JSON tokens (inside a string it would be invalid), where a blank means the same.
std::string onOneLine(std::string text) {
    for (char &c : text)
        if (c == '\r' || c == '\n')
            c = ' ';
    return text;
}

const TextLintRule *findIn(const std::vector<TextLintRule> &rules, std::string_view name) {
    for (const TextLintRule &rule : rules)
        if (rule.name == name)
            return &rule;
    return nullptr;
}

} // namespace

TextLintConfig &TextLintConfig::getInstance() {
    static TextLintConfig instance;
    return instance;
}

TextLintConfig::TextLintConfig() : textLintCmdPath_(DEFAULT_TEXTLINT_CMD_PATH) {}

bool TextLintConfig::readConfigFile(std::string iniPath) {
    // A section cut short would lose the rules text or, worse, the weights text (which
    // stops the load), so grow the buffer until the platform no longer reports a cut.
    std::string section;
    DWORD size = INITIAL_SECTION_BUFFER_SIZE;
    for (;;) {
        try {
            section.assign(size, '\0');
        } catch (const std::bad_alloc &) {
            writeDiagnosticLine("TextLintConfig::readConfigFile() failed. cannot allocate "
                                "memory to read INI file.");
            return false;
        }
        DWORD length =
            GetPrivateProfileSectionA(sectionName.c_str(), section.data(), size, iniPath.c_str());
        if (length + 2 < size) {
            section.resize(length);
            break;
        }
        if (size > INT_MAX / 2) {
            writeDiagnosticLine("TextLintConfig::readConfigFile() failed. cannot allocate "
                                "memory to read INI file.");
            return false;
        }
        size *= 2;
    }

    std::string rulesText = "{}";
    std::string weightsText = "{}";
    std::string disabledText;
    std::string hiddenText;
    {
        std::lock_guard<std::recursive_mutex> lock(mutex_);
        rulesKeyRead_ = false;
        for (const IniEntry &entry : splitSectionEntries(section)) {
            const std::string_view key = entry.key;
            if (key == "TextLintCmdPath")
                textLintCmdPath_.assign(entry.value);
            else if (key == "EnableEvaluateValueThreshold")
                settings_.enableEvaluateValueThreshold = parseIniBool(entry.value);
            else if (key == "EvaluateValueThreshold")
                settings_.evaluateValueThreshold = parseIniInteger(entry.value);
            else if (key == "EvaluateWeightList")
                weightsText.assign(entry.value);
            else if (key == "EnableProofreadingHTMLMail")
                settings_.enableProofreadingHTMLMail = parseIniBool(entry.value);
            else if (key == "TextLintConfig") {
                rulesText.assign(entry.value);
                rulesKeyRead_ = true;
            } else if (key == "ResultWindowX")
                settings_.resultWindowX = parseIniInteger(entry.value);
            else if (key == "ResultWindowY")
                settings_.resultWindowY = parseIniInteger(entry.value);
            else if (key == "ResultWindowWidth")
                settings_.resultWindowWidth = parseIniInteger(entry.value);
            else if (key == "ResultWindowHeight")
                settings_.resultWindowHeight = parseIniInteger(entry.value);
            else if (key == "EnableResidentTextLint")
                settings_.enableResidentTextLint = parseIniBool(entry.value);
            else if (key == "ExcludeQuotedLines")
                settings_.excludeQuotedLines = parseIniBool(entry.value);
            else if (key == "QuoteMarks")
                settings_.quoteMarks.assign(entry.value);
            else if (key == "ExcludeSignature")
                settings_.excludeSignature = parseIniBool(entry.value);
            else if (key == "CheckMachineDependentCharacters")
                settings_.checkMachineDependentCharacters = parseIniBool(entry.value);
            else if (key == "CheckDateWeekdays")
                settings_.checkDateWeekdays = parseIniBool(entry.value);
            else if (key == "CheckHonorifics")
                settings_.checkHonorifics = parseIniBool(entry.value);
            else if (key == "RemindForgottenAttachment")
                settings_.remindForgottenAttachment = parseIniBool(entry.value);
            else if (key == "RemindMismatchedAddressee")
                settings_.remindMismatchedAddressee = parseIniBool(entry.value);
            else if (key == "CheckWhileTyping")
                settings_.checkWhileTyping = parseIniBool(entry.value);
            else if (key == "CheckWhileTypingDelay")
                settings_.checkWhileTypingDelay =
                    clampCheckWhileTypingDelay(parseIniInteger(entry.value));
            else if (key == "DisabledRules")
                disabledText.assign(entry.value);
            else if (key == "HiddenFindings")
                hiddenText.assign(entry.value);
            else
                writeDiagnosticLine("ignore unknown config: " + std::string(key));
        }
    }
    section.clear();
    section.shrink_to_fit();

    // A blank value holds nothing to lose: it reads as no rules and no weights.
    if (isBlank(rulesText))
        rulesText = "{}";
    if (isBlank(weightsText))
        weightsText = "{}";
    const JsonValue rulesConfig = JsonValue::parseLenient(utf16FromIniValue(rulesText));
    const JsonValue weights = JsonValue::parseLenient(utf16FromIniValue(weightsText));
    // A value the plug-in cannot read (not JSON, or of the wrong shape) is neither used nor
    // replaced: the plug-in runs without rules, and the two values stay in the file as they
    // are until rules are entered anew, so that a slip made by hand costs no rule.
    std::vector<std::string> unreadable;
    if (!isReadableRulesValue(rulesConfig))
        unreadable.push_back("TextLintConfig");
    if (!isReadableWeightsValue(weights))
        unreadable.push_back("EvaluateWeightList");
    std::vector<TextLintRule> loaded;
    if (unreadable.empty()) {
        // The record holds ANSI text, as the INI file and the dialogs do, so that names and
        // options keep their bytes across saves and loads.
        loaded = rulesFromJson(rulesConfig, weights, ansiFromUtf8);
        // Without the key (a file of an earlier version) the rules read as they always did.
        applyDisabledRules(isBlank(disabledText)
                               ? JsonValue()
                               : JsonValue::parseLenient(utf16FromIniValue(disabledText)),
                           loaded, ansiFromUtf8);
    }
    std::vector<HiddenFinding> hidden;
    if (!isBlank(hiddenText)) {
        const JsonValue hiddenValue = JsonValue::parseLenient(utf16FromIniValue(hiddenText));
        if (isReadableHiddenFindingsValue(hiddenValue)) {
            hidden = hiddenFindingsFromJson(hiddenValue, ansiFromUtf8);
            hiddenText.clear();
        } else {
            writeDiagnosticLine("TextLintConfig::readConfigFile() failed. cannot parse "
                                "HiddenFindings.");
        }
    }
    for (const std::string &key : unreadable)
        writeDiagnosticLine("TextLintConfig::readConfigFile() failed. cannot parse " + key + ".");

    std::lock_guard<std::recursive_mutex> lock(mutex_);
    rules_.insert(rules_.end(), std::make_move_iterator(loaded.begin()),
                  std::make_move_iterator(loaded.end()));
    hiddenFindings_ = std::move(hidden);
    unreadableHiddenFindings_ = isBlank(hiddenText) ? std::string() : hiddenText;
    if (!unreadable.empty()) {
        keepStoredRules_ = true;
        unreadableKeys_ = unreadable;
    }
    return true;
}

bool TextLintConfig::writeConfigFile(std::string iniPath) {
    // Every key is written even when one fails; the result says whether all arrived.
    // An empty path would make the platform write into a file of the Windows folder.
    if (iniPath.empty())
        return false;
    std::vector<TextLintRule> rules;
    std::string cmdPath;
    TextLintSettings settings;
    bool keepStoredRules;
    std::string hiddenText;
    {
        std::lock_guard<std::recursive_mutex> lock(mutex_);
        rules = rules_;
        hiddenText = hiddenFindings_.empty() && !unreadableHiddenFindings_.empty()
                         ? unreadableHiddenFindings_
                         : buildHiddenFindingsText(hiddenFindings_, ansiCharLength);
        cmdPath = textLintCmdPath_;
        settings = settings_;
        // Rules entered since the load replace the values that could not be read.
        keepStoredRules = keepStoredRules_ && rules_.empty();
    }
    bool allWritten = true;
    const auto write = [&](const char *key, const std::string &value) {
        allWritten = writeIniValue(sectionName, key, value, iniPath) && allWritten;
    };
    write("ResultWindowX", std::to_string(settings.resultWindowX));
    write("ResultWindowY", std::to_string(settings.resultWindowY));
    write("ResultWindowWidth", std::to_string(settings.resultWindowWidth));
    write("ResultWindowHeight", std::to_string(settings.resultWindowHeight));
    // The value set is kept, except the default (or no value at all, which reads as the
    // default) that names nothing: the textlint.cmd found in its place is written. The
    // bundled textlint is not: it is found beside the DLL wherever the DLL goes.
    if (cmdPath == DEFAULT_TEXTLINT_CMD_PATH && commandPathWasFound() && !commandPathIsBundled())
        cmdPath = commandPathInUse();
    write("TextLintCmdPath", cmdPath);
    write("EnableEvaluateValueThreshold", settings.enableEvaluateValueThreshold ? "true" : "false");
    write("EnableProofreadingHTMLMail", settings.enableProofreadingHTMLMail ? "true" : "false");
    write("EvaluateValueThreshold", std::to_string(settings.evaluateValueThreshold));
    if (!keepStoredRules) {
        write("EvaluateWeightList", buildWeightListText(rules, ansiCharLength));
        write("TextLintConfig", onOneLine(buildTextLintConfigText(rules, false, ansiCharLength)));
        write("DisabledRules", buildDisabledRulesText(rules, ansiCharLength));
    }
    write("EnableResidentTextLint", settings.enableResidentTextLint ? "true" : "false");
    write("ExcludeQuotedLines", settings.excludeQuotedLines ? "true" : "false");
    write("QuoteMarks", settings.quoteMarks);
    write("ExcludeSignature", settings.excludeSignature ? "true" : "false");
    write("CheckMachineDependentCharacters",
          settings.checkMachineDependentCharacters ? "true" : "false");
    write("CheckDateWeekdays", settings.checkDateWeekdays ? "true" : "false");
    write("CheckHonorifics", settings.checkHonorifics ? "true" : "false");
    write("RemindForgottenAttachment", settings.remindForgottenAttachment ? "true" : "false");
    write("RemindMismatchedAddressee", settings.remindMismatchedAddressee ? "true" : "false");
    write("CheckWhileTyping", settings.checkWhileTyping ? "true" : "false");
    write("CheckWhileTypingDelay", std::to_string(settings.checkWhileTypingDelay));
    write("HiddenFindings", hiddenText);
    return allWritten;
}

std::vector<std::string> TextLintConfig::takeUnreadableKeys() {
    std::lock_guard<std::recursive_mutex> lock(mutex_);
    std::vector<std::string> keys;
    keys.swap(unreadableKeys_);
    return keys;
}

bool TextLintConfig::rulesKeyRead() {
    std::lock_guard<std::recursive_mutex> lock(mutex_);
    return rulesKeyRead_;
}

bool TextLintConfig::saveConfig() {
    return writeConfigFile(getIniFilePath());
}

std::string TextLintConfig::getIniFilePath() {
    std::lock_guard<std::recursive_mutex> lock(mutex_);
    return iniFilePath_;
}

void TextLintConfig::setIniFilePath(const std::string &path) {
    std::lock_guard<std::recursive_mutex> lock(mutex_);
    iniFilePath_ = path;
}

std::string TextLintConfig::getTextLintCmdPath() {
    std::lock_guard<std::recursive_mutex> lock(mutex_);
    return textLintCmdPath_;
}

std::string TextLintConfig::commandPathInUse() {
    // The file system is asked outside the lock: a run on a worker must not keep the
    // dialog waiting for a slow network drive.
    std::string configured = getTextLintCmdPath();
    if (commandFileExists(configured))
        return configured;
    std::string found;
    {
        std::lock_guard<std::recursive_mutex> lock(mutex_);
        found = foundCmdPath_;
    }
    if (found.empty())
        found = findTextLintCommand();
    if (found.empty())
        return configured;
    std::lock_guard<std::recursive_mutex> lock(mutex_);
    foundCmdPath_ = found;
    return found;
}

bool TextLintConfig::commandPathWasFound() {
    std::string inUse = commandPathInUse();
    std::lock_guard<std::recursive_mutex> lock(mutex_);
    return !foundCmdPath_.empty() && inUse == foundCmdPath_ && inUse != textLintCmdPath_;
}

bool TextLintConfig::commandPathIsBundled() {
    const std::string bundled = bundledTextLintCommand();
    return !bundled.empty() && unquotedCommandPath(commandPathInUse()) == bundled;
}

bool TextLintConfig::setTextLintCmdPath(const std::string &path) {
    if (!PathFileExistsA(path.c_str()))
        return false;
    std::lock_guard<std::recursive_mutex> lock(mutex_);
    textLintCmdPath_ = path;
    return true;
}

void TextLintConfig::restoreTextLintCmdPath(const std::string &path) {
    std::lock_guard<std::recursive_mutex> lock(mutex_);
    textLintCmdPath_ = path;
}

std::vector<TextLintRule> TextLintConfig::getRules() {
    std::lock_guard<std::recursive_mutex> lock(mutex_);
    return rules_;
}

void TextLintConfig::setRules(const std::vector<TextLintRule> &rules) {
    std::vector<TextLintRule> copy = rules;
    std::lock_guard<std::recursive_mutex> lock(mutex_);
    rules_.swap(copy);
}

std::optional<TextLintRule> TextLintConfig::findRule(const std::string &name) {
    std::lock_guard<std::recursive_mutex> lock(mutex_);
    if (const TextLintRule *rule = findIn(rules_, name))
        return *rule;
    return std::nullopt;
}

int TextLintConfig::sumWeights(const std::vector<std::string> &ruleNames) {
    std::lock_guard<std::recursive_mutex> lock(mutex_);
    // Summed wide and clamped: many findings of a heavy rule must not wrap to a small or
    // negative value that would let the send through.
    long long sum = 0;
    for (const std::string &name : ruleNames)
        if (const TextLintRule *rule = weighingRule(rules_, name))
            sum += rule->weight;
    if (sum > INT_MAX)
        sum = INT_MAX;
    else if (sum < INT_MIN)
        sum = INT_MIN;
    return static_cast<int>(sum);
}

TextLintSettings TextLintConfig::snapshot() {
    std::lock_guard<std::recursive_mutex> lock(mutex_);
    return settings_;
}

void TextLintConfig::update(const std::function<void(TextLintSettings &)> &change) {
    std::lock_guard<std::recursive_mutex> lock(mutex_);
    change(settings_);
}

bool TextLintConfig::switchRuleOff(const std::string &ruleName) {
    std::lock_guard<std::recursive_mutex> lock(mutex_);
    return switchRuleOffIn(rules_, ruleName, ansiCharLength);
}

bool TextLintConfig::isOwnRuleOff(const std::string &ruleName) {
    if (!isPluginRuleName(ruleName))
        return false;
    std::lock_guard<std::recursive_mutex> lock(mutex_);
    const TextLintRule *rule = findIn(rules_, ruleName);
    return rule != nullptr && !rule->enabled;
}

std::vector<HiddenFinding> TextLintConfig::getHiddenFindings() {
    std::lock_guard<std::recursive_mutex> lock(mutex_);
    return hiddenFindings_;
}

void TextLintConfig::setHiddenFindings(const std::vector<HiddenFinding> &findings) {
    std::lock_guard<std::recursive_mutex> lock(mutex_);
    hiddenFindings_ = findings;
    unreadableHiddenFindings_.clear();
}

bool TextLintConfig::addHiddenFinding(const HiddenFinding &finding) {
    std::lock_guard<std::recursive_mutex> lock(mutex_);
    if (std::find(hiddenFindings_.begin(), hiddenFindings_.end(), finding) != hiddenFindings_.end())
        return false;
    hiddenFindings_.push_back(finding);
    unreadableHiddenFindings_.clear();
    return true;
}

std::string TextLintConfig::buildTextLintConfigJson() {
    std::string ansi;
    {
        std::lock_guard<std::recursive_mutex> lock(mutex_);
        // A rule that is off keeps its options in the settings, not in what textlint reads:
        // its option object would switch it on.
        std::vector<TextLintRule> rules = textLintRulesOf(rules_);
        for (TextLintRule &rule : rules)
            if (!rule.enabled)
                rule.options.clear();
        ansi = buildTextLintConfigText(rules, settings_.enableProofreadingHTMLMail, ansiCharLength);
    }
    // textlint reads its configuration as UTF-8.
    std::string utf8 = utf8FromAnsi(ansi);
    return utf8.empty() ? ansi : utf8;
}

} // namespace quill
