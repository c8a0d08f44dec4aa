#include "Test_dialogs.h"
#include "shell/Module_AppUserData.h"
#include "shell/Module_Vantorel.h"
#include "platform/vb/VbError.h"

#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <regex>
#include <sstream>
#include <string>

namespace {

std::string Read_File(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

TEST(Write_Event_Log, one_dated_line_per_call_ended_by_crlf) {
    Module_Vantorel::AppData_Folder = Module_AppUserData::Get_AppData_Folder();
    Module_Vantorel::Write_Event_Log("Program start");
    Module_Vantorel::Write_Event_Log("Ini loaded\r\nsecond half");
    std::string log = Read_File(Module_Vantorel::AppData_Folder + "/Vantorel_eventlog.txt");
    std::regex format(R"(\d{4}-\d\d-\d\d \d\d:\d\d:\d\dProgram start\r\n)"
                      R"(\d{4}-\d\d-\d\d \d\d:\d\d:\d\dIni loaded\r\nsecond half\r\n)");
    EXPECT_TRUE(std::regex_match(log, format)) << log;
}

TEST(Write_Event_Log, a_missing_folder_gives_log_error_in_the_built_program_and_an_error_otherwise) {
    Module_Vantorel::Is_Compiled = true;
    for (std::string folder : {Test_folder() + "/no such folder", std::string()}) {
        Module_Vantorel::AppData_Folder = folder;
        Test_dialogs::Instance().Answer(ui::vbOK);
        Module_Vantorel::Write_Event_Log("Program start");
        EXPECT_EQ(Test_dialogs::Instance().Shown_Dialogs().back().prompt, "Log error Path not found 76") << folder;
    }
    EXPECT_EQ(Test_dialogs::Instance().Shown_Dialogs().size(), 2u);
    EXPECT_FALSE(std::filesystem::exists("/Vantorel_eventlog.txt"));

    Module_Vantorel::Is_Compiled = false;
    try {
        Module_Vantorel::Write_Event_Log("Program start");
        FAIL() << "the error did not reach the caller";
    } catch (const VbError& e) {
        EXPECT_EQ(e.Number(), 76);
    }
}

TEST(Write_Event_Log, a_log_that_cannot_be_written_names_the_file_in_its_error) {
    Module_Vantorel::Is_Compiled = false;
    Module_Vantorel::AppData_Folder = Test_folder();
    std::filesystem::create_directory(Test_folder() + "/Vantorel_eventlog.txt");  // a folder in the way
    try {
        Module_Vantorel::Write_Event_Log("Program start");
        FAIL() << "the error did not reach the caller";
    } catch (const VbError& e) {
        EXPECT_EQ(e.Number(), 75);
        EXPECT_NE(e.Description().find(Test_folder() + "/Vantorel_eventlog.txt"), std::string::npos) << e.Description();
    }
}

// A folder that refuses the log fails every line: the box comes once for it, and again only after the log
// worked in between.
TEST(Write_Event_Log, a_log_that_keeps_failing_is_told_once_until_it_works_again) {
    Module_Vantorel::Is_Compiled = true;
    const std::string folder = Test_folder() + "/later";
    Module_Vantorel::AppData_Folder = folder;
    Test_dialogs::Instance().Answer(ui::vbOK);
    for (int i = 0; i < 5; ++i) Module_Vantorel::Write_Event_Log("line " + std::to_string(i));
    EXPECT_EQ(Test_dialogs::Instance().Shown_Dialogs().size(), 1u);

    std::filesystem::create_directory(folder);
    Module_Vantorel::Write_Event_Log("works");
    std::filesystem::remove_all(folder);
    Test_dialogs::Instance().Answer(ui::vbOK);
    Module_Vantorel::Write_Event_Log("fails again");
    Module_Vantorel::Write_Event_Log("and again");
    EXPECT_EQ(Test_dialogs::Instance().Shown_Dialogs().size(), 2u);
    Module_Vantorel::Is_Compiled = false;
}

}  // namespace
