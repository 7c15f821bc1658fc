// The compose window's menu-state table.
#include "plugin/menu_state.h"

namespace quill {
namespace {

bool equalsIgnoringAsciiCase(const std::string &a, const char *b) {
    std::size_t i = 0;
    for (; i < a.size() && b[i] != '\0'; ++i) {
        char x = a[i], y = b[i];
        if (x >= 'A' && x <= 'Z')
            x = static_cast<char>(x - 'A' + 'a');
        if (y >= 'A' && y <= 'Z')
            y = static_cast<char>(y - 'A' + 'a');
        if (x != y)
            return false;
    }
    return i == a.size() && b[i] == '\0';
}

} // namespace

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
