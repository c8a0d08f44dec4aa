#include "platform/graphics/Graphics.h"
#include "Pixel_moves.h"

#include <gtest/gtest.h>
#include <vector>

namespace {

// A bottom-up picture whose pixel (x, top) holds blue = x, green = top, red = 200.
struct Picture {
    int32_t w, h;
    std::vector<uint8_t> bits;
    Picture(int32_t width, int32_t height)
        : w(width), h(height), bits(static_cast<size_t>(graphics::Stride(width)) * height, 0xEE) {}
    uint8_t* At(int32_t x, int32_t top) { return &bits[static_cast<size_t>(h - 1 - top) * graphics::Stride(w) + x * 3]; }
    static Picture Pattern(int32_t width, int32_t height) {
        Picture p(width, height);
        for (int32_t top = 0; top < height; ++top)
            for (int32_t x = 0; x < width; ++x) {
                uint8_t* px = p.At(x, top);
                px[0] = static_cast<uint8_t>(x);
                px[1] = static_cast<uint8_t>(top * 10);
                px[2] = 200;
            }
        return p;
    }
};

TEST(Graphics, Each_field_keeps_its_own_rows_and_fills_the_others_from_neighbours) {
    Picture src = Picture::Pattern(5, 6);  // 5 pixels: rows padded to 16 bytes
    struct Row { int16_t mode; int top; int green; } rows[] = {
        // mode 2: the top field (rows 0, 2, 4 from the top)
        {2, 0, 0}, {2, 1, 10}, {2, 2, 20}, {2, 3, 30}, {2, 4, 40}, {2, 5, 40},
        // mode 1: the other field (rows 1, 3, 5)
        {1, 0, 10}, {1, 1, 10}, {1, 2, 20}, {1, 3, 30}, {1, 4, 40}, {1, 5, 50},
    };
    for (int16_t mode : {1, 2}) {
        Picture dst(5, 6);
        graphics::deinterlaceFrame2(src.bits.data(), dst.bits.data(), 5, 6, mode);
        for (const Row& r : rows) {
            if (r.mode != mode) continue;
            SCOPED_TRACE(testing::Message() << "mode " << mode << " row " << r.top);
            EXPECT_EQ(dst.At(3, r.top)[1], r.green);
            EXPECT_EQ(dst.At(3, r.top)[0], 3);
        }
        EXPECT_EQ(dst.bits[15], 0xEE) << "padding untouched";
    }
}

TEST(Graphics, Rotate90_turns_clockwise) {
    Picture src = Picture::Pattern(3, 2);  // 3 wide, 2 high
    Picture dst(2, 3);
    graphics::Rotate90(src.bits.data(), dst.bits.data(), 3, 2, 0);
    // Clockwise: the source's bottom-left corner becomes the top-left, its top-left the top-right.
    struct Row { int x, top, src_x, src_top; } rows[] = {
        {0, 0, 0, 1}, {1, 0, 0, 0}, {0, 2, 2, 1}, {1, 2, 2, 0}, {1, 1, 1, 0},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(testing::Message() << r.x << "," << r.top);
        EXPECT_EQ(dst.At(r.x, r.top)[0], src.At(r.src_x, r.src_top)[0]);
        EXPECT_EQ(dst.At(r.x, r.top)[1], src.At(r.src_x, r.src_top)[1]);
    }
}

TEST(Graphics, Flip_and_blends) {
    Picture p = Picture::Pattern(4, 2);
    graphics::FlipImageRGB24(p.bits.data(), 4, 2);
    EXPECT_EQ(p.At(0, 1)[0], 3);
    EXPECT_EQ(p.At(3, 1)[0], 0);

    Picture a(1, 1), b(1, 1), ref(1, 1);
    a.At(0, 0)[0] = 100; b.At(0, 0)[0] = 50; ref.At(0, 0)[0] = 0;
    graphics::LBlend(a.bits.data(), b.bits.data(), 1, 1, 1);
    EXPECT_EQ(b.At(0, 0)[0], 75);
    graphics::LBlend(a.bits.data(), b.bits.data(), 1, 1, 2);
    EXPECT_EQ(b.At(0, 0)[0], 100);
    graphics::ABlend(a.bits.data(), b.bits.data(), ref.bits.data(), 1, 1, 25);
    EXPECT_EQ(b.At(0, 0)[0], 25);
    EXPECT_GT(std::string(graphics::BlendVersion()).size(), 0u);
    const int64_t first = graphics::GetCycleCount();
    EXPECT_LE(first, graphics::GetCycleCount());
}

}  // namespace

TEST(Graphics, Rotate90_matches_a_pixel_by_pixel_turn_at_every_size) {
    For_Each_Way_Of_Moving([&] {
        uint32_t seed = 99;
        for (int32_t w : {1, 2, 3, 4, 5, 7, 8, 13, 442})
            for (int32_t h : {1, 2, 3, 4, 6, 9, 67, 130}) {
                SCOPED_TRACE(testing::Message() << w << "x" << h);
                Picture src(w, h), turned(h, w);
                for (uint8_t& b : src.bits) b = static_cast<uint8_t>((seed = seed * 1103515245u + 12345u) >> 24);
                graphics::Rotate90(src.bits.data(), turned.bits.data(), w, h, 0);
                // Clockwise: the source's top-left pixel lands in the top-right corner.
                for (int32_t top = 0; top < h; ++top)
                    for (int32_t x = 0; x < w; ++x)
                        for (int c = 0; c < 3; ++c)
                            ASSERT_EQ(turned.At(h - 1 - top, x)[c], src.At(x, top)[c]) << x << "," << top;
            }
    });
}

TEST(Graphics, A_field_turned_in_one_pass_equals_the_field_made_and_then_turned) {
    For_Each_Way_Of_Moving([&] {
        uint32_t seed = 7;
        for (int16_t mode : {1, 2})
            for (int32_t w : {1, 3, 4, 5, 13, 442})
                for (int32_t h : {1, 2, 3, 5, 8, 131}) {
                    SCOPED_TRACE(testing::Message() << "mode " << mode << ", " << w << "x" << h);
                    Picture src(w, h), field(w, h), expected(h, w), turned(h, w);
                    for (uint8_t& b : src.bits) b = static_cast<uint8_t>((seed = seed * 1103515245u + 12345u) >> 24);
                    graphics::deinterlaceFrame2(src.bits.data(), field.bits.data(), static_cast<int16_t>(w),
                                                static_cast<int16_t>(h), mode);
                    graphics::Rotate90(field.bits.data(), expected.bits.data(), w, h, 0);
                    graphics::Rotate90_Field(src.bits.data(), turned.bits.data(), w, h, mode);
                    ASSERT_EQ(turned.bits, expected.bits);
                }
    });
}

TEST(Graphics, A_turn_into_32_bit_pixels_holds_the_24_bit_turn_made_opaque) {
    struct Size { int32_t w, h; } sizes[] = {{1, 1}, {3, 5}, {4, 4}, {7, 9}, {33, 17}, {130, 9}, {10, 133}};
    constexpr uint8_t marker = 0xA5;
    constexpr int32_t padding = 16;  // a whole 16-byte store too many lands in it
    For_Each_Way_Of_Moving([&] {
        uint32_t seed = 11;
        for (const Size& size : sizes)
            for (int16_t mode : {0, 1, 2}) {
                const int32_t w = size.w, h = size.h;
                Picture src(w, h), expected(h, w);
                for (uint8_t& b : src.bits) b = static_cast<uint8_t>((seed = seed * 1103515245u + 12345u) >> 24);
                if (mode == 0)
                    graphics::Rotate90(src.bits.data(), expected.bits.data(), w, h, 0);
                else
                    graphics::Rotate90_Field(src.bits.data(), expected.bits.data(), w, h, mode);
                // Top-down with padding after each line, and bottom-up with none.
                for (const int64_t step : {int64_t{h} * 4 + padding, -int64_t{h} * 4}) {
                    SCOPED_TRACE(testing::Message() << w << "x" << h << ", mode " << mode << ", step " << step);
                    const int64_t line = step > 0 ? step : -step;
                    std::vector<uint8_t> wide(static_cast<size_t>(line * w), marker);
                    uint8_t* top = step > 0 ? wide.data() : wide.data() + (w - 1) * line;
                    graphics::Rotate90_Wide(src.bits.data(), top, step, w, h, mode);
                    for (int32_t t = 0; t < w; ++t) {
                        const uint8_t* out = top + t * step;
                        for (int32_t c = 0; c < h; ++c)
                            for (int b = 0; b < 4; ++b)
                                ASSERT_EQ(out[4 * c + b], b < 3 ? expected.At(c, t)[b] : 255) << c << "," << t;
                        for (int64_t b = 4 * h; b < line; ++b) ASSERT_EQ(out[b], marker) << "padding of line " << t;
                    }
                }
            }
    });
}
