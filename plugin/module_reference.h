// A reference to this module held while code of the module runs on a host thread that the
// host could unload it under (a message hook, a timer procedure): host calls and message
// boxes made there let the host run on.
#pragma once

#include <windows.h>

namespace quill {

// Until the plug-in's exit the host holds a reference of its own, so the one given back
// here is never the last; after it, the reference is given back by a thread that starts in
// FreeLibrary itself, so that no code of the module runs after the unload.
class ModuleReference {
  public:
    ModuleReference();
    ~ModuleReference();
    ModuleReference(const ModuleReference &) = delete;
    ModuleReference &operator=(const ModuleReference &) = delete;

  private:
    HMODULE module_ = nullptr;
};

// The plug-in started, or ended: from its end on, the host may drop its reference to the
// module at any time.
void notePlugInStarted();
void notePlugInEnded();

} // namespace quill
