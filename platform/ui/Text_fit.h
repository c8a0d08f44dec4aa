#pragma once
// Text sized to the room it is given: the fonts here are not those a layout was drawn for, and a label
// must never cut off the end of a heat's name.
class QFont;
class QLabel;
class QSize;
class QString;

namespace ui {

// The largest point size, from `largest` down to `smallest`, at which `text` in `font`'s family fits
// `room` (on one line, or broken at its words with `wrap`); `smallest` when none does.
int Fitting_Point_Size(const QFont& font, const QString& text, const QSize& room, int largest, bool wrap = false,
                       int smallest = 6);
// `text` shown in `label` at the largest point size up to `largest` that fits the label's contents, broken
// at its words when the label wraps.
void Show_Fitted(QLabel& label, const QString& text, int largest);

}  // namespace ui
