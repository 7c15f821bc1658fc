// Every job of a child tree of ours is listed while it may hold a process, so that the end
// of the plug-in can end them all at once, whichever thread waits for them.
#pragma once

#include <windows.h>

namespace quill {

// Lists `job`; false when starts are refused (the plug-in is ending).
bool listChildJob(HANDLE job);
void unlistChildJob(HANDLE job);
// False once starts are refused: a child put into its job after the refusal must end.
bool childStartsAllowed();
// Ends every process of every listed job now and refuses new starts; returns at once.
void endEveryChildTree();
// Allows starts again (the plug-in starts).
void allowChildStarts();

} // namespace quill
