#pragma once
// Scaled painting of a 24-bit bitmap given by its description and pixel address into a device
// context. A DrawDib handle only marks an open painting instance; nearest-neighbour scaling keeps
// the rows of two fields apart.
#include "Device_context.h"

#include <cstdint>

namespace gdi {

// The 40-byte description of a bitmap in front of its pixels, and one colour entry that stays zero.
struct Bitmap_info_header {
    uint32_t biSize = 0;
    int32_t biWidth = 0;
    int32_t biHeight = 0;
    uint16_t biPlanes = 0;
    uint16_t biBitCount = 0;
    uint32_t biCompression = 0;
    uint32_t biSizeImage = 0;
    int32_t biXPelsPerMeter = 0;
    int32_t biYPelsPerMeter = 0;
    uint32_t biClrUsed = 0;
    uint32_t biClrImportant = 0;
};
static_assert(sizeof(Bitmap_info_header) == 40);

struct Bitmap_info {
    Bitmap_info_header header;
    uint32_t colours[1] = {0};
};
static_assert(sizeof(Bitmap_info) == 44);

class Draw_dib_instance;
using HDRAWDIB = Draw_dib_instance*;

HDRAWDIB DrawDibOpen();
bool DrawDibClose(HDRAWDIB handle);

// Paints source rectangle (sx, sy, sw, sh) of the picture, counted from its top-left corner, into
// destination rectangle (dx, dy, dw, dh). A destination width or height of -1 takes the source's; a
// destination of 0 x 0 paints the source rectangle unscaled; a source width or height of -1 takes
// the picture's. Only 24-bit bottom-up pictures are painted; anything else answers false.
bool DrawDibDraw(HDRAWDIB handle, Device_context* dc, int32_t dx, int32_t dy, int32_t dw, int32_t dh,
                 const Bitmap_info_header* info, const void* bits, int32_t sx, int32_t sy, int32_t sw, int32_t sh,
                 uint32_t flags);

}  // namespace gdi
