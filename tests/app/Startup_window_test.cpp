#include "Test_dialogs.h"
#include "capture/Form_capture_multi_file.h"
#include "capture/cls_Capture_HDMI.h"
#include "capture/Form_select_Video.h"
#include "diagnostics/frmAbout.h"
#include "platform/ui/Clipboard.h"
#include "platform/vb/Vb_convert.h"
#include "platform/vb/Vb_text.h"
#include "review/Frm_kanot_2.h"
#include "app/Form_Vantorel_Full_Startup.h"
#include "shell/Module_Vantorel.h"
#include "app/Module_Vantorel_windows.h"
#include "shell/Non_dependant.h"
#include "shell/Program_commands.h"

#include <QApplication>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QMouseEvent>
#include <QRadioButton>
#include <QTest>

#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <sstream>

namespace {

using namespace Module_Vantorel;

class Startup : public testing::Test {
protected:
    void SetUp() override {
        Install_Program_commands();
        folder = Test_folder() + "/data/vantorel";
        std::filesystem::create_directories(folder);
        ini = folder + "/Vantorel_HDMI.ini";
    }
    void Write_Ini_File(const std::string& content) { std::ofstream(ini) << content; }
    std::string Ini(const std::string& section, const std::string& key) {
        return Non_dependant::Read_Ini(section, key, ini, "(none)");
    }
    std::string Event_Log() {
        std::ifstream in(folder + "/Vantorel_eventlog.txt");
        std::stringstream text;
        text << in.rdbuf();
        return text.str();
    }
    Form_Vantorel_Full_Startup& Window() { return Form_Vantorel_Full_Startup::Instance(); }

    std::string folder;
    std::string ini;
};

TEST_F(Startup, First_start_without_ini_writes_the_defaults_and_logs_the_start) {
    Test_dialogs::Instance().Answer(ui::vbOK);
    Form_Vantorel_Full_Startup& w = Window();
    EXPECT_EQ(Test_dialogs::Instance().Shown_Prompts(), std::vector<std::string>{"Vantorel_HDMI.ini not found"});
    EXPECT_EQ(Ini("Settings", "cropsizeindex"), "2");
    EXPECT_EQ(Ini("Canoe", "capture_type"), "1");
    EXPECT_EQ(Ini("Settings", "timing"), "frametimestamp");
    EXPECT_NE(Ini("Settings", "osbitness"), "(none)");
    EXPECT_NE(Ini("Settings", "cpubitness"), "(none)");
    EXPECT_TRUE(w.Option_crop(2).isChecked());
    EXPECT_TRUE(w.Option_capture_type(1).isChecked());
    EXPECT_TRUE(w.Frame_camera_options->isEnabled());
    EXPECT_TRUE(w.Option_quality(1).isChecked());
    EXPECT_EQ(JPG_Start_Quality, 80);
    EXPECT_TRUE(Full_Startup);
    EXPECT_TRUE(ui::Is_Loaded("Frm_kanot_2"));
    EXPECT_FALSE(Frm_kanot_2::Instance().isVisible());
    EXPECT_TRUE(Frm_kanot_2::Instance().item_timing_frametimestamp.Checked());
    EXPECT_EQ(Event_Name, "NOEVENT");
    EXPECT_EQ(Lane_Line_Length, 200);
    ASSERT_GE(POP_Sound.size(), 44u);
    EXPECT_EQ(std::string(POP_Sound.begin(), POP_Sound.begin() + 4), "RIFF");
    EXPECT_TRUE(w.JPEG_Bench_mess.empty());  // a development run measures nothing

    std::string log = Event_Log();
    EXPECT_NE(log.find("++++++++++ Vantorel started,  Version: " + Program_Version + " Compiled at: " + Build_Date +
                       " IDE\r\n"),
              std::string::npos);
    EXPECT_NE(log.find(" Computer = " + g_Computer_Name + " OS = " + OS_Version + CPU_Info + " bitness: os = " +
                       OS_Bitness + " CPU = " + CPU_Bitness + "\r\n"),
              std::string::npos);
}

TEST_F(Startup, Each_crop_preset_sets_crop_rotation_and_display) {
    Write_Ini_File("[Settings]\ncropsizeindex=0\ncustomcrop=500*1081\n");
    Form_Vantorel_Full_Startup& w = Window();
    struct Row {
        int index;
        int16_t crop_w, crop_h, display_w, display_h;
        bool rotated;
    };
    const Row rows[] = {{1, 332, 880, 332, 880, false},   {2, 440, 1080, 440, 1080, false},
                        {3, 1400, 400, 400, 1400, true},  {4, 1600, 600, 600, 1600, true},
                        {5, 1081, 500, 500, 1081, true},  {0, 332, 756, 332, 756, false}};
    for (const Row& r : rows) {
        SCOPED_TRACE(r.index);
        w.Option_crop(r.index).click();
        EXPECT_EQ(Crop_Width, r.crop_w);
        EXPECT_EQ(Crop_Height, r.crop_h);
        EXPECT_EQ(Display_Width, r.display_w);
        EXPECT_EQ(Display_Height, r.display_h);
        EXPECT_EQ(Capture_Rotated, r.rotated);
        EXPECT_EQ(w.Label_ROTATED->isVisibleTo(&w), r.rotated);
        EXPECT_EQ(Ini("Settings", "cropsizeindex"), std::to_string(r.index));
        const auto& console = Form_capture_multi_file::Instance();
        EXPECT_FALSE(console.Capture_Rotate());  // cleared after every choice
        ASSERT_TRUE(console.Has_Capture_Device());
        EXPECT_EQ(console.obj_Capture_HDMI()->Crop_Width(), r.crop_w);
        EXPECT_EQ(console.obj_Capture_HDMI()->Crop_Height(), r.crop_h);
        EXPECT_TRUE(console.obj_Capture_HDMI()->Do_CROP());
    }
}

TEST_F(Startup, Custom_crop_rotates_above_1080_and_refuses_what_is_no_crop) {
    Write_Ini_File("[Settings]\ncropsizeindex=2\n");
    Form_Vantorel_Full_Startup& w = Window();
    EXPECT_EQ(w.Option_crop(5).text(), "440*1080");

    Test_dialogs::Instance().Answer_Input("500*1080");
    w.Command_custom->click();
    EXPECT_EQ(Ini("settings", "customcrop"), "500*1080");
    EXPECT_EQ(Crop_Width, 440);  // takes effect when the option is chosen
    w.Option_crop(5).click();
    EXPECT_FALSE(Capture_Rotated);
    EXPECT_EQ(Crop_Width, 500);
    EXPECT_EQ(Crop_Height, 1080);

    Test_dialogs::Instance().Answer_Input("500*1081");
    w.Command_custom->click();
    w.Option_crop(2).click();
    w.Option_crop(5).click();
    EXPECT_TRUE(Capture_Rotated);
    EXPECT_EQ(Crop_Width, 1081);
    EXPECT_EQ(Crop_Height, 500);

    // Cancel changes nothing; answers that are no crop size are refused with a message.
    Test_dialogs::Instance().Answer_Input("");
    w.Command_custom->click();
    for (const char* bad : {"abc", "500x1000", "500*", "*1000", "2000*1000", "1100*1200", "0*500", "500*1921",
                            "500.5*1000", "-5*1000"}) {
        SCOPED_TRACE(bad);
        Test_dialogs::Instance().Reset();
        Test_dialogs::Instance().Answer_Input(bad);
        Test_dialogs::Instance().Answer(ui::vbOK);
        w.Command_custom->click();
        ASSERT_EQ(Test_dialogs::Instance().Shown_Dialogs().size(), 2u);
        EXPECT_NE(Test_dialogs::Instance().Shown_Dialogs()[1].prompt.find("is no crop size"), std::string::npos);
    }
    EXPECT_EQ(w.Option_crop(5).text(), "500*1081");
    EXPECT_EQ(Ini("settings", "customcrop"), "500*1081");
    EXPECT_TRUE(Form_Vantorel_Full_Startup::Is_Valid_Crop("1080*1920"));
    EXPECT_TRUE(Form_Vantorel_Full_Startup::Is_Valid_Crop("1920*1080"));
}

TEST_F(Startup, Quality_choice_is_stored_and_an_unknown_saved_quality_is_ignored) {
    Write_Ini_File("[settings]\ninitial_q=75\n");
    Form_Vantorel_Full_Startup& w = Window();
    EXPECT_EQ(JPG_Start_Quality, 80);
    EXPECT_TRUE(w.Option_quality(1).isChecked());
    EXPECT_EQ(Ini("settings", "initial_q"), "75");

    w.Option_quality(2).click();
    EXPECT_EQ(Ini("settings", "initial_q"), "85");
    EXPECT_EQ(JPG_Start_Quality, 85);
    w.Option_quality(0).click();
    EXPECT_EQ(Ini("settings", "initial_q"), "70");
    EXPECT_EQ(JPG_Start_Quality, 70);
}

TEST_F(Startup, Saved_quality_is_selected_at_start) {
    Write_Ini_File("[settings]\ninitial_q=90\n");
    Form_Vantorel_Full_Startup& w = Window();
    EXPECT_TRUE(w.Option_quality(3).isChecked());
    EXPECT_EQ(JPG_Start_Quality, 90);
}

TEST_F(Startup, Saved_choices_that_name_no_option_fall_back_to_the_defaults) {
    for (auto [crop, kind] : {std::pair{"9", "x"}, std::pair{"abc", "7"}, std::pair{"-1", "0"}, std::pair{"2.5", "1.5"}}) {
        SCOPED_TRACE(crop);
        Write_Ini_File(std::string("[Settings]\ncropsizeindex=") + crop + "\n[Canoe]\ncapture_type=" + kind + "\n");
        Form_Vantorel_Full_Startup& w = Window();
        EXPECT_TRUE(w.Option_crop(2).isChecked());
        EXPECT_TRUE(w.Option_capture_type(1).isChecked());
        EXPECT_EQ(Ini("Settings", "cropsizeindex"), "2");
        EXPECT_EQ(Ini("Canoe", "capture_type"), "1");
        EXPECT_TRUE(Test_dialogs::Instance().Shown_Dialogs().empty());
        w.Unload();
    }
}

TEST_F(Startup, Saved_view_recordings_disables_the_cropping_options) {
    Write_Ini_File("[Canoe]\ncapture_type=2\n[Settings]\ncropsizeindex=4\n");
    Form_Vantorel_Full_Startup& w = Window();
    EXPECT_TRUE(w.Option_capture_type(2).isChecked());
    EXPECT_FALSE(w.Frame_camera_options->isEnabled());
    EXPECT_TRUE(w.Option_crop(4).isChecked());
    EXPECT_TRUE(Capture_Rotated);
    w.Option_capture_type(1).click();
    EXPECT_TRUE(w.Frame_camera_options->isEnabled());
    EXPECT_EQ(Ini("Canoe", "capture_type"), "1");
}

TEST_F(Startup, Go_with_view_recordings_shows_the_review_window) {
    Write_Ini_File("[Canoe]\ncapture_type=2\n[capturesettings]\nvideoproperty=3\n");
    Capture_Running = true;
    Window().Command_go->click();
    EXPECT_FALSE(Capture_Running);
    EXPECT_TRUE(Frm_kanot_2::Instance().isVisible());
    EXPECT_FALSE(ui::Is_Loaded("Form_Vantorel_Full_Startup"));
    EXPECT_FALSE(Form_capture_multi_file::Instance().isVisible());
}

TEST_F(Startup, Go_with_capture_and_a_saved_format_shows_the_console) {
    Write_Ini_File("[Canoe]\ncapture_type=1\n[capturesettings]\nvideoproperty=0\n");
    Window().Command_go->click();
    EXPECT_TRUE(Form_capture_multi_file::Instance().isVisible());
    EXPECT_FALSE(ui::Is_Loaded("Form_Vantorel_Full_Startup"));
    EXPECT_FALSE(Frm_kanot_2::Instance().isVisible());
}

TEST_F(Startup, Go_with_capture_and_no_saved_format_asks_for_a_source) {
    Write_Ini_File("[Canoe]\ncapture_type=1\n");
    Form_Vantorel_Full_Startup& w = Window();
    Test_dialogs::Instance().Answer(ui::vbOK);
    w.Command_go->click();
    EXPECT_EQ(Test_dialogs::Instance().Shown_Prompts(),
              std::vector<std::string>{"Please select Video Source & Property on the form shown!\r\nThen press Go "
                                       "again."});
    EXPECT_TRUE(Form_select_Video::Instance().isVisible());
    EXPECT_TRUE(ui::Is_Loaded("Form_Vantorel_Full_Startup"));
    EXPECT_FALSE(Form_capture_multi_file::Instance().isVisible());

    // The choice the source dialog saves is used by the next Go, without a restart.
    Non_dependant::Write_Ini("capturesettings", "videoproperty", "0", ini);
    w.Command_go->click();
    EXPECT_TRUE(Form_capture_multi_file::Instance().isVisible());
    EXPECT_FALSE(ui::Is_Loaded("Form_Vantorel_Full_Startup"));
}

// The console asks for the report at every new heat file, while the camera runs and the operator may
// have the review window open: asking must not load the start-up window again.
TEST_F(Startup, Report_asked_during_capture_is_the_one_measured_at_start) {
    Write_Ini_File("[Canoe]\ncapture_type=1\n[capturesettings]\nvideoproperty=0\n");
    Is_Compiled = true;
    Form_Vantorel_Full_Startup& w = Window();
    const std::string report = w.JPEG_Bench_mess;
    ASSERT_FALSE(report.empty());
    w.Command_go->click();
    ASSERT_FALSE(ui::Is_Loaded("Form_Vantorel_Full_Startup"));
    Form_capture_multi_file& console = Form_capture_multi_file::Instance();
    console.Set_Capture_Rotate(true);
    Frm_kanot_2::Instance().Show();
    const std::string cropsizeindex = Ini("Settings", "cropsizeindex");

    for (int heat = 0; heat < 2; ++heat) {
        SCOPED_TRACE(heat);
        EXPECT_EQ(Program_commands::JPEG_Bench_mess(), report);
        EXPECT_FALSE(ui::Is_Loaded("Form_Vantorel_Full_Startup"));
        EXPECT_TRUE(Test_dialogs::Instance().Shown_Dialogs().empty());
        EXPECT_TRUE(Frm_kanot_2::Instance().isVisible());
        EXPECT_TRUE(console.Capture_Rotate());  // the running capture keeps its crop
        EXPECT_EQ(Ini("Settings", "cropsizeindex"), cropsizeindex);
    }
    Is_Compiled = false;
    EXPECT_EQ(Window().JPEG_Bench_mess, report);  // loaded again, a development run measures nothing
}

// Only exactly "frametimestamp" keeps the time-stamp method; other capitals give the frame count.
TEST_F(Startup, Timing_method_follows_the_ini_text_exactly) {
    Write_Ini_File("[Settings]\ntiming=FrameTimestamp\n");
    Window();
    EXPECT_EQ(Ini("Settings", "timing"), "framecount");
    EXPECT_TRUE(Frm_kanot_2::Instance().item_timing_framecount.Checked());
    EXPECT_FALSE(Frm_kanot_2::Instance().item_timing_frametimestamp.Checked());
}

TEST_F(Startup, Built_program_measures_the_presets_and_the_report_command_does_not_grow_it) {
    Write_Ini_File("[settings]\ncustomcrop=abc\n");
    Is_Compiled = true;
    Form_Vantorel_Full_Startup& w = Window();
    EXPECT_FALSE(w.menu_debug.Visible());
    const std::string report = w.JPEG_Bench_mess;
    std::vector<std::string> lines = vb::Split(report, "\r\n");
    ASSERT_EQ(lines.size(), 11u);
    EXPECT_EQ(lines[0].rfind("JPG compression benchmark at: ", 0), 0u);
    EXPECT_EQ(lines[1], "Computer name = " + g_Computer_Name);
    EXPECT_EQ(lines[2], "CPU info: " + CPU_Info + " ");
    EXPECT_EQ(lines[3], "");
    const char* captions[] = {"332*756", "332*880", "440*1080", "400*1400", "600*1600"};
    for (int i = 0; i < 5; ++i) {
        EXPECT_EQ(lines[4 + i].rfind(std::string(captions[i]) + " =  ", 0), 0u) << lines[4 + i];
        EXPECT_EQ(lines[4 + i].substr(lines[4 + i].size() - 2), "ms");
    }
    EXPECT_EQ(lines[9], "abc =  not measured");
    EXPECT_EQ(lines[10], "---Report end---");

    const std::string shown = report + "\r\n\r\nThis data is also in the Clipboard!\r\n(To be pasted into report or mail...)";
    for (int use = 0; use < 2; ++use) {
        Test_dialogs::Instance().Reset();
        Test_dialogs::Instance().Answer(ui::vbOK);
        w.item_JPG_bench.Click();
        ASSERT_EQ(Test_dialogs::Instance().Shown_Dialogs().size(), 1u);
        EXPECT_EQ(Test_dialogs::Instance().Shown_Dialogs()[0].prompt, shown);
        EXPECT_EQ(Test_dialogs::Instance().Shown_Dialogs()[0].title, "Vantorel HDMI JPEG compression timings");
        EXPECT_EQ(ui::Clipboard::Get_Text(), report.substr(0, report.find("---Report")));
        EXPECT_EQ(w.JPEG_Bench_mess, report);
    }
    Is_Compiled = false;
}

TEST_F(Startup, A_custom_crop_the_camera_cannot_give_is_not_measured) {
    for (const char* crop : {"40000*2", "2000*1000", "1200*1900"}) {
        SCOPED_TRACE(crop);
        Write_Ini_File(std::string("[settings]\ncustomcrop=") + crop + "\n");
        Is_Compiled = true;
        Form_Vantorel_Full_Startup& w = Window();
        std::vector<std::string> lines = vb::Split(w.JPEG_Bench_mess, "\r\n");
        ASSERT_EQ(lines.size(), 11u);
        EXPECT_EQ(lines[9], std::string(crop) + " =  not measured");
        Is_Compiled = false;
        ui::Destroy_All_Forms();
    }
}

TEST_F(Startup, Exit_asks_first_and_a_cancel_leaves_no_exit_lines) {
    Write_Ini_File("[Settings]\ncropsizeindex=2\n");
    Is_Compiled = true;
    Form_Vantorel_Full_Startup& w = Window();
    size_t loaded = ui::Loaded_Forms().size();

    Test_dialogs::Instance().Answer(ui::vbCancel);
    w.item_exit.Click();
    ASSERT_EQ(Test_dialogs::Instance().Shown_Dialogs().size(), 1u);
    const auto& question = Test_dialogs::Instance().Shown_Dialogs()[0];
    EXPECT_EQ(question.prompt, "Exiting Vantorel_HDMI, are you sure?");
    EXPECT_EQ(question.title, "Vantorel Exit");
    EXPECT_EQ(question.buttons, ui::vbOKCancel | ui::vbDefaultButton2);
    EXPECT_FALSE(Is_Exiting);
    EXPECT_EQ(Event_Log().find("Init. files"), std::string::npos);
    EXPECT_EQ(ui::Loaded_Forms().size(), loaded);

    Started_Heats_Count = 2;
    Test_dialogs::Instance().Answer(ui::vbOK);
    w.item_exit.Click();
    EXPECT_TRUE(Is_Exiting);
    EXPECT_TRUE(ui::Loaded_Forms().empty());
    std::string log = Event_Log();
    EXPECT_NE(log.find("Init. files = 0 Started heats = 2 Captured segments = 0\r\n"), std::string::npos);
    EXPECT_NE(log.find("---------- Vantorel Exit, Uptime = "), std::string::npos);
    EXPECT_LT(log.find("Init. files"), log.find("Vantorel Exit, Uptime"));
    Is_Compiled = false;
}

TEST_F(Startup, Exit_with_the_F_key_held_ends_at_once_without_exit_lines) {
    Write_Ini_File("[Settings]\ncropsizeindex=2\n");
    Is_Compiled = true;
    Form_Vantorel_Full_Startup& w = Window();
    QKeyEvent press(QEvent::KeyPress, Qt::Key_F, Qt::NoModifier, "f");
    QApplication::sendEvent(&w, &press);
    Test_dialogs::Instance().Answer(ui::vbOK);
    EXPECT_EXIT(
        {
            w.item_exit.Click();
            std::exit(Test_dialogs::Instance().Unused_Answers() == 0 ? 3 : 4);  // not reached
        },
        testing::ExitedWithCode(0), "");
    Test_dialogs::Instance().Reset();  // the answers were used in the child
    EXPECT_EQ(Event_Log().find("Init. files"), std::string::npos);
    EXPECT_EQ(Event_Log().find("Vantorel Exit"), std::string::npos);
    Is_Compiled = false;
}

// A window that loads another while it is being unloaded, as a window's unload may.
class Late_window : public ui::Form {
public:
    Late_window() : ui::Form("Late_window") {}
};
class Reloading_window : public ui::Form {
public:
    Reloading_window() : ui::Form("Reloading_window") {}

protected:
    void Form_QueryUnload(int16_t&, int16_t) override { ui::Instance_Of<Late_window>(); }
};

TEST_F(Startup, Exit_in_a_development_run_asks_nothing) {
    Write_Ini_File("[Settings]\ncropsizeindex=2\n");
    Window();
    ui::Instance_Of<Reloading_window>();
    Capture_Running = true;
    Frm_kanot_2::Instance().item_exit.Click();
    EXPECT_TRUE(Test_dialogs::Instance().Shown_Dialogs().empty());
    EXPECT_TRUE(Is_Exiting);
    EXPECT_FALSE(Capture_Running);
    EXPECT_TRUE(ui::Loaded_Forms().empty());  // the second pass took the window loaded during the first
    EXPECT_NE(Event_Log().find("---------- Vantorel Exit, Uptime = "), std::string::npos);
}

TEST_F(Startup, Stops_full_screen_and_about_box) {
    Write_Ini_File("[Settings]\ncropsizeindex=2\n");
    Window();
    Capture_Running = true;
    Emergency_Stop();
    EXPECT_FALSE(Capture_Running);
    EXPECT_TRUE(Debug_Stop);
    // The program commands that lower windows call are these procedures.
    Capture_Running = true;
    Program_commands::Stop_All_Captures();
    EXPECT_FALSE(Capture_Running);
    Debug_Stop = false;
    Program_commands::Emergency_Stop();
    EXPECT_TRUE(Debug_Stop);

    Frm_kanot_2& review = Frm_kanot_2::Instance();
    EXPECT_FALSE(SetFormFullScreen(review));
    EXPECT_TRUE(review.windowFlags() & Qt::FramelessWindowHint);
    SetFormFullScreen(review);
    EXPECT_FALSE(review.windowFlags() & Qt::FramelessWindowHint);

    Window().item_about.Click();
    frmAbout& about = frmAbout::Instance();
    EXPECT_TRUE(about.isVisible());
    EXPECT_EQ(about.Caption(), "About " + Program_Name);
    EXPECT_EQ(about.Description(), "Vantorel, full version");
    // All 64 characters of the library's text, its zero padding shown as blanks.
    EXPECT_EQ(about.Lbl_PElkGraphics->text().toStdString(), "PelkGraphics: Vantorel graphics 1.0" + std::string(64 - 21, ' '));
    EXPECT_TRUE(about.Lbl_pelkcap->text().startsWith("PelkCap: GStreamer 1."));
    EXPECT_NE(about.Label_phidget_version->text().indexOf("Phidget21 - Version 2.1.6"), -1);
    EXPECT_EQ(about.Label_userapp->text().toStdString(), "User appdata at: \r\n" + AppData_Folder);
    EXPECT_TRUE(about.Lbl_filedate->text().isEmpty());  // a development run
    EXPECT_FALSE(about.Picture_product->pixmap().isNull());
    EXPECT_TRUE(about.Top_Most());
    about.Command_OK->click();
    EXPECT_FALSE(about.isVisible());
    EXPECT_TRUE(ui::Is_Loaded("frmAbout"));
    Program_commands::Do_about();
    EXPECT_TRUE(about.isVisible());
}

// The about box's company picture, clicked with Ctrl held, shows the review window's hidden Specials.
TEST_F(Startup, Ctrl_click_on_the_company_picture_shows_the_review_windows_Specials) {
    Write_Ini_File("[Settings]\ncropsizeindex=2\n");
    Is_Compiled = true;
    Window();
    Frm_kanot_2& review = Frm_kanot_2::Instance();
    ASSERT_FALSE(review.menu_specials.Visible());
    frmAbout& about = frmAbout::Instance();
    auto click = [&] {
        QMouseEvent release(QEvent::MouseButtonRelease, QPointF(5, 5), QPointF(5, 5), Qt::LeftButton, Qt::NoButton,
                            Qt::NoModifier);
        QApplication::sendEvent(about.Picture_company, &release);
    };
    click();
    EXPECT_FALSE(review.menu_specials.Visible());
    // Held as the keyboard reports it: a key event that the system delivers.
    QTest::keyPress(&about, Qt::Key_Control, Qt::ControlModifier);
    click();
    QTest::keyRelease(&about, Qt::Key_Control, Qt::NoModifier);
    EXPECT_TRUE(review.menu_specials.Visible());
    click();
    EXPECT_TRUE(review.menu_specials.Visible());  // it stays shown
    Is_Compiled = false;
}

}  // namespace
