#include "Vorsk_WuLines.h"

#include "platform/vb/Vb_convert.h"

#include <cmath>
#include <cstdlib>
#include <utility>

namespace Vorsk_WuLines {

int32_t Triple_To_Colour(const RGB_Triple& colour) {
    return static_cast<int32_t>(gdi::RGB(colour.Red, colour.Green, colour.Blue));
}

RGB_Triple Colour_To_Triple(int32_t colour) {
    RGB_Triple t;
    t.Blue = static_cast<uint8_t>((colour / 65536) & 255);
    t.Green = static_cast<uint8_t>((colour / 256) & 255);
    t.Red = static_cast<uint8_t>(colour & 255);
    return t;
}

uint8_t Blend_Byte(uint8_t line, uint8_t pixel, float weight) {
    float v = std::nearbyint((1 - weight) * line + weight * pixel);
    return static_cast<uint8_t>(v < 0 ? 0 : v > 255 ? 255 : v);
}

RGB_Triple Blend_Triple(const RGB_Triple& line, const RGB_Triple& pixel, float weight) {
    RGB_Triple t;
    t.Blue = Blend_Byte(line.Blue, pixel.Blue, weight);
    t.Green = Blend_Byte(line.Green, pixel.Green, weight);
    t.Red = Blend_Byte(line.Red, pixel.Red, weight);
    return t;
}

void Draw_Wu_Line(gdi::Device_context* dc, const Point_Integer& from, const Point_Integer& to,
                  const RGB_Triple& colour, int16_t width, bool dashed) {
    if (from.X == to.X && from.Y == to.Y) return;
    const int16_t half = static_cast<int16_t>(width / 2);
    const bool along_x = std::abs(to.Y - from.Y) < std::abs(to.X - from.X);

    // Work in (major, minor) coordinates: (x, y) when stepping along x, (y, x) otherwise.
    auto major = [&](const Point_Integer& p) { return along_x ? p.X : p.Y; };
    auto minor = [&](const Point_Integer& p) { return along_x ? p.Y : p.X; };
    Point_Integer a = from, b = to;
    if (major(a) > major(b)) std::swap(a, b);
    const int16_t m0 = major(a), n0 = minor(a);
    const int16_t d_major = vb::To_Int16(major(b) - m0);
    const int16_t d_minor = vb::To_Int16(minor(b) - n0);

    auto pixel = [&](int16_t m, int16_t n) -> std::pair<int32_t, int32_t> {
        return along_x ? std::pair<int32_t, int32_t>{m, n} : std::pair<int32_t, int32_t>{n, m};
    };
    auto blend = [&](int16_t m, int16_t n, float weight) {
        auto [x, y] = pixel(m, n);
        RGB_Triple under = Colour_To_Triple(static_cast<int32_t>(gdi::GetPixel(dc, x, y)));
        gdi::SetPixelV(dc, x, y, static_cast<gdi::COLORREF>(Triple_To_Colour(Blend_Triple(colour, under, weight))));
    };
    const auto line_colour = static_cast<gdi::COLORREF>(Triple_To_Colour(colour));

    int16_t dash_counter = 0;
    for (int32_t s = 0; s <= d_major; ++s) {
        if (dashed && !along_x) {
            ++dash_counter;
            if (dash_counter > 20) dash_counter = 0;
            else if (dash_counter >= 10) continue;
        }
        const float p = static_cast<float>(s) / static_cast<float>(d_major) * static_cast<float>(d_minor);
        const float base = std::floor(p);
        const float f = p - base;
        const int16_t m = vb::To_Int16(m0 + s);
        const int16_t h = vb::To_Int16(n0 + static_cast<int64_t>(base));
        const int16_t first = vb::To_Int16(h - half);
        const int16_t last = vb::To_Int16(first + width);
        blend(m, first, f);
        blend(m, last, 1 - f);
        for (int32_t n = first + 1; n <= last - 1; ++n) {
            auto [x, y] = pixel(m, static_cast<int16_t>(n));
            gdi::SetPixelV(dc, x, y, line_colour);
        }
    }
}

}  // namespace Vorsk_WuLines
