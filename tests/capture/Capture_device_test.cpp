// The capture device: the saved source and format, the camera's run and stop, the frame counters
// and rates, the painters, and a source that goes away.
#include "Capture_support.h"
#include "Test_dialogs.h"
#include "capture/cls_Capture_HDMI.h"
#include "platform/capturelib/Synthetic_source.h"
#include "platform/gdi/Device_context.h"
#include "platform/sys/Sys_clock.h"
#include "platform/ui/Picture_box.h"
#include "shell/Module_Vantorel.h"
#include "shell/Non_dependant.h"
#include "shell/Program_commands.h"

#include <gtest/gtest.h>

#include <atomic>
#include <condition_variable>
#include <cstring>
#include <fstream>
#include <mutex>
#include <thread>

using namespace Module_Vantorel;

namespace {

class Capture_device : public testing::Test {
protected:
    void SetUp() override {
        AppData_Folder = Test_folder();
        Ini_file_path = Test_folder() + "/Vantorel_HDMI.ini";
        Capture_Rotated = false;
    }
    void Save_Choice(const std::string& name, const std::string& format) {
        std::ofstream(Ini_file_path) << "[capturesettings]\nfriendlyname=" << name << "\nvideoproperty=" << format << "\n";
    }
    // Frames with the given ticks, as the library hands them on.
    static void Frames(cls_Capture_HDMI& device, int32_t first_tick, int32_t step, int count) {
        for (int i = 0; i < count; ++i)
            device.OnRGBEvent(nullptr, 0, nullptr, 0, 0, {first_tick + i * step, 1000 + i * step});
    }
};

}  // namespace

TEST_F(Capture_device, Finds_the_saved_source_by_its_name_and_applies_the_saved_format) {
    Save_Choice(capturelib::Synthetic_Friendly_Name, "6");
    cls_Capture_HDMI device;
    EXPECT_FALSE(device.SourcePropFound());
    EXPECT_TRUE(device.Set_Source_from_Saved());
    EXPECT_TRUE(device.SourcePropFound());
    EXPECT_EQ(device.Current_FriendlyName(), capturelib::Synthetic_Friendly_Name);
    EXPECT_EQ(device.Current_PropertyString(), "320*240/25");
    EXPECT_EQ(m_saved_Friendly_name, capturelib::Synthetic_Friendly_Name);
    EXPECT_EQ(m_saved_Video_prop_num, "6");
    EXPECT_TRUE(Test_dialogs::Instance().Shown_Dialogs().empty());
}

TEST_F(Capture_device, A_saved_source_that_is_not_there_is_said_and_nothing_is_applied) {
    Simulated_sources sources({Described("Camera A", "videotestsrc", {Raw("BGR", 64, 48, 25)}),
                               Described("Camera B", "videotestsrc", {Raw("BGR", 64, 48, 25)})});
    Save_Choice("Camera C", "0");
    cls_Capture_HDMI device;
    Test_dialogs::Instance().Answer(ui::vbOK);
    EXPECT_FALSE(device.Set_Source_from_Saved());
    EXPECT_FALSE(device.SourcePropFound());
    EXPECT_EQ(Test_dialogs::Instance().Shown_Prompts(),
              std::vector<std::string>{"Could not find the saved Video source! Please re-select Video source!"});
    EXPECT_EQ(device.Current_PropertyString(), "");
}

TEST_F(Capture_device, Names_match_exactly_and_an_XI100DUSB_source_keeps_its_own_format) {
    Simulated_sources sources(
        {Described("camera", "videotestsrc", {Raw("BGR", 64, 48, 25)}),
         Described("Camera", "videotestsrc", {Raw("BGR", 64, 48, 25), Raw("BGR", 32, 24, 25)}),
         Described("XI100DUSB-HDMI", "videotestsrc", {Raw("BGR", 1920, 1080, 50), Raw("BGR", 1280, 720, 50)})});
    Save_Choice("Camera", "1");
    cls_Capture_HDMI device;
    ASSERT_TRUE(device.Set_Source_from_Saved());
    EXPECT_EQ(device.Current_PropertyString(), "32*24/25");
    Save_Choice("XI100DUSB-HDMI", "1");
    ASSERT_TRUE(device.Set_Source_from_Saved());
    EXPECT_EQ(device.Current_PropertyString(), "1920*1080/50");
}

TEST_F(Capture_device, The_camera_runs_counts_frames_off_the_ui_thread_and_stops) {
    Save_Choice(capturelib::Synthetic_Friendly_Name, "6");
    cls_Capture_HDMI device;
    std::atomic<int> raised{0};
    std::atomic<bool> on_ui_thread{false};
    std::thread::id ui_thread = std::this_thread::get_id();
    device.HDMIreceived([&] {
        if (std::this_thread::get_id() == ui_thread) on_ui_thread = true;
        ++raised;
    });
    device.Stop_Capture();  // never ran: only traced
    device.Pause_Capture();
    EXPECT_FALSE(device.Paused());
    device.UnPause_Capture();
    ASSERT_TRUE(device.Set_Source_from_Saved());
    device.set_HDMI_Crop(120, 200);
    device.Do_CROP(true);
    device.Capture_Run();
    EXPECT_TRUE(device.Is_Running());
    EXPECT_EQ(device.HDMI_Sample_Dimensions(), "320*240");
    ASSERT_TRUE(Wait_For([&] { return device.HDMI_events() >= 5; }));
    int32_t tick = device.last_Capture_mill();
    ASSERT_TRUE(Wait_For([&] { return device.last_Capture_mill() != tick; }));
    EXPECT_GT(sys::Tick_Diff(device.last_Capture_mill(), tick), 0);
    EXPECT_GE(raised, device.HDMI_events() - 1);
    EXPECT_FALSE(on_ui_thread);

    device.Pause_Capture();
    EXPECT_TRUE(device.Paused());
    int32_t paused_at = device.HDMI_events();
    std::this_thread::sleep_for(std::chrono::milliseconds(200));
    EXPECT_EQ(device.HDMI_events(), paused_at);
    device.UnPause_Capture();
    EXPECT_FALSE(device.Paused());
    ASSERT_TRUE(Wait_For([&] { return device.HDMI_events() > paused_at; }));

    device.Stop_Capture();
    EXPECT_FALSE(device.Is_Running());
    int32_t stopped_at = device.HDMI_events();
    std::this_thread::sleep_for(std::chrono::milliseconds(200));
    EXPECT_EQ(device.HDMI_events(), stopped_at);
    // A new run counts from the start again.
    device.Capture_Run();
    EXPECT_LT(device.HDMI_events(), stopped_at);
    device.Stop_Capture();
}

TEST_F(Capture_device, A_run_that_fails_says_where) {
    Simulated_sources sources({Described("Broken camera", "no_such_element_here", {Raw("BGR", 64, 48, 25)})});
    Save_Choice("Broken camera", "0");
    cls_Capture_HDMI device;
    ASSERT_TRUE(device.Set_Source_from_Saved());
    Test_dialogs::Instance().Answer(ui::vbOK);
    device.Capture_Run();
    ASSERT_EQ(Test_dialogs::Instance().Shown_Prompts().size(), 1u);
    EXPECT_EQ(Test_dialogs::Instance().Shown_Prompts()[0].rfind("Capture_run error at 3200 description = ", 0), 0u);
    EXPECT_FALSE(device.Is_Running());
}

TEST_F(Capture_device, A_source_that_goes_away_stops_the_camera_with_a_message) {
    Simulated_sources sources(
        {Described("USB grabber", "videotestsrc is-live=true num-buffers=8", {Raw("BGR", 64, 48, 25)})});
    Save_Choice("USB grabber", "0");
    cls_Capture_HDMI device;
    ASSERT_TRUE(device.Set_Source_from_Saved());
    device.Capture_Run();
    Capture_Running = true;
    Test_dialogs::Instance().Answer(ui::vbOK);
    ASSERT_TRUE(Wait_For([] { return !Test_dialogs::Instance().Shown_Dialogs().empty(); }));
    const std::string shown = Test_dialogs::Instance().Shown_Prompts()[0];
    EXPECT_EQ(shown.rfind("The video source \"USB grabber\" stopped: ", 0), 0u) << shown;
    EXPECT_NE(shown.find("Frames recorded so far are kept."), std::string::npos);
    EXPECT_FALSE(device.Is_Running());
    EXPECT_FALSE(Capture_Running);
    EXPECT_EQ(device.HDMI_events(), 8);
    std::ifstream log(AppData_Folder + "/Vantorel_eventlog.txt");
    std::string line;
    std::getline(log, line);
    EXPECT_NE(line.find("Video source USB grabber stopped"), std::string::npos);
    device.Stop_Capture();  // stopped already: only traced
}

TEST_F(Capture_device, Ticks_rates_and_frame_marks) {
    cls_Capture_HDMI device;
    EXPECT_EQ(device.Measured_fps(), 0);
    Frames(device, 20, 20, 50);  // 50 frames at 50 frames/s, the first mark taken against tick 0
    EXPECT_EQ(device.Running_Fps(), 50);
    EXPECT_EQ(device.last_Capture_mill(), 1000);
    EXPECT_EQ(device.last_Capture_local(), 1980);
    EXPECT_EQ(device.last_Capture_delta(), 20);
    Frames(device, 1040, 40, 81);  // up to frame 131 at 25 frames/s
    EXPECT_EQ(device.HDMI_events(), 131);
    EXPECT_EQ(device.HDMI_10_mill(), 200);  // frames 21 to 31 were 20 ms apart
    EXPECT_EQ(device.Measured_fps(), 28);   // frames 31 to 131 took 3620 ms: 27.6 frames/s
    EXPECT_EQ(device.Running_Fps(), 25);

    struct Gap {
        int32_t ms, delta;
    };
    for (Gap g : {Gap{10000, 10000}, Gap{10001, 0}, Gap{-5, 0}, Gap{0, 0}}) {
        int32_t last = device.last_Capture_mill();
        Frames(device, last + g.ms, 0, 1);
        EXPECT_EQ(device.last_Capture_delta(), g.delta) << g.ms;
    }
}

TEST_F(Capture_device, The_arm_turns_once_every_100_frames_from_straight_up) {
    cls_Capture_HDMI device;
    ui::Picture_box box;
    box.resize(101, 101);
    box.BackColor(0xFFFFFF);
    struct Row {
        int frames;            // frames added before drawing
        int32_t x, y;          // a point on the arm
        int32_t off_x, off_y;  // a point away from it
    };
    // The counter reaches 25 (right), 50 (down), 100 (up), then 1 again (just past up).
    const Row rows[] = {{25, 90, 50, 50, 10}, {25, 50, 90, 90, 50}, {50, 50, 10, 50, 90}, {1, 52, 10, 10, 50}};
    for (const Row& r : rows) {
        Frames(device, 0, 20, r.frames);
        device.Draw_Running_Arm_2(box, 255);
        gdi::Device_context* dc = box.hDC();
        EXPECT_EQ(gdi::GetPixel(dc, r.x, r.y), 255u) << r.x << "," << r.y;
        EXPECT_EQ(gdi::GetPixel(dc, r.off_x, r.off_y), 0xFFFFFFu) << r.off_x << "," << r.off_y;
    }
}

// A new crop remakes the JPEG buffer; the frame handler in hand (the recorder copying the frame's JPEG) is
// let finish first, so its copy is never torn or read from freed memory. The handler holds on to the JPEG
// until the crop has returned, or for 300 ms: without the wait the crop comes first.
TEST_F(Capture_device, A_new_crop_waits_for_the_frame_being_handled) {
    Save_Choice(capturelib::Synthetic_Friendly_Name, "6");
    Full_Startup = true;
    JPG_Start_Quality = 80;
    cls_Capture_HDMI device;
    ASSERT_TRUE(device.Set_Source_from_Saved());
    device.set_HDMI_Crop(120, 200);
    device.Do_CROP(true);
    std::mutex m;
    std::condition_variable cv;
    bool in_frame = false, crop_returned = false, frame_done = false;
    std::atomic<bool> taken{false}, torn{false};
    device.HDMIreceived([&] {
        const int32_t size = device.Last_JPG_Compressed_Size();
        if (size <= 0 || taken.exchange(true)) return;
        const uint8_t* jpeg = device.Last_JPG_addr();
        const std::vector<uint8_t> before(jpeg, jpeg + size);
        std::unique_lock lock(m);
        in_frame = true;
        cv.notify_all();
        cv.wait_for(lock, std::chrono::milliseconds(300), [&] { return crop_returned; });
        torn = std::memcmp(jpeg, before.data(), before.size()) != 0;
        frame_done = true;
    });
    device.Capture_Run();
    {
        std::unique_lock lock(m);
        ASSERT_TRUE(cv.wait_for(lock, std::chrono::seconds(20), [&] { return in_frame; }));
    }
    device.set_HDMI_Crop(120, 200);
    {
        std::lock_guard lock(m);
        EXPECT_TRUE(frame_done) << "the crop was remade while a frame was being handled";
        crop_returned = true;
        cv.notify_all();
    }
    device.Stop_Capture();
    EXPECT_FALSE(torn);
}

TEST_F(Capture_device, Locking_the_limit_before_any_jpeg_stops_capture_and_sets_no_limit) {
    int stops = 0;
    Program_commands::Commands commands;
    commands.Emergency_Stop = [&] { ++stops; };
    Program_commands::Install(commands);
    cls_Capture_HDMI device;
    Test_dialogs::Instance().Answer(ui::vbOK);
    device.Lock_Max_Direct_Compressed_size();
    EXPECT_EQ(stops, 1);
    EXPECT_EQ(Test_dialogs::Instance().Shown_Prompts(),
              std::vector<std::string>{"Program error! m_Max_Seen_Direct_Compressed_size = 0, Please notify developer!"});
    EXPECT_EQ(device.JPG_Compression_Threshold(), 0);
    Program_commands::Install({});
}
