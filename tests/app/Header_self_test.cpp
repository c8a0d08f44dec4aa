#include "Test_dialogs.h"
#include "platform/vb/Code_page.h"
#include "app/Form_Vantorel_Full_Startup.h"
#include "shell/Module_Vantorel.h"
#include "app/Module_Vantorel_windows.h"

#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <iterator>
#include <vector>

namespace {

TEST(Header_self_test, Leaves_a_header_only_file_with_the_event_name_and_stream_1_not_rotated) {
    Module_Vantorel::Install_Program_commands();
    const std::string folder = Test_folder() + "/data/vantorel";
    std::filesystem::create_directories(folder);
    std::ofstream(folder + "/Vantorel_HDMI.ini") << "[Settings]\ntiming=frametimestamp\n";
    Form_Vantorel_Full_Startup& window = Form_Vantorel_Full_Startup::Instance();

    window.item_kd3_header_test_Click();

    const std::string path = Module_Vantorel::AppData_Folder + "/testfile.kd3";
    ASSERT_TRUE(std::filesystem::exists(path));
    EXPECT_EQ(std::filesystem::file_size(path), 32016u) << "only the header record";
    std::ifstream in(path, std::ios::binary);
    const std::vector<uint8_t> bytes{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    const std::string text = vb::Ansi_To_Utf8(bytes);
    EXPECT_NE(text.find("<event_name>test_event</event_name>"), std::string::npos);
    EXPECT_NE(text.find("<b_stream_rotated>f</b_stream_rotated>"), std::string::npos);
    EXPECT_EQ(text.find("kanot"), std::string::npos) << "the application text was set on a closed file";
    EXPECT_TRUE(Test_dialogs::Instance().Shown_Dialogs().empty());
}

}  // namespace
