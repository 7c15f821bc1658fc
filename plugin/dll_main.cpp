// The module's entry point: at load it binds the host's API and reads the settings from the
// INI file beside the module; nothing else runs under the loader lock.
#include "common/module_instance.h"
#include "common/system_error.h"
#include "config/recommended_rules.h"
#include "config/text_lint_config.h"
#include "config/textlint_bundle_present.h"
#include "plugin/boundary_guard.h"
#include "plugin/host_api.h"
#include "plugin/ini_path.h"

#include <windows.h>

#include <iterator>
#include <string>
#include <vector>

namespace {

bool attachProcess(HINSTANCE instance) {
    using namespace quill;
    if (!bindHostApi())
        return false;
    char szModulePath[INI_PATH_CAPACITY] = {};
    const DWORD length =
        GetModuleFileNameA(instance, szModulePath, static_cast<DWORD>(std::size(szModulePath)));
    // A cut module path would name another file: the settings then keep their defaults.
    const bool whole = length > 0 && length < std::size(szModulePath);
    const std::string iniPath = whole ? iniPathOfModulePath(szModulePath) : std::string();
    if (iniPath.empty()) {
        writeDiagnosticLine("DllMain() failed. no room for the INI file path.");
        return true;
    }
    TextLintConfig &config = TextLintConfig::getInstance();
    config.setIniFilePath(iniPath);
    // An exception from the reader leaves here and refuses the load.
    config.readConfigFile(iniPath);
    // A new install (no rules key at all, not even an emptied one) of the release that
    // brings its own textlint starts with the recommended rules, written at exit like any.
    if (!config.rulesKeyRead() && textLintBundlePresent(moduleFolder())) {
        std::vector<TextLintRule> rules = recommendedRules();
        // Rows read without the key (the plug-in's own checks switched off) stay after them.
        for (const TextLintRule &rule : config.getRules())
            rules.push_back(rule);
        config.setRules(rules);
    }
    return true;
}

} // namespace

BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID) {
    quill::setModuleInstance(instance);
    if (reason != DLL_PROCESS_ATTACH)
        return TRUE;
    return quill::guarded("DllMain()", FALSE,
                          [instance] { return attachProcess(instance) ? TRUE : FALSE; });
}
