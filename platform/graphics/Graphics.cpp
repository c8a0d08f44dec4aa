#include "Graphics.h"

#include <algorithm>
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

void Average_Rows(const uint8_t* a, const uint8_t* b, uint8_t* out, int32_t bytes) {
    for (int32_t i = 0; i < bytes; ++i) out[i] = static_cast<uint8_t>((a[i] + b[i] + 1) >> 1);
}

}  // namespace

void deinterlaceFrame2(const uint8_t* source, uint8_t* target, int16_t width, int16_t height, int16_t mode) {
    if (width <= 0 || height <= 0) return;
    const int32_t stride = Stride(width), bytes = width * 3;
    const int32_t first = mode == 2 ? 0 : 1;  // top-counted row where the wanted field starts
    for (int32_t top = 0; top < height; ++top) {
        uint8_t* out = target + Row_Offset(top, height, stride);
        if ((top - first) % 2 == 0) {
            std::memcpy(out, source + Row_Offset(top, height, stride), static_cast<size_t>(bytes));
            continue;
        }
        const bool has_above = top - 1 >= first, has_below = top + 1 < height;
        if (has_above && has_below)
            Average_Rows(source + Row_Offset(top - 1, height, stride), source + Row_Offset(top + 1, height, stride),
                         out, bytes);
        else if (has_above || has_below)
            std::memcpy(out, source + Row_Offset(has_above ? top - 1 : top + 1, height, stride),
                        static_cast<size_t>(bytes));
        else
            std::memcpy(out, source + Row_Offset(top, height, stride), static_cast<size_t>(bytes));
    }
}

namespace {

// One pixel turned: source memory row m, column x goes to target memory row (width - 1 - x), column m.
inline void Turn_Pixel(const uint8_t* source, uint8_t* target, int32_t width, int32_t s_stride, int32_t t_stride,
                       int32_t m, int32_t x) {
    std::memcpy(target + static_cast<size_t>(width - 1 - x) * t_stride + static_cast<size_t>(m) * 3,
                source + static_cast<size_t>(m) * s_stride + static_cast<size_t>(x) * 3, 3);
}

}  // namespace

void Rotate90(const uint8_t* source, uint8_t* target, int32_t width, int32_t height, int32_t) {
    if (width <= 0 || height <= 0) return;
    static_assert(std::endian::native == std::endian::little, "the 4 x 4 blocks are taken apart as little-endian words");
    const int32_t s_stride = Stride(width), t_stride = Stride(height);
    const int32_t w4 = width & ~3, h4 = height & ~3;
    // Blocks of 4 x 4 pixels: four 12-byte pieces of source rows in, four 12-byte pieces of target rows
    // out, as whole words; bands of source rows keep the rows being read in cache.
    constexpr int32_t band = 128;
    for (int32_t m0 = 0; m0 < h4; m0 += band) {
        const int32_t m1 = std::min(h4, m0 + band);
        for (int32_t x0 = 0; x0 < w4; x0 += 4) {
            uint8_t* first_out = target + static_cast<size_t>(width - 1 - x0) * t_stride;
            for (int32_t m = m0; m < m1; m += 4) {
                uint64_t px[4][4];
                for (int j = 0; j < 4; ++j) {
                    const uint8_t* in = source + static_cast<size_t>(m + j) * s_stride + static_cast<size_t>(x0) * 3;
                    uint64_t a;
                    uint32_t b;
                    std::memcpy(&a, in, 8);
                    std::memcpy(&b, in + 8, 4);
                    px[j][0] = a & 0xFFFFFF;
                    px[j][1] = (a >> 24) & 0xFFFFFF;
                    px[j][2] = ((a >> 48) | (uint64_t{b} << 16)) & 0xFFFFFF;
                    px[j][3] = b >> 8;
                }
                for (int k = 0; k < 4; ++k) {
                    const uint64_t lo = px[0][k] | (px[1][k] << 24) | (px[2][k] << 48);
                    const auto hi = static_cast<uint32_t>((px[2][k] >> 16) | (px[3][k] << 8));
                    uint8_t* out = first_out - static_cast<ptrdiff_t>(k) * t_stride + static_cast<size_t>(m) * 3;
                    std::memcpy(out, &lo, 8);
                    std::memcpy(out + 8, &hi, 4);
                }
            }
        }
    }
    // What the blocks leave: the last width % 4 columns and the last height % 4 rows.
    for (int32_t m = 0; m < height; ++m)
        for (int32_t x = w4; x < width; ++x) Turn_Pixel(source, target, width, s_stride, t_stride, m, x);
    for (int32_t m = h4; m < height; ++m)
        for (int32_t x = 0; x < w4; ++x) Turn_Pixel(source, target, width, s_stride, t_stride, m, x);
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
