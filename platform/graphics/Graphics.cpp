#include "Graphics.h"

#include <algorithm>
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

void Rotate90(const uint8_t* source, uint8_t* target, int32_t width, int32_t height, int32_t) {
    if (width <= 0 || height <= 0) return;
    // Bottom-up, a clockwise turn sends source memory row r, column x to target memory row
    // (width - 1 - x), column r. Tiles keep both pictures in cache.
    const int32_t s_stride = Stride(width), t_stride = Stride(height);
    constexpr int32_t tile = 32;
    for (int32_t r0 = 0; r0 < height; r0 += tile) {
        const int32_t r1 = std::min(height, r0 + tile);
        for (int32_t x0 = 0; x0 < width; x0 += tile) {
            const int32_t x1 = std::min(width, x0 + tile);
            for (int32_t r = r0; r < r1; ++r) {
                const uint8_t* in = source + static_cast<size_t>(r) * s_stride + static_cast<size_t>(x0) * 3;
                for (int32_t x = x0; x < x1; ++x, in += 3) {
                    uint8_t* out = target + static_cast<size_t>(width - 1 - x) * t_stride + static_cast<size_t>(r) * 3;
                    out[0] = in[0];
                    out[1] = in[1];
                    out[2] = in[2];
                }
            }
        }
    }
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
