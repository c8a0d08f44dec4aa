#include "Draw_dib.h"

#include "Gdi_blit.h"

namespace gdi {

class Draw_dib_instance {};

HDRAWDIB DrawDibOpen() { return new Draw_dib_instance; }

bool DrawDibClose(HDRAWDIB handle) {
    if (!handle) return false;
    delete handle;
    return true;
}

bool DrawDibDraw(HDRAWDIB handle, Device_context* dc, int32_t dx, int32_t dy, int32_t dw, int32_t dh,
                 const Bitmap_info_header* info, const void* bits, int32_t sx, int32_t sy, int32_t sw, int32_t sh,
                 uint32_t) {
    if (!handle || !dc || !info || !bits) return false;
    if (info->biBitCount != 24 || info->biCompression != 0 || info->biWidth <= 0 || info->biHeight <= 0) return false;
    Bitmap* surface = dc->Surface();
    if (!surface) return false;
    Pixel_view source{static_cast<const uint8_t*>(bits), info->biWidth, info->biHeight,
                      static_cast<int32_t>((3 * static_cast<int64_t>(info->biWidth) + 3) & ~int64_t{3})};
    if (sw == -1) sw = info->biWidth;
    if (sh == -1) sh = info->biHeight;
    if (dw == -1) dw = sw;
    if (dh == -1) dh = sh;
    if (dw == 0 && dh == 0) {
        dw = sw;
        dh = sh;
    }
    bool done = Stretch_Pixels(*surface, dx, dy, dw, dh, source, sx, sy, sw, sh);
    if (done) dc->Drawn();
    return done;
}

}  // namespace gdi
