// Where the result window's fields and list go for a given client size.
#pragma once

namespace quill {

struct LayoutRect {
    int x = 0;
    int y = 0;
    int width = 0;
    int height = 0;
};

struct LabelSize {
    int width = 0;
    int height = 0;
};

struct ResultLayout {
    LayoutRect mailField;
    LayoutRect subjectField;
    LayoutRect mimeField;
    LayoutRect list;
    LayoutRect status;
};

// The three header fields stand one line height apart, each right of its label (whose
// size is given; the labels stay where the template put them); the status line (three
// lines high, for a failure's reason) stands at the bottom and the list fills the rest.
// Sizes never go below zero, however small the window.
ResultLayout computeResultLayout(int clientWidth, int clientHeight, int lineHeight,
                                 const LabelSize &mailLabel, const LabelSize &subjectLabel,
                                 const LabelSize &mimeLabel);

} // namespace quill
