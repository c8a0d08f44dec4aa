#pragma once
// Fast operations on 24-bit pictures stored bottom-up (blue, green, red; rows padded to 4 bytes).
// Field numbers count from 1: the odd fields (mode 2) are the top field, the first in time (rows 0, 2,
// 4, ... counted from the top); the even fields (mode 1) the rows 1, 3, 5, .... Rotate90 turns a quarter
// turn clockwise. Callers check the sizes: these functions trust them.
#include <cstdint>

namespace graphics {

// Bytes per row of a 24-bit picture of `width` pixels.
constexpr int32_t Stride(int32_t width) { return (width * 3 + 3) & ~3; }

// A row of a picture as the rounded-up mean of two rows of memory (one row twice for a row as it is).
struct Row_pair {
    const uint8_t* a = nullptr;
    const uint8_t* b = nullptr;
};

// How the picture operations move pixels: word by word, or sixteen bytes a byte shuffle (SSSE3). The
// widest the processor has is used; Limit_Moves asks for no wider one (the previous limit is returned), so
// that both ways are checked on one machine.
enum class Pixel_moves { words, shuffle };
Pixel_moves Widest_Moves();
Pixel_moves Limit_Moves(Pixel_moves widest);

// Asks for the memory lines of `bytes` from `at` before a copy reaches them. A picture's rows lie far apart,
// and by the time of a paint neither the frame nor the screen's image (which a display server may just
// have read) is in the nearest caches: waiting for each line as the copy reaches it takes longer than the copy.
inline void Prefetch_For_Reading(const uint8_t* at, int64_t bytes) {
    for (int64_t k = 0; k < bytes; k += 64) __builtin_prefetch(at + k, 0, 3);
}
inline void Prefetch_For_Writing(uint8_t* at, int64_t bytes) {
    for (int64_t k = 0; k < bytes; k += 64) __builtin_prefetch(at + k, 1, 3);
}

// out[i] = (a[i] + b[i] + 1) / 2 for `bytes` bytes; `out` may be `a` or `b`.
void Average_Rows(const uint8_t* a, const uint8_t* b, uint8_t* out, int32_t bytes);

// A row of 24-bit pixels as 32-bit pixels (blue, green, red, 255: the screen's format).
void Widen_Row(const uint8_t* from, uint32_t* to, int32_t width);

// The target (same size as the source) holds one field of the source at full height: the field's rows
// as they are, the other rows interpolated from their neighbours. Mode 2: the odd field; mode 1 the even.
void deinterlaceFrame2(const uint8_t* source, uint8_t* target, int16_t width, int16_t height, int16_t mode);

// Row `top` (counted from the top) of that field is the rounded-up mean of these two source rows, also
// counted from the top; a row of the field itself, or one at an edge, is one row twice.
struct Field_rows {
    int32_t above;
    int32_t below;
};
Field_rows Field_Source_Rows(int32_t top, int32_t height, int16_t mode);

// The target, `height` x `width` pixels, holds the source turned clockwise. The fifth argument is 0.
void Rotate90(const uint8_t* source, uint8_t* target, int32_t width, int32_t height, int32_t reserved);
// The same as deinterlaceFrame2 into a picture of the source's size and Rotate90 of that, in one pass.
void Rotate90_Field(const uint8_t* source, uint8_t* target, int32_t width, int32_t height, int16_t mode);
// Rotate90 (mode 0) or Rotate90_Field (mode 1 or 2) into 32-bit pixels (blue, green, red, 255: the
// screen's format): the turned picture, `height` pixels wide and `width` high, has its top line at
// `target` and each next line `target_step` bytes further (negative for a bottom-up picture).
void Rotate90_Wide(const uint8_t* source, uint8_t* target, int64_t target_step, int32_t width, int32_t height,
                   int16_t mode);

// Mirrors the picture left to right, in place.
void FlipImageRGB24(uint8_t* bits, int16_t width, int16_t height);

// Blends the source into the target: kind 1 the mean of both, kind 2 the lighter of both per channel.
void LBlend(const uint8_t* source, uint8_t* target, int16_t width, int16_t height, int16_t kind);

// target = reference + (source - reference) * factor / 100, per channel; factor 0..100.
void ABlend(const uint8_t* source, uint8_t* target, const uint8_t* reference, int16_t width, int16_t height,
            int16_t factor);

// 64 bytes of version text, zero-padded.
const char* BlendVersion();

// A counter that grows with the processor clock.
int64_t GetCycleCount();

}  // namespace graphics
