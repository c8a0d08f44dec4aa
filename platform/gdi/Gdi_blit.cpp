#include "Gdi_blit.h"

#include "platform/graphics/Graphics.h"

#include <algorithm>
#include <cstring>
#include <functional>
#include <vector>
#if defined(__x86_64__) || defined(__i386__)
#include <immintrin.h>
#endif

namespace gdi {

Pixel_view View_Of(const Bitmap& bitmap) {
    return Pixel_view{bitmap.Bits(), bitmap.Width(), bitmap.Height(), bitmap.Stride()};
}

namespace {

#if defined(__x86_64__) || defined(__i386__)
// Destination pixels, up to five (four of 32 bits), whose source pixels lie within sixteen bytes of a row:
// one load, one byte shuffle and one store each, where picking pixel by pixel takes several instructions a pixel.
struct Shuffle_run {
    int32_t source = 0;  // the run's first byte in a source row
    int32_t count = 0;   // destination pixels
    alignas(16) uint8_t order[16] = {};
};

// The runs from pixel `first` on, as long as they are whole: each store writes sixteen bytes, and the
// bytes past a run's pixels must be those of pixels written after it in the row (before `last`).
std::vector<Shuffle_run> Shuffle_Runs(const int32_t* offset, int32_t first, int32_t last, int32_t row_bytes,
                                      int32_t pixel_bytes) {
    const int32_t most = 16 / pixel_bytes, reached = (16 + pixel_bytes - 1) / pixel_bytes;
    std::vector<Shuffle_run> runs;
    for (int32_t i = first; i + reached <= last && offset[i] + 16 <= row_bytes;) {
        Shuffle_run run;
        run.source = offset[i];
        std::memset(run.order, 0x80, sizeof run.order);
        while (run.count < most && offset[i + run.count] + 3 <= run.source + 16) {
            for (int c = 0; c < 3; ++c)
                run.order[pixel_bytes * run.count + c] = static_cast<uint8_t>(offset[i + run.count] - run.source + c);
            ++run.count;
        }
        runs.push_back(run);
        i += run.count;
    }
    return runs;
}

// With `Blend`, each source piece is the mean of the pieces of both rows.
template <bool Blend, int Pixel_bytes>
__attribute__((target("ssse3"))) uint8_t* Copy_Runs(const std::vector<Shuffle_run>& runs, const Row_pair& row, uint8_t* d) {
    const __m128i opaque = _mm_set1_epi32(static_cast<int32_t>(0xFF000000u));
    for (const Shuffle_run& run : runs) {
        __m128i pixels = _mm_loadu_si128(reinterpret_cast<const __m128i*>(row.a + run.source));
        if constexpr (Blend) pixels = _mm_avg_epu8(pixels, _mm_loadu_si128(reinterpret_cast<const __m128i*>(row.b + run.source)));
        const __m128i order = _mm_load_si128(reinterpret_cast<const __m128i*>(run.order));
        __m128i out = _mm_shuffle_epi8(pixels, order);
        if constexpr (Pixel_bytes == 4) out = _mm_or_si128(out, opaque);
        _mm_storeu_si128(reinterpret_cast<__m128i*>(d), out);
        d += Pixel_bytes * run.count;
    }
    return d;
}
#endif

// Stretch_Pixels' copy, each source row the mean of its pair of memory rows: a field is scaled from its
// frame with the pixels of a field made first and scaled after, making only the rows the copy takes.
// `Pixel_bytes` is the destination's (3, or 4 for the screen's image): fixed when compiled, so neither copy
// pays for the other.
template <int Pixel_bytes>
bool Stretch_Rows(const Rows_target& destination, int32_t dx, int32_t dy, int32_t dw, int32_t dh, int32_t width,
                  int32_t height, const std::function<Row_pair(int32_t)>& row_of, int32_t sx, int32_t sy, int32_t sw,
                  int32_t sh, const COLORREF* transparent) {
    constexpr int32_t P = Pixel_bytes;
    if (dw <= 0 || dh <= 0 || sw <= 0 || sh <= 0) return false;

    const int32_t x_begin = std::max(0, -dx), x_end = std::min(dw, destination.width - dx);
    const int32_t y_begin = std::max(0, -dy), y_end = std::min(dh, destination.height - dy);
    if (x_begin >= x_end || y_begin >= y_end) return true;

    // Source column of each destination column: the pixel under the column's centre. The columns only
    // grow, so those inside the source are one stretch of destination columns.
    std::vector<int32_t> columns(static_cast<size_t>(x_end - x_begin));
    for (int32_t i = x_begin; i < x_end; ++i)
        columns[i - x_begin] = sx + static_cast<int32_t>((2 * static_cast<int64_t>(i) + 1) * sw / (2 * static_cast<int64_t>(dw)));
    std::vector<int32_t> offsets(columns.size());
    for (size_t k = 0; k < columns.size(); ++k) offsets[k] = 3 * columns[k];
    const auto inside_begin = std::lower_bound(columns.begin(), columns.end(), 0);
    const auto inside_end = std::lower_bound(inside_begin, columns.end(), width);
    const int32_t i_first = x_begin + static_cast<int32_t>(inside_begin - columns.begin());
    const int32_t i_last = x_begin + static_cast<int32_t>(inside_end - columns.begin());
    const int32_t i_whole =
        x_begin + static_cast<int32_t>(std::lower_bound(inside_begin, inside_end, width - 1) - columns.begin());
    const bool unscaled = sw == dw && !transparent;
    uint8_t t_blue = 0, t_green = 0, t_red = 0;
    if (transparent) {
        t_blue = Blue_Of(*transparent);
        t_green = Green_Of(*transparent);
        t_red = Red_Of(*transparent);
    }

    // A row made from a pair, the part the columns take, then copied as a row of its own.
    std::vector<uint8_t> mixed;
    int64_t mixed_first = 0, mixed_bytes = 0;
    if (i_first < i_last) {
        mixed_first = 3 * static_cast<int64_t>(columns[i_first - x_begin]);
        mixed_bytes = 3 * static_cast<int64_t>(columns[i_last - 1 - x_begin] + 1) - mixed_first;
    }

#if defined(__x86_64__) || defined(__i386__)
    std::vector<Shuffle_run> runs;
    int32_t run_pixels = 0;
    if (!transparent && !unscaled && graphics::Widest_Moves() == graphics::Pixel_moves::shuffle) {
        runs = Shuffle_Runs(offsets.data() - x_begin, i_first, i_last, 3 * width, P);
        for (const Shuffle_run& run : runs) run_pixels += run.count;
    }
#endif

    const auto source_row = [&](int32_t j) {
        return sy + static_cast<int32_t>((2 * static_cast<int64_t>(j) + 1) * sh / (2 * static_cast<int64_t>(dh)));
    };
    // The lines of the row drawn a few rows later, taken while this one is drawn.
    constexpr int32_t Ahead = 4;
    const int64_t written_first = P * static_cast<int64_t>(dx + i_first);
    const int64_t written_bytes = P * static_cast<int64_t>(i_last - i_first);
    int32_t previous_y = -1;
    const uint8_t* previous_dst = nullptr;
    for (int32_t j = y_begin; j < y_end; ++j) {
        if (j + Ahead < y_end && written_bytes > 0) {
            graphics::Prefetch_For_Writing(destination.Line(dy + j + Ahead) + written_first, written_bytes);
            const int32_t ahead_y = source_row(j + Ahead);
            if (ahead_y >= 0 && ahead_y < height && ahead_y != source_row(j + Ahead - 1)) {
                const Row_pair ahead = row_of(ahead_y);
                graphics::Prefetch_For_Reading(ahead.a + mixed_first, mixed_bytes);
                if (ahead.b != ahead.a) graphics::Prefetch_For_Reading(ahead.b + mixed_first, mixed_bytes);
            }
        }
        const int32_t src_y = source_row(j);
        if (src_y < 0 || src_y >= height) continue;
        uint8_t* dst_row = destination.Line(dy + j);
        if (!transparent && src_y == previous_y) {
            // A row stretched to several: the one made just before.
            std::memcpy(dst_row + P * static_cast<int64_t>(dx + i_first), previous_dst + P * static_cast<int64_t>(dx + i_first),
                        P * static_cast<size_t>(i_last - i_first));
            continue;
        }
        Row_pair row = row_of(src_y);
        const bool blend = row.a != row.b;
        if (unscaled) {
            // The part inside the source, row for row.
            const int32_t first = std::max(x_begin, -sx), last = std::min(x_end, width - sx);
            if (first < last) {
                uint8_t* d = dst_row + P * static_cast<int64_t>(dx + first);
                const int64_t at = 3 * static_cast<int64_t>(sx + first);
                const auto bytes = 3 * (last - first);
                if constexpr (P == 3) {
                    if (!blend) std::memcpy(d, row.a + at, static_cast<size_t>(bytes));
                    else graphics::Average_Rows(row.a + at, row.b + at, d, bytes);
                } else {
                    const uint8_t* from = row.a + at;
                    if (blend) {
                        if (mixed.empty()) mixed.resize(static_cast<size_t>(3 * static_cast<int64_t>(width)) + 4);
                        graphics::Average_Rows(row.a + at, row.b + at, mixed.data(), bytes);
                        from = mixed.data();
                    }
                    graphics::Widen_Row(from, reinterpret_cast<uint32_t*>(d), last - first);
                }
            }
            continue;
        }
        previous_y = src_y;
        previous_dst = dst_row;
        uint8_t* d = dst_row + P * static_cast<int64_t>(dx + i_first);
        int32_t i = i_first;
#if defined(__x86_64__) || defined(__i386__)
        if (!runs.empty()) {
            d = blend ? Copy_Runs<true, P>(runs, row, d) : Copy_Runs<false, P>(runs, row, d);
            // The few pixels at the row's end.
            for (i += run_pixels; i < i_last; ++i, d += P) {
                const int64_t at = 3 * static_cast<int64_t>(columns[i - x_begin]);
                graphics::Average_Rows(row.a + at, row.b + at, d, 3);
                if constexpr (P == 4) d[3] = 255;
            }
            continue;
        }
#endif
        if (blend) {
            // The part of the row the columns take, mixed where the reads below find it: a word read at a
            // pixel reaches one byte past it, inside the mixed row as it is inside a source row.
            if (mixed.empty()) mixed.resize(static_cast<size_t>(3 * static_cast<int64_t>(width)) + 4);
            graphics::Average_Rows(row.a + mixed_first, row.b + mixed_first, mixed.data() + mixed_first,
                                   static_cast<int32_t>(mixed_bytes));
            row = {mixed.data(), mixed.data()};
        }
        if (!transparent) {
            // Whole words, not from the source's last column (the end of its memory). The offsets in a plain
            // array of their own: stores through bytes would have the compiler reload the vector's pointer
            // for every pixel.
            const int32_t* offset = offsets.data() - x_begin;
            const uint8_t* src_row = row.a;
            const auto pixel = [&](int32_t k) {
                uint32_t p;
                std::memcpy(&p, src_row + offset[k], 4);
                return p;
            };
            if constexpr (P == 4) {
                // The word's fourth byte, the next source pixel's first, made 255.
                for (; i < i_whole; ++i, d += 4) {
                    const uint32_t word = pixel(i) | 0xFF000000u;
                    std::memcpy(d, &word, 4);
                }
            } else {
                // Each pixel's fourth byte is the next pixel's first, written again after it: not for the
                // last destination pixel.
                const int32_t stop = std::min(i_last, i_whole) - 1;
                // Four pixels a time, written as two words.
                for (; i + 4 <= stop; i += 4, d += 12) {
                    const uint32_t p0 = pixel(i), p1 = pixel(i + 1), p2 = pixel(i + 2), p3 = pixel(i + 3);
                    const uint64_t lo = (p0 & 0xFFFFFFu) | uint64_t{p1 & 0xFFFFFFu} << 24 | uint64_t{p2} << 48;
                    const uint32_t hi = (p2 & 0xFFFFFFu) >> 16 | p3 << 8;
                    std::memcpy(d, &lo, 8);
                    std::memcpy(d + 8, &hi, 4);
                }
                for (; i < stop; ++i, d += 3) {
                    const uint32_t word = pixel(i);
                    std::memcpy(d, &word, 4);
                }
            }
        }
        for (; i < i_last; ++i, d += P) {
            const uint8_t* s = row.a + 3 * static_cast<int64_t>(columns[i - x_begin]);
            if (transparent && s[0] == t_blue && s[1] == t_green && s[2] == t_red) continue;
            d[0] = s[0];
            d[1] = s[1];
            d[2] = s[2];
            if constexpr (P == 4) d[3] = 255;
        }
    }
    return true;
}

}  // namespace

bool Stretch_Pixels(Bitmap& destination, int32_t dx, int32_t dy, int32_t dw, int32_t dh, const Pixel_view& source,
                    int32_t sx, int32_t sy, int32_t sw, int32_t sh, const COLORREF* transparent) {
    if (!source.bits) return false;
    // The source may be the destination itself: work from a copy then.
    std::vector<uint8_t> copy;
    Pixel_view from = source;
    if (source.bits == destination.Bits()) {
        copy.assign(source.bits, source.bits + static_cast<size_t>(source.stride) * source.height);
        from.bits = copy.data();
    }
    return Stretch_Rows<3>(
        Rows_Of(destination), dx, dy, dw, dh, from.width, from.height,
        [&from](int32_t top) {
            const uint8_t* row = from.bits + static_cast<int64_t>(from.height - 1 - top) * from.stride;
            return Row_pair{row, row};
        },
        sx, sy, sw, sh, transparent);
}

bool Stretch_Row_Pairs(Bitmap& destination, int32_t dx, int32_t dy, int32_t dw, int32_t dh, int32_t width,
                       int32_t height, const std::function<Row_pair(int32_t)>& row_of, int32_t sx, int32_t sy,
                       int32_t sw, int32_t sh) {
    return Stretch_Rows<3>(Rows_Of(destination), dx, dy, dw, dh, width, height, row_of, sx, sy, sw, sh, nullptr);
}

bool Stretch_Row_Pairs(const Rows_target& destination, int32_t dx, int32_t dy, int32_t dw, int32_t dh, int32_t width,
                       int32_t height, const std::function<Row_pair(int32_t)>& row_of, int32_t sx, int32_t sy,
                       int32_t sw, int32_t sh) {
    return destination.pixel_bytes == 4
               ? Stretch_Rows<4>(destination, dx, dy, dw, dh, width, height, row_of, sx, sy, sw, sh, nullptr)
               : Stretch_Rows<3>(destination, dx, dy, dw, dh, width, height, row_of, sx, sy, sw, sh, nullptr);
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
