// The export area of the results window: its settings, the folder choice and the Export button on the
// rows the window shows.
#include "Test_dialogs.h"
#include "tests/review/Heat_fixture.h"
#include "platform/ui/Command_button.h"
#include "platform/ui/Picture_box.h"
#include "platform/vb/Error_trap.h"
#include "results/Export_panel.h"
#include "results/Frm_results.h"
#include "results/Module_Vantorel_export.h"
#include "results/Results_export.h"
#include "shell/Module_Vantorel.h"
#include "shell/Non_dependant.h"

#include <QGroupBox>
#include <QLabel>
#include <QPlainTextEdit>
#include <QRadioButton>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>

namespace {

using namespace Module_Vantorel;
namespace stdfs = std::filesystem;

class Export_panel_window : public ::testing::Test {
protected:
    void SetUp() override {
        Ini_file_path = Test_folder() + "/vantorel.ini";
        folder = Test_folder() + "/results";
        stdfs::create_directories(folder);
        Non_dependant::Write_Ini("Canoe", "export_folder", folder, Ini_file_path);
        Non_dependant::Write_Ini("Canoe", "expformat", "1", Ini_file_path);
        panel().Load_Export_format();
        panel().Load_Export_Folder();
    }
    void TearDown() override {
        Results_export::Open_Heat_Provider = nullptr;
        if (file.File_open()) file.Close_File();
        Vantorel_Mode = false;
        Is_Compiled = false;
        Frm_results::Instance().Clear_Results();
        Test_dialogs::Instance().Expect_All_Answers_Used();
    }
    static Export_panel& panel() { return *Frm_results::Instance().Export; }

    // A heat open for review whose window shows two rows.
    void Open_Heat() {
        Vantorel_Mode = true;
        const std::string path = Test_folder() + "/REGATTAHeat5_2016.kd3";
        Heat_layout layout;
        layout.frames = Regular_Frames(2, layout.start_tick, layout.start_events);
        Write_Heat(path, layout);
        file.File_name(path);
        file.Open_RGB_File();
        Results_export::Open_Heat_Provider = [this] { return Results_export::Open_Heat{&file, " 9:05:12,34"}; };
        Frm_results& w = Frm_results::Instance();
        w.Lbl_heat->setText("5");
        const char* rows[][4] = {{"1", "2", " 01:05,00", "+0,00"}, {"2", "1", "DSQ", ""}};
        for (int row = 0; row < 2; ++row) {
            w.Lbl_result_rank(row).setText(rows[row][0]);
            w.Lbl_result_lane(row).setText(rows[row][1]);
            w.Lbl_result_time(row).setText(rows[row][2]);
            w.Lbl_result_delta_time(row).setText(rows[row][3]);
        }
    }

    std::string folder;
    cls_VideoFile_handler file;
};

TEST_F(Export_panel_window, Format_and_folder_come_from_the_ini_file_and_a_click_writes_them) {
    EXPECT_TRUE(panel().Opt_exp_format(1).isChecked());
    EXPECT_EQ(Export_Folder, folder);
    EXPECT_EQ(panel().Pict_export_folder->toolTip().toStdString(), folder);

    Non_dependant::Write_Ini("Canoe", "expformat", "2", Ini_file_path);
    panel().Load_Export_format();
    EXPECT_TRUE(panel().Opt_exp_format(2).isChecked());

    // A value that names no format is reported; the choice stays.
    std::vector<std::string> reports;
    vb::Set_Error_Reporter([&](const std::string&, int32_t, int32_t, const std::string& where, const std::string&) {
        reports.push_back(where);
    });
    Is_Compiled = true;
    Non_dependant::Write_Ini("Canoe", "expformat", "3", Ini_file_path);
    panel().Load_Export_format();
    vb::Set_Error_Reporter(nullptr);
    EXPECT_EQ(reports, std::vector<std::string>{"Load_Export_format of Form Frm_results"});
    EXPECT_TRUE(panel().Opt_exp_format(2).isChecked());

    panel().Opt_exp_format(1).click();
    EXPECT_EQ(Non_dependant::Read_Ini("Canoe", "expformat", Ini_file_path, ""), "1");

    const std::string chosen = Test_folder() + "/elsewhere";
    stdfs::create_directories(chosen);
    Test_dialogs::Instance().Answer_Folder(chosen);
    panel().Pict_export_folder_Click();
    EXPECT_EQ(Export_Folder, chosen);
    EXPECT_EQ(Non_dependant::Read_Ini("Canoe", "export_folder", Ini_file_path, ""), chosen);
    Test_dialogs::Instance().Answer_Folder(std::nullopt);
    panel().Pict_export_folder_Click();
    EXPECT_EQ(Export_Folder, chosen);
}

TEST_F(Export_panel_window, Export_writes_the_shown_rows_and_says_where) {
    Open_Heat();
    panel().Cmd_export->click();
    const std::string csv = folder + "/VN_Result_Heat5.csv";
    ASSERT_TRUE(stdfs::exists(csv));
    std::ifstream in(csv, std::ios::binary);
    const std::string text{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    EXPECT_NE(text.find("\r\n1;2;01:05,00;+0,00\r\n2;1;DSQ\r\nend\r\n"), std::string::npos) << text;
    EXPECT_FALSE(panel().Frm_export_mess->isHidden());
    EXPECT_EQ(panel().Text_export_mess->toPlainText().toStdString(), "Exported results to file:\n" + csv);
    panel().Cmd_result_export_OK->click();
    EXPECT_TRUE(panel().Frm_export_mess->isHidden());

    panel().Opt_exp_format(2).click();
    panel().Cmd_export->click();
    EXPECT_TRUE(stdfs::exists(folder + "/VN_Result_Heat5.xml"));
    EXPECT_FALSE(panel().Frm_export_mess->isHidden());
    panel().Cmd_result_export_OK->click();
    panel().Opt_exp_format(1).click();

    // The folder gone: nothing written, the message panel stays hidden.
    stdfs::remove_all(folder);
    Test_dialogs::Instance().Answer(ui::vbOK);
    panel().Cmd_export->click();
    EXPECT_EQ(Test_dialogs::Instance().Shown_Prompts().back(), "Result export folder not found!");
    EXPECT_TRUE(panel().Frm_export_mess->isHidden());
}

TEST_F(Export_panel_window, Without_an_open_heat_there_is_nothing_to_export) {
    Test_dialogs::Instance().Answer(ui::vbOK);
    panel().Cmd_export->click();
    EXPECT_EQ(Test_dialogs::Instance().Shown_Prompts().back(), "Nothing to export!");
    EXPECT_TRUE(stdfs::is_empty(folder));
}

}  // namespace
