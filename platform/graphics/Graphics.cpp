#include "Graphics.h"

#include <algorithm>
#include <atomic>
#include <bit>
#include <chrono>
#include <cstring>
#if defined(__x86_64__) || defined(__i386__)
#include <x86intrin.h>
#endif

namespace graphics {

namespace {

// Memory row of the picture row `top` counted from the top.
inline size_t Row_Offset(int32_t top, int32_t height, int32_t stride) {
    return static_cast<size_t>(height - 1 - top) * static_cast<size_t>(stride);
}

// The mean of two bytes rounded up, eight bytes of a word at a time.
inline uint64_t Mean_Bytes(uint64_t a, uint64_t b) { return (a | b) - (((a ^ b) & 0xFEFEFEFEFEFEFEFEull) >> 1); }

std::atomic<Pixel_moves> moves_limit{Pixel_moves::shuffle};

}  // namespace

Pixel_moves Widest_Moves() {
#if defined(__x86_64__) || defined(__i386__)
    static const Pixel_moves processor = __builtin_cpu_supports("ssse3") ? Pixel_moves::shuffle : Pixel_moves::words;
#else
    constexpr Pixel_moves processor = Pixel_moves::words;
#endif
    return std::min(moves_limit.load(), processor);
}

Pixel_moves Limit_Moves(Pixel_moves widest) { return moves_limit.exchange(widest); }

void Average_Rows(const uint8_t* a, const uint8_t* b, uint8_t* out, int32_t bytes) {
    int32_t i = 0;
#if defined(__x86_64__)
    // The rounded-up mean of unsigned bytes is one instruction, sixteen bytes a time.
    for (; i + 16 <= bytes; i += 16) {
        const __m128i x = _mm_loadu_si128(reinterpret_cast<const __m128i*>(a + i));
        const __m128i y = _mm_loadu_si128(reinterpret_cast<const __m128i*>(b + i));
        _mm_storeu_si128(reinterpret_cast<__m128i*>(out + i), _mm_avg_epu8(x, y));
    }
#endif
    for (; i + 8 <= bytes; i += 8) {
        uint64_t x, y;
        std::memcpy(&x, a + i, 8);
        std::memcpy(&y, b + i, 8);
        x = Mean_Bytes(x, y);
        std::memcpy(out + i, &x, 8);
    }
    for (; i < bytes; ++i) out[i] = static_cast<uint8_t>((a[i] + b[i] + 1) >> 1);
}

Field_rows Field_Source_Rows(int32_t top, int32_t height, int16_t mode) {
    const int32_t first = mode == 2 ? 0 : 1;  // top-counted row where the wanted field starts
    if ((top - first) % 2 == 0) return {top, top};
    const bool has_above = top - 1 >= first, has_below = top + 1 < height;
    if (has_above && has_below) return {top - 1, top + 1};
    if (has_above || has_below) {
        const int32_t only = has_above ? top - 1 : top + 1;
        return {only, only};
    }
    return {top, top};
}

namespace {

void Widen_Row_Words(const uint8_t* from, uint32_t* to, int32_t w) {
    static_assert(std::endian::native == std::endian::little, "pixels are taken apart as little-endian words");
    int32_t x = 0;
    // Four pixels from three little-endian words: blue, green, red is already the word's low three bytes.
    for (; x + 4 <= w; x += 4, from += 12) {
        uint32_t a, b, c;
        std::memcpy(&a, from, 4);
        std::memcpy(&b, from + 4, 4);
        std::memcpy(&c, from + 8, 4);
        to[x] = 0xFF000000u | a;
        to[x + 1] = 0xFF000000u | a >> 24 | b << 8;
        to[x + 2] = 0xFF000000u | b >> 16 | c << 16;
        to[x + 3] = 0xFF000000u | c >> 8;
    }
    for (; x < w; ++x, from += 3) to[x] = 0xFF000000u | uint32_t{from[2]} << 16 | uint32_t{from[1]} << 8 | from[0];
}

#if defined(__x86_64__) || defined(__i386__)
// One byte shuffle per four pixels, three to four times as fast.
__attribute__((target("ssse3"))) void Widen_Row_Ssse3(const uint8_t* from, uint32_t* to, int32_t w) {
    const __m128i spread = _mm_setr_epi8(0, 1, 2, -1, 3, 4, 5, -1, 6, 7, 8, -1, 9, 10, 11, -1);
    const __m128i opaque = _mm_set1_epi32(static_cast<int32_t>(0xFF000000u));
    int32_t x = 0;
    // Each load takes 16 bytes for 12: it stays inside the row while two more pixels follow.
    for (; x + 6 <= w; x += 4, from += 12) {
        const __m128i pixels = _mm_loadu_si128(reinterpret_cast<const __m128i*>(from));
        _mm_storeu_si128(reinterpret_cast<__m128i*>(to + x), _mm_or_si128(_mm_shuffle_epi8(pixels, spread), opaque));
    }
    Widen_Row_Words(from, to + x, w - x);
}
#endif

}  // namespace

void Widen_Row(const uint8_t* from, uint32_t* to, int32_t width) {
#if defined(__x86_64__) || defined(__i386__)
    if (Widest_Moves() == Pixel_moves::shuffle) return Widen_Row_Ssse3(from, to, width);
#endif
    Widen_Row_Words(from, to, width);
}

void deinterlaceFrame2(const uint8_t* source, uint8_t* target, int16_t width, int16_t height, int16_t mode) {
    if (width <= 0 || height <= 0) return;
    const int32_t stride = Stride(width), bytes = width * 3;
    for (int32_t top = 0; top < height; ++top) {
        uint8_t* out = target + Row_Offset(top, height, stride);
        const Field_rows rows = Field_Source_Rows(top, height, mode);
        if (rows.above == rows.below)
            std::memcpy(out, source + Row_Offset(rows.above, height, stride), static_cast<size_t>(bytes));
        else
            Average_Rows(source + Row_Offset(rows.above, height, stride), source + Row_Offset(rows.below, height, stride),
                         out, bytes);
    }
}

namespace {

// The band's part of the target lines of the columns a few blocks on, asked for while these are turned.
template <int Px>
void Prefetch_Band_Lines(uint8_t* line0, ptrdiff_t step, int32_t x0, int32_t w4, int32_t m0, int32_t m1) {
    constexpr int32_t Ahead = 8;  // columns
    if (x0 + Ahead + 4 > w4) return;
    for (int32_t k = 0; k < 4; ++k)
        Prefetch_For_Writing(line0 + (x0 + Ahead + k) * step + static_cast<ptrdiff_t>(m0) * Px,
                             static_cast<int64_t>(m1 - m0) * Px);
}

// Turns the band of memory rows m0 .. m1 - 1 (a multiple of four, `pairs` from m0), columns 0 .. w4 - 1,
// block by block into target pixels of `Px` bytes; column x goes to the target line `line0 + x * step`.
template <bool Blend, int Px>
void Turn_Band(const Row_pair* pairs, int32_t m0, int32_t m1, int32_t w4, uint8_t* line0, ptrdiff_t step) {
    for (int32_t x0 = 0; x0 < w4; x0 += 4) {
        Prefetch_Band_Lines<Px>(line0, step, x0, w4, m0, m1);
        uint8_t* column_out = line0 + x0 * step;
        for (int32_t m = m0; m < m1; m += 4) {
            uint64_t px[4][4];
            for (int j = 0; j < 4; ++j) {
                const Row_pair row = pairs[m - m0 + j];
                const size_t at = static_cast<size_t>(x0) * 3;
                uint64_t a;
                uint32_t b;
                std::memcpy(&a, row.a + at, 8);
                std::memcpy(&b, row.a + at + 8, 4);
                if constexpr (Blend) {
                    uint64_t a2;
                    uint32_t b2;
                    std::memcpy(&a2, row.b + at, 8);
                    std::memcpy(&b2, row.b + at + 8, 4);
                    a = Mean_Bytes(a, a2);
                    b = static_cast<uint32_t>(Mean_Bytes(b, b2));
                }
                px[j][0] = a & 0xFFFFFF;
                px[j][1] = (a >> 24) & 0xFFFFFF;
                px[j][2] = ((a >> 48) | (uint64_t{b} << 16)) & 0xFFFFFF;
                px[j][3] = b >> 8;
            }
            uint8_t* block_out = column_out + static_cast<size_t>(m) * Px;
            for (int k = 0; k < 4; ++k) {
                uint8_t* out = block_out + k * step;
                if constexpr (Px == 4) {
                    constexpr uint64_t opaque = 0xFF000000FF000000ull;
                    const uint64_t lo = opaque | px[0][k] | (px[1][k] << 32), hi = opaque | px[2][k] | (px[3][k] << 32);
                    std::memcpy(out, &lo, 8);
                    std::memcpy(out + 8, &hi, 8);
                } else {
                    const uint64_t lo = px[0][k] | (px[1][k] << 24) | (px[2][k] << 48);
                    const auto hi = static_cast<uint32_t>((px[2][k] >> 16) | (px[3][k] << 8));
                    std::memcpy(out, &lo, 8);
                    std::memcpy(out + 8, &hi, 4);
                }
            }
        }
    }
}

#if defined(__x86_64__) || defined(__i386__)
// One 4 x 4 block with byte shuffles: each source piece spread to four 32-bit pixels, the block transposed
// as words, each target piece packed back to twelve bytes, or for 32-bit pixels stored as it is, made
// opaque. `Whole`: the pieces are moved as sixteen bytes, a load reading two more source pixels of its row
// and a 24-bit store writing over the next two pixels of its target row, which a later block or the edge
// pass writes again; otherwise as exactly twelve bytes.
template <bool Blend, bool Whole, int Px>
__attribute__((target("ssse3"))) inline void Turn_Block_Ssse3(const Row_pair* rows, size_t at, uint8_t* out,
                                                               ptrdiff_t step) {
    const __m128i spread = _mm_setr_epi8(0, 1, 2, -1, 3, 4, 5, -1, 6, 7, 8, -1, 9, 10, 11, -1);
    const auto load = [](const uint8_t* p) {
        if constexpr (Whole) return _mm_loadu_si128(reinterpret_cast<const __m128i*>(p));
        uint32_t last;
        std::memcpy(&last, p + 8, 4);
        return _mm_unpacklo_epi64(_mm_loadl_epi64(reinterpret_cast<const __m128i*>(p)),
                                  _mm_cvtsi32_si128(static_cast<int32_t>(last)));
    };
    const auto store = [](uint8_t* p, __m128i v) {
        if constexpr (Whole || Px == 4) {
            _mm_storeu_si128(reinterpret_cast<__m128i*>(p), v);
            return;
        }
        _mm_storel_epi64(reinterpret_cast<__m128i*>(p), v);
        const auto last = static_cast<uint32_t>(_mm_cvtsi128_si32(_mm_srli_si128(v, 8)));
        std::memcpy(p + 8, &last, 4);
    };
    __m128i r[4];
    for (int j = 0; j < 4; ++j) {
        __m128i v = load(rows[j].a + at);
        if constexpr (Blend) v = _mm_avg_epu8(v, load(rows[j].b + at));
        r[j] = _mm_shuffle_epi8(v, spread);
    }
    const __m128i t0 = _mm_unpacklo_epi32(r[0], r[1]), t1 = _mm_unpacklo_epi32(r[2], r[3]);
    const __m128i t2 = _mm_unpackhi_epi32(r[0], r[1]), t3 = _mm_unpackhi_epi32(r[2], r[3]);
    // Four explicit stores: a loop over the pieces costs the 24-bit turn a few per cent.
    if constexpr (Px == 4) {
        const __m128i opaque = _mm_set1_epi32(static_cast<int32_t>(0xFF000000u));
        store(out, _mm_or_si128(_mm_unpacklo_epi64(t0, t1), opaque));
        store(out + step, _mm_or_si128(_mm_unpackhi_epi64(t0, t1), opaque));
        store(out + 2 * step, _mm_or_si128(_mm_unpacklo_epi64(t2, t3), opaque));
        store(out + 3 * step, _mm_or_si128(_mm_unpackhi_epi64(t2, t3), opaque));
    } else {
        const __m128i pack = _mm_setr_epi8(0, 1, 2, 4, 5, 6, 8, 9, 10, 12, 13, 14, -1, -1, -1, -1);
        store(out, _mm_shuffle_epi8(_mm_unpacklo_epi64(t0, t1), pack));
        store(out + step, _mm_shuffle_epi8(_mm_unpackhi_epi64(t0, t1), pack));
        store(out + 2 * step, _mm_shuffle_epi8(_mm_unpacklo_epi64(t2, t3), pack));
        store(out + 3 * step, _mm_shuffle_epi8(_mm_unpackhi_epi64(t2, t3), pack));
    }
}

// Turn_Band with the shuffled blocks, moved whole where two more pixels follow in both rows; a 32-bit
// store writes just its own four pixels, so there only the source row limits it.
template <bool Blend, int Px>
__attribute__((target("ssse3"))) void Turn_Band_Ssse3(const Row_pair* pairs, int32_t m0, int32_t m1, int32_t w4,
                                                       uint8_t* line0, ptrdiff_t step, int32_t width,
                                                       int32_t height) {
    const int32_t m_whole = Px == 4 ? m1 : std::min(m1, height - 5);
    for (int32_t x0 = 0; x0 < w4; x0 += 4) {
        Prefetch_Band_Lines<Px>(line0, step, x0, w4, m0, m1);
        uint8_t* column_out = line0 + x0 * step;
        const size_t at = static_cast<size_t>(x0) * 3;
        int32_t m = m0;
        if (x0 + 6 <= width)
            for (; m + 4 <= m_whole; m += 4)
                Turn_Block_Ssse3<Blend, true, Px>(pairs + (m - m0), at, column_out + static_cast<size_t>(m) * Px, step);
        for (; m < m1; m += 4)
            Turn_Block_Ssse3<Blend, false, Px>(pairs + (m - m0), at, column_out + static_cast<size_t>(m) * Px, step);
    }
}
#endif

// Turns the rows `row_of(m)` gives (memory row m) a quarter turn clockwise: source memory row m, column x
// goes to pixel m of the target line `line0 + x * step`, pixels of `Px` bytes (4: made opaque). With
// `Blend`, each row is the mean of its pair, so a field is turned in the pass that interpolates it.
template <bool Blend, int Px, typename Rows>
void Turn_Rows(Rows row_of, uint8_t* line0, ptrdiff_t step, int32_t width, int32_t height) {
    static_assert(std::endian::native == std::endian::little, "the 4 x 4 blocks are taken apart as little-endian words");
    const int32_t w4 = width & ~3, h4 = height & ~3;
    // Blocks of 4 x 4 pixels: four 12-byte pieces of source rows in, four pieces of target lines out, as
    // whole words; bands of source rows keep the rows being read in cache.
    // The band's row pairs are looked up once, not once per block.
    constexpr int32_t band = 128;
    Row_pair pairs[band];
#if defined(__x86_64__) || defined(__i386__)
    const bool shuffle = Widest_Moves() == Pixel_moves::shuffle;
#endif
    for (int32_t m0 = 0; m0 < h4; m0 += band) {
        const int32_t m1 = std::min(h4, m0 + band);
        for (int32_t m = m0; m < m1; ++m) pairs[m - m0] = row_of(m);
#if defined(__x86_64__) || defined(__i386__)
        if (shuffle) {
            Turn_Band_Ssse3<Blend, Px>(pairs, m0, m1, w4, line0, step, width, height);
            continue;
        }
#endif
        Turn_Band<Blend, Px>(pairs, m0, m1, w4, line0, step);
    }
    // What the blocks leave: the last width % 4 columns and the last height % 4 rows, pixel by pixel.
    const auto turn_pixel = [&](int32_t m, int32_t x) {
        const Row_pair row = row_of(m);
        uint8_t* out = line0 + x * step + static_cast<size_t>(m) * Px;
        for (int c = 0; c < 3; ++c)
            out[c] = static_cast<uint8_t>((row.a[3 * x + c] + row.b[3 * x + c] + 1) >> 1);
        if constexpr (Px == 4) out[3] = 255;
    };
    for (int32_t m = 0; m < height; ++m)
        for (int32_t x = w4; x < width; ++x) turn_pixel(m, x);
    for (int32_t m = h4; m < height; ++m)
        for (int32_t x = 0; x < w4; ++x) turn_pixel(m, x);
}

// Turn_Rows of the source as it is, or with `field` of the field deinterlaceFrame2 makes of it.
template <int Px>
void Turn_Picture(const uint8_t* source, uint8_t* line0, ptrdiff_t step, int32_t width, int32_t height, bool field,
                  int16_t mode) {
    const int32_t stride = Stride(width);
    if (!field) {
        Turn_Rows<false, Px>(
            [=](int32_t m) {
                const uint8_t* row = source + static_cast<size_t>(m) * stride;
                return Row_pair{row, row};
            },
            line0, step, width, height);
        return;
    }
    // The rows deinterlaceFrame2 makes, each from the source rows it takes.
    Turn_Rows<true, Px>(
        [=](int32_t m) {
            const Field_rows rows = Field_Source_Rows(height - 1 - m, height, mode);
            return Row_pair{source + Row_Offset(rows.above, height, stride), source + Row_Offset(rows.below, height, stride)};
        },
        line0, step, width, height);
}

// The 24-bit turned picture is bottom-up: source column x is its memory row (width - 1 - x).
void Turn_24(const uint8_t* source, uint8_t* target, int32_t width, int32_t height, bool field, int16_t mode) {
    if (width <= 0 || height <= 0) return;
    const ptrdiff_t t_stride = Stride(height);
    Turn_Picture<3>(source, target + (width - 1) * t_stride, -t_stride, width, height, field, mode);
}

}  // namespace

void Rotate90(const uint8_t* source, uint8_t* target, int32_t width, int32_t height, int32_t) {
    Turn_24(source, target, width, height, false, 0);
}

void Rotate90_Field(const uint8_t* source, uint8_t* target, int32_t width, int32_t height, int16_t mode) {
    Turn_24(source, target, width, height, true, mode);
}

void Rotate90_Wide(const uint8_t* source, uint8_t* target, int64_t target_step, int32_t width, int32_t height,
                   int16_t mode) {
    if (width <= 0 || height <= 0) return;
    Turn_Picture<4>(source, target, static_cast<ptrdiff_t>(target_step), width, height, mode != 0, mode);
}

void FlipImageRGB24(uint8_t* bits, int16_t width, int16_t height) {
    if (width <= 0 || height <= 0) return;
    const int32_t stride = Stride(width);
    for (int32_t r = 0; r < height; ++r) {
        uint8_t* row = bits + static_cast<size_t>(r) * stride;
        for (int32_t a = 0, b = width - 1; a < b; ++a, --b)
            for (int c = 0; c < 3; ++c) std::swap(row[a * 3 + c], row[b * 3 + c]);
    }
}

void LBlend(const uint8_t* source, uint8_t* target, int16_t width, int16_t height, int16_t kind) {
    if (width <= 0 || height <= 0) return;
    const int32_t stride = Stride(width), bytes = width * 3;
    for (int32_t r = 0; r < height; ++r) {
        const uint8_t* in = source + static_cast<size_t>(r) * stride;
        uint8_t* out = target + static_cast<size_t>(r) * stride;
        if (kind == 2)
            for (int32_t i = 0; i < bytes; ++i) out[i] = std::max(out[i], in[i]);
        else
            Average_Rows(in, out, out, bytes);
    }
}

void ABlend(const uint8_t* source, uint8_t* target, const uint8_t* reference, int16_t width, int16_t height,
            int16_t factor) {
    if (width <= 0 || height <= 0) return;
    const int32_t f = std::clamp<int32_t>(factor, 0, 100);
    const int32_t stride = Stride(width), bytes = width * 3;
    for (int32_t r = 0; r < height; ++r) {
        const size_t off = static_cast<size_t>(r) * stride;
        for (int32_t i = 0; i < bytes; ++i) {
            int32_t ref = reference[off + i];
            target[off + i] = static_cast<uint8_t>(ref + ((source[off + i] - ref) * f) / 100);
        }
    }
}

const char* BlendVersion() {
    static const char text[64] = "Vantorel graphics 1.0";
    return text;
}

int64_t GetCycleCount() {
#if defined(__x86_64__) || defined(__i386__)
    return static_cast<int64_t>(__rdtsc());
#else
    return std::chrono::duration_cast<std::chrono::nanoseconds>(std::chrono::steady_clock::now().time_since_epoch())
        .count();
#endif
}

}  // namespace graphics
