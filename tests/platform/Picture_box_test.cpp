#include "platform/gdi/Gdi_draw.h"
#include "Pixel_moves.h"
#include "platform/ui/Picture_box.h"

#include <QApplication>
#include <QBackingStore>
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

namespace {

// What the window shows: its backing store's image, where the box paints on the screen.
QImage On_Screen(QWidget& window) {
    auto* image = dynamic_cast<QImage*>(window.backingStore()->paintDevice());
    return image ? image->copy() : QImage();
}

}  // namespace

// On the screen the box paints its rows straight into the window's image at its place in the window,
// and only the part the paint asks for: the same pixels a grab shows, its child left as it is.
TEST(Picture_box, Painted_on_the_screen_as_grabbed_at_its_place_without_touching_its_child) {
    For_Each_Way_Of_Moving([&] {
        QWidget window;
        window.resize(90, 70);
        auto* box = new ui::Picture_box(&window);
        box->setGeometry(13, 9, 41, 37);
        auto* child = new QWidget(box);
        child->setGeometry(30, 2, 6, 5);
        child->setAutoFillBackground(true);
        QPalette blue = child->palette();
        blue.setColor(QPalette::Window, QColor(0, 0, 255));
        child->setPalette(blue);
        for (int32_t y = 0; y < 37; ++y)
            for (int32_t x = 0; x < 41; ++x) gdi::SetPixelV(box->hDC(), x, y, static_cast<gdi::COLORREF>(x * 5 | y * 6 << 8 | 0x800000));
        window.show();
        QApplication::processEvents();
        // A repaint of a part of the box only.
        gdi::SetPixelV(box->hDC(), 31, 3, 0x0000FF);
        box->repaint(QRect(0, 0, 20, 10));
        const QImage screen = On_Screen(window);
        ASSERT_FALSE(screen.isNull());
        const QImage grabbed = box->grab().toImage();
        for (int32_t y = 0; y < 37; ++y)
            for (int32_t x = 0; x < 41; ++x) {
                const bool under_child = QRect(30, 2, 6, 5).contains(x, y);
                ASSERT_EQ(screen.pixelColor(13 + x, 9 + y), under_child ? QColor(0, 0, 255) : grabbed.pixelColor(x, y))
                    << x << "," << y;
            }
        EXPECT_EQ(screen.pixelColor(13 + 5, 9 + 7), QColor(25, 42, 128));
    });
}
