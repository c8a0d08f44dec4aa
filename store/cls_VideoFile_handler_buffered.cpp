// The older append path: frames a capture kept in memory, compressed by the store into the JPEG work
// buffer at falling quality until each fits the record's buffer.
#include "cls_VideoFile_handler.h"

#include "imaging/mIntelJPEGLibrary.h"
#include "platform/vb/Error_trap.h"
#include "platform/vb/VbError.h"
#include "platform/vb/Vb_convert.h"
#include "shell/Module_Vantorel.h"
#include "shell/mTrace.h"

#include <algorithm>
#include <cmath>
#include <cstring>

namespace {

const char* const Source = "cls_VideoFile_handler";

std::string Location(const char* procedure) { return std::string(procedure) + " of Class Module cls_VideoFile_handler"; }

}  // namespace

void cls_VideoFile_handler::Compress_Frame(int16_t index, int16_t quality, const std::vector<Buffered_Frame>& frames) {
    vb::Trap(Module_Vantorel::Is_Compiled, Location("Compress_Frame"), [&] {
        if (index < 1 || static_cast<size_t>(index) > frames.size() || frames[static_cast<size_t>(index - 1)].picture == nullptr)
            vb::Raise(vb::Err_Subscript, "No buffered frame " + std::to_string(index), Source);
        if (codec_name_ != "Intel") return;
        const cDIBSection& picture = *frames[static_cast<size_t>(index - 1)].picture;
        if (picture.Width() != cropped_x_ || picture.Height() != cropped_y_ || compression_image_.SizeImage() != picture.SizeImage())
            vb::Raise(vb::Err_Invalid_Call,
                      "A buffered frame of " + std::to_string(picture.Width()) + " x " + std::to_string(picture.Height()) +
                          " is not of the crop size " + std::to_string(cropped_x_) + " x " + std::to_string(cropped_y_),
                      Source);
        std::memcpy(compression_image_.DIBSectionBitsPtr(), picture.DIBSectionBitsPtr(), static_cast<size_t>(picture.SizeImage()));
        int32_t size = static_cast<int32_t>(jpeg_work_.size()) - 2;  // the capacity offered: 999999 bytes
        if (!mIntelJPEGLibrary::Encode_DIB_To_JPG(compression_image_, jpeg_work_.data(), size, quality))
            vb::Raise(vb::Err_Invalid_Call, "The buffered frame " + std::to_string(index) + " could not be compressed", Source);
        last_jpeg_size_ = size;
    });
}

int32_t cls_VideoFile_handler::Calculate_Compressed_Size(const std::vector<Buffered_Frame>& frames) {
    const auto count = static_cast<int32_t>(frames.size());
    if (count < 2) vb::Raise(vb::Err_Subscript, "Three sample frames are taken from at least two buffered frames", Source);
    const int32_t samples[] = {count - 1, static_cast<int32_t>(vb::Round(count / 2.0)), 2};
    int32_t largest = 0;
    if (codec_name_ == "Intel")
        for (int32_t index : samples) {
            last_jpeg_size_ = 0;
            Compress_Frame(vb::To_Int16(index), initial_quality_, frames);
            largest = std::max(largest, last_jpeg_size_);
        }
    const int32_t size = (largest + 5500) / 1000 * 1000;
    rounded_compressed_size_ = size;
    Set_JPG_Maxsize(size);  // the records' buffer, and the header's N that reading relies on
    Header().RGB_Image_Size(size);
    Write_XML_Header();
    return Header().RGB_Image_Size();
}

void cls_VideoFile_handler::Append_RGB_Frame(int16_t index, const std::vector<Buffered_Frame>& frames) {
    vb::Trap(Module_Vantorel::Is_Compiled, Location("Append_RGB_Frame"), [&] {
        if (!File_open()) {
            Open_RGB_File();  // the header, with the buffer length N of the file's records
            Position_at_End();
        }
        if (index < 1 || static_cast<size_t>(index) > frames.size() || frames[static_cast<size_t>(index - 1)].picture == nullptr)
            vb::Raise(vb::Err_Subscript, "No buffered frame " + std::to_string(index), Source);
        const Buffered_Frame& frame = frames[static_cast<size_t>(index - 1)];
        int16_t quality = initial_quality_;
        for (;;) {
            last_jpeg_size_ = 0;
            Compress_Frame(index, quality, frames);
            if (buffer_size_ >= last_jpeg_size_ && last_jpeg_size_ > 0) break;
            // Quality 1 is the least there is: a frame that does not fit then is refused, not tried forever.
            if (quality <= 1) {
                mTrace::Trace("*Append_RGB_Frame, frame refused at quality 1, size = ", last_jpeg_size_, " buffer = ", buffer_size_);
                ++refused_frames_;
                return;
            }
            // 85 % of a small quality rounds back to itself (3 x 0.85 is 2.55): it falls by 1 at least.
            quality = static_cast<int16_t>(std::clamp<int32_t>(static_cast<int32_t>(vb::Round(quality * 0.85)), 1, quality - 1));
        }
        const int64_t before = file_.Size();
        const bool first = m_RGB_frames_appended == 0;
        Append_Compressed_RGB_Frame(frame.picture->Capture_Local(), frame.picture->Capture_Mill(), frame.capture_delta,
                                    quality, last_jpeg_size_, jpeg_work_.data(), 0);
        // The first record of an opening with no length measured yet gives the length, then closes the
        // file; the next frame opens it again at its end.
        if (first && m_RGB_frames_appended == 1 && measured_record_length_ == 0) {
            Header().RGB_Sample_Size(static_cast<int32_t>(file_.Size() - before));
            Close_File();
        }
    });
}
