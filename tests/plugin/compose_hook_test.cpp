// The compose hook of the core, run by this program, which is the host: which window
// positions empty the findings. (The module's own engine is out of a host's reach.)
#include "lint/lint_result_controller.h"
#include "plugin/compose_hook.h"
#include "plugin/host_api.h"
#include "tools/standin_host/standin_host.h"

#include <gtest/gtest.h>

namespace quill {
namespace {

using namespace quill::standin;

TEST(ComposeHook, EmptiesTheFindingsWhenATrackedWindowMovesInTheZOrder) {
    resetHost();
    ASSERT_TRUE(bindHostApi());
    const HWND compose = createComposeWindow();
    const HWND editor = composeEditor(compose);
    const HWND other = hostMainWindow();
    trackComposeWindow(compose);
    struct Case {
        HWND window;
        HWND insertAfter;
        bool cleared;
    } cases[] = {
        {compose, HWND_BOTTOM, true},
        {editor, other, true},
        {compose, nullptr, false},
        {other, HWND_BOTTOM, false},
    };
    for (const Case &c : cases) {
        lintEngine().clearLintResult();
        lintEngine().parseLintResultInCompactFormat("Z:\\m.txt: line 1, col 1, Error - x (r)\n");
        ASSERT_EQ(1u, lintEngine().getLintResults().size());
        WINDOWPOS position = {};
        position.hwnd = c.window;
        position.hwndInsertAfter = c.insertAfter;
        position.flags = SWP_NOMOVE | SWP_NOSIZE;
        // The system refuses to post a message that carries a pointer, so the retrieval of
        // one is played to the hook procedure directly.
        MSG message = {};
        message.hwnd = c.window;
        message.message = WM_WINDOWPOSCHANGED;
        message.lParam = reinterpret_cast<LPARAM>(&position);
        composeMessageHook(HC_ACTION, PM_REMOVE, reinterpret_cast<LPARAM>(&message));
        EXPECT_EQ(c.cleared, lintEngine().getLintResults().empty())
            << (c.window == compose  ? "compose"
                : c.window == editor ? "editor"
                                     : "other")
            << " after " << c.insertAfter;
    }
    removeAllComposeWindows();
    lintEngine().clearLintResult();
    resetHost();
}

} // namespace
} // namespace quill
