#include "platform/gdi/Device_context.h"
#include "platform/gdi/Draw_dib.h"
#include "platform/gdi/Gdi_blit.h"
#include "platform/gdi/Gdi_draw.h"
#include "Pixel_moves.h"

#include <array>
#include <cstdlib>
#include <cstring>
#include <gtest/gtest.h>
#include <memory>
#include <random>
#include <vector>

namespace {

using namespace gdi;

constexpr COLORREF Red = 0x0000FF, Green = 0x00FF00, Blue = 0xFF0000, White = 0xFFFFFF, Black = 0;

// A memory context holding a bitmap of its own, released at the end of the test.
struct Canvas {
    Canvas(int32_t w, int32_t h, COLORREF fill = White) : dc(CreateCompatibleDC(nullptr)), bitmap(Bitmap::Create(w, h)) {
        previous = SelectObject(dc, bitmap);
        for (int32_t y = 0; y < h; ++y)
            for (int32_t x = 0; x < w; ++x) SetPixelV(dc, x, y, fill);
    }
    ~Canvas() {
        SelectObject(dc, previous);
        DeleteObject(bitmap);
        DeleteDC(dc);
    }
    COLORREF At(int32_t x, int32_t y) const { return GetPixel(dc, x, y); }
    Device_context* dc;
    Bitmap* bitmap;
    Gdi_object* previous;
};

TEST(Gdi, Pixels_are_addressed_from_the_top_left_in_bottom_up_rows) {
    Canvas c(5, 3);
    SetPixelV(c.dc, 1, 0, RGB(10, 20, 30));
    const uint8_t* top_row = c.bitmap->Bits() + 2 * c.bitmap->Stride();  // rows are stored bottom-up
    EXPECT_EQ(top_row[3], 30);
    EXPECT_EQ(top_row[4], 20);
    EXPECT_EQ(top_row[5], 10);
    EXPECT_EQ(c.bitmap->Stride(), 16);
    EXPECT_EQ(c.At(1, 0), RGB(10, 20, 30));
    // Outside the picture: nothing read, nothing written.
    EXPECT_EQ(GetPixel(c.dc, 5, 0), CLR_INVALID);
    EXPECT_EQ(GetPixel(c.dc, 0, -1), CLR_INVALID);
    EXPECT_FALSE(SetPixelV(c.dc, -1, 0, Red));
    EXPECT_EQ(SetPixel(c.dc, 0, 3, Red), -1);
}

TEST(Gdi, Blits_copy_stretch_clip_and_leave_the_transparent_colour) {
    Canvas source(2, 2);
    SetPixelV(source.dc, 0, 0, Red);
    SetPixelV(source.dc, 1, 0, Green);
    SetPixelV(source.dc, 0, 1, Blue);
    SetPixelV(source.dc, 1, 1, Black);

    Canvas copy(4, 4);
    ASSERT_TRUE(BitBlt(copy.dc, 1, 2, 2, 2, source.dc, 0, 0, SRCCOPY));
    EXPECT_EQ(copy.At(1, 2), Red);
    EXPECT_EQ(copy.At(2, 3), Black);
    EXPECT_EQ(copy.At(0, 2), White);

    // Twice the size, nearest pixel: each source row lands on exactly two rows, never mixed.
    Canvas stretched(4, 4);
    ASSERT_TRUE(StretchBlt(stretched.dc, 0, 0, 4, 4, source.dc, 0, 0, 2, 2, SRCCOPY));
    const COLORREF expected[4][4] = {{Red, Red, Green, Green}, {Red, Red, Green, Green},
                                     {Blue, Blue, Black, Black}, {Blue, Blue, Black, Black}};
    for (int y = 0; y < 4; ++y)
        for (int x = 0; x < 4; ++x) EXPECT_EQ(stretched.At(x, y), expected[y][x]) << x << "," << y;

    // Rectangles reaching past either picture are clipped, not read or written outside.
    Canvas clipped(3, 3);
    EXPECT_TRUE(BitBlt(clipped.dc, -1, 2, 5, 5, source.dc, -1, 0, SRCCOPY));
    EXPECT_EQ(clipped.At(0, 2), Red);
    EXPECT_EQ(clipped.At(1, 2), Green);
    EXPECT_EQ(clipped.At(2, 2), White);

    Canvas overlay(4, 4);
    ASSERT_TRUE(TransparentBlt(overlay.dc, 0, 0, 4, 4, source.dc, 0, 0, 2, 2, Black));
    EXPECT_EQ(overlay.At(0, 0), Red);
    EXPECT_EQ(overlay.At(3, 3), White);

    // A raster operation that is not known draws nothing.
    Canvas untouched(2, 2);
    EXPECT_FALSE(BitBlt(untouched.dc, 0, 0, 2, 2, source.dc, 0, 0, 0x00EE0086));
    EXPECT_EQ(untouched.At(0, 0), White);
}

TEST(Gdi, Lines_leave_out_the_last_pixel_and_dots_show_the_background_while_opaque) {
    Canvas c(14, 3, Black);
    Pen* pen = CreatePen(PS_DOT, 1, Red);
    Gdi_object* old = SelectObject(c.dc, pen);
    MoveToEx(c.dc, 0, 1);
    ASSERT_TRUE(LineTo(c.dc, 12, 1));
    for (int x = 0; x < 12; ++x) EXPECT_EQ(c.At(x, 1), x % 6 < 3 ? Red : White) << x;
    EXPECT_EQ(c.At(12, 1), Black);

    SetBkMode(c.dc, TRANSPARENT);
    MoveToEx(c.dc, 0, 0);
    LineTo(c.dc, 12, 0);
    EXPECT_EQ(c.At(0, 0), Red);
    EXPECT_EQ(c.At(3, 0), Black);

    SelectObject(c.dc, old);
    EXPECT_TRUE(DeleteObject(pen));
}

// The pixels of a 1-pixel line as the step-by-step walk from its first end draws them: the reference
// for lines far beyond the surface.
std::vector<COLORREF> Walked_Line(int32_t w, int32_t h, int32_t style, bool opaque, int64_t x0, int64_t y0, int64_t x1,
                                  int64_t y1) {
    std::vector<COLORREF> pixels(static_cast<size_t>(w * h), Black);
    int64_t dx = std::llabs(x1 - x0), dy = -std::llabs(y1 - y0), error = dx + dy;
    int64_t x = x0, y = y0;
    for (int64_t step = 0; x != x1 || y != y1; ++step) {
        bool draws = style == PS_DOT ? step % 6 < 3 : style == PS_DASH ? step % 24 < 18 : true;
        if (x >= 0 && y >= 0 && x < w && y < h && (draws || opaque)) pixels[y * w + x] = draws ? Red : White;
        int64_t e2 = 2 * error;
        if (e2 >= dy) { error += dy; x += x0 < x1 ? 1 : -1; }
        if (e2 <= dx) { error += dx; y += y0 < y1 ? 1 : -1; }
    }
    return pixels;
}

TEST(Gdi, Lines_beyond_the_surface_draw_the_pixels_and_dots_of_the_whole_walk) {
    constexpr int32_t w = 23, h = 17;
    std::mt19937 random(15);
    std::uniform_int_distribution<int32_t> near(-40, 60);
    std::uniform_int_distribution<int32_t> far(-1000000, 1000000);
    for (int i = 0; i < 2000; ++i) {
        const int32_t style = std::array{PS_SOLID, PS_DOT, PS_DASH}[i % 3];
        const bool opaque = i % 2 == 0;
        auto pick = [&] { return i % 50 == 0 ? far(random) : near(random); };
        const int32_t x0 = pick(), y0 = pick(), x1 = pick(), y1 = pick();
        Canvas c(w, h, Black);
        Pen* pen = CreatePen(style, 1, Red);
        Gdi_object* old = SelectObject(c.dc, pen);
        SetBkMode(c.dc, opaque ? OPAQUE : TRANSPARENT);
        MoveToEx(c.dc, x0, y0);
        LineTo(c.dc, x1, y1);
        const std::vector<COLORREF> expected = Walked_Line(w, h, style, opaque, x0, y0, x1, y1);
        for (int32_t y = 0; y < h; ++y)
            for (int32_t x = 0; x < w; ++x)
                ASSERT_EQ(c.At(x, y), expected[y * w + x])
                    << "(" << x0 << "," << y0 << ")-(" << x1 << "," << y1 << ") style " << style << " at " << x << "," << y;
        SelectObject(c.dc, old);
        DeleteObject(pen);
    }
}

TEST(Gdi, A_line_with_ends_two_billion_pixels_away_draws_only_what_the_surface_shows) {
    constexpr int64_t far = 2000000000;
    struct Row {
        int32_t x0, y0, x1, y1;
        int64_t (*step_at)(int32_t i);  // the step of the walk that draws the i-th pixel below
        int32_t (*x)(int32_t i);
        int32_t (*y)(int32_t i);
    };
    const Row rows[] = {
        {-far, 5, far, 5, [](int32_t i) { return i + far; }, [](int32_t i) { return i; }, [](int32_t) { return 5; }},
        {7, far, 7, -far, [](int32_t i) { return far - i; }, [](int32_t) { return 7; }, [](int32_t i) { return i; }},
        {-far, -far, far, far, [](int32_t i) { return i + far; }, [](int32_t i) { return i; }, [](int32_t i) { return i; }},
        {-far, -far / 2, far, far / 2, [](int32_t i) { return i + far; }, [](int32_t i) { return i; },
         [](int32_t i) { return (i + 1) / 2; }},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.x0);
        Canvas c(30, 30, Black);
        Pen* pen = CreatePen(PS_DOT, 1, Red);
        Gdi_object* old = SelectObject(c.dc, pen);
        MoveToEx(c.dc, r.x0, r.y0);
        ASSERT_TRUE(LineTo(c.dc, r.x1, r.y1));
        int drawn = 0;
        for (int32_t y = 0; y < 30; ++y)
            for (int32_t x = 0; x < 30; ++x) drawn += c.At(x, y) != Black;
        EXPECT_EQ(drawn, 30);
        for (int32_t i = 0; i < 30; ++i)
            EXPECT_EQ(c.At(r.x(i), r.y(i)), r.step_at(i) % 6 < 3 ? Red : White) << i;
        SelectObject(c.dc, old);
        DeleteObject(pen);
    }
}

TEST(Gdi, An_object_in_use_is_not_deleted) {
    Canvas c(2, 2);
    Brush* brush = CreateSolidBrush(Red);
    Gdi_object* old = SelectObject(c.dc, brush);
    EXPECT_EQ(old, Stock_Brush());
    EXPECT_FALSE(DeleteObject(brush));
    EXPECT_FALSE(DeleteObject(Stock_Pen()));
    SelectObject(c.dc, old);
    EXPECT_TRUE(DeleteObject(brush));
    // A bitmap cannot be selected into a window's context.
    Device_context window(Device_context::Kind::window);
    EXPECT_EQ(SelectObject(&window, c.bitmap), nullptr);
}

TEST(Gdi, Shapes_fill_with_the_brush_and_outline_with_the_pen) {
    Canvas c(20, 20);
    Brush* brush = CreateSolidBrush(Green);
    Pen* pen = CreatePen(PS_SOLID, 1, Blue);
    SelectObject(c.dc, brush);
    Gdi_object* old_pen = SelectObject(c.dc, pen);
    ASSERT_TRUE(Rectangle(c.dc, 2, 2, 8, 6));
    EXPECT_EQ(c.At(2, 2), Blue);
    EXPECT_EQ(c.At(7, 5), Blue);
    EXPECT_EQ(c.At(8, 5), White);
    EXPECT_EQ(c.At(4, 4), Green);

    ASSERT_TRUE(Ellipse(c.dc, 5, 5, 19, 19));
    EXPECT_EQ(c.At(12, 12), Green);
    EXPECT_EQ(c.At(18, 6), White);
    EXPECT_EQ(c.At(18, 18), White);
    SelectObject(c.dc, Stock_Brush());
    SelectObject(c.dc, old_pen);
    DeleteObject(brush);
    DeleteObject(pen);
}

TEST(Gdi, Text_is_drawn_upright_inside_its_rectangle) {
    Canvas c(80, 60);
    Font* font = CreateFontA(-40, 0, 0, 0, 700, false, false, false, 1, 0, 0, 2, 0, "Sans Serif");
    Gdi_object* old = SelectObject(c.dc, font);
    SetTextColor(c.dc, Red);
    SetBkMode(c.dc, TRANSPARENT);
    const int32_t height = DrawTextA(c.dc, "T", Rect{10, 10, 70, 55}, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
    EXPECT_GT(height, 0);
    SelectObject(c.dc, old);
    DeleteObject(font);

    // The bar of a "T" is at its top: the reddest row lies in the upper half of the ink.
    int first = -1, last = -1, widest_row = -1, widest = 0;
    for (int y = 0; y < 60; ++y) {
        int count = 0;
        for (int x = 0; x < 80; ++x) {
            COLORREF p = c.At(x, y);
            if (Red_Of(p) > 200 && Green_Of(p) < 100) {
                ++count;
                EXPECT_TRUE(x >= 10 && x < 70 && y >= 10 && y < 55) << x << "," << y;
            }
        }
        if (count > 0) {
            if (first < 0) first = y;
            last = y;
        }
        if (count > widest) {
            widest = count;
            widest_row = y;
        }
    }
    ASSERT_GE(first, 0);
    EXPECT_LT(widest_row, (first + last) / 2);
}

TEST(Gdi, DrawDib_paints_scaled_or_unscaled_and_refuses_other_pictures) {
    Canvas source(2, 1);
    SetPixelV(source.dc, 0, 0, Red);
    SetPixelV(source.dc, 1, 0, Blue);
    Bitmap_info info;
    info.header = {40, 2, 1, 1, 24, 0, 8, 0, 0, 0, 0};
    HDRAWDIB handle = DrawDibOpen();

    Canvas target(6, 3);
    ASSERT_TRUE(DrawDibDraw(handle, target.dc, 0, 0, 6, 3, &info.header, source.bitmap->Bits(), 0, 0, 2, 1, 0));
    EXPECT_EQ(target.At(2, 2), Red);
    EXPECT_EQ(target.At(3, 0), Blue);

    Canvas unscaled(6, 3);
    ASSERT_TRUE(DrawDibDraw(handle, unscaled.dc, 1, 1, 0, 0, &info.header, source.bitmap->Bits(), 0, 0, 2, 1, 0));
    EXPECT_EQ(unscaled.At(1, 1), Red);
    EXPECT_EQ(unscaled.At(2, 1), Blue);
    EXPECT_EQ(unscaled.At(3, 1), White);

    info.header.biBitCount = 32;
    EXPECT_FALSE(DrawDibDraw(handle, unscaled.dc, 0, 0, 6, 3, &info.header, source.bitmap->Bits(), 0, 0, 2, 1, 0));
    EXPECT_TRUE(DrawDibClose(handle));
}

}  // namespace

namespace {

// What a stretched copy must give: each destination pixel takes the source pixel under its centre,
// when that is inside the source and not of the transparent colour.
void Stretch_By_Pixel(Canvas& to, int32_t dx, int32_t dy, int32_t dw, int32_t dh, const Canvas& from, int32_t sx,
                      int32_t sy, int32_t sw, int32_t sh, const COLORREF* transparent) {
    for (int32_t j = 0; j < dh; ++j)
        for (int32_t i = 0; i < dw; ++i) {
            const COLORREF c = from.At(sx + static_cast<int32_t>((2 * i + 1) * sw / (2 * dw)),
                                       sy + static_cast<int32_t>((2 * j + 1) * sh / (2 * dh)));
            if (c != CLR_INVALID && !(transparent && c == *transparent)) SetPixelV(to.dc, dx + i, dy + j, c);
        }
}

}  // namespace

TEST(Gdi, Stretched_copies_take_the_pixel_under_each_centre_at_any_scale_and_offset) {
    std::mt19937 random(5);
    Canvas source(13, 9);
    for (int32_t y = 0; y < 9; ++y)
        for (int32_t x = 0; x < 13; ++x) SetPixelV(source.dc, x, y, random() % 3 == 0 ? Black : random() & 0xFFFFFF);
    struct Row {
        int32_t dx, dy, dw, dh, sx, sy, sw, sh;
    } rows[] = {
        {0, 0, 13, 9, 0, 0, 13, 9},    {0, 0, 30, 20, 0, 0, 13, 9},  {0, 0, 5, 4, 0, 0, 13, 9},
        {-3, 2, 17, 11, -2, -1, 13, 9}, {4, -2, 9, 30, 3, 2, 20, 4},  {1, 1, 29, 7, 5, 0, 6, 9},
        {0, 0, 31, 23, -4, -3, 21, 15},
    };
    for (const COLORREF* transparent : {static_cast<const COLORREF*>(nullptr), &Black})
        for (const Row& r : rows) {
            SCOPED_TRACE(testing::Message() << r.dx << "," << r.dy << " " << r.dw << "x" << r.dh << " from " << r.sx << ","
                                            << r.sy << " " << r.sw << "x" << r.sh << (transparent ? " transparent" : ""));
            Canvas got(24, 18, Green), expected(24, 18, Green);
            ASSERT_TRUE(transparent ? TransparentBlt(got.dc, r.dx, r.dy, r.dw, r.dh, source.dc, r.sx, r.sy, r.sw, r.sh, Black)
                                    : StretchBlt(got.dc, r.dx, r.dy, r.dw, r.dh, source.dc, r.sx, r.sy, r.sw, r.sh, SRCCOPY));
            Stretch_By_Pixel(expected, r.dx, r.dy, r.dw, r.dh, source, r.sx, r.sy, r.sw, r.sh, transparent);
            for (int32_t y = 0; y < 18; ++y)
                for (int32_t x = 0; x < 24; ++x) ASSERT_EQ(got.At(x, y), expected.At(x, y)) << x << "," << y;
        }
}

// Rows wide enough for the copy's runs, shrunk and widened at uneven ratios, some rows the mean of two,
// clipped at the destination's edges, each way of moving pixels the processor has: each destination pixel
// against the source pixel (or the mean of the two) under its centre. The same copy onto 32-bit lines
// wider than the picture gives those pixels with the fourth byte 255, and writes nothing else.
TEST(Gdi, Wide_rows_and_rows_of_pairs_take_the_pixel_under_each_centre) {
    For_Each_Way_Of_Moving([&] {
        std::mt19937 random(11);
        struct Row {
            int32_t width, dx, dy, dw, sx, sw;
            int32_t spare;  // destination columns right of the rectangle; negative ones cut it off
        } rows[] = {
            {440, 0, 0, 315, 0, 440, 4},    {440, 0, 0, 220, 0, 440, 4},   {97, 0, 0, 53, 0, 97, 4},
            {64, 0, 0, 200, 0, 64, 4},      {440, -7, 0, 330, 3, 420, 4},  {100, 5, 0, 61, -9, 110, 4},
            {101, 0, 0, 101, 0, 101, 4},    {50, 0, 0, 49, 0, 50, 4},      {440, 6, -2, 315, 0, 440, -20},
            {200, -3, 3, 90, 40, 170, -10}, {120, -5, 3, 120, 15, 120, -9}, {30, 2, -1, 7, 3, 20, -3},
        };
        constexpr int32_t height = 6, dh = 9, out_height = 9;
        for (const Row& r : rows) {
            SCOPED_TRACE(testing::Message() << r.width << " wide, " << r.dx << "," << r.dy << " " << r.dw << " from "
                                            << r.sx << " " << r.sw << ", " << r.spare << " spare");
            std::unique_ptr<Bitmap> first(Bitmap::Create(r.width, height)), second(Bitmap::Create(r.width, height));
            for (Bitmap* b : {first.get(), second.get()})
                for (int32_t y = 0; y < height; ++y)
                    for (int32_t i = 0; i < 3 * r.width; ++i) b->Line(y)[i] = static_cast<uint8_t>(random());
            const int32_t out_width = r.dx + r.dw + r.spare, wide_width = out_width + 3;
            for (const bool pairs : {false, true}) {
                std::unique_ptr<Bitmap> got(Bitmap::Create(out_width, out_height));
                for (int32_t y = 0; y < out_height; ++y) std::memset(got->Line(y), 0x5A, static_cast<size_t>(3 * out_width));
                std::vector<uint32_t> wide(static_cast<size_t>(wide_width) * out_height, 0x5A5A5A5Au);
                const Rows_target wide_target{reinterpret_cast<uint8_t*>(wide.data()), 4 * int64_t{wide_width}, out_width,
                                              out_height, 4};
                // Odd rows of the pairs are the mean of both pictures' rows, even rows the first picture's.
                const auto row_of = [&](int32_t top) {
                    return Row_pair{first->Line(top), pairs && top % 2 == 1 ? second->Line(top) : first->Line(top)};
                };
                ASSERT_TRUE(pairs ? Stretch_Row_Pairs(*got, r.dx, r.dy, r.dw, dh, r.width, height, row_of, r.sx, 0, r.sw, height)
                                  : Stretch_Pixels(*got, r.dx, r.dy, r.dw, dh, View_Of(*first), r.sx, 0, r.sw, height));
                ASSERT_TRUE(Stretch_Row_Pairs(wide_target, r.dx, r.dy, r.dw, dh, r.width, height, row_of, r.sx, 0, r.sw, height));
                for (int32_t y = 0; y < out_height; ++y)
                    for (int32_t x = 0; x < wide_width; ++x) {
                        const int32_t i = x - r.dx, j = y - r.dy;
                        const bool in_rectangle = x < out_width && i >= 0 && i < r.dw && j >= 0 && j < dh;
                        const int32_t sx = in_rectangle ? r.sx + (2 * i + 1) * r.sw / (2 * r.dw) : -1;
                        const bool inside = in_rectangle && sx >= 0 && sx < r.width;
                        const Row_pair source = inside ? row_of((2 * j + 1) * height / (2 * dh)) : Row_pair{};
                        for (int c = 0; c < 4; ++c) {
                            const int expected =
                                !inside ? 0x5A : c == 3 ? 255 : (source.a[3 * sx + c] + source.b[3 * sx + c] + 1) / 2;
                            if (c < 3 && x < out_width) {
                                ASSERT_EQ(got->Line(y)[3 * x + c], expected) << (pairs ? "pairs " : "") << x << "," << y << " byte " << c;
                            }
                            ASSERT_EQ(reinterpret_cast<const uint8_t*>(wide.data())[4 * (int64_t{y} * wide_width + x) + c], expected)
                                << "32 bits, " << (pairs ? "pairs " : "") << x << "," << y << " byte " << c;
                        }
                    }
            }
        }
    });
}
