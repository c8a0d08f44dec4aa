#include "Test_dialogs.h"
#include "platform/vb/VbError.h"
#include "shell/Module_Vantorel.h"
#include "shell/Non_dependant.h"

#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>

namespace {

using namespace Module_Vantorel;

TEST(Initialization, Fills_the_state_from_the_folder_and_the_ini_file) {
    std::filesystem::create_directories(Test_folder() + "/data/vantorel");
    std::ofstream(Test_folder() + "/data/vantorel/Vantorel_HDMI.ini")
        << "[settings]\ntimingcorrection=-40\n[setting]\nLanelinelength=150\n[capturesettings]\nfriendlyname=Cam\n";
    Vantorel_Initialization();
    EXPECT_EQ(AppData_Folder, Test_folder() + "/data/vantorel");
    EXPECT_EQ(Ini_file_path, AppData_Folder + "/Vantorel_HDMI.ini");
    EXPECT_EQ(Program_Name, "Vantorel_HDMI, Full v.");
    EXPECT_FALSE(Program_Version.empty());
    EXPECT_TRUE(Vantorel_Mode);
    EXPECT_EQ(JPG_Start_Quality, 80);
    EXPECT_EQ(Timing_Correction, -40);
    EXPECT_EQ(Lane_Line_Length, 150);
    EXPECT_EQ(m_saved_Friendly_name, "Cam");
    EXPECT_EQ(m_saved_Video_prop_num, "-1");
    EXPECT_NE(Phys_RAM.find("% Free)"), std::string::npos);

    // Run once: a second call changes nothing.
    Lane_Line_Length = 1;
    Vantorel_Initialization();
    EXPECT_EQ(Lane_Line_Length, 1);
}

TEST(Initialization, A_value_that_is_no_number_stops_it_and_it_runs_again_next_time) {
    std::filesystem::create_directories(Test_folder() + "/data/vantorel");
    std::string ini = Test_folder() + "/data/vantorel/Vantorel_HDMI.ini";
    std::ofstream(ini) << "[Settings]\ntimingcorrection=abc\n";
    Is_Compiled = false;
    EXPECT_THROW(Vantorel_Initialization(), VbError);
    EXPECT_EQ(Lane_Line_Length, 0);  // the steps after it did not run

    Non_dependant::Write_Ini("Settings", "timingcorrection", "12", ini);
    Vantorel_Initialization();
    EXPECT_EQ(Timing_Correction, 12);
    EXPECT_EQ(Lane_Line_Length, 200);
}

}  // namespace
