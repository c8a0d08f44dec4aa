#pragma once
// Copying rectangles between device contexts. Coordinates count from the top-left corner; parts of
// a rectangle outside the source or destination picture are left out. Scaling takes the nearest
// source pixel (whatever the stretch mode), so no row of one field is ever mixed into another.
#include "Device_context.h"
#include "Rows_target.h"
#include "platform/graphics/Graphics.h"

#include <functional>

namespace gdi {

enum : uint32_t { SRCCOPY = 0x00CC0020 };

// 24-bit bottom-up pixels that are not necessarily a bitmap object (DrawDib paints from these).
struct Pixel_view {
    const uint8_t* bits = nullptr;
    int32_t width = 0;
    int32_t height = 0;
    int32_t stride = 0;
};
Pixel_view View_Of(const Bitmap& bitmap);

// Copies source rectangle (sx, sy, sw, sh) onto destination rectangle (dx, dy, dw, dh), scaled.
// With `transparent`, source pixels of that colour leave the destination as it is. False when a
// size is not positive.
bool Stretch_Pixels(Bitmap& destination, int32_t dx, int32_t dy, int32_t dw, int32_t dh, const Pixel_view& source,
                    int32_t sx, int32_t sy, int32_t sw, int32_t sh, const COLORREF* transparent = nullptr);

using graphics::Row_pair;
// Stretch_Pixels without transparency from a source of `width` x `height` pixels whose row `top`
// (counted from the top) `row_of` gives: a field is scaled straight from its frame.
bool Stretch_Row_Pairs(Bitmap& destination, int32_t dx, int32_t dy, int32_t dw, int32_t dh, int32_t width,
                       int32_t height, const std::function<Row_pair(int32_t top)>& row_of, int32_t sx, int32_t sy,
                       int32_t sw, int32_t sh);
// The same picture on lines of 24- or 32-bit pixels: a field is scaled straight onto the screen's image.
bool Stretch_Row_Pairs(const Rows_target& destination, int32_t dx, int32_t dy, int32_t dw, int32_t dh, int32_t width,
                       int32_t height, const std::function<Row_pair(int32_t top)>& row_of, int32_t sx, int32_t sy,
                       int32_t sw, int32_t sh);

// Only SRCCOPY is known; another raster operation draws nothing and answers false.
bool BitBlt(Device_context* destination, int32_t x, int32_t y, int32_t width, int32_t height,
            Device_context* source, int32_t source_x, int32_t source_y, uint32_t rop);
bool StretchBlt(Device_context* destination, int32_t x, int32_t y, int32_t width, int32_t height,
                Device_context* source, int32_t source_x, int32_t source_y, int32_t source_width,
                int32_t source_height, uint32_t rop);
bool TransparentBlt(Device_context* destination, int32_t x, int32_t y, int32_t width, int32_t height,
                    Device_context* source, int32_t source_x, int32_t source_y, int32_t source_width,
                    int32_t source_height, COLORREF transparent);

}  // namespace gdi
