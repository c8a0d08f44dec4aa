// The older display members: software field extraction, a bitmap of every frame, and the playback
// conversions between times, shares and field numbers.
#include "cls_VideoFile_handler.h"

#include "platform/vb/VbError.h"
#include "platform/vb/Vb_convert.h"

#include <algorithm>
#include <cmath>
#include <cstring>

void cls_VideoFile_handler::Deinterlace_DIBS(cDIBSection& target, const cDIBSection& source, int16_t field) {
    if (target.Width() != source.Width() || target.Height() != source.Height() || source.Width() <= 0)
        vb::Raise(vb::Err_Invalid_Call,
                  "Deinterlace_DIBS: a picture of " + std::to_string(source.Width()) + " x " +
                      std::to_string(source.Height()) + " cannot fill one of " + std::to_string(target.Width()) +
                      " x " + std::to_string(target.Height()),
                  "cls_VideoFile_handler");
    const int32_t stride = source.BytesPerScanLine();
    const int32_t height = source.Height();
    const uint8_t* from = source.DIBSectionBitsPtr();
    uint8_t* to = target.DIBSectionBitsPtr();
    std::memcpy(to, from, static_cast<size_t>(stride) * static_cast<size_t>(height));
    // Rows from the bottom of the bottom-up picture; each row kept is doubled into the row above it.
    const int32_t start = field == 1 ? 2 : 1;
    for (int32_t row = start; row <= height - 2; row += 2)
        std::memcpy(to + static_cast<size_t>(row + 1) * stride, from + static_cast<size_t>(row) * stride,
                    static_cast<size_t>(stride));
}

void cls_VideoFile_handler::Clear_Bitmap_Collection() {
    bitmaps_.clear();
    bitmaps_read_in_ = false;
}

void cls_VideoFile_handler::Read_In_Bitmaps() {
    Clear_Bitmap_Collection();
    const int64_t row = (int64_t{width_} * 3 + 3) / 4 * 4;
    Check_Whole_File_Bound(row * height_ * frame_count_);
    for (int32_t frame = 1; frame <= frame_count_; ++frame) {
        Read_RGB_sample(frame, true);
        auto bitmap = std::make_unique<cDIBSection>();
        if (!bitmap->Create(width_, height_))
            vb::Raise(vb::Err_Out_Of_Memory, "No memory for the bitmap of frame " + std::to_string(frame), "cls_VideoFile_handler");
        if (frame_image_.SizeImage() == bitmap->SizeImage())
            std::memcpy(bitmap->DIBSectionBitsPtr(), frame_image_.DIBSectionBitsPtr(), static_cast<size_t>(bitmap->SizeImage()));
        bitmaps_.push_back(std::move(bitmap));
    }
    bitmaps_read_in_ = true;
}

void cls_VideoFile_handler::calculate_luminance() {
    const auto& v = luminance_sources_;
    luminance_1_ = static_cast<int32_t>(vb::Round((81.0 * v[0] + 18.0 * v[1] + v[2]) / 100 + 1));
    luminance_2_ = static_cast<int32_t>(vb::Round((81.0 * v[3] + 18.0 * v[4] + v[5]) / 100 + 1));
}

int16_t cls_VideoFile_handler::Seconds() { return vb::To_Int16(static_cast<int64_t>(vb::Round(Header().Frames_no() / 25.0))); }

int16_t cls_VideoFile_handler::Synch_time(float time) {
    if (mill_per_field_ <= 0) return 0;
    const double field_length = older_ && older_->ntsc ? 1001.0 / 60.0 : mill_per_field_;
    eff_frameno_ = vb::To_Int16(static_cast<int64_t>(vb::Round(time / field_length + 1)));
    return eff_frameno_;
}

int32_t cls_VideoFile_handler::Synch_percentage(int16_t percent) {
    eff_frameno_ = vb::To_Int16(static_cast<int64_t>(vb::Round(static_cast<double>(percent) * field_count_ / 100)));
    return eff_frameno_;
}

int16_t cls_VideoFile_handler::Synch_model(int16_t model_frame) {
    const int64_t frame = std::clamp<int64_t>(int64_t{video_offset_} + model_frame, 1, std::max(frame_count_, 1));
    return vb::To_Int16(frame);
}

void cls_VideoFile_handler::Make_Older_Working_Pictures() {
    rotation_source_.Create(720, 576);
    rotation_source_.ID_string("obj_DIB_Rotate_Source");
    for (size_t n = 0; n < 2; ++n) {
        spare_field_images_[n].Create(720, 576);
        spare_field_images_[n].ID_string("obj_DIB_Deint_target " + std::to_string(n + 2));
        spare_frame_images_[n].Create(720, 576);
        spare_frame_images_[n].ID_string("obj_DIB_Deint_source " + std::to_string(n + 2));
    }
    jpeg_work_.assign(1000001, 0);
}

cDIBSection& cls_VideoFile_handler::Deint_target(int16_t n) {
    if (n < 1 || n > 3) vb::Raise(vb::Err_Subscript);
    return n == 1 ? Field_Image() : spare_field_images_[static_cast<size_t>(n - 2)];
}

cDIBSection& cls_VideoFile_handler::Deint_source(int16_t n) {
    if (n < 1 || n > 3) vb::Raise(vb::Err_Subscript);
    if (n == 1) Settle_Shown();  // its caller decodes into it
    return n == 1 ? frame_image_ : spare_frame_images_[static_cast<size_t>(n - 2)];
}
