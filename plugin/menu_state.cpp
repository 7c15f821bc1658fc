// The compose window's menu-state table.
#include "plugin/menu_state.h"

#include "common/encoding.h"

namespace quill {
ComposeTextKind composeTextKindOf(const std::string &mimeType) {
    if (equalsIgnoringAsciiCase(mimeType, "text/plain"))
        return ComposeTextKind::Plain;
    if (equalsIgnoringAsciiCase(mimeType, "text/html"))
        return ComposeTextKind::Html;
    return ComposeTextKind::Other;
}

bool needsEditorSearch(ComposeTextKind kind, bool proofreadHtml) {
    return kind == ComposeTextKind::Html && proofreadHtml;
}

ComposeMenuStates composeMenuStates(ComposeTextKind kind, bool proofreadHtml,
                                    EditorState editorState) {
    using S = MenuItemState;
    switch (kind) {
    case ComposeTextKind::Plain:
        return {S::Enabled, S::Enabled};
    case ComposeTextKind::Html:
        if (!proofreadHtml)
            return {S::Grayed, S::Grayed};
        switch (editorState) {
        case EDITOR_ENABLED:
            return {S::Enabled, S::Enabled};
        case EDITOR_DISABLED:
            return {S::Enabled, S::Grayed};
        default:
            return {S::Unchanged, S::Unchanged};
        }
    case ComposeTextKind::Other:
        break;
    }
    return {S::Unchanged, S::Unchanged};
}

} // namespace quill
