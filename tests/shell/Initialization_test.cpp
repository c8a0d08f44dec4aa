#include "Test_dialogs.h"
#include "platform/vb/VbError.h"
#include "shell/Module_Vantorel.h"
#include "shell/Module_Vantorel_startup.h"
#include "shell/Non_dependant.h"
#include "platform/controlbox/Interface_kit.h"
#include "platform/sound/Wave_player.h"
#include "resources/Resources.h"
#include "shell/Module_verify_phidget.h"

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

// A value that is no number takes the key's default, says which key it ignored, and the start goes on.
TEST(Initialization, A_value_that_is_no_number_takes_the_default_and_the_start_finishes) {
    std::filesystem::create_directories(Test_folder() + "/data/vantorel");
    std::string ini = Test_folder() + "/data/vantorel/Vantorel_HDMI.ini";
    std::ofstream(ini) << "[Settings]\ntimingcorrection=abc\n[setting]\nLanelinelength=-1e308\n"
                          "[capturesettings]\nfriendlyname=Cam\n";
    Is_Compiled = true;
    Timing_Correction = 5;
    Test_dialogs::Instance().Answer(ui::vbOK);
    Test_dialogs::Instance().Answer(ui::vbOK);
    Vantorel_Initialization();
    Is_Compiled = false;
    EXPECT_EQ(Timing_Correction, 0);
    EXPECT_EQ(Lane_Line_Length, 200);
    EXPECT_EQ(m_saved_Friendly_name, "Cam");  // read after the first bad value
    const auto& shown = Test_dialogs::Instance().Shown_Dialogs();
    ASSERT_EQ(shown.size(), 2u);
    EXPECT_EQ(shown[0].prompt.rfind("The ini file's value timingcorrection=abc in [Settings] is ignored", 0), 0u)
        << shown[0].prompt;
    EXPECT_NE(shown[0].prompt.find("; 0 is taken."), std::string::npos);
    EXPECT_EQ(shown[1].prompt.rfind("The ini file's value Lanelinelength=-1e308 in [setting] is ignored", 0), 0u)
        << shown[1].prompt;
    std::ifstream log(AppData_Folder + "/Vantorel_eventlog.txt");
    std::string text((std::istreambuf_iterator<char>(log)), std::istreambuf_iterator<char>());
    EXPECT_NE(text.find("Lanelinelength=-1e308 in [setting] is ignored"), std::string::npos);
}

}  // namespace

namespace {

using namespace Module_Vantorel;

TEST(Initialization, Processor_text) {
    EXPECT_EQ(CPU_Info_Text(586, 4, 3400), "CPU= 586 4 core 3.4GHz");
    EXPECT_EQ(CPU_Info_Text(586, 8, 2394), "CPU= 586 8 core 2.4GHz");
    EXPECT_EQ(CPU_Info_Text(8664, 2, 3000), "CPU= 8664 2 core 3GHz");
    EXPECT_EQ(CPU_Info_Text(8664, 2, 2250), "CPU= 8664 2 core 2.2GHz");  // halves to even
    EXPECT_EQ(CPU_Info_Text(8664, 1, 0), "CPU= 8664 1 core 0GHz");
}

TEST(Initialization, Bitness_is_probed_once_per_computer) {
    std::filesystem::create_directories(Test_folder() + "/data/vantorel");
    std::string ini = Test_folder() + "/data/vantorel/Vantorel_HDMI.ini";
    Ini_file_path = ini;
    std::ofstream(ini) << "[Settings]\nosbitness=32\n";
    Check_Bitness();
    EXPECT_EQ(OS_Bitness, "32");
    EXPECT_EQ(CPU_Bitness, Non_dependant::Read_Ini("Settings", "cpubitness", ini, "N/A"));
    EXPECT_NE(CPU_Bitness, "N/A");
    EXPECT_EQ(Non_dependant::Read_Ini("Settings", "osbitness", ini, "N/A"), "32");
}

TEST(Initialization, Control_box_version_must_be_2_1_6) {
    EXPECT_TRUE(Module_verify_phidget::Is_Version_216(controlbox::Interface_kit().Library_Version()));
    EXPECT_FALSE(Module_verify_phidget::Is_Version_216("Phidget COM Library 2.1.6"));
    EXPECT_FALSE(Module_verify_phidget::Is_Version_216("Phidget COM Library 2.1.7 Phidget21 - Version 2.1.6"));
    Is_Compiled = true;
    EXPECT_TRUE(Module_verify_phidget::Verify_Phidgets());
    EXPECT_NE(Module_verify_phidget::Interface_Kit, nullptr);
}

TEST(Initialization, Start_sound_is_our_own_wave) {
    std::vector<uint8_t> pop = resources::Load_Res_Data("custom", "101");
    EXPECT_TRUE(sound::Is_Wave(pop));
    // Played, or silent at once without a sound device: either way the program goes on.
    POP_Sound = pop;
    PlayPOP(true);
    PlayPOP(false);
    EXPECT_FALSE(sound::Is_Wave(std::vector<uint8_t>(pop.begin(), pop.begin() + 20)));
    try {
        resources::Load_Res_Data("custom", "102");
        FAIL() << "a missing resource must raise";
    } catch (const VbError& e) {
        EXPECT_EQ(e.Number(), 326);
    }
}

}  // namespace
