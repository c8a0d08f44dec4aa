#include "imaging/cDIBSection.h"
#include "platform/gdi/Gdi_blit.h"
#include "platform/ui/Picture_box.h"

#include <QImage>
#include <QPixmap>
#include <gtest/gtest.h>

namespace {

// Top half red, bottom half blue, with a green first column.
void Paint_Picture(cDIBSection& dib) {
    ASSERT_TRUE(dib.Create(40, 20));
    for (int32_t r = 0; r < 20; ++r)
        for (int32_t x = 0; x < 40; ++x) {
            uint8_t* p = dib.DIBSectionBitsPtr() + r * dib.BytesPerScanLine() + 3 * x;
            const bool top = r >= 10;
            p[0] = x == 0 ? 0 : top ? 0 : 255;
            p[1] = x == 0 ? 255 : 0;
            p[2] = x == 0 ? 0 : top ? 255 : 0;
        }
}

TEST(Picture_box, Shows_a_bitmap_painted_through_DIB_PaintPicture) {
    ui::Picture_box box;
    box.resize(160, 80);
    cDIBSection dib;
    Paint_Picture(dib);
    dib.DIB_PaintPicture(box.hDC(), 0, 0, 160, 80, 0, 0, gdi::SRCCOPY);

    // The backing bitmap holds the picture at four times its size, top half red.
    EXPECT_EQ(gdi::GetPixel(box.hDC(), 80, 10), 0x0000FFu);
    EXPECT_EQ(gdi::GetPixel(box.hDC(), 80, 70), 0xFF0000u);
    EXPECT_EQ(gdi::GetPixel(box.hDC(), 3, 30), 0x00FF00u);
    EXPECT_EQ(gdi::GetPixel(box.hDC(), 4, 30), 0x0000FFu);
    EXPECT_EQ(gdi::GetPixel(box.hDC(), 4, 50), 0xFF0000u);

    // And the window shows it the same way up.
    const QImage shown = box.grab().toImage();
    EXPECT_EQ(shown.pixelColor(80, 10), QColor(255, 0, 0));
    EXPECT_EQ(shown.pixelColor(80, 70), QColor(0, 0, 255));
    EXPECT_EQ(shown.pixelColor(2, 79), QColor(0, 255, 0));
}

}  // namespace
