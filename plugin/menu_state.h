// Which state the check and auto-fix items of a compose window's menu bar take, from the
// kind of text being composed and, for HTML, from the host's editor control.
#pragma once

#include <string>

namespace quill {

// What the search for the host's editor control found.
enum EditorState : int { EDITOR_NOT_FOUND = 0, EDITOR_ENABLED = 1, EDITOR_DISABLED = 2 };

enum class MenuItemState { Unchanged, Enabled, Grayed };

struct ComposeMenuStates {
    MenuItemState check = MenuItemState::Unchanged;
    MenuItemState autoFix = MenuItemState::Unchanged;
};

enum class ComposeTextKind { Plain, Html, Other };

// "text/plain" and "text/html", letter case ignored; anything else (the empty text too) is
// Other.
ComposeTextKind composeTextKindOf(const std::string &mimeType);

// Only an HTML text with HTML proofreading on looks for the editor control.
bool needsEditorSearch(ComposeTextKind kind, bool proofreadHtml);

// The two items' states; `editorState` matters only when needsEditorSearch is true.
ComposeMenuStates composeMenuStates(ComposeTextKind kind, bool proofreadHtml,
                                    EditorState editorState);

} // namespace quill
