#pragma once
// The capture console with the synthetic camera, shared by the console's tests: a fresh ini with a
// capture folder, a running console, started heats, capture segments and the read-back of a heat's file.
#include "Capture_support.h"
#include "Test_dialogs.h"
#include "capture/Form_capture_multi_file.h"
#include "capture/Heat_recorder.h"
#include "capture/cls_Capture_HDMI.h"
#include "platform/capturelib/Synthetic_source.h"
#include "shell/Module_Vantorel.h"
#include "shell/Non_dependant.h"
#include "shell/Program_commands.h"
#include "store/Kd3_format.h"
#include "store/cls_VideoFile_handler.h"
#include "platform/controlbox/Simulated_board.h"

#include <QCoreApplication>
#include <QEvent>
#include <QLabel>
#include <QLineEdit>

#include <filesystem>
#include <functional>
#include <fstream>
#include <gtest/gtest.h>

using namespace Module_Vantorel;

class Heat_console : public testing::Test {
protected:
    void SetUp() override {
        Use_Folder(Test_folder());
        m_saved_Friendly_name = capturelib::Synthetic_Friendly_Name;
        m_saved_Video_prop_num = "6";  // 320*240/25
        Crop_Width = 120;
        Crop_Height = 200;
        Capture_Running = false;
        Capture_Rotated = false;
        Full_Startup = true;
        Vantorel_Mode = true;
        JPG_Start_Quality = 80;
        Program_commands::Commands commands;
        commands.Stop_All_Captures = [] {};
        commands.Emergency_Stop = [] {};
        commands.Review_Visible = [this] { return review_shown_; };
        commands.Open_In_Review = [](const std::string&) {};
        commands.JPEG_Bench_mess = [this] { return bench_report_(); };
        commands.Show_Recording_Paused = [this](const std::string& notice) { review_notices_.push_back(notice); };
        Program_commands::Install(commands);
        Test_dialogs::Instance().Reset();
        controlbox::Simulated_board::Instance().Reset();
    }
    void TearDown() override {
        ui::Destroy_All_Forms();
        controlbox::Simulated_board::Instance().Reset();
        // No saved source for the tests that follow in this process.
        m_saved_Video_prop_num = "-1";
        Program_commands::Install({});
    }

    // The application-data folder, its ini file and the capture folder "races" in it.
    void Use_Folder(const std::string& folder) {
        AppData_Folder = folder;
        folder_ = folder + "/races";
        std::filesystem::create_directories(folder_);
        Ini_file_path = folder + "/Vantorel_HDMI.ini";
        std::ofstream(Ini_file_path) << "[capturesettings]\nfriendlyname=" << capturelib::Synthetic_Friendly_Name
                                     << "\nvideoproperty=6\n[Canoe]\nsave_folder1=" << folder_
                                     << "\nevent_name=Cup\n";
    }
    Form_capture_multi_file& Running_Console() {
        Form_capture_multi_file& console = Form_capture_multi_file::Instance();
        console.Show();
        QEvent activate(QEvent::WindowActivate);
        QCoreApplication::sendEvent(&console, &activate);
        EXPECT_TRUE(console.Has_Capture_Device());
        EXPECT_TRUE(Wait_For([&] { return console.obj_Capture_HDMI()->Max_Seen_Compressed_Size() > 0; }));
        return console;
    }
    static void New_Started_Heat(Form_capture_multi_file& console, int16_t slot, const std::string& id) {
        console.Text_Heat_ID[static_cast<size_t>(slot)]->setText(QString::fromStdString(id));
        console.Command_newFile_Click(slot);
        ASSERT_EQ(console.State(slot), Form_capture_multi_file::Slot_state::Initiated);
        console.Handle_Start_Event(slot);
        ASSERT_EQ(console.State(slot), Form_capture_multi_file::Slot_state::Started);
    }
    // One capture segment on the capture slot, until it has written `frames` frames.
    static void Segment(Form_capture_multi_file& console, int32_t frames) {
        console.Handle_Capture_Start(console.Capture_Heat());
        ASSERT_TRUE(console.Recorder().Segment_Open());
        ASSERT_TRUE(Wait_For([&] { return console.Recorder().Frames_Written() >= frames; }));
        console.Handle_Capture_End();
    }

    struct Read_back {
        int32_t frames = 0, segments = 0, buffer = 0, start_local = 0, start_tick = 0, start_events = 0;
        int32_t gaps = 0;  // places where the frame count does not go on by one: segment boundaries
        bool every_jpeg_fits = true;
        std::string heat_id, event;
        uint64_t file_size = 0;
    };
    static Read_back Read(const std::string& path) {
        Read_back r;
        cls_VideoFile_handler store;
        store.File_name(path);
        store.Open_RGB_File();
        EXPECT_TRUE(store.File_open()) << path;
        r.frames = store.Num_Frames();
        r.segments = store.Segments_Num();
        r.buffer = store.RGB_Compressed_buffer_Size();
        r.start_local = store.Start_local_Mill_Time(1);
        r.start_tick = store.Start_PC_Mill_time(1);
        r.start_events = store.Start_HDMI_events(1);
        r.heat_id = store.Heat_ID(1);
        r.event = store.Event_name();
        int32_t previous = 0;
        for (int32_t f = 1; f <= r.frames; ++f) {
            store.Read_RGB_sample(f, false);
            if (f > 1 && store.Capture_HDMI_events() != previous + 1) ++r.gaps;
            if (f > 1) {
                EXPECT_GT(store.Capture_HDMI_events(), previous);  // in order, each once
            }
            previous = store.Capture_HDMI_events();
            if (store.KD3_JPEG_Size() <= 0 || store.KD3_JPEG_Size() > r.buffer) r.every_jpeg_fits = false;
        }
        store.Close_File();
        r.file_size = std::filesystem::file_size(path);
        return r;
    }

    std::string folder_;
    std::function<std::string()> bench_report_ = [] { return std::string("bench report"); };
    bool review_shown_ = false;
    std::vector<std::string> review_notices_;
};

