#include "Class_JPG_Bench.h"

#include "imaging/mIntelJPEGLibrary.h"
#include "platform/sys/Sys_clock.h"
#include "platform/ui/Dialog_service.h"
#include "platform/vb/Vb_convert.h"

#include <vector>

int16_t Class_JPG_Bench::Mean_Of_Ten(int32_t elapsed_ms) { return vb::To_Int16(elapsed_ms / 10); }

int16_t Class_JPG_Bench::JPG_Bench(int16_t X, int16_t Y) {
    dib_.Create(X, Y);
    Fill_DIB();
    return Compress_DIB();
}

void Class_JPG_Bench::Fill_Picture() {}

void Class_JPG_Bench::Fill_DIB() {}

int16_t Class_JPG_Bench::Compress_DIB() {
    constexpr int32_t buffer_size = 100000;
    std::vector<uint8_t> buffer(buffer_size);
    int32_t start = sys::timeGetTime();
    for (int round = 0; round < 10; ++round) {
        int32_t size = buffer_size;
        if (!mIntelJPEGLibrary::Encode_DIB_To_JPG(dib_, buffer.data(), size, 80)) ui::MsgBox("JPEG comp error!");
    }
    last_ = Mean_Of_Ten(sys::Tick_Diff(sys::timeGetTime(), start));
    return last_;
}
