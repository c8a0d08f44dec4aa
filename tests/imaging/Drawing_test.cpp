#include "imaging/Vorsk_WuLines.h"
#include "imaging/cDIBSection.h"
#include "imaging/modAPIDraw.h"
#include "platform/gdi/Gdi_objects.h"
#include "platform/vb/VbError.h"

#include "Test_dialogs.h"

#include <gtest/gtest.h>

namespace {

constexpr int32_t Gray = 0x808080;
const RGB_Triple Line_Colour{10, 20, 250};  // blue, green, red

struct Overlay {
    Overlay(int32_t w, int32_t h) {
        EXPECT_TRUE(dib.Create(w, h));
        dib.Fill_with_RGB(Gray);
    }
    RGB_Triple At(int32_t x, int32_t y) {
        return Vorsk_WuLines::Colour_To_Triple(static_cast<int32_t>(gdi::GetPixel(dib.hDC(), x, y)));
    }
    cDIBSection dib;
};

bool Same(const RGB_Triple& a, const RGB_Triple& b) { return a.Blue == b.Blue && a.Green == b.Green && a.Red == b.Red; }
const RGB_Triple Background{0x80, 0x80, 0x80};

TEST(Vorsk_WuLines, Thick_lines_cover_width_pixels_with_soft_edges) {
    {
        Overlay o(8, 16);
        Vorsk_WuLines::Draw_Wu_Line(o.dib.hDC(), {0, 10}, {4, 10}, Line_Colour, 2, false);
        for (int x = 0; x <= 4; ++x) {
            EXPECT_TRUE(Same(o.At(x, 9), Line_Colour)) << x;
            EXPECT_TRUE(Same(o.At(x, 10), Line_Colour)) << x;
            EXPECT_TRUE(Same(o.At(x, 11), Background)) << x;
            EXPECT_TRUE(Same(o.At(x, 8), Background)) << x;
        }
        EXPECT_TRUE(Same(o.At(5, 10), Background));
    }
    {
        Overlay o(10, 8);
        Vorsk_WuLines::Draw_Wu_Line(o.dib.hDC(), {7, 0}, {7, 5}, Line_Colour, 2, false);
        for (int y = 0; y <= 5; ++y) {
            EXPECT_TRUE(Same(o.At(6, y), Line_Colour)) << y;
            EXPECT_TRUE(Same(o.At(7, y), Line_Colour)) << y;
            EXPECT_TRUE(Same(o.At(8, y), Background)) << y;
        }
        EXPECT_TRUE(Same(o.At(7, 6), Background));
    }
    {
        // Half coverage at s = 2 of (0, 0)-(4, 1): both edge pixels get the half blend.
        Overlay o(6, 4);
        Vorsk_WuLines::Draw_Wu_Line(o.dib.hDC(), {4, 1}, {0, 0}, Line_Colour, 1, false);
        const RGB_Triple half = Vorsk_WuLines::Blend_Triple(Line_Colour, Background, 0.5f);
        EXPECT_EQ(half.Red, 189);  // (250 + 128) / 2
        EXPECT_EQ(half.Blue, 69);  // (10 + 128) / 2
        EXPECT_TRUE(Same(o.At(2, 0), half));
        EXPECT_TRUE(Same(o.At(2, 1), half));
        // s = 0: full line colour on the upper pixel, nothing on the lower one.
        EXPECT_TRUE(Same(o.At(0, 0), Line_Colour));
        EXPECT_TRUE(Same(o.At(0, 1), Background));
    }
    {
        Overlay o(4, 4);
        Vorsk_WuLines::Draw_Wu_Line(o.dib.hDC(), {2, 2}, {2, 2}, Line_Colour, 2, false);
        for (int y = 0; y < 4; ++y)
            for (int x = 0; x < 4; ++x) EXPECT_TRUE(Same(o.At(x, y), Background));
    }
}

TEST(Vorsk_WuLines, A_dashed_line_along_y_draws_9_then_skips_11_and_draws_10) {
    Overlay o(4, 60);
    Vorsk_WuLines::Draw_Wu_Line(o.dib.hDC(), {1, 0}, {1, 50}, Line_Colour, 1, true);
    for (int y = 0; y <= 50; ++y) {
        const bool drawn = y < 9 || (y >= 20 && y < 30) || (y >= 41 && y < 51);
        EXPECT_EQ(Same(o.At(1, y), Line_Colour), drawn) << y;
    }
}

TEST(Vorsk_WuLines, Coordinates_beyond_16_bits_raise_overflow_and_edges_outside_are_ignored) {
    Overlay o(4, 4);
    EXPECT_THROW(Vorsk_WuLines::Draw_Wu_Line(o.dib.hDC(), {-32768, 0}, {32767, 0}, Line_Colour, 2, false), VbError);
    // A line along the picture's edge writes only inside it.
    Vorsk_WuLines::Draw_Wu_Line(o.dib.hDC(), {0, 0}, {3, 0}, Line_Colour, 3, false);
    EXPECT_TRUE(Same(o.At(0, 0), Line_Colour));
    EXPECT_TRUE(Same(o.At(0, 2), Background));
}

TEST(Vorsk_WuLines, Colour_conversions) {
    const RGB_Triple t = Vorsk_WuLines::Colour_To_Triple(0x00112233);
    EXPECT_EQ(t.Blue, 0x11);
    EXPECT_EQ(t.Green, 0x22);
    EXPECT_EQ(t.Red, 0x33);
    EXPECT_EQ(Vorsk_WuLines::Triple_To_Colour(t), 0x00112233);
    EXPECT_EQ(Vorsk_WuLines::Blend_Byte(0, 255, 0.5f), 128);  // 127.5 to even
    EXPECT_EQ(Vorsk_WuLines::Blend_Byte(0, 5, 0.5f), 2);      // 2.5 to even
}

TEST(modAPIDraw, Shapes_leave_the_context_as_they_found_it) {
    Overlay o(40, 40);
    gdi::Device_context* dc = o.dib.hDC();
    gdi::Pen* pen_before = dc->Current_Pen();
    gdi::Brush* brush_before = dc->Current_Brush();

    EXPECT_EQ(modAPIDraw::Draw_Rectangle_With_Pen_Brush(dc, {0, 0}, {40, 40}, 0x00FFFF, 8, 0, 0, 1, 0xFF0000), 1);
    EXPECT_EQ(gdi::GetPixel(dc, 20, 20), 0x00FFFFu);
    EXPECT_EQ(gdi::GetPixel(dc, 0, 39), 0xFF0000u);
    EXPECT_EQ(modAPIDraw::Draw_Ellipse_With_Pen_Brush(dc, {5, 5}, {30, 30}, 0xFFFFFF, 8, 1, 0, 2, 0x0000FF), 1);
    EXPECT_EQ(gdi::GetPixel(dc, 17, 17), 0x00FFFFu);  // hollow brush: the inside stays
    EXPECT_EQ(dc->Current_Pen(), pen_before);
    EXPECT_EQ(dc->Current_Brush(), brush_before);

    // A dotted lane line: the gaps show the white background colour while the mode is opaque.
    EXPECT_EQ(modAPIDraw::Draw_Line_With_Pen(dc, {0, 35}, {12, 35}, 2, 1, 0x0000FF), 1);
    EXPECT_EQ(gdi::GetPixel(dc, 0, 35), 0x0000FFu);
    EXPECT_EQ(gdi::GetPixel(dc, 4, 35), 0xFFFFFFu);
    EXPECT_EQ(dc->Current_Pen(), pen_before);
}

TEST(modAPIDraw, A_failed_line_shows_the_system_error_number) {
    Test_dialogs::Instance().Answer(ui::vbOK);
    EXPECT_EQ(modAPIDraw::Draw_Line(nullptr, {0, 0}, {5, 5}), 0);
    ASSERT_EQ(Test_dialogs::Instance().Shown_Dialogs().size(), 1u);
    EXPECT_EQ(Test_dialogs::Instance().Shown_Dialogs()[0].prompt, "6");
}

}  // namespace
