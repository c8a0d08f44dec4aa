#include "Gdi_blit.h"

#include <algorithm>
#include <cstring>
#include <vector>

namespace gdi {

Pixel_view View_Of(const Bitmap& bitmap) {
    return Pixel_view{bitmap.Bits(), bitmap.Width(), bitmap.Height(), bitmap.Stride()};
}

bool Stretch_Pixels(Bitmap& destination, int32_t dx, int32_t dy, int32_t dw, int32_t dh, const Pixel_view& source,
                    int32_t sx, int32_t sy, int32_t sw, int32_t sh, const COLORREF* transparent) {
    if (dw <= 0 || dh <= 0 || sw <= 0 || sh <= 0 || !source.bits) return false;

    // The source may be the destination itself: work from a copy then.
    std::vector<uint8_t> copy;
    Pixel_view from = source;
    if (source.bits == destination.Bits()) {
        copy.assign(source.bits, source.bits + static_cast<size_t>(source.stride) * source.height);
        from.bits = copy.data();
    }

    const int32_t x_begin = std::max(0, -dx), x_end = std::min(dw, destination.Width() - dx);
    const int32_t y_begin = std::max(0, -dy), y_end = std::min(dh, destination.Height() - dy);
    if (x_begin >= x_end || y_begin >= y_end) return true;

    // Source column of each destination column: the pixel under the column's centre. The columns only
    // grow, so those inside the source are one stretch of destination columns.
    std::vector<int32_t> columns(static_cast<size_t>(x_end - x_begin));
    for (int32_t i = x_begin; i < x_end; ++i)
        columns[i - x_begin] = sx + static_cast<int32_t>((2 * static_cast<int64_t>(i) + 1) * sw / (2 * static_cast<int64_t>(dw)));
    std::vector<int32_t> offsets(columns.size());
    for (size_t k = 0; k < columns.size(); ++k) offsets[k] = 3 * columns[k];
    const auto inside_begin = std::lower_bound(columns.begin(), columns.end(), 0);
    const auto inside_end = std::lower_bound(inside_begin, columns.end(), from.width);
    const int32_t i_first = x_begin + static_cast<int32_t>(inside_begin - columns.begin());
    const int32_t i_last = x_begin + static_cast<int32_t>(inside_end - columns.begin());
    const int32_t i_whole =
        x_begin + static_cast<int32_t>(std::lower_bound(inside_begin, inside_end, from.width - 1) - columns.begin());
    const bool unscaled = sw == dw && !transparent;
    uint8_t t_blue = 0, t_green = 0, t_red = 0;
    if (transparent) {
        t_blue = Blue_Of(*transparent);
        t_green = Green_Of(*transparent);
        t_red = Red_Of(*transparent);
    }

    const uint8_t* previous_src = nullptr;
    const uint8_t* previous_dst = nullptr;
    for (int32_t j = y_begin; j < y_end; ++j) {
        const int32_t src_y = sy + static_cast<int32_t>((2 * static_cast<int64_t>(j) + 1) * sh / (2 * static_cast<int64_t>(dh)));
        if (src_y < 0 || src_y >= from.height) continue;
        const uint8_t* src_row = from.bits + static_cast<int64_t>(from.height - 1 - src_y) * from.stride;
        uint8_t* dst_row = destination.Line(dy + j);
        if (unscaled) {
            // Straight row copy of the part inside the source.
            int32_t first = std::max(x_begin, -sx), last = std::min(x_end, from.width - sx);
            if (first < last)
                std::memcpy(dst_row + 3 * static_cast<int64_t>(dx + first), src_row + 3 * static_cast<int64_t>(sx + first),
                            3 * static_cast<size_t>(last - first));
            continue;
        }
        if (!transparent && src_row == previous_src) {
            // A row stretched to several: the one made just before.
            std::memcpy(dst_row + 3 * static_cast<int64_t>(dx + i_first), previous_dst + 3 * static_cast<int64_t>(dx + i_first),
                        3 * static_cast<size_t>(i_last - i_first));
            continue;
        }
        previous_src = src_row;
        previous_dst = dst_row;
        uint8_t* d = dst_row + 3 * static_cast<int64_t>(dx + i_first);
        int32_t i = i_first;
        if (!transparent) {
            // Whole words: each pixel's fourth byte is the next pixel's first, written again after it. Not
            // for the last destination pixel, nor from the source's last column (the end of its memory).
            // The offsets in a plain array of their own: stores through bytes would have the compiler
            // reload the vector's pointer for every pixel.
            const int32_t* offset = offsets.data() - x_begin;
            const int32_t stop = std::min(i_last, i_whole) - 1;
            // Four pixels a time, written as two words.
            for (; i + 4 <= stop; i += 4, d += 12) {
                uint32_t p0, p1, p2, p3;
                std::memcpy(&p0, src_row + offset[i], 4);
                std::memcpy(&p1, src_row + offset[i + 1], 4);
                std::memcpy(&p2, src_row + offset[i + 2], 4);
                std::memcpy(&p3, src_row + offset[i + 3], 4);
                const uint64_t lo = (p0 & 0xFFFFFFu) | uint64_t{p1 & 0xFFFFFFu} << 24 | uint64_t{p2} << 48;
                const uint32_t hi = (p2 & 0xFFFFFFu) >> 16 | p3 << 8;
                std::memcpy(d, &lo, 8);
                std::memcpy(d + 8, &hi, 4);
            }
            for (; i < stop; ++i, d += 3) {
                uint32_t word;
                std::memcpy(&word, src_row + offset[i], 4);
                std::memcpy(d, &word, 4);
            }
        }
        for (; i < i_last; ++i, d += 3) {
            const uint8_t* s = src_row + 3 * static_cast<int64_t>(columns[i - x_begin]);
            if (transparent && s[0] == t_blue && s[1] == t_green && s[2] == t_red) continue;
            d[0] = s[0];
            d[1] = s[1];
            d[2] = s[2];
        }
    }
    return true;
}

namespace {
bool Blit(Device_context* destination, int32_t x, int32_t y, int32_t width, int32_t height, Device_context* source,
          int32_t source_x, int32_t source_y, int32_t source_width, int32_t source_height, const COLORREF* transparent) {
    Bitmap* to = destination ? destination->Surface() : nullptr;
    Bitmap* from = source ? source->Surface() : nullptr;
    if (!to || !from) return false;
    bool done = Stretch_Pixels(*to, x, y, width, height, View_Of(*from), source_x, source_y, source_width,
                               source_height, transparent);
    if (done) destination->Drawn();
    return done;
}
}  // namespace

bool BitBlt(Device_context* destination, int32_t x, int32_t y, int32_t width, int32_t height,
            Device_context* source, int32_t source_x, int32_t source_y, uint32_t rop) {
    if (rop != SRCCOPY) return false;
    return Blit(destination, x, y, width, height, source, source_x, source_y, width, height, nullptr);
}

bool StretchBlt(Device_context* destination, int32_t x, int32_t y, int32_t width, int32_t height,
                Device_context* source, int32_t source_x, int32_t source_y, int32_t source_width,
                int32_t source_height, uint32_t rop) {
    if (rop != SRCCOPY) return false;
    return Blit(destination, x, y, width, height, source, source_x, source_y, source_width, source_height, nullptr);
}

bool TransparentBlt(Device_context* destination, int32_t x, int32_t y, int32_t width, int32_t height,
                    Device_context* source, int32_t source_x, int32_t source_y, int32_t source_width,
                    int32_t source_height, COLORREF transparent) {
    transparent &= 0xFFFFFF;
    return Blit(destination, x, y, width, height, source, source_x, source_y, source_width, source_height, &transparent);
}

}  // namespace gdi
