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
    layout.list = {0, 3 * lineHeight, std::max(0, clientWidth),
                   std::max(0, clientHeight - 4 * lineHeight)};
    layout.status = {0, std::max(3 * lineHeight, clientHeight - lineHeight),
                     std::max(0, clientWidth), lineHeight};
    return layout;
}

} // namespace quill
