// The store's picture benchmarks on a PAL DV test frame: decoding it once, extracting a field once,
// turning the field once, and timing raw reads of the open file.
#include "cls_VideoFile_handler.h"

#include "platform/graphics/Graphics.h"
#include "platform/sys/Sys_clock.h"
#include "platform/ui/Dialog_service.h"
#include "platform/vb/VbError.h"
#include "platform/vb/Vb_convert.h"
#include "platform/video/Dv_test_frame.h"

namespace {

const char* const Source = "cls_VideoFile_handler";
constexpr int32_t Bench_Width = 720;
constexpr int32_t Bench_Height = 576;

}  // namespace

void cls_VideoFile_handler::Make_Bench_Pictures() {
    Settle_Shown();
    frame_image_.Create(Bench_Width, Bench_Height);
    field_image_.Create(Bench_Width, Bench_Height);
    rotated_image_.Create(Bench_Height, Bench_Width);
    field_pending_ = false;
    // The review's read cache and the field drawing no longer hold their frame in these pictures.
    cached_record_ = 0;
    cached_decoded_ = false;
    if (drawing_) drawing_->decoded_frame_of_stream[0] = 0;
}

void cls_VideoFile_handler::Bench_Prepare() {
    Make_Bench_Pictures();
    const std::vector<uint8_t>& frame = video::Dv_Test_Frame();
    if (frame.empty()) vb::Raise(vb::Err_Cannot_Perform, "No DV test frame can be made: no DV encoder", Source);
    bench_frame_ = &frame;
}

void cls_VideoFile_handler::Benchmark_Decomp_Once() {
    if (!bench_prepared_) {
        Bench_Prepare();
        bench_decoder_ = std::make_unique<video::Video_decoder>();
        if (!bench_decoder_->Open("")) vb::Raise(vb::Err_Cannot_Perform, "No DV decoder is available", Source);
        bench_prepared_ = true;
    }
    // A file opened since may have resized the frame image.
    if (frame_image_.Width() != Bench_Width || frame_image_.Height() != Bench_Height) Make_Bench_Pictures();
    else Settle_Shown();  // a field left for a box's paint still reads the frame decoded over here
    const bool done = bench_decoder_->Decode(bench_frame_->data(), bench_frame_->size()) &&
                      bench_decoder_->To_BGR(frame_image_.DIBSectionBitsPtr(), frame_image_.BytesPerScanLine(),
                                             Bench_Width, Bench_Height);
    last_draw_result_ = done ? 1 : 0;
}

void cls_VideoFile_handler::Benchmark_Deint_Once() {
    // The field extraction trusts the sizes it is given.
    if (frame_image_.Width() != field_image_.Width() || frame_image_.Height() != field_image_.Height())
        vb::Raise(vb::Err_Invalid_Call, "The frame and field images differ in size; Bench_Prepare makes them alike", Source);
    graphics::deinterlaceFrame2(frame_image_.DIBSectionBitsPtr(), field_image_.DIBSectionBitsPtr(),
                                vb::To_Int16(field_image_.Width()), vb::To_Int16(field_image_.Height()),
                                static_cast<int16_t>(field_to_show_));
}

void cls_VideoFile_handler::Benchmark_Rotate_Once() {
    if (field_image_.Width() != Bench_Width || field_image_.Height() != Bench_Height ||
        rotated_image_.Width() != Bench_Height || rotated_image_.Height() != Bench_Width)
        vb::Raise(vb::Err_Invalid_Call, "The field and rotated images are not 720 x 576 and 576 x 720; Bench_Prepare makes them so",
                  Source);
    graphics::Rotate90(field_image_.DIBSectionBitsPtr(), rotated_image_.DIBSectionBitsPtr(), Bench_Width, Bench_Height, 0);
}

void cls_VideoFile_handler::benchmark_getfile() {
    if (!File_open()) vb::Raise(52, "Bad file name or number: no file is open", Source);
    std::vector<uint8_t> block(144000);
    const int32_t start = sys::timeGetTime();
    for (int i = 0; i < 20; ++i) file_.Read_At(2880000, block);
    const int32_t elapsed = sys::timeGetTime() - start;
    ui::MsgBox("Get time = " + vb::CStr(elapsed / 20.0));
}
