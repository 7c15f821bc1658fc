// A stand-in host for the binding tests, built once per set of exported host functions.
//   standin_probe_<variant>.exe <version>             binds the host API in this process
//   standin_probe_<variant>.exe <version> <dll path>  loads the plug-in module
// The exit code reports what happened, as a sum of the PROBE_* bits below.
#include "plugin/host_api.h"
#include "tools/standin_host/standin_host.h"

#include <cstdio>

namespace {

enum ProbeBits {
    PROBE_REFUSED = 1,              // the binding (or the module's load) was refused
    PROBE_MOVE_MESSAGES_NULL = 2,   // BKA_MoveMessages was left null
    PROBE_SET_STATUS_NULL = 4,      // BKA_SetStatus was left null
    PROBE_SECOND_BINDING_WRONG = 8, // a second binding did not return true at once
    PROBE_MODULE_HANDLE_WRONG = 16, // the table's module handle does not match the result
};

int bindInProcess() {
    using namespace quill;
    int bits = 0;
    bool bound = bindHostApi();
    HostApi &api = hostApi();
    if (!bound)
        bits |= PROBE_REFUSED;
    if (api.BKA_MoveMessages == nullptr)
        bits |= PROBE_MOVE_MESSAGES_NULL;
    if (api.BKA_SetStatus == nullptr)
        bits |= PROBE_SET_STATUS_NULL;
    HMODULE expected = bound ? GetModuleHandleA(nullptr) : nullptr;
    if (api.hostModule != expected)
        bits |= PROBE_MODULE_HANDLE_WRONG;
    if (bound) {
        quill::standin::clearHostCalls();
        if (!bindHostApi() || !quill::standin::hostCalls().empty())
            bits |= PROBE_SECOND_BINDING_WRONG;
    }
    return bits;
}

int loadModule(const char *path) {
    quill::standin::PluginHost plugin;
    if (!plugin.load(path)) {
        std::printf("LoadLibraryA failed with error %lu\n", plugin.lastError());
        return PROBE_REFUSED;
    }
    return 0;
}

} // namespace

int main(int argc, char **argv) {
    if (argc < 2) {
        std::fprintf(stderr, "usage: %s <host version> [plug-in module]\n", argv[0]);
        return 64;
    }
    quill::standin::setHostVersion(argv[1]);
    int bits = argc >= 3 ? loadModule(argv[2]) : bindInProcess();
    std::printf("probe result %d\n", bits);
    return bits;
}
