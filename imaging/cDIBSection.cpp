#include "cDIBSection.h"

#include "Error_source.h"
#include "platform/fs/File_system.h"
#include "platform/gdi/Gdi_blit.h"
#include "platform/ui/Dialog_service.h"
#include "platform/vb/Error_trap.h"
#include "platform/vb/Vb_convert.h"

#include <chrono>
#include <cmath>
#include <cstring>
#include <random>

namespace {

constexpr int32_t Bmp_File_Header_Size = 14;
constexpr int32_t Bmp_Pixel_Offset = Bmp_File_Header_Size + 44;

void Put_16(uint8_t* p, uint16_t v) {
    p[0] = static_cast<uint8_t>(v);
    p[1] = static_cast<uint8_t>(v >> 8);
}
void Put_32(uint8_t* p, uint32_t v) {
    for (int i = 0; i < 4; ++i) p[i] = static_cast<uint8_t>(v >> (8 * i));
}

// Seconds since midnight, as the timer gives them.
uint32_t Timer_Seed() {
    auto now = std::chrono::system_clock::to_time_t(std::chrono::system_clock::now());
    tm local{};
    localtime_r(&now, &local);
    return static_cast<uint32_t>(local.tm_hour * 3600 + local.tm_min * 60 + local.tm_sec);
}

}  // namespace

cDIBSection::~cDIBSection() { ClearUp(); }

void cDIBSection::UseDrawDib(bool use) {
    if (use) {
        if (!draw_dib_) draw_dib_ = gdi::DrawDibOpen();
    } else if (draw_dib_) {
        gdi::DrawDibClose(draw_dib_);
        draw_dib_ = nullptr;
    }
}

int32_t cDIBSection::BytesPerScanLine() const {
    return vb::To_Int32((3 * static_cast<int64_t>(info_.header.biWidth) + 3) & ~int64_t{3});
}

bool cDIBSection::CreateDIB(gdi::Device_context*, int32_t width, int32_t height, gdi::Bitmap*& handle) {
    gdi::Bitmap_info_header& h = info_.header;
    h.biSize = 40;
    h.biWidth = width;
    h.biHeight = height;
    h.biPlanes = 1;
    h.biBitCount = 24;
    h.biCompression = 0;
    h.biSizeImage = static_cast<uint32_t>(vb::To_Int32(static_cast<int64_t>(height) * BytesPerScanLine()));
    handle = gdi::CreateDIBSection(width, height, &bits_);
    drawing_width_ = width;
    drawing_height_ = height;
    return handle != nullptr;
}

void cDIBSection::CreateFromPicture(gdi::Bitmap& picture) {
    if (!Create(picture.Width(), picture.Height())) return;
    gdi::Device_context* dc = gdi::CreateCompatibleDC(nullptr);
    gdi::Gdi_object* old = gdi::SelectObject(dc, &picture);
    LoadPictureBlt(dc, 0, 0, -1, -1, gdi::SRCCOPY);
    gdi::SelectObject(dc, old);
    gdi::DeleteDC(dc);
    drawing_width_ = picture.Width();
    drawing_height_ = picture.Height();
}

bool cDIBSection::Create(int32_t width, int32_t height) {
    const bool had_draw_dib = UseDrawDib();
    if (dib_ && dib_->Width() == width && dib_->Height() == height) {
        // The same size again, as every decoded frame of a file: the pixel memory is kept (its
        // contents are undefined after Create either way) and the context starts afresh, so a frame
        // costs no allocation.
        dc_->Reset_State();
        drawing_width_ = width;
        drawing_height_ = height;
        return true;
    }
    ClearUp();
    dc_ = gdi::CreateCompatibleDC(nullptr);
    if (!dc_) return false;
    gdi::Bitmap* dib = nullptr;
    bool made = false;
    try {
        made = CreateDIB(dc_, width, height, dib);
    } catch (...) {
        gdi::DeleteDC(dc_);
        dc_ = nullptr;
        throw;
    }
    if (!made) {
        gdi::DeleteDC(dc_);
        dc_ = nullptr;
        bits_ = nullptr;
        return false;
    }
    dib_ = dib;
    previous_bitmap_ = gdi::SelectObject(dc_, dib_);
    UseDrawDib(had_draw_dib);
    drawing_width_ = width;
    drawing_height_ = height;
    return true;
}

void cDIBSection::ClearUp() {
    if (dc_) {
        if (dib_) {
            gdi::SelectObject(dc_, previous_bitmap_);
            gdi::DeleteObject(dib_);
        }
        gdi::DeleteDC(dc_);
    }
    dc_ = nullptr;
    dib_ = nullptr;
    previous_bitmap_ = nullptr;
    bits_ = nullptr;
    UseDrawDib(false);
}

int16_t cDIBSection::ClrImportant() const { return vb::To_Int16(info_.header.biClrImportant); }
int16_t cDIBSection::ClrUsed() const { return vb::To_Int16(info_.header.biClrUsed); }

int16_t cDIBSection::Image_Brightness() const {
    if (Height() <= 0 || !bits_) return 0;
    const int32_t stride = BytesPerScanLine();
    int64_t sum = 0, samples = 0;
    for (int32_t row = 0; row < Height(); row += 5, ++samples) {
        const uint8_t* p = bits_ + static_cast<int64_t>(row) * stride;
        sum += p[0] + p[1] + p[2];
    }
    return vb::CInt(static_cast<double>(sum) / static_cast<double>(samples));
}

int16_t cDIBSection::Image_Contrast() const {
    if (Height() <= 0 || !bits_) return 0;
    const int32_t mean = Image_Brightness();
    const int32_t stride = BytesPerScanLine();
    int64_t sum = 0, samples = 0;
    for (int32_t row = 0; row < Height(); row += 5, ++samples) {
        const uint8_t* p = bits_ + static_cast<int64_t>(row) * stride;
        sum += std::abs(mean - (p[0] + p[1] + p[2]));
    }
    return vb::CInt(static_cast<double>(sum) / static_cast<double>(samples));
}

float cDIBSection::Pixel_Luminance(int16_t x, int16_t y) const {
    vb::To_Int16(3 * static_cast<int32_t>(x));
    if (Height() <= 0 || !bits_) return 0;
    if (x < 0 || y < 0 || x >= Width() || y >= Height()) vb::Raise(vb::Err_Subscript);
    const uint8_t* p = bits_ + static_cast<int64_t>(Height() - 1 - y) * BytesPerScanLine() + 3 * x;
    return 0.30f * p[2] + 0.59f * p[1] + 0.11f * p[0];
}

void cDIBSection::LoadPictureBlt(gdi::Device_context* source, int32_t source_left, int32_t source_top, int32_t width,
                                 int32_t height, uint32_t rop) {
    if (width < 0) width = Width();
    if (height < 0) height = Height();
    gdi::BitBlt(dc_, 0, 0, width, height, source, source_left, source_top, rop);
}

bool cDIBSection::SavePicture(const std::string& file_name) {
    uint8_t file_header[Bmp_File_Header_Size] = {'B', 'M'};
    Put_32(file_header + 2, static_cast<uint32_t>(SizeImage()) + Bmp_Pixel_Offset);
    Put_32(file_header + 10, Bmp_Pixel_Offset);

    const gdi::Bitmap_info_header& h = info_.header;
    uint8_t info[44] = {};
    Put_32(info + 0, h.biSize);
    Put_32(info + 4, static_cast<uint32_t>(h.biWidth));
    Put_32(info + 8, static_cast<uint32_t>(h.biHeight));
    Put_16(info + 12, h.biPlanes);
    Put_16(info + 14, h.biBitCount);
    Put_32(info + 16, h.biCompression);
    Put_32(info + 20, h.biSizeImage);
    Put_32(info + 24, static_cast<uint32_t>(h.biXPelsPerMeter));
    Put_32(info + 28, static_cast<uint32_t>(h.biYPelsPerMeter));
    Put_32(info + 32, h.biClrUsed);
    Put_32(info + 36, h.biClrImportant);

    std::string content(reinterpret_cast<const char*>(file_header), sizeof file_header);
    content.append(reinterpret_cast<const char*>(info), sizeof info);
    // The pixels are written only from a bitmap that holds them all; without them the headers are.
    const bool pixels_whole = bits_ && dib_ && dib_->Size_Image() >= SizeImage();
    if (pixels_whole) content.append(reinterpret_cast<const char*>(bits_), static_cast<size_t>(SizeImage()));
    // Written in one step: a failed write leaves the file that was there.
    bool created = false;
    if (int error = fs::Write_File_Atomic(file_name, content, &created)) {
        if (!created) vb::Raise(vb::Err_Cannot_Perform, std::strerror(error), imaging::Error_Source("cDIBSection"));
        return false;
    }
    return pixels_whole;
}

void cDIBSection::DIB_DrawDib(gdi::Picture_surface& box) {
    UseDrawDib(true);
    gdi::DrawDibDraw(draw_dib_, box.hDC(), 0, 0, 0, 0, &info_.header, bits_, 0, 0, vb::CLng(box.ScaleWidth()),
                     vb::CLng(box.ScaleHeight()), 0);
}

void cDIBSection::DIB_DrawDib2(gdi::Picture_surface& box, int16_t source_top, int16_t source_left,
                               int16_t source_width, int16_t source_height) {
    if (painting_busy_) return;
    painting_busy_ = true;
    // Every step that fails is passed over; the flag is cleared whatever happens.
    try {
        UseDrawDib(true);
    } catch (...) {
    }
    try {
        gdi::DrawDibDraw(draw_dib_, box.hDC(), 0, 0, vb::CLng(box.ScaleWidth()), vb::CLng(box.ScaleHeight()),
                         &info_.header, bits_, source_left, source_top, source_width, source_height, 0);
    } catch (...) {
    }
    painting_busy_ = false;
}

void cDIBSection::DIB_PaintPicture(gdi::Device_context* dc, int32_t dest_left, int32_t dest_top, int32_t dest_width,
                                   int32_t dest_height, int32_t source_left, int32_t source_top, uint32_t rop) {
    vb::Trap_With(
        true,
        [&] {
            UseDrawDib(true);
            if (dest_width < 0) dest_width = Width();
            if (dest_height < 0) dest_height = Height();
            if (draw_dib_)
                gdi::DrawDibDraw(draw_dib_, dc, dest_left, dest_top, dest_width, dest_height, &info_.header, bits_,
                                 source_left, source_top, drawing_width_, drawing_height_, 0);
            else
                gdi::BitBlt(dc, dest_left, dest_top, dest_width, dest_height, dc_, source_left, source_top, rop);
        },
        [](const VbError&) { ui::MsgBox("DIB_paintpicture error", ui::vbOKOnly); });
}

void cDIBSection::PaintPicture(gdi::Device_context* dc, int32_t dest_left, int32_t dest_top, int32_t dest_width,
                               int32_t dest_height, int32_t source_left, int32_t source_top, uint32_t rop) {
    if (dest_width < 0) dest_width = Width();
    if (dest_height < 0) dest_height = Height();
    gdi::BitBlt(dc, dest_left, dest_top, dest_width, dest_height, dc_, source_left, source_top, rop);
}

void cDIBSection::StretchPicture(gdi::Picture_surface& box) {
    gdi::StretchBlt(box.hDC(), 0, 0, vb::CLng(box.ScaleWidth()), vb::CLng(box.ScaleHeight()), dc_, 0, 0, Width(),
                    Height(), gdi::SRCCOPY);
}

void cDIBSection::RandomiseBits(bool gray) {
    if (!bits_) return;
    std::mt19937 generator(Timer_Seed());
    std::uniform_real_distribution<float> unit(0.0f, 1.0f);
    auto value = [&] { return static_cast<uint8_t>(std::nearbyint(unit(generator) * 255.0f)); };
    const int32_t stride = BytesPerScanLine();
    if (gray) {
        for (int32_t row = 0; row < Height(); ++row)
            for (int32_t x = 0; x < Width(); ++x) {
                uint8_t* p = bits_ + static_cast<int64_t>(row) * stride + 3 * x;
                p[0] = p[1] = p[2] = value();
            }
    } else {
        for (int32_t x = 0; x < Width(); ++x)
            for (int32_t row = 0; row < Height(); ++row) {
                uint8_t* p = bits_ + static_cast<int64_t>(row) * stride + 3 * x;
                p[0] = 0;
                p[1] = value();
                p[2] = value();
            }
    }
    if (dc_) dc_->Drawn();
}

void cDIBSection::Fill_with_RGB(int32_t colour) {
    if (!bits_ || Width() <= 0 || Height() <= 0) return;
    if (colour < 0 || colour > 0xFFFFFF) vb::Raise(vb::Err_Overflow);
    const auto blue = static_cast<uint8_t>(colour / 65536);
    const auto green = static_cast<uint8_t>((colour % 65536) / 256);
    const auto red = static_cast<uint8_t>(colour % 256);
    const int32_t stride = BytesPerScanLine();
    for (int32_t row = 0; row < Height(); ++row) {
        uint8_t* p = bits_ + static_cast<int64_t>(row) * stride;
        for (int32_t x = 0; x < Width(); ++x, p += 3) {
            p[0] = blue;
            p[1] = green;
            p[2] = red;
        }
    }
}

std::unique_ptr<cDIBSection> cDIBSection::Resample(int32_t new_height, int32_t new_width) const {
    auto result = std::make_unique<cDIBSection>();
    if (!result->Create(new_width, new_height)) return nullptr;
    if (new_width == Width() && new_height == Height()) {
        result->LoadPictureBlt(dc_, 0, 0, -1, -1, gdi::SRCCOPY);
        return result;
    }
    if (!bits_ || Width() <= 0 || Height() <= 0) return result;

    const float x_scale = static_cast<float>(Width() - 1) / static_cast<float>(new_width);
    const float y_scale = static_cast<float>(Height() - 1) / static_cast<float>(new_height);
    const int32_t stride = BytesPerScanLine(), new_stride = result->BytesPerScanLine();
    for (int32_t r = 0; r < new_height; ++r) {
        const float sy = y_scale * static_cast<float>(r);
        const auto sr = static_cast<int32_t>(std::floor(sy));
        const float fy = sy - static_cast<float>(sr);
        // A picture one row high (or wide) has no neighbour to blend with: it blends with itself.
        const int32_t sr_next = std::min(sr + 1, Height() - 1);
        const uint8_t* row0 = bits_ + static_cast<int64_t>(sr) * stride;
        const uint8_t* row1 = bits_ + static_cast<int64_t>(sr_next) * stride;
        uint8_t* out = result->bits_ + static_cast<int64_t>(r) * new_stride;
        for (int32_t c = 0; c < new_width; ++c) {
            const float sx = x_scale * static_cast<float>(c);
            const auto sc = static_cast<int32_t>(std::floor(sx));
            const float fx = sx - static_cast<float>(sc);
            const int32_t sc_next = std::min(sc + 1, Width() - 1);
            for (int channel = 0; channel < 3; ++channel) {
                const int32_t a = 3 * sc + channel, b = 3 * sc_next + channel;
                const float v0 = std::nearbyint((1 - fy) * row0[a] + fy * row1[a]);
                const float v1 = std::nearbyint((1 - fy) * row0[b] + fy * row1[b]);
                const float v = std::nearbyint((1 - fx) * v0 + fx * v1);
                out[3 * c + channel] = static_cast<uint8_t>(std::clamp(v, 0.0f, 255.0f));
            }
        }
    }
    return result;
}
