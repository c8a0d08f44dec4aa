#pragma once
// What the review window's tests share: the review step of the initialisation, a data folder whose ini
// file names two lanes, a folder for the heats, and the error reports collected as lines of text.
#include "Review_initialization.h"
#include "Test_dialogs.h"
#include "platform/vb/Error_trap.h"

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>
#include <gtest/gtest.h>

class Review_fixture : public testing::Test {
protected:
    void SetUp() override {
        Install_Review_Initialization();
        folder = Test_folder() + "/data/vantorel";
        std::filesystem::create_directories(folder);
        ini = folder + "/Vantorel_HDMI.ini";
        std::ofstream(ini) << "[Canoe]\r\nLane_num=2\r\n";
        heats = Test_folder() + "/heats";
        std::filesystem::create_directories(heats);
        vb::Set_Error_Reporter([this](const std::string& description, int32_t number, int32_t, const std::string& location,
                                      const std::string&) { reports.push_back(location + ": " + std::to_string(number) + " " + description); });
    }
    void TearDown() override { vb::Set_Error_Reporter(nullptr); }

    std::string folder, ini, heats;
    std::vector<std::string> reports;
};
