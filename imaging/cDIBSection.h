#pragma once
// The system's bitmap: 24 bits per pixel, blue-green-red, rows bottom-up and padded to 4 bytes,
// selected into a memory device context of its own, with an optional DrawDib handle for scaled
// painting. The pixel memory is shared with its users, never copied: the JPEG binding decodes into
// it, the store and live capture write it through `DIBSectionBitsPtr`, windows paint it.
#include "platform/gdi/Device_context.h"
#include "platform/gdi/Draw_dib.h"
#include "platform/gdi/Picture_surface.h"

#include <cstdint>
#include <memory>
#include <string>

class cDIBSection {
public:
    cDIBSection() = default;
    ~cDIBSection();
    cDIBSection(const cDIBSection&) = delete;
    cDIBSection& operator=(const cDIBSection&) = delete;

    int32_t Capture_Local() const { return capture_local_; }
    void Capture_Local(int32_t value) { capture_local_ = value; }
    int32_t Capture_Mill() const { return capture_mill_; }
    void Capture_Mill(int32_t value) { capture_mill_ = value; }
    void ID_string(const std::string& value) { id_ = value; }
    const std::string& ID_string() const { return id_; }

    bool UseDrawDib() const { return draw_dib_ != nullptr; }
    void UseDrawDib(bool use);

    // Fills in the header and makes the bitmap; `handle` receives it (nullptr on failure).
    bool CreateDIB(gdi::Device_context* dc, int32_t width, int32_t height, gdi::Bitmap*& handle);
    // Makes a bitmap of the picture's size and copies the picture into it.
    void CreateFromPicture(gdi::Bitmap& picture);
    // Replaces the bitmap by a new one; false (and the object empty) when it cannot be made.
    bool Create(int32_t width, int32_t height);

    int32_t BytesPerScanLine() const;
    int32_t Width() const { return info_.header.biWidth; }
    int32_t Height() const { return info_.header.biHeight; }
    const gdi::Bitmap_info* pBitmapInfo() const { return &info_; }
    int32_t SizeImage() const { return static_cast<int32_t>(info_.header.biSizeImage); }
    const gdi::Bitmap_info* Addr_InfoHeader() const { return &info_; }
    int16_t BitCount() const { return static_cast<int16_t>(info_.header.biBitCount); }
    int16_t ClrImportant() const;
    int16_t ClrUsed() const;
    int32_t Compression() const { return static_cast<int32_t>(info_.header.biCompression); }
    int16_t Planes() const { return static_cast<int16_t>(info_.header.biPlanes); }
    int16_t SizeInfoHeader() const { return 40; }
    int32_t XPelsPerMeter() const { return info_.header.biXPelsPerMeter; }
    int32_t YPelsPerMeter() const { return info_.header.biYPelsPerMeter; }

    int16_t Image_Brightness() const;
    // (x, y) from the top-left corner.
    float Pixel_Luminance(int16_t x, int16_t y) const;
    int16_t Image_Contrast() const;

    void LoadPictureBlt(gdi::Device_context* source, int32_t source_left, int32_t source_top, int32_t width,
                        int32_t height, uint32_t rop);
    // Writes the image as a BMP file; error 17 when the file cannot be created, false when a write fails.
    bool SavePicture(const std::string& file_name);

    void DIB_DrawDib(gdi::Picture_surface& box);
    // Paints the source rectangle over the whole box; returns at once while a paint of this object runs.
    void DIB_DrawDib2(gdi::Picture_surface& box, int16_t source_top, int16_t source_left, int16_t source_width,
                      int16_t source_height);
    void DIB_PaintPicture(gdi::Device_context* dc, int32_t dest_left, int32_t dest_top, int32_t dest_width,
                          int32_t dest_height, int32_t source_left, int32_t source_top, uint32_t rop);
    void PaintPicture(gdi::Device_context* dc, int32_t dest_left, int32_t dest_top, int32_t dest_width,
                      int32_t dest_height, int32_t source_left, int32_t source_top, uint32_t rop);
    void StretchPicture(gdi::Picture_surface& box);

    gdi::Device_context* hDC() const { return dc_; }
    gdi::Bitmap* hDib() const { return dib_; }
    uint8_t* DIBSectionBitsPtr() const { return bits_; }

    void RandomiseBits(bool gray);
    // `colour` is a Windows colour value: red in the low byte.
    void Fill_with_RGB(int32_t colour);
    void ClearUp();

    // A scaled copy (bilinear), or nullptr when it cannot be made.
    std::unique_ptr<cDIBSection> Resample(int32_t new_height, int32_t new_width) const;

    bool Painting_Busy() const { return painting_busy_; }

private:
    gdi::Bitmap* dib_ = nullptr;
    gdi::Gdi_object* previous_bitmap_ = nullptr;
    gdi::Device_context* dc_ = nullptr;
    gdi::HDRAWDIB draw_dib_ = nullptr;
    uint8_t* bits_ = nullptr;
    gdi::Bitmap_info info_;
    int32_t drawing_width_ = 0;
    int32_t drawing_height_ = 0;
    std::string id_;
    int32_t capture_mill_ = 0;
    int32_t capture_local_ = 0;
    bool painting_busy_ = false;
};
