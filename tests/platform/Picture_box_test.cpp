#include "platform/gdi/Gdi_draw.h"
#include "platform/ui/Picture_box.h"

#include <QApplication>
#include <QImage>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPixmap>
#include <gtest/gtest.h>

namespace {

QColor Shown(ui::Picture_box& box, int x, int y) { return box.grab().toImage().pixelColor(x, y); }

TEST(Picture_box, Drawing_through_its_context_is_kept_and_shown) {
    ui::Picture_box box;
    box.resize(40, 30);
    EXPECT_EQ(box.ScaleWidth(), 40);
    EXPECT_EQ(box.ScaleHeight(), 30);
    box.BackColor(0x00FF00);  // green
    EXPECT_EQ(gdi::GetPixel(box.hDC(), 39, 29), 0x00FF00u);

    gdi::Brush* brush = gdi::CreateSolidBrush(0x0000FF);  // red
    gdi::Gdi_object* old = gdi::SelectObject(box.hDC(), brush);
    gdi::Rectangle(box.hDC(), 0, 0, 10, 5);
    gdi::SelectObject(box.hDC(), old);
    gdi::DeleteObject(brush);

    EXPECT_EQ(Shown(box, 0, 0), QColor(0, 0, 0));  // the black pen's outline
    EXPECT_EQ(Shown(box, 5, 2), QColor(255, 0, 0));
    EXPECT_EQ(Shown(box, 5, 20), QColor(0, 255, 0));

    // Growing keeps what was drawn at its place; the new area is the background colour.
    box.resize(60, 50);
    EXPECT_EQ(box.ScaleWidth(), 60);
    EXPECT_EQ(Shown(box, 5, 2), QColor(255, 0, 0));
    EXPECT_EQ(Shown(box, 55, 45), QColor(0, 255, 0));

    box.Cls();
    EXPECT_EQ(Shown(box, 5, 2), QColor(0, 255, 0));
}

TEST(Picture_box, Mouse_and_key_events_arrive_in_the_programs_terms) {
    ui::Picture_box box;
    box.resize(50, 50);
    int16_t button = 0, shift = 0, key = 0;
    float x = 0, y = 0;
    box.MouseDown = [&](int16_t b, int16_t s, float px, float py) { button = b; shift = s; x = px; y = py; };
    box.KeyDown = [&](int16_t k, int16_t s) { key = k; shift = s; };

    QMouseEvent press(QEvent::MouseButtonPress, QPointF(12, 7), box.mapToGlobal(QPointF(12, 7)), Qt::RightButton,
                      Qt::RightButton, Qt::ControlModifier);
    QApplication::sendEvent(&box, &press);
    EXPECT_EQ(button, 2);
    EXPECT_EQ(shift, 2);
    EXPECT_EQ(x, 12);
    EXPECT_EQ(y, 7);

    const struct { int qt_key; Qt::KeyboardModifiers modifiers; int16_t code, shift; } rows[] = {
        {Qt::Key_Left, Qt::NoModifier, 37, 0}, {Qt::Key_A, Qt::ShiftModifier, 65, 1}, {Qt::Key_F2, Qt::AltModifier, 113, 4},
        {Qt::Key_PageDown, Qt::NoModifier, 34, 0}, {Qt::Key_5, Qt::KeypadModifier, 101, 0},
    };
    for (const auto& r : rows) {
        QKeyEvent event(QEvent::KeyPress, r.qt_key, r.modifiers);
        QApplication::sendEvent(&box, &event);
        EXPECT_EQ(key, r.code) << r.qt_key;
        EXPECT_EQ(shift, r.shift) << r.qt_key;
    }
}

}  // namespace
