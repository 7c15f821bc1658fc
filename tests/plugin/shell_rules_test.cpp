// The plug-in shell's platform-free rules: the INI path, the menu state table and the draft
// marker search.
#include "plugin/draft_marker.h"
#include "plugin/ini_path.h"
#include "plugin/menu_state.h"

#include <gtest/gtest.h>

#include <string>

namespace quill {
namespace {

TEST(IniPathOfModulePath, ReplacesTheLastDotOfTheWholePath) {
    struct Case {
        const char *modulePath;
        const char *iniPath;
    } cases[] = {
        {"C:\\plugins\\Quillcheck.dll", "C:\\plugins\\Quillcheck.ini"},
        {"C:\\a.b\\plugin", "C:\\a.ini"},
        {"C:\\plugins\\plugin", "C:\\plugins\\plugin.ini"},
        {"C:\\x\\Quill.check.dll", "C:\\x\\Quill.check.ini"},
        {"C:\\\x95\x5c\\Quillcheck.dll", "C:\\\x95\x5c\\Quillcheck.ini"},
    };
    for (const Case &c : cases)
        EXPECT_EQ(c.iniPath, iniPathOfModulePath(c.modulePath)) << c.modulePath;
}

TEST(IniPathOfModulePath, RefusesAPathThatLeavesNoRoomForTheExtension) {
    const std::string folder = "C:\\" + std::string(240, 'f') + "\\";
    // 259 characters plus the NUL fill the buffer exactly.
    std::string fits = folder + std::string(259 - folder.size() - 4, 'n') + ".dll";
    ASSERT_EQ(259u, fits.size());
    EXPECT_EQ(259u, iniPathOfModulePath(fits).size());

    std::string tooLong = folder + std::string(259 - folder.size(), 'n');
    EXPECT_EQ("", iniPathOfModulePath(tooLong)) << "no dot: \".ini\" would be cut";
}

TEST(ComposeMenuStates, FollowsTheTable) {
    using S = MenuItemState;
    struct Case {
        const char *mimeType;
        bool proofreadHtml;
        EditorState editor;
        bool searches;
        S check, autoFix;
    } cases[] = {
        {"text/plain", false, EDITOR_NOT_FOUND, false, S::Enabled, S::Enabled},
        {"TEXT/Plain", true, EDITOR_NOT_FOUND, false, S::Enabled, S::Enabled},
        {"text/html", false, EDITOR_ENABLED, false, S::Grayed, S::Grayed},
        {"Text/HTML", true, EDITOR_ENABLED, true, S::Enabled, S::Enabled},
        {"text/html", true, EDITOR_DISABLED, true, S::Enabled, S::Grayed},
        {"text/html", true, EDITOR_NOT_FOUND, true, S::Unchanged, S::Unchanged},
        {"", true, EDITOR_ENABLED, false, S::Unchanged, S::Unchanged},
        {"text/htmlx", true, EDITOR_ENABLED, false, S::Unchanged, S::Unchanged},
        {"text/plai", false, EDITOR_ENABLED, false, S::Unchanged, S::Unchanged},
        {"multipart/alternative", true, EDITOR_ENABLED, false, S::Unchanged, S::Unchanged},
    };
    for (const Case &c : cases) {
        const ComposeTextKind kind = composeTextKindOf(c.mimeType);
        EXPECT_EQ(c.searches, needsEditorSearch(kind, c.proofreadHtml)) << c.mimeType;
        const ComposeMenuStates states = composeMenuStates(kind, c.proofreadHtml, c.editor);
        EXPECT_EQ(c.check, states.check) << c.mimeType << " editor " << c.editor;
        EXPECT_EQ(c.autoFix, states.autoFix) << c.mimeType << " editor " << c.editor;
    }
}

TEST(IsOutboxDraft, FindsTheMarkerOnlyAtCharacterBoundaries) {
    struct Case {
        std::string mailId;
        bool draft;
    } cases[] = {
        {"1234abcd/!!!!Outbox\\!!!Draft\\5.msg", true},
        {"!!!!Outbox\\!!!Draft", true},
        {"\x8a\xbf!!!!Outbox\\!!!Draft", true},
        {"1234abcd/!!!!Inbox\\5.msg", false},
        {"!!!!outbox\\!!!draft", false},
        {"!!!!Outbox\\!!Draft", false},
        {"", false},
        // The first "!" is the second byte of a double-byte character, so the marker that
        // follows has only three of its four.
        {"\x81!!!!Outbox\\!!!Draft", false},
        // A trail byte 0x5c is not the marker's backslash.
        {"!!!!Outbox\x95\x5c!!!Draft", false},
    };
    for (const Case &c : cases)
        EXPECT_EQ(c.draft, isOutboxDraft(c.mailId, shiftJisCharLength)) << c.mailId;
}

} // namespace
} // namespace quill
