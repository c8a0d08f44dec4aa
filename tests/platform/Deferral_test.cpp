// A window's picture left for its paint: the paint draws it into the screen's lines, and whoever reads
// or draws on the window's bitmap gets exactly that picture drawn into it first.
#include "platform/gdi/Device_context.h"
#include "platform/gdi/Gdi_draw.h"
#include "platform/ui/Picture_box.h"

#include <QImage>
#include <gtest/gtest.h>

#include <memory>
#include <vector>

namespace {

using namespace gdi;

// A layer that fills every pixel with one colour, counting its draws.
Deferral::Layer Fill_Layer(COLORREF colour, int* draws) {
    return [colour, draws](const Rows_target& lines) {
        ++*draws;
        for (int32_t y = 0; y < lines.height; ++y)
            for (int32_t x = 0; x < lines.width; ++x) {
                uint8_t* p = lines.Line(y) + static_cast<int64_t>(x) * lines.pixel_bytes;
                p[0] = Blue_Of(colour);
                p[1] = Green_Of(colour);
                p[2] = Red_Of(colour);
                if (lines.pixel_bytes == 4) p[3] = 255;
            }
    };
}

// A layer that sets one pixel, as the course's spans do.
Deferral::Layer Dot_Layer(int32_t x, int32_t y, COLORREF colour) {
    return [=](const Rows_target& lines) {
        uint8_t* p = lines.Line(y) + static_cast<int64_t>(x) * lines.pixel_bytes;
        p[0] = Blue_Of(colour);
        p[1] = Green_Of(colour);
        p[2] = Red_Of(colour);
    };
}

TEST(Deferral, A_window_picture_is_drawn_into_its_bitmap_whenever_the_bitmap_is_asked_for) {
    constexpr COLORREF Red = 0x0000FF, Blue = 0xFF0000, Green = 0x00FF00;
    // A memory context draws at once.
    {
        Device_context* memory = CreateCompatibleDC(nullptr);
        Bitmap* bitmap = Bitmap::Create(3, 2);
        Gdi_object* previous = SelectObject(memory, bitmap);
        int draws = 0;
        memory->Defer_Cover(Fill_Layer(Red, &draws));
        EXPECT_EQ(draws, 1);
        EXPECT_FALSE(memory->Deferred_Pending());
        EXPECT_TRUE(memory->Deferred().expired());
        EXPECT_EQ(GetPixel(memory, 2, 1), Red);
        SelectObject(memory, previous);
        DeleteObject(bitmap);
        DeleteDC(memory);
    }

    auto window = std::make_unique<Device_context>(Device_context::Kind::window);
    std::unique_ptr<Bitmap> bitmap(Bitmap::Create(4, 3));
    int drawn = 0;
    window->Set_Window_Surface(bitmap.get(), [&] { ++drawn; });
    int draws = 0;
    window->Defer_Cover(Fill_Layer(Red, &draws));
    window->Defer_Over(Dot_Layer(1, 2, Blue));
    EXPECT_EQ(draws, 0);
    EXPECT_EQ(drawn, 2);  // the window repaints
    EXPECT_EQ(bitmap->Line(0)[0], 0);  // the bitmap is not written yet

    // A paint draws the layers in order into 32-bit lines and keeps them.
    std::vector<uint8_t> screen(4 * 4 * 3, 0);
    ASSERT_FALSE(window->Deferred().expired());
    window->Deferred().lock()->Draw(Rows_target{screen.data(), 16, 4, 3, 4});
    EXPECT_EQ(draws, 1);
    EXPECT_EQ(screen[0], 0);  // red: blue, green, red, 255
    EXPECT_EQ(screen[2], 0xFF);
    EXPECT_EQ(screen[3], 255);
    EXPECT_EQ(screen[2 * 16 + 4 + 0], 0xFF);  // (1, 2) blue
    EXPECT_EQ(screen[2 * 16 + 4 + 2], 0);
    EXPECT_TRUE(window->Deferred_Pending());

    // A read draws them into the bitmap once, with the same pixels.
    EXPECT_EQ(GetPixel(window.get(), 0, 0), Red);
    EXPECT_EQ(GetPixel(window.get(), 1, 2), Blue);
    EXPECT_EQ(draws, 2);
    EXPECT_FALSE(window->Deferred_Pending());
    EXPECT_EQ(GetPixel(window.get(), 3, 1), Red);
    EXPECT_EQ(draws, 2);

    // Drawing on the bitmap settles first, so it lands over the deferred picture, not under it.
    window->Defer_Cover(Fill_Layer(Green, &draws));
    SetPixelV(window.get(), 0, 0, Blue);
    EXPECT_EQ(GetPixel(window.get(), 0, 0), Blue);
    EXPECT_EQ(GetPixel(window.get(), 1, 0), Green);

    // Over a picture that is not deferred, a layer draws at once.
    window->Defer_Over(Dot_Layer(3, 0, Red));
    EXPECT_FALSE(window->Deferred_Pending());
    EXPECT_EQ(GetPixel(window.get(), 3, 0), Red);

    // Dropped layers are never drawn; a new cover replaces what was deferred; a new bitmap drops them.
    const int before = draws;
    window->Defer_Cover(Fill_Layer(Red, &draws));
    window->Drop_Deferred();
    EXPECT_EQ(GetPixel(window.get(), 1, 0), Green);
    window->Defer_Cover(Fill_Layer(Red, &draws));
    window->Defer_Cover(Fill_Layer(Blue, &draws));
    EXPECT_EQ(GetPixel(window.get(), 1, 0), Blue);
    EXPECT_EQ(draws, before + 1);
    window->Defer_Cover(Fill_Layer(Red, &draws));
    std::unique_ptr<Bitmap> other(Bitmap::Create(2, 2));
    window->Set_Window_Surface(other.get(), {});
    EXPECT_FALSE(window->Deferred_Pending());
    EXPECT_EQ(GetPixel(window.get(), 0, 0), 0u);

    // Whoever holds the deferral after its context is gone draws nothing and reaches no freed bitmap.
    window->Defer_Cover(Fill_Layer(Red, &draws));
    const std::weak_ptr<Deferral> held = window->Deferred();
    window.reset();
    EXPECT_TRUE(held.expired());
    EXPECT_EQ(draws, before + 1);
}

TEST(Deferral, A_picture_box_paints_a_deferred_picture_into_the_screen_image_and_keeps_it) {
    constexpr COLORREF Red = 0x0000FF, Blue = 0xFF0000;
    ui::Picture_box box;
    box.resize(30, 20);
    int draws = 0;
    box.hDC()->Defer_Cover(Fill_Layer(Red, &draws));
    box.hDC()->Defer_Over(Dot_Layer(5, 7, Blue));
    // The screen's own format at one device pixel a pixel: drawn straight into it.
    QImage screen(30, 20, QImage::Format_ARGB32_Premultiplied);
    screen.fill(Qt::black);
    box.render(&screen);
    EXPECT_EQ(draws, 1);
    EXPECT_TRUE(box.hDC()->Deferred_Pending());
    EXPECT_EQ(screen.pixel(0, 0), 0xFFFF0000u);
    EXPECT_EQ(screen.pixel(29, 19), 0xFFFF0000u);
    EXPECT_EQ(screen.pixel(5, 7), 0xFF0000FFu);
    // Another format takes the bitmap: drawn into it once, the same picture.
    QImage other(30, 20, QImage::Format_RGB888);
    box.render(&other);
    EXPECT_EQ(draws, 2);
    EXPECT_FALSE(box.hDC()->Deferred_Pending());
    EXPECT_EQ(other.convertToFormat(QImage::Format_ARGB32_Premultiplied), screen);
    // Clearing the box drops a deferred picture instead of drawing it later over the background.
    box.BackColor(0x00FF00);
    box.hDC()->Defer_Cover(Fill_Layer(Red, &draws));
    box.Cls();
    EXPECT_EQ(gdi::GetPixel(box.hDC(), 5, 7), 0x00FF00u);
    EXPECT_EQ(draws, 2);
}

}  // namespace
