// Every user setting of the plug-in, its INI section beside the module, and the textlint
// configuration text built from the rules.
#pragma once

#include "config/finding_choices.h"
#include "config/text_lint_rule.h"
#include "config/text_lint_settings.h"

#include <windows.h>

#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

namespace quill {

class TextLintConfig {
  public:
    static TextLintConfig &getInstance();

    TextLintConfig();

    // Reads the whole section from `iniPath`; the rules read are appended. False only when
    // the reading buffer cannot be allocated; throws std::runtime_error when a value cannot
    // be converted from the ANSI code page. A rules or weights value that cannot be read
    // loads no rule, and both values are then left in the file as they are (see
    // takeUnreadableKeys). Rule names and options are held in the ANSI code page, as the
    // INI file and the dialogs hold them.
    bool readConfigFile(std::string iniPath);
    // Writes every key in its fixed order; false when the path is empty or a key could not
    // be written. The rules and weights are not written while values that could not be read
    // at load are kept and no rule has been entered since.
    bool writeConfigFile(std::string iniPath);
    // The keys ("TextLintConfig", "EvaluateWeightList") whose values could not be read at
    // load; empty after the first call, so that the user is told once.
    std::vector<std::string> takeUnreadableKeys();
    // Whether the last read found a "TextLintConfig" key, even an empty or unreadable one:
    // without it the file is a new install's, which may start with the recommended rules.
    bool rulesKeyRead();
    bool saveConfig();

    // The command path as set (INI or dialog); kept and written as it is.
    std::string getTextLintCmdPath();
    // The command path runs use: the one set when it names a file; otherwise the node.exe
    // of the textlint beside the plug-in's DLL, else the textlint.cmd that npm put in
    // %APPDATA%\npm or along PATH, looked for until one is found and then kept while the
    // plug-in runs; otherwise the one set.
    std::string commandPathInUse();
    // True when commandPathInUse() is a command found that way.
    bool commandPathWasFound();
    // True when commandPathInUse() is the textlint beside the plug-in's DLL.
    bool commandPathIsBundled();
    bool setTextLintCmdPath(const std::string &path);
    // Puts back a path kept earlier, without the existence test: the settings dialog
    // restores the settings that a failed test run replaced.
    void restoreTextLintCmdPath(const std::string &path);

    std::vector<TextLintRule> getRules();
    void setRules(const std::vector<TextLintRule> &rules);
    // A copy of the first rule whose name has the same bytes, or none.
    std::optional<TextLintRule> findRule(const std::string &name);
    // Sum of the weights that count for findings of `ruleNames` (one term per entry: the
    // exact rule, else the preset that reported it, see weighingRule; otherwise 0), read
    // under the settings' lock.
    int sumWeights(const std::vector<std::string> &ruleNames);

    // Switches off the rule that weighs findings of `ruleName`, keeping its options and
    // weight: the rule of that exact name; for a rule of a configured preset, that rule
    // inside the preset (an option "<rule>":false of the preset); for one of the plug-in's
    // own checks without a row, a new row. False when nothing changed.
    bool switchRuleOff(const std::string &ruleName);
    // Whether findings of `ruleName` come from a rule switched off: one of the plug-in's own
    // checks whose row is off (textlint's rules that are off report nothing).
    bool isOwnRuleOff(const std::string &ruleName);

    // The findings never to be shown again, in the order they were chosen.
    std::vector<HiddenFinding> getHiddenFindings();
    void setHiddenFindings(const std::vector<HiddenFinding> &findings);
    // Adds one unless it is there already; false when it was.
    bool addHiddenFinding(const HiddenFinding &finding);

    // The textlint configuration text, in UTF-8 (textlint's encoding). A rule that is off
    // is written as false, also when it keeps options.
    std::string buildTextLintConfigJson();

    // A copy of the plain values, taken under the lock.
    TextLintSettings snapshot();
    // Changes the plain values under the lock: `change` gets them to edit in place.
    void update(const std::function<void(TextLintSettings &)> &change);

    // Full path of the INI file; empty until the load gives one (then nothing is written).
    std::string getIniFilePath();
    void setIniFilePath(const std::string &path);

    const std::string sectionName = "Quillcheck";

  private:
    std::string iniFilePath_;
    std::vector<TextLintRule> rules_;
    std::string textLintCmdPath_;
    // The textlint.cmd found for a command path that names nothing; empty until found.
    std::string foundCmdPath_;
    TextLintSettings settings_;
    // The stored rules and weights could not be read: they are left in the file.
    bool keepStoredRules_ = false;
    bool rulesKeyRead_ = false;
    std::vector<std::string> unreadableKeys_;
    std::vector<HiddenFinding> hiddenFindings_;
    // The stored hidden findings when they could not be read: written back as they were
    // until a finding is hidden anew.
    std::string unreadableHiddenFindings_;
    // Guards every field above: check runs on worker threads read them
    // while the settings dialog may change them on the host's thread.
    std::recursive_mutex mutex_;
};

extern const char DEFAULT_TEXTLINT_CMD_PATH[];

} // namespace quill
