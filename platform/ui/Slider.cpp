#include "Slider.h"

#include <QPainter>
#include <QStyleOptionSlider>
#include <QStylePainter>
#include <algorithm>
#include <cstdint>

namespace ui {

namespace {

// The spacing the styles give ticks: the interval set, else the single step, else the page step where
// single steps lie under 3 pixels apart.
int Tick_Interval(const QStyle& style, const QStyleOptionSlider& slider, const QWidget* widget) {
    int interval = slider.tickInterval;
    if (interval <= 0) {
        interval = slider.singleStep;
        const int available = style.pixelMetric(QStyle::PM_SliderSpaceAvailable, &slider, widget);
        if (QStyle::sliderPositionFromValue(slider.minimum, slider.maximum, interval, available) -
                QStyle::sliderPositionFromValue(slider.minimum, slider.maximum, 0, available) <
            3)
            interval = slider.pageStep;
    }
    return interval > 0 ? interval : 1;
}

}  // namespace

Slider::Slider(Qt::Orientation orientation, QWidget* parent) : QSlider(orientation, parent) {}

void Slider::paintEvent(QPaintEvent* event) {
    QStyleOptionSlider slider;
    initStyleOption(&slider);
    const bool horizontal = slider.orientation == Qt::Horizontal;
    const int length = style()->pixelMetric(QStyle::PM_SliderLength, &slider, this);
    const int span = (horizontal ? slider.rect.width() : slider.rect.height()) - length;
    const int64_t range = int64_t{slider.maximum} - slider.minimum;
    const int interval = Tick_Interval(*style(), slider, this);
    // Ticks a pixel or more apart are drawn as the style draws them.
    if (tickPosition() == NoTicks || span < 2 || range <= 0 || int64_t{interval} * span > range)
        return QSlider::paintEvent(event);
    // Consecutive ticks lie at most a pixel apart: they cover every column from the first value's to the
    // last tick's. Drawn as a slider of one value per pixel (value v at column v, span - v upside down)
    // with the handle where it is; the columns past the last tick without ticks.
    const int64_t rest = range % interval;
    const bool maximum_drawn = rest == 0 || (interval > 1 && rest == interval - 1);
    const int last_value = maximum_drawn ? slider.maximum : static_cast<int>(slider.maximum - rest);
    const int last = QStyle::sliderPositionFromValue(slider.minimum, slider.maximum, last_value, span, slider.upsideDown);
    const int handle = QStyle::sliderPositionFromValue(slider.minimum, slider.maximum, slider.sliderPosition, span, slider.upsideDown);
    QStyleOptionSlider row = slider;
    row.minimum = 0;
    row.maximum = span;
    row.tickInterval = 1;
    row.sliderPosition = row.sliderValue = slider.upsideDown ? span - handle : handle;
    // The pressed or hovered part and the sunken state come with the slider's own options.
    row.subControls = QStyle::SC_SliderGroove | QStyle::SC_SliderHandle | QStyle::SC_SliderTickmarks;
    // The columns past the last tick (towards the maximum's end), where the row has ticks and the slider none.
    const int offset = length / 2;
    const int from = slider.upsideDown ? 0 : last + 1, to = slider.upsideDown ? last - 1 : span;
    QRect bare = horizontal ? QRect(slider.rect.x() + offset + from, slider.rect.y(), to - from + 1, slider.rect.height())
                            : QRect(slider.rect.x(), slider.rect.y() + offset + from, slider.rect.width(), to - from + 1);
    if (to < from) bare = QRect();
    QStylePainter painter(this);
    painter.save();
    painter.setClipRegion(QRegion(rect()).subtracted(bare));
    painter.drawComplexControl(QStyle::CC_Slider, row);
    painter.restore();
    if (bare.isEmpty()) return;
    painter.setClipRect(bare);
    row.subControls &= ~QStyle::SC_SliderTickmarks;
    painter.drawComplexControl(QStyle::CC_Slider, row);
}

}  // namespace ui
