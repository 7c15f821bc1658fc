// The message that tells the user which stored settings could not be read at load.
#pragma once

#include <windows.h>

namespace quill {

// Shows, once per process, which of the rules and weights values the load could not read,
// that the plug-in runs without rules, and that the values stay in the file untouched.
// Nothing when every value was read. The load itself runs under the loader lock, where no
// window may be shown, so the plug-in's start calls this.
void showUnreadableSettingsNotice(HWND owner);

} // namespace quill
