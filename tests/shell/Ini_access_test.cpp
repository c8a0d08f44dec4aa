#include "Test_dialogs.h"
#include "shell/Module_Vantorel.h"
#include "shell/Module_Vantorel_startup.h"
#include "shell/Non_dependant.h"
#include "shell/Program_commands.h"

#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>

namespace {

using Non_dependant::Read_Ini;
using Non_dependant::Write_Ini;

class Ini_access : public testing::Test {
protected:
    void SetUp() override { path = Test_folder() + "/Vantorel_HDMI.ini"; }
    std::string path;
};

TEST_F(Ini_access, Missing_and_empty_values_give_the_default_or_NA) {
    std::ofstream(path) << "[Settings]\ntiming=\ncropsizeindex=3\n";
    struct Row { const char* key; const char* def; const char* expected; } rows[] = {
        {"missing", "5", "5"}, {"missing", "", "N/A"}, {"timing", "5", "5"}, {"timing", "", "N/A"},
        {"CROPSIZEINDEX", "2", "3"},
    };
    for (const Row& r : rows) EXPECT_EQ(Read_Ini("settings", r.key, path, r.def), r.expected) << r.key;
}

TEST_F(Ini_access, A_value_reads_back_as_at_most_511_characters) {
    ASSERT_EQ(Write_Ini("s", "k", std::string(600, 'a'), path), 1);
    EXPECT_EQ(Read_Ini("s", "k", path, ""), std::string(511, 'a'));
}

void Install_Initialization() {
    Program_commands::Commands commands;
    commands.Vantorel_Initialization = &Module_Vantorel::Vantorel_Initialization;
    Program_commands::Install(commands);
}

TEST_F(Ini_access, An_empty_path_runs_the_initialisation_which_names_the_file) {
    Install_Initialization();
    Module_Vantorel::Ini_file_path.clear();
    std::filesystem::create_directories(Test_folder() + "/data/vantorel");
    std::ofstream(Test_folder() + "/data/vantorel/Vantorel_HDMI.ini") << "[Canoe]\nevent_name=Regatta\n";
    EXPECT_EQ(Read_Ini("Canoe", "event_name", Module_Vantorel::Ini_file_path, "NOEVENT"), "Regatta");
    EXPECT_EQ(Module_Vantorel::Ini_file_path, Test_folder() + "/data/vantorel/Vantorel_HDMI.ini");
}

TEST_F(Ini_access, A_path_that_stays_empty_shows_a_message_and_gives_nothing) {
    Install_Initialization();
    Module_Vantorel::Ini_file_path = "set elsewhere";
    Test_dialogs::Instance().Answer(ui::vbOK);  // the initialisation finds no ini file
    Test_dialogs::Instance().Answer(ui::vbOK);
    EXPECT_EQ(Read_Ini("Canoe", "event_name", std::string(), "NOEVENT"), "");
    ASSERT_EQ(Test_dialogs::Instance().Shown_Dialogs().size(), 2u);
    EXPECT_EQ(Test_dialogs::Instance().Shown_Dialogs()[0].prompt, "Vantorel_HDMI.ini not found");
    EXPECT_EQ(Test_dialogs::Instance().Shown_Dialogs()[1].prompt, "Ini_file_path is empty!");
}

TEST_F(Ini_access, A_failed_write_names_the_path_and_returns_0) {
    std::string bad = Test_folder() + "/missing/Vantorel_HDMI.ini";
    Test_dialogs::Instance().Answer(ui::vbOK);
    EXPECT_EQ(Write_Ini("s", "k", "v", bad), 0);
    const auto& shown = Test_dialogs::Instance().Shown_Dialogs();
    ASSERT_EQ(shown.size(), 1u);
    EXPECT_EQ(shown[0].prompt.rfind("Writing to INI file failed! Path = " + bad + "\r\n Error = 2 ", 0), 0u);
    EXPECT_EQ(shown[0].title, " KDR Error");
    EXPECT_EQ(shown[0].buttons, ui::vbCritical);
}

TEST_F(Ini_access, A_failure_that_goes_on_is_told_once_until_a_write_succeeds) {
    std::string folder = Test_folder() + "/later";
    std::string ini = folder + "/Vantorel_HDMI.ini";
    Test_dialogs::Instance().Answer(ui::vbOK);
    for (const char* key : {"a", "b", "c", "d", "e"}) EXPECT_EQ(Write_Ini("Canoe", key, "v", ini), 0);
    EXPECT_EQ(Test_dialogs::Instance().Shown_Dialogs().size(), 1u);
    std::filesystem::create_directories(folder);
    EXPECT_EQ(Write_Ini("Canoe", "a", "v", ini), 1);
    std::filesystem::remove_all(folder);
    Test_dialogs::Instance().Answer(ui::vbOK);
    EXPECT_EQ(Write_Ini("Canoe", "b", "v", ini), 0);
    EXPECT_EQ(Test_dialogs::Instance().Shown_Dialogs().size(), 2u);
}

TEST_F(Ini_access, Delete_removes_only_its_key) {
    Write_Ini("active_heats", "Heat1", "a.kd3", path);
    Write_Ini("active_heats", "Heat2", "b.kd3", path);
    Non_dependant::Delete_Ini_Key("active_heats", "heat1", path);
    EXPECT_EQ(Read_Ini("active_heats", "Heat1", path, "none"), "none");
    EXPECT_EQ(Read_Ini("active_heats", "Heat2", path, "none"), "b.kd3");
}

}  // namespace
