// The proof the settings dialog asks for on OK: a check of a fixed sentence with the
// settings just applied.
#pragma once

namespace quill {

// Checks the test sentence on a lint engine of its own, so that the result window and the
// latest job of the process are not touched; true when textlint ran. May throw the run's
// failure texts.
bool checkTestSentence();

} // namespace quill
