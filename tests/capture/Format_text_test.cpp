// The format text of a capture format.
#include "Test_errors.h"
#include "capture/Module_HDMI_Support.h"
#include "platform/vb/Error_trap.h"
#include "shell/Module_Vantorel.h"

#include <gtest/gtest.h>

using capturelib::AM_MEDIA_TYPE;
using capturelib::VIDEOINFOHEADER;

TEST(Format_text, Width_height_and_the_rate_to_one_decimal) {
    struct Row {
        int32_t width, height;
        int64_t duration;  // 100 ns units
        const char* text;
    };
    const Row rows[] = {
        {1920, 1080, 400000, "1920*1080/25"},  {1920, 1080, 200000, "1920*1080/50"},
        {1920, 1080, 333667, "1920*1080/30"},  // 29.97 frames/s
        {1280, 720, 166833, "1280*720/59.9"},  // 59.94 frames/s
        {720, 576, 400400, "720*576/25"},      // 24.975 goes to 25.0
        {640, 480, 6666667, "640*480/1.5"},    {320, -240, 400000, "320*-240/25"},
        {640, 480, -400000, "640*480/-25"},
    };
    for (const Row& r : rows) {
        VIDEOINFOHEADER info;
        info.biWidth = r.width;
        info.biHeight = r.height;
        info.AvgTimePerFrame = r.duration;
        AM_MEDIA_TYPE media{&info};
        EXPECT_EQ(Module_HDMI_Support::Process_AMT(&media), r.text) << r.text;
    }
    AM_MEDIA_TYPE no_block;
    EXPECT_EQ(Module_HDMI_Support::Process_AMT(&no_block), "Corrupt data!");
    EXPECT_EQ(Module_HDMI_Support::Process_AMT(nullptr), "Corrupt data!");
}

TEST(Format_text, A_frame_duration_of_zero_is_a_division_by_zero) {
    VIDEOINFOHEADER info;
    info.biWidth = 1920;
    info.biHeight = 1080;
    AM_MEDIA_TYPE media{&info};
    Module_Vantorel::Is_Compiled = false;
    EXPECT_EQ(Error_Of([&] { Module_HDMI_Support::Process_AMT(&media); }), vb::Err_Division_By_Zero);

    std::string location;
    vb::Set_Error_Reporter([&](const std::string&, int32_t number, int32_t, const std::string& where, const std::string&) {
        EXPECT_EQ(number, vb::Err_Division_By_Zero);
        location = where;
    });
    Module_Vantorel::Is_Compiled = true;
    EXPECT_EQ(Module_HDMI_Support::Process_AMT(&media), "");
    Module_Vantorel::Is_Compiled = false;
    vb::Set_Error_Reporter(nullptr);
    EXPECT_EQ(location, "Process_AMT of Module Module_HDMI_Support");
}
