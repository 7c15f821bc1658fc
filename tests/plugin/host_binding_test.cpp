// Binding of the host API: lookups in order, the version rule, and stand-in hosts that lack
// functions, in this process and in probe processes (which also load the plug-in module).
#include "plugin/host_api.h"
#include "tests/support/test_paths.h"
#include "tools/standin_host/standin_host.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace quill {
namespace {

using standin::hostCallsTo;

// Looks names up in this executable (the stand-in host) and keeps the names asked for;
// a name in `missing` is not found.
struct RecordingLookup {
    std::vector<std::string> asked;
    std::vector<std::string> missing;
    HostProcLookup function() {
        return [this](HMODULE module, LPCSTR name) -> FARPROC {
            asked.push_back(name);
            for (const std::string &absent : missing)
                if (absent == name)
                    return nullptr;
            return GetProcAddress(module, name);
        };
    }
};

class HostBindingTest : public testing::Test {
  protected:
    void SetUp() override { standin::resetHost(); }
    HMODULE self = GetModuleHandleA(nullptr);
};

TEST_F(HostBindingTest, LooksUpEveryNameInOrderAndStoresWhatItFound) {
    HostApi api;
    RecordingLookup lookup;
    ASSERT_TRUE(bindHostApi(api, self, lookup.function()));
    EXPECT_EQ(api.hostModule, self);
    ASSERT_EQ(lookup.asked.size(), 59u);
    EXPECT_EQ(lookup.asked[0], "BKA_GetVersion");
    EXPECT_EQ(lookup.asked[3], "BKA_RegisterCommand");
    EXPECT_EQ(lookup.asked[53], "BKA_Connect");
    EXPECT_EQ(std::vector<std::string>(lookup.asked.begin() + 54, lookup.asked.end()),
              (std::vector<std::string>{"BKA_SetStatus", "BKA_NextUnread", "BKA_ProcessMail",
                                        "BKA_GetSize", "BKA_MoveMessages"}));
    // Each pointer is the function of its own name.
    EXPECT_EQ(reinterpret_cast<void *>(api.BKA_CompSetText),
              reinterpret_cast<void *>(GetProcAddress(self, "BKA_CompSetText")));
    EXPECT_EQ(reinterpret_cast<void *>(api.BKA_GetSpecifiedHeader),
              reinterpret_cast<void *>(GetProcAddress(self, "BKA_GetSpecifiedHeader")));
    EXPECT_EQ(api.BKA_SerializeRcpts, GetProcAddress(self, "BKA_SerializeRcpts"));
    EXPECT_EQ(api.BKA_MoveMessages, GetProcAddress(self, "BKA_MoveMessages"));
    EXPECT_EQ(hostCallsTo("BKA_GetVersion").size(), 1u);
}

TEST_F(HostBindingTest, SecondBindingLooksNothingUp) {
    HostApi api;
    RecordingLookup lookup;
    ASSERT_TRUE(bindHostApi(api, self, lookup.function()));
    lookup.asked.clear();
    standin::clearHostCalls();
    EXPECT_TRUE(bindHostApi(api, self, lookup.function()));
    EXPECT_TRUE(lookup.asked.empty());
    EXPECT_TRUE(standin::hostCalls().empty());
}

TEST_F(HostBindingTest, MissingRequiredNameStopsTheLookupsAndResetsTheModule) {
    HostApi api;
    RecordingLookup lookup;
    lookup.missing = {"BKA_GetCharSet"};
    EXPECT_FALSE(bindHostApi(api, self, lookup.function()));
    EXPECT_EQ(api.hostModule, nullptr);
    ASSERT_FALSE(lookup.asked.empty());
    EXPECT_EQ(lookup.asked.back(), "BKA_GetCharSet");
    EXPECT_EQ(lookup.asked.size(), 23u);
    EXPECT_TRUE(hostCallsTo("BKA_GetVersion").empty());
    // Pointers found before the gap stay in the table.
    EXPECT_NE(api.BKA_RegisterCommand, nullptr);
    // A failed binding is not "bound": a later one looks everything up again.
    lookup.missing.clear();
    EXPECT_TRUE(bindHostApi(api, self, lookup.function()));
}

TEST_F(HostBindingTest, NoExecutableModuleIsRefused) {
    HostApi api;
    RecordingLookup lookup;
    EXPECT_FALSE(bindHostApi(api, nullptr, lookup.function()));
    EXPECT_TRUE(lookup.asked.empty());
}

struct VersionCase {
    const char *version;
    bool hasSetStatus;
    bool bound;
};

class HostVersionRuleTest : public testing::TestWithParam<VersionCase> {};

TEST_P(HostVersionRuleTest, SetStatusNeededFrom2_00_06) {
    standin::resetHost();
    standin::setHostVersion(GetParam().version);
    HostApi api;
    RecordingLookup lookup;
    if (!GetParam().hasSetStatus)
        lookup.missing = {"BKA_SetStatus"};
    EXPECT_EQ(bindHostApi(api, GetModuleHandleA(nullptr), lookup.function()), GetParam().bound)
        << GetParam().version;
    EXPECT_EQ(api.hostModule != nullptr, GetParam().bound);
}

// Version texts compare as text, and any text longer than 7 characters counts as new.
INSTANTIATE_TEST_SUITE_P(
    Versions, HostVersionRuleTest,
    testing::Values(VersionCase{"2.00.05", false, true}, VersionCase{"2.00.06", false, false},
                    VersionCase{"2.00.06", true, true}, VersionCase{"2.00.07", false, false},
                    VersionCase{"2.00.050", false, false}, VersionCase{"2.00.050", true, true},
                    VersionCase{"10.0", false, true}, VersionCase{"2.1", false, false},
                    VersionCase{"", false, true}, VersionCase{"2.80.00", true, true}));

TEST(ProcessHostApi, BindsToThisExecutableOnce) {
    standin::resetHost();
    ASSERT_TRUE(bindHostApi());
    EXPECT_EQ(hostApi().hostModule, GetModuleHandleA(nullptr));
    EXPECT_EQ(hostCallsTo("BKA_GetVersion").size(), 1u);
    EXPECT_TRUE(bindHostApi());
    EXPECT_EQ(hostCallsTo("BKA_GetVersion").size(), 1u);
    // The typed pointers reach the host's functions.
    ASSERT_NE(hostApi().BKA_RegisterCommand, nullptr);
    UINT id = hostApi().BKA_RegisterCommand("check", 10, nullptr);
    EXPECT_EQ(standin::commandIdOf("check", 10), id);
}

// A probe is a separate stand-in host process; its exit code sums these bits.
constexpr int PROBE_REFUSED = 1, PROBE_MOVE_MESSAGES_NULL = 2, PROBE_SET_STATUS_NULL = 4;

int runProbe(const std::string &variant, const std::string &arguments) {
    std::string commandLine = "\"" + test::binaryDir() + "\\tools\\standin_host\\standin_probe_" +
                              variant + ".exe\" " + arguments;
    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process = {};
    if (!CreateProcessA(nullptr, commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                        &startup, &process))
        return -1;
    DWORD code = static_cast<DWORD>(-2);
    if (WaitForSingleObject(process.hProcess, 60000) == WAIT_OBJECT_0)
        GetExitCodeProcess(process.hProcess, &code);
    else
        TerminateProcess(process.hProcess, 99);
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    return static_cast<int>(code);
}

struct ProbeCase {
    const char *variant;
    const char *version;
    int expected;
};

class BindingProbeTest : public testing::TestWithParam<ProbeCase> {};

TEST_P(BindingProbeTest, BindsInAHostWithSomeFunctionsMissing) {
    EXPECT_EQ(runProbe(GetParam().variant, GetParam().version), GetParam().expected)
        << GetParam().variant << " " << GetParam().version;
}

INSTANTIATE_TEST_SUITE_P(
    Hosts, BindingProbeTest,
    testing::Values(ProbeCase{"full", "2.00.06", 0}, ProbeCase{"full", "2.00.050", 0},
                    // BKA_Connect is the last required name: every pointer but it is found, and the
                    // optional ones are never looked up.
                    ProbeCase{"no_connect", "2.00.05",
                              PROBE_REFUSED | PROBE_MOVE_MESSAGES_NULL | PROBE_SET_STATUS_NULL},
                    ProbeCase{"no_move_messages", "2.00.06", PROBE_MOVE_MESSAGES_NULL},
                    ProbeCase{"no_set_status", "2.00.05", PROBE_SET_STATUS_NULL},
                    ProbeCase{"no_set_status", "2.00.06", PROBE_REFUSED | PROBE_SET_STATUS_NULL},
                    ProbeCase{"no_set_status", "2.00.050", PROBE_REFUSED | PROBE_SET_STATUS_NULL},
                    ProbeCase{"no_set_status", "10.0", PROBE_SET_STATUS_NULL}));

// The module binds at process attach: a host it cannot bind to does not get it loaded.
struct LoadCase {
    const char *variant;
    const char *version;
    int expected;
};

class ModuleLoadProbeTest : public testing::TestWithParam<LoadCase> {};

TEST_P(ModuleLoadProbeTest, LoadsOnlyWhereItBinds) {
    test::TempDir dir;
    std::string dll = dir.file("Quillcheck.dll");
    ASSERT_TRUE(CopyFileA((test::binaryDir() + "\\Quillcheck.dll").c_str(), dll.c_str(), FALSE));
    EXPECT_EQ(runProbe(GetParam().variant, std::string(GetParam().version) + " \"" + dll + "\""),
              GetParam().expected)
        << GetParam().variant;
}

INSTANTIATE_TEST_SUITE_P(Hosts, ModuleLoadProbeTest,
                         testing::Values(LoadCase{"full", "2.00.06", 0},
                                         LoadCase{"no_connect", "2.00.06", PROBE_REFUSED},
                                         LoadCase{"no_set_status", "2.00.06", PROBE_REFUSED},
                                         LoadCase{"no_set_status", "2.00.05", 0}));

} // namespace
} // namespace quill
