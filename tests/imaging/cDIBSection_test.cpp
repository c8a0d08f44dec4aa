#include "imaging/cDIBSection.h"
#include "platform/gdi/Gdi_blit.h"
#include "platform/gdi/Gdi_draw.h"
#include "platform/vb/VbError.h"

#include "Test_dialogs.h"
#include "Test_limits.h"

#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <iterator>
#include <vector>

namespace {

uint8_t* Pixel(cDIBSection& dib, int32_t x, int32_t row) {
    return dib.DIBSectionBitsPtr() + static_cast<int64_t>(row) * dib.BytesPerScanLine() + 3 * x;
}

// Every pixel a different colour: blue = x, green = row from the bottom, red = 7.
void Number_Pixels(cDIBSection& dib) {
    for (int32_t r = 0; r < dib.Height(); ++r)
        for (int32_t x = 0; x < dib.Width(); ++x) {
            uint8_t* p = Pixel(dib, x, r);
            p[0] = static_cast<uint8_t>(x);
            p[1] = static_cast<uint8_t>(r);
            p[2] = 7;
        }
}

// A picture box without widgets: a window context over a bitmap of its own.
struct Fake_box : gdi::Picture_surface {
    Fake_box(int32_t w, int32_t h) : dc(gdi::Device_context::Kind::window), bitmap(gdi::Bitmap::Create(w, h)) {
        dc.Set_Window_Surface(bitmap, [this] { if (on_drawn) on_drawn(); });
    }
    ~Fake_box() override { delete bitmap; }
    gdi::Device_context* hDC() override { return &dc; }
    double ScaleWidth() const override { return bitmap->Width(); }
    double ScaleHeight() const override { return bitmap->Height(); }
    gdi::Device_context dc;
    gdi::Bitmap* bitmap;
    std::function<void()> on_drawn;
};

TEST(cDIBSection, Row_length_and_image_size_follow_the_padding_rule) {
    const struct { int32_t width, bytes; } rows[] = {{1, 4}, {2, 8}, {3, 12}, {4, 12}, {641, 1924}};
    for (const auto& r : rows) {
        cDIBSection dib;
        ASSERT_TRUE(dib.Create(r.width, 3));
        EXPECT_EQ(dib.BytesPerScanLine(), r.bytes) << r.width;
        EXPECT_EQ(dib.SizeImage(), 3 * r.bytes);
    }
    cDIBSection vga;
    ASSERT_TRUE(vga.Create(640, 480));
    EXPECT_EQ(vga.SizeImage(), 921600);
    EXPECT_EQ(vga.BitCount(), 24);
    EXPECT_EQ(vga.Planes(), 1);
    EXPECT_EQ(vga.Compression(), 0);
    EXPECT_EQ(vga.SizeInfoHeader(), 40);
    EXPECT_EQ(vga.pBitmapInfo()->header.biHeight, 480);  // positive: bottom-up
}

TEST(cDIBSection, A_failed_create_leaves_it_empty_with_the_size_asked_for) {
    cDIBSection dib;
    ASSERT_TRUE(dib.Create(8, 8));
    dib.UseDrawDib(true);
    EXPECT_FALSE(dib.Create(0, 10));
    EXPECT_EQ(dib.hDC(), nullptr);
    EXPECT_EQ(dib.DIBSectionBitsPtr(), nullptr);
    EXPECT_FALSE(dib.UseDrawDib());
    EXPECT_EQ(dib.Width(), 0);
    EXPECT_EQ(dib.Height(), 10);
    // A negative height would turn the rows top-down: refused as well.
    EXPECT_FALSE(dib.Create(10, -4));
    // A size whose pixel data exceeds 32 bits raises overflow and leaves the object empty.
    try {
        dib.Create(70000, 70000);
        FAIL() << "no error";
    } catch (const VbError& e) {
        EXPECT_EQ(e.Number(), 6);
    }
    EXPECT_EQ(dib.hDC(), nullptr);

    ASSERT_TRUE(dib.Create(5, 4));
    dib.ClearUp();
    EXPECT_EQ(dib.hDC(), nullptr);
    EXPECT_EQ(dib.DIBSectionBitsPtr(), nullptr);
    EXPECT_EQ(dib.Width(), 5);
    EXPECT_EQ(dib.Height(), 4);
}

TEST(cDIBSection, The_DrawDib_handle_survives_create_and_closes_on_request) {
    cDIBSection dib;
    dib.UseDrawDib(true);
    ASSERT_TRUE(dib.Create(4, 4));
    EXPECT_TRUE(dib.UseDrawDib());
    dib.UseDrawDib(false);
    EXPECT_FALSE(dib.UseDrawDib());
}

TEST(cDIBSection, Fill_writes_blue_green_red_and_leaves_the_padding) {
    cDIBSection dib;
    ASSERT_TRUE(dib.Create(3, 2));  // 9 bytes of pixels, 3 of padding per row
    std::fill_n(dib.DIBSectionBitsPtr(), dib.SizeImage(), 0xAB);
    dib.Fill_with_RGB(0xFF0000);
    for (int32_t r = 0; r < 2; ++r) {
        const uint8_t* row = dib.DIBSectionBitsPtr() + r * 12;
        for (int x = 0; x < 3; ++x) {
            EXPECT_EQ(row[3 * x], 0xFF);
            EXPECT_EQ(row[3 * x + 1], 0);
            EXPECT_EQ(row[3 * x + 2], 0);
        }
        for (int i = 9; i < 12; ++i) EXPECT_EQ(row[i], 0xAB);
    }
    dib.Fill_with_RGB(0x123456);
    EXPECT_EQ(Pixel(dib, 0, 0)[0], 0x12);
    EXPECT_EQ(Pixel(dib, 0, 0)[1], 0x34);
    EXPECT_EQ(Pixel(dib, 0, 0)[2], 0x56);
    for (int32_t bad : {0x1000000, -1}) {
        try {
            dib.Fill_with_RGB(bad);
            FAIL() << bad;
        } catch (const VbError& e) {
            EXPECT_EQ(e.Number(), 6);
        }
    }
}

TEST(cDIBSection, Drawing_on_its_context_lands_in_its_pixels_bottom_up) {
    cDIBSection dib;
    ASSERT_TRUE(dib.Create(4, 3));
    gdi::SetPixelV(dib.hDC(), 1, 0, gdi::RGB(200, 100, 50));  // top row
    const uint8_t* p = Pixel(dib, 1, 2);
    EXPECT_EQ(p[0], 50);
    EXPECT_EQ(p[1], 100);
    EXPECT_EQ(p[2], 200);
    // Text attributes stay on the context until the bitmap is made anew.
    gdi::SetTextColor(dib.hDC(), 0x0000FF);
    gdi::SetBkMode(dib.hDC(), gdi::TRANSPARENT);
    gdi::Font* font = gdi::CreateFontA(-12, 0, 0, 0, 400, false, false, false, 1, 0, 0, 2, 0, "Arial");
    gdi::SelectObject(dib.hDC(), font);
    EXPECT_EQ(dib.hDC()->text_colour, 0x0000FFu);
    for (auto [w, h] : {std::pair{4, 3}, std::pair{5, 3}}) {  // made anew at the same size and at another
        ASSERT_TRUE(dib.Create(w, h));
        EXPECT_EQ(dib.hDC()->text_colour, 0u);
        EXPECT_EQ(dib.hDC()->bk_mode, gdi::OPAQUE);
        EXPECT_EQ(dib.hDC()->Current_Font(), gdi::Stock_Font());
        gdi::SetTextColor(dib.hDC(), 0x0000FF);
    }
    EXPECT_TRUE(gdi::DeleteObject(font));  // no longer selected anywhere
}

TEST(cDIBSection, SavePicture_writes_the_bmp_bytes) {
    cDIBSection dib;
    ASSERT_TRUE(dib.Create(2, 2));
    Number_Pixels(dib);
    const std::string path = Test_folder() + "/two.bmp";
    ASSERT_TRUE(dib.SavePicture(path));
    std::ifstream in(path, std::ios::binary);
    std::vector<uint8_t> bytes((std::istreambuf_iterator<char>(in)), {});
    ASSERT_EQ(bytes.size(), 74u);
    auto u32 = [&](size_t at) { return bytes[at] | bytes[at + 1] << 8 | bytes[at + 2] << 16 | uint32_t(bytes[at + 3]) << 24; };
    EXPECT_EQ(bytes[0], 'B');
    EXPECT_EQ(bytes[1], 'M');
    EXPECT_EQ(u32(2), 74u);
    EXPECT_EQ(u32(6), 0u);
    EXPECT_EQ(u32(10), 58u);
    EXPECT_EQ(u32(14), 40u);
    EXPECT_EQ(u32(18), 2u);
    EXPECT_EQ(u32(22), 2u);
    EXPECT_EQ(bytes[26] | bytes[27] << 8, 1);
    EXPECT_EQ(bytes[28] | bytes[29] << 8, 24);
    EXPECT_EQ(u32(34), 16u);
    EXPECT_EQ(u32(54), 0u);  // the colour entry
    EXPECT_TRUE(std::equal(bytes.begin() + 58, bytes.end(), dib.DIBSectionBitsPtr()));

    try {
        dib.SavePicture(Test_folder() + "/missing/folder/x.bmp");
        FAIL() << "no error";
    } catch (const VbError& e) {
        EXPECT_EQ(e.Number(), 17);
        EXPECT_TRUE(e.Source().ends_with(".cDIBSection"));
        EXPECT_FALSE(e.Description().empty());
    }
    // A write that fails keeps the picture that was there.
    bool saved = true;
    With_File_Size_Limit(40, [&] { saved = dib.SavePicture(path); });
    EXPECT_FALSE(saved);
    std::ifstream again(path, std::ios::binary);
    EXPECT_EQ(std::vector<uint8_t>((std::istreambuf_iterator<char>(again)), {}), bytes);
    // Without pixels the header is written but the result is false.
    dib.ClearUp();
    EXPECT_FALSE(dib.SavePicture(path));
}

TEST(cDIBSection, Resample_copies_or_blends_and_never_reads_outside) {
    cDIBSection dib;
    ASSERT_TRUE(dib.Create(3, 3));
    Number_Pixels(dib);
    auto same = dib.Resample(3, 3);
    ASSERT_TRUE(same);
    EXPECT_TRUE(std::equal(dib.DIBSectionBitsPtr(), dib.DIBSectionBitsPtr() + dib.SizeImage(), same->DIBSectionBitsPtr()));

    // Scales of 1.0: new pixel (c, r) is source pixel (c, r), unblended.
    auto half = dib.Resample(2, 2);
    ASSERT_TRUE(half);
    for (int r = 0; r < 2; ++r)
        for (int c = 0; c < 2; ++c) {
            EXPECT_EQ(Pixel(*half, c, r)[0], c);
            EXPECT_EQ(Pixel(*half, c, r)[1], r);
            EXPECT_EQ(Pixel(*half, c, r)[2], 7);
        }

    // A picture one pixel wide or high has no neighbour: the copy repeats it.
    for (auto [w, h] : {std::pair{1, 4}, std::pair{4, 1}, std::pair{1, 1}}) {
        cDIBSection thin;
        ASSERT_TRUE(thin.Create(w, h));
        thin.Fill_with_RGB(0x405060);
        auto big = thin.Resample(3, 5);
        ASSERT_TRUE(big);
        for (int r = 0; r < 3; ++r)
            for (int c = 0; c < 5; ++c) {
                EXPECT_EQ(Pixel(*big, c, r)[0], 0x40);
                EXPECT_EQ(Pixel(*big, c, r)[2], 0x60);
            }
    }
    EXPECT_EQ(dib.Resample(0, 2), nullptr);
}

TEST(cDIBSection, A_nested_DrawDib2_on_the_same_bitmap_returns_at_once) {
    cDIBSection dib;
    ASSERT_TRUE(dib.Create(2, 2));
    dib.Fill_with_RGB(0x0000FF);
    Fake_box box(4, 4);
    int nested_calls = 0;
    bool busy_inside = false;
    box.on_drawn = [&] {
        if (nested_calls++ > 0) return;
        busy_inside = dib.Painting_Busy();
        dib.DIB_DrawDib2(box, 0, 0, 2, 2);  // would draw again (and recurse) if not refused
    };
    dib.DIB_DrawDib2(box, 0, 0, 2, 2);
    EXPECT_EQ(nested_calls, 1);
    EXPECT_TRUE(busy_inside);
    EXPECT_FALSE(dib.Painting_Busy());
    EXPECT_EQ(gdi::GetPixel(box.hDC(), 3, 3), 0x0000FFu);

    // An empty bitmap paints nothing and still clears the flag.
    cDIBSection empty;
    empty.DIB_DrawDib2(box, 0, 0, 2, 2);
    EXPECT_FALSE(empty.Painting_Busy());
}

TEST(cDIBSection, PaintPicture_StretchPicture_and_DrawDib_paint_into_a_box) {
    cDIBSection dib;
    ASSERT_TRUE(dib.Create(2, 1));
    gdi::SetPixelV(dib.hDC(), 0, 0, 0x0000FF);
    gdi::SetPixelV(dib.hDC(), 1, 0, 0xFF0000);
    Fake_box box(4, 2);
    dib.StretchPicture(box);
    EXPECT_EQ(gdi::GetPixel(box.hDC(), 1, 1), 0x0000FFu);
    EXPECT_EQ(gdi::GetPixel(box.hDC(), 2, 0), 0xFF0000u);

    // DrawDib with a destination of no size shows the picture unscaled at the top-left corner.
    Fake_box unscaled(4, 2);
    dib.DIB_DrawDib(unscaled);
    EXPECT_TRUE(dib.UseDrawDib());
    EXPECT_EQ(gdi::GetPixel(unscaled.hDC(), 0, 0), 0x0000FFu);
    EXPECT_EQ(gdi::GetPixel(unscaled.hDC(), 1, 0), 0xFF0000u);
    EXPECT_EQ(gdi::GetPixel(unscaled.hDC(), 2, 0), 0u);

    Fake_box small(4, 2);
    dib.PaintPicture(small.hDC(), 1, 1, -1, -1, 0, 0, gdi::SRCCOPY);
    EXPECT_EQ(gdi::GetPixel(small.hDC(), 1, 1), 0x0000FFu);
    EXPECT_EQ(gdi::GetPixel(small.hDC(), 2, 1), 0xFF0000u);
    EXPECT_EQ(gdi::GetPixel(small.hDC(), 3, 1), 0u);
}

}  // namespace
