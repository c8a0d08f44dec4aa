#pragma once
// Lines of pixels to draw on, counted from the top: a bottom-up 24-bit bitmap (a negative step) and
// the screen's top-down 32-bit image (blue, green, red, 255) alike, so one drawing fills either.
#include "Gdi_objects.h"

#include <cstdint>

namespace gdi {

struct Rows_target {
    uint8_t* first = nullptr;  // the top line
    int64_t step = 0;          // bytes from one line to the one below it
    int32_t width = 0;
    int32_t height = 0;
    int32_t pixel_bytes = 3;  // 3, or 4 with the fourth byte 255

    uint8_t* Line(int32_t y) const { return first + y * step; }
};

inline Rows_target Rows_Of(Bitmap& bitmap) {
    return {bitmap.Line(0), -static_cast<int64_t>(bitmap.Stride()), bitmap.Width(), bitmap.Height(), 3};
}

}  // namespace gdi
