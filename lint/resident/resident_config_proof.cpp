// The version verdict and the proof of the configuration for the resident textlint, each
// remembered per command path, configuration and rule-folder change count.
#include "lint/resident/resident_config_proof.h"

#include "lint/resident/resident_protocol.h"
#include "lint/textlint_command.h"
#include "lint/textlint_run.h"

#include <windows.h>

#include <utility>

namespace quill {

namespace {

constexpr char SERVER_CONFIG[] = "server.json";
constexpr char PROOF_CONFIG[] = "proof.json";

// Opens the server's configuration file for as long as the server may read it: reading is
// shared (textlint reads it at every request), deleting and writing are not.
UniqueHandle holdConfigFile(const std::string &path) {
    return UniqueHandle(CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                                    OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
}

} // namespace

ResidentConfigProof::ResidentConfigProof(OneShotRun run, std::timed_mutex &requests)
    : run_(std::move(run)), requests_(requests) {}

const char *ResidentConfigProof::serverConfigName() {
    return SERVER_CONFIG;
}

// The verdict holds until the rule folders change: an update may have put another
// textlint there.
ResidentConfigProof::Verdict
ResidentConfigProof::textLintIsRecentEnough(const std::string &commandPath, unsigned long changes) {
    {
        std::lock_guard<std::mutex> lock(mutex_);
        if (versionCommandPath_ == commandPath && versionChanges_ == changes)
            return versionSupported_ ? Verdict::Yes : Verdict::No;
    }
    TextLintCommandFiles files;
    files.commandPath = commandPath;
    files.interpreterPath = textlint_run::commandInterpreterPath();
    std::optional<std::string> output = run_(makeVersionCommandLine(files));
    if (!output)
        return Verdict::RunFailed;
    // `-c` goes with `--mcp` from 15.2 on; an older textlint would serve its default
    // configuration instead of the plug-in's.
    std::optional<std::pair<int, int>> version = parseTextLintVersion(*output);
    bool supported = version && *version >= std::make_pair(15, 2);
    std::lock_guard<std::mutex> lock(mutex_);
    versionCommandPath_ = commandPath;
    versionChanges_ = changes;
    versionSupported_ = supported;
    return supported ? Verdict::Yes : Verdict::No;
}

bool ResidentConfigProof::holds(const std::string &commandPath, const std::string &config,
                                unsigned long changes) const {
    std::lock_guard<std::mutex> lock(mutex_);
    return provedConfig_ == config && provedFor_ == commandPath && provedChanges_ == changes;
}

unsigned long ResidentConfigProof::provedChanges() const {
    std::lock_guard<std::mutex> lock(mutex_);
    return provedChanges_;
}

void ResidentConfigProof::forget() {
    std::lock_guard<std::mutex> lock(mutex_);
    provedConfig_.clear();
    provedFor_.clear();
}

void ResidentConfigProof::releaseFile() {
    configHold_.reset();
}

ResidentConfigProof::Verdict ResidentConfigProof::prove(const std::string &folder,
                                                        const std::string &commandPath,
                                                        const std::string &config,
                                                        unsigned long changes) {
    {
        std::lock_guard<std::mutex> lock(mutex_);
        if (provedConfig_ == config && provedFor_ == commandPath && provedChanges_ == changes)
            return Verdict::Yes;
        if (rejectedConfig_ == config && rejectedFor_ == commandPath && rejectedChanges_ == changes)
            return Verdict::No;
    }
    std::string proofPath = folder + PROOF_CONFIG;
    // Written as the cold run writes its configuration.
    if (!textlint_run::writeTextFile(proofPath, config, CREATE_ALWAYS))
        return Verdict::No;
    TextLintCommandFiles files;
    files.commandPath = commandPath;
    files.configFile = proofPath;
    files.interpreterPath = textlint_run::commandInterpreterPath();
    std::optional<std::string> output = run_(makePrintConfigCommandLine(files));
    if (!output)
        return Verdict::RunFailed;
    if (!printedConfigHasRules(*output)) {
        std::lock_guard<std::mutex> lock(mutex_);
        rejectedConfig_ = config;
        rejectedFor_ = commandPath;
        rejectedChanges_ = changes;
        return Verdict::No;
    }
    // Requests read the file: it changes only while none runs.
    std::lock_guard<std::timed_mutex> request(requests_);
    forget();
    const std::string serverPath = folder + SERVER_CONFIG;
    configHold_.reset();
    if (!MoveFileExA(proofPath.c_str(), serverPath.c_str(), MOVEFILE_REPLACE_EXISTING))
        return Verdict::No;
    configHold_ = holdConfigFile(serverPath);
    if (!configHold_)
        return Verdict::No;
    std::lock_guard<std::mutex> lock(mutex_);
    provedConfig_ = config;
    provedFor_ = commandPath;
    provedChanges_ = changes;
    return Verdict::Yes;
}

} // namespace quill
