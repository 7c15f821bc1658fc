// Start and exit of the plug-in: the result window joins the lint engine at start; at exit
// the hooks go, the windows close and the settings are written.
#pragma once

namespace quill {

// Creates the result window and registers it as the lint engine's listener. Never throws.
void startPlugIn();

// Removes the compose hooks, closes the plug-in's windows and writes the INI file. Never
// throws.
void exitPlugIn();

// A compose window opened: the resident textlint is started unless it runs. Never throws.
void noteComposeWindowOpened();

} // namespace quill
