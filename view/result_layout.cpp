// Layout of the result window on resizing.
#include "view/result_layout.h"

#include <algorithm>

namespace quill {

namespace {

LayoutRect fieldBeside(const LabelSize &label, int y, int clientWidth) {
    return {label.width + 12, y, std::max(0, clientWidth - label.width), label.height};
}

} // namespace

ResultLayout computeResultLayout(int clientWidth, int clientHeight, int lineHeight,
                                 const LabelSize &mailLabel, const LabelSize &subjectLabel,
                                 const LabelSize &mimeLabel) {
    ResultLayout layout;
    layout.mailField = fieldBeside(mailLabel, 0, clientWidth);
    layout.subjectField = fieldBeside(subjectLabel, lineHeight, clientWidth);
    layout.mimeField = fieldBeside(mimeLabel, 2 * lineHeight, clientWidth);
    const int below = std::max(0, clientHeight - 3 * lineHeight);
    const int status = std::min(below, 3 * lineHeight + 4);
    layout.list = {0, 3 * lineHeight, std::max(0, clientWidth), below - status};
    layout.status = {0, 3 * lineHeight + below - status, std::max(0, clientWidth), status};
    return layout;
}

} // namespace quill
