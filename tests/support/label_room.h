// Whether every label of a dialog template shows its whole text: each static text, button
// and check box measured with the dialog's own font against the room the template gives it.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

namespace quill::test {

// The labels of dialog template `templateId` (loaded from this program's resources) whose
// text, widened by `fontMargin` (1.15: 15 % more, for a wider interface font than the one
// measured with), does not fit: one line each, naming the text and both widths. Empty when
// all fit; "cannot create" when the template could not be made into a window.
std::vector<std::string> labelsWithoutRoom(int templateId, double fontMargin);

} // namespace quill::test
