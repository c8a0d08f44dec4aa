#include "platform/ui/Slider.h"

#include <QApplication>
#include <QImage>
#include <QMouseEvent>
#include <QStyleOptionSlider>
#include <gtest/gtest.h>

#include <string>

namespace {

// A press of the left button on the slider's handle, as the mouse gives it.
void Press_Handle(QSlider& slider) {
    struct Options : QSlider {
        static QStyleOptionSlider Of(const QSlider& s) {
            QStyleOptionSlider options;
            (s.*(&Options::initStyleOption))(&options);
            return options;
        }
    };
    const QStyleOptionSlider options = Options::Of(slider);
    const QPoint at = slider.style()->subControlRect(QStyle::CC_Slider, &options, QStyle::SC_SliderHandle, &slider).center();
    QMouseEvent press(QEvent::MouseButtonPress, at, slider.mapToGlobal(at), Qt::LeftButton, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(&slider, &press);
}

// The slider paints the picture the style paints with every tick, whatever the ticks' density, also
// while its handle is held.
TEST(Slider, Paints_what_the_style_paints_with_every_tick) {
    struct Case {
        std::string what;
        Qt::Orientation orientation;
        int minimum, maximum, interval, length;
        bool upside_down = false;
        QSlider::TickPosition ticks = QSlider::TicksBelow;
        bool held = false;
    };
    const Case cases[] = {
        {"ticks pixels apart", Qt::Horizontal, 1, 200, 3, 300},
        {"a long heat, the last tick short at the end", Qt::Horizontal, 1, 200000, 3, 300},
        {"the last tick short at the end", Qt::Horizontal, 1, 2000, 3, 250},
        {"the maximum on a tick", Qt::Horizontal, 0, 3000, 3, 250},
        {"the maximum one past a tick", Qt::Horizontal, 0, 3002, 3, 250},
        {"the last tick short inside", Qt::Horizontal, 1, 700, 3, 250},
        {"upside down", Qt::Horizontal, 1, 200000, 3, 300, true},
        {"both sides", Qt::Horizontal, 1, 20000, 3, 300, false, QSlider::TicksBothSides},
        {"above", Qt::Horizontal, 1, 20000, 7, 300, false, QSlider::TicksAbove},
        {"vertical, the minimum at the bottom", Qt::Vertical, 1, 200000, 3, 300},
        {"vertical, the minimum at the top", Qt::Vertical, 1, 20000, 3, 300, true, QSlider::TicksBothSides},
        {"no interval set", Qt::Horizontal, 0, 5000, 0, 250},
        {"one value per tick", Qt::Horizontal, 0, 1000, 1, 250},
        {"the handle held", Qt::Horizontal, 1, 200000, 3, 300, false, QSlider::TicksBelow, true},
    };
    for (const Case& c : cases) {
        QSlider plain(c.orientation, nullptr);
        ui::Slider slider(c.orientation, nullptr);
        for (QSlider* s : {&plain, static_cast<QSlider*>(&slider)}) {
            s->setRange(c.minimum, c.maximum);
            s->setTickInterval(c.interval);
            s->setTickPosition(c.ticks);
            s->setInvertedAppearance(c.upside_down);
            s->setValue(c.minimum + (c.maximum - c.minimum) / 3);
            if (c.orientation == Qt::Horizontal) s->resize(c.length, s->sizeHint().height());
            else s->resize(s->sizeHint().width(), c.length);
            if (c.held) {
                Press_Handle(*s);
                ASSERT_TRUE(s->isSliderDown()) << c.what;
            }
        }
        // Painted once first: a style may draw its first picture of a groove (before it has it cached)
        // with other tick colours.
        plain.grab();
        slider.grab();
        const QImage expected = plain.grab().toImage(), painted = slider.grab().toImage();
        ASSERT_EQ(painted.size(), expected.size()) << c.what;
        int differing = 0;
        for (int y = 0; y < expected.height(); ++y)
            for (int x = 0; x < expected.width(); ++x)
                if (painted.pixel(x, y) != expected.pixel(x, y)) ++differing;
        // At most the end column's tick a pixel longer on each side (the style's last tick short there).
        EXPECT_LE(differing, c.ticks == QSlider::TicksBothSides ? 2 : 1) << c.what;
    }
}

}  // namespace
