#pragma once
// A slider whose tick marks cost at most one line per pixel column: where its ticks lie closer than a
// pixel they fill the row, drawn one column at a time, so a heat of 100,000 frames paints as fast as one
// of 100. The picture is the one the style draws with every tick, but for the last tick where it falls
// on the maximum's end column without being the maximum's: that column's tick is the end's longer one.
#include <QSlider>

namespace ui {

class Slider : public QSlider {
public:
    Slider(Qt::Orientation orientation, QWidget* parent);

protected:
    void paintEvent(QPaintEvent* event) override;
};

}  // namespace ui
