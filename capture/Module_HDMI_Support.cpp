#include "Module_HDMI_Support.h"

#include "platform/vb/Error_trap.h"
#include "platform/vb/Vb_convert.h"
#include "shell/Module_Vantorel.h"
#include "platform/vb/Program_state.h"

namespace Module_HDMI_Support {

std::string Process_AMT(const capturelib::AM_MEDIA_TYPE* address) {
    if (!address || !address->pbFormat) return "Corrupt data!";
    const capturelib::VIDEOINFOHEADER info = *address->pbFormat;
    std::string text;
    vb::Trap(Module_Vantorel::Is_Compiled, "Process_AMT of Module Module_HDMI_Support", [&] {
        Last_Compression = info.biCompression;
        Last_Size_Image = info.biSizeImage;
        double mill_per_frame = static_cast<double>(info.AvgTimePerFrame) / 10000;
        if (mill_per_frame == 0) vb::Raise(vb::Err_Division_By_Zero);
        double rate = vb::Round(1000 / mill_per_frame, 1);
        text = std::to_string(info.biWidth) + "*" + std::to_string(info.biHeight) + "/" + vb::CStr(rate);
    });
    return text;
}

}  // namespace Module_HDMI_Support

namespace Module_HDMI_Support {

uint32_t Last_Compression = 0;
uint32_t Last_Size_Image = 0;

namespace {
// What a new process starts with.
[[maybe_unused]] const bool state_reset = vb::On_Program_Reset([] {
    Last_Compression = 0;
    Last_Size_Image = 0;
});
}  // namespace

}  // namespace Module_HDMI_Support
