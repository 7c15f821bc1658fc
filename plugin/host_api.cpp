// Binding of the host's BKA_* functions by name, with the host version rule.
#include "plugin/host_api.h"

#include <iterator>
#include <type_traits>

namespace quill {

namespace {

// One table row per host function: its name and where its pointer goes.
struct HostFunction {
    LPCSTR name;
    void (*store)(HostApi &api, FARPROC proc);
};

template <auto Member> void storeProc(HostApi &api, FARPROC proc) {
    using Pointer = std::remove_reference_t<decltype(api.*Member)>;
    api.*Member = reinterpret_cast<Pointer>(reinterpret_cast<void *>(proc));
}

#define QUILL_HOST_FUNCTION(name)                                                                  \
    { #name, &storeProc < &HostApi::name> }

const HostFunction REQUIRED_FUNCTIONS[] = {
    QUILL_HOST_FUNCTION(BKA_GetVersion),
    QUILL_HOST_FUNCTION(BKA_Command),
    QUILL_HOST_FUNCTION(BKA_GetWindowHandles),
    QUILL_HOST_FUNCTION(BKA_RegisterCommand),
    QUILL_HOST_FUNCTION(BKA_RegisterUICallback),
    QUILL_HOST_FUNCTION(BKA_GetDataFolder),
    QUILL_HOST_FUNCTION(BKA_GetTempFolder),
    QUILL_HOST_FUNCTION(BKA_GetTempFileName),
    QUILL_HOST_FUNCTION(BKA_GetCurrentMailBox),
    QUILL_HOST_FUNCTION(BKA_SetCurrentMailBox),
    QUILL_HOST_FUNCTION(BKA_GetCurrentFolder),
    QUILL_HOST_FUNCTION(BKA_SetCurrentFolder),
    QUILL_HOST_FUNCTION(BKA_GetFolderDisplayName),
    QUILL_HOST_FUNCTION(BKA_SetMessageText),
    QUILL_HOST_FUNCTION(BKA_GetCurrentMail),
    QUILL_HOST_FUNCTION(BKA_SetCurrentMail),
    QUILL_HOST_FUNCTION(BKA_GetNextMail),
    QUILL_HOST_FUNCTION(BKA_SetSel),
    QUILL_HOST_FUNCTION(BKA_AppendMessage),
    QUILL_HOST_FUNCTION(BKA_MoveSelectedMessages),
    QUILL_HOST_FUNCTION(BKA_GetStatus),
    QUILL_HOST_FUNCTION(BKA_ComposeMail),
    QUILL_HOST_FUNCTION(BKA_GetCharSet),
    QUILL_HOST_FUNCTION(BKA_GetSource),
    QUILL_HOST_FUNCTION(BKA_SetSource),
    QUILL_HOST_FUNCTION(BKA_GetHeader),
    QUILL_HOST_FUNCTION(BKA_GetText),
    QUILL_HOST_FUNCTION(BKA_SetText),
    QUILL_HOST_FUNCTION(BKA_GetSpecifiedHeader),
    QUILL_HOST_FUNCTION(BKA_SetSpecifiedHeader),
    QUILL_HOST_FUNCTION(BKA_CompGetCharSet),
    QUILL_HOST_FUNCTION(BKA_CompGetSource),
    QUILL_HOST_FUNCTION(BKA_CompSetSource),
    QUILL_HOST_FUNCTION(BKA_CompGetHeader),
    QUILL_HOST_FUNCTION(BKA_CompGetSpecifiedHeader),
    QUILL_HOST_FUNCTION(BKA_CompSetSpecifiedHeader),
    QUILL_HOST_FUNCTION(BKA_CompGetText),
    QUILL_HOST_FUNCTION(BKA_CompSetText),
    QUILL_HOST_FUNCTION(BKA_CompAttachFile),
    QUILL_HOST_FUNCTION(BKA_Alloc),
    QUILL_HOST_FUNCTION(BKA_ReAlloc),
    QUILL_HOST_FUNCTION(BKA_Free),
    QUILL_HOST_FUNCTION(BKA_ISO_2022_JP),
    QUILL_HOST_FUNCTION(BKA_ISO_2022_KR),
    QUILL_HOST_FUNCTION(BKA_HZ_GB2312),
    QUILL_HOST_FUNCTION(BKA_ISO_8859_2),
    QUILL_HOST_FUNCTION(BKA_EUC_JP),
    QUILL_HOST_FUNCTION(BKA_UTF_7),
    QUILL_HOST_FUNCTION(BKA_UTF_8),
    QUILL_HOST_FUNCTION(BKA_B64Convert),
    QUILL_HOST_FUNCTION(BKA_QPConvert),
    QUILL_HOST_FUNCTION(BKA_MIMEHeader),
    QUILL_HOST_FUNCTION(BKA_SerializeRcpts),
    QUILL_HOST_FUNCTION(BKA_Connect),
};

const HostFunction OPTIONAL_FUNCTIONS[] = {
    QUILL_HOST_FUNCTION(BKA_SetStatus),    QUILL_HOST_FUNCTION(BKA_NextUnread),
    QUILL_HOST_FUNCTION(BKA_ProcessMail),  QUILL_HOST_FUNCTION(BKA_GetSize),
    QUILL_HOST_FUNCTION(BKA_MoveMessages),
};

#undef QUILL_HOST_FUNCTION

static_assert(std::size(REQUIRED_FUNCTIONS) == 54);
static_assert(std::size(OPTIONAL_FUNCTIONS) == 5);

// Hosts before 2.00.06 may lack BKA_SetStatus. The comparison is the platform's text
// comparison, as the host's version texts have always been compared, not a numeric one.
bool isOlderThanSetStatusHost(LPCSTR version) {
    if (version == nullptr)
        version = "";
    return lstrlenA(version) <= 7 && lstrcmpA(version, "2.00.06") < 0;
}

} // namespace

HostApi &hostApi() {
    static HostApi table;
    return table;
}

bool bindHostApi() {
    HostApi &api = hostApi();
    if (api.hostModule != nullptr)
        return true;
    return bindHostApi(api, GetModuleHandleA(nullptr),
                       [](HMODULE module, LPCSTR name) { return GetProcAddress(module, name); });
}

bool bindHostApi(HostApi &api, HMODULE executable, const HostProcLookup &lookup) {
    if (api.hostModule != nullptr)
        return true;
    if (executable == nullptr)
        return false;
    api.hostModule = executable;
    for (const HostFunction &function : REQUIRED_FUNCTIONS) {
        FARPROC proc = lookup(executable, function.name);
        function.store(api, proc);
        if (proc == nullptr) {
            api.hostModule = nullptr;
            return false;
        }
    }
    for (const HostFunction &function : OPTIONAL_FUNCTIONS)
        function.store(api, lookup(executable, function.name));

    if (isOlderThanSetStatusHost(api.BKA_GetVersion()))
        return true;
    if (api.BKA_SetStatus != nullptr)
        return true;
    api.hostModule = nullptr;
    return false;
}

} // namespace quill
