// The proof the settings dialog asks for on OK: a check of a fixed sentence with the
// settings just applied.
#pragma once

#include <string>

namespace quill {

// Checks the test sentence on a lint engine of its own, so that the result window and the
// latest job of the process are not touched; true when textlint ran, otherwise the reason
// and the remedy, as a failed check tells them, go to `why`. May throw the run's failure
// texts.
bool checkTestSentence(std::wstring &why);

} // namespace quill
