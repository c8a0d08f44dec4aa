// The review window's menu tree, its own commands, the heat data commands, the display options and the
// developer commands.
#include "Heat_fixture.h"
#include "diagnostics/Form_calibrate.h"
#include "diagnostics/Frm_export.h"
#include "platform/ui/Picture_box.h"
#include "results/Frm_results.h"
#include "review/Frm_kanot_2.h"
#include "review/Module_Vantorel_overlay.h"
#include "shell/Module_Vantorel.h"
#include "shell/Non_dependant.h"
#include "shell/Program_commands.h"
#include "Review_fixture.h"
#include "platform/vb/Vb_text.h"
#include "platform/ui/Command_button.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QKeyEvent>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QSlider>
#include <QTest>

#include <filesystem>
#include <fstream>
#include <memory>

namespace {

using namespace Module_Vantorel;

struct Tree_row {
    const char* path;  // captions from the menu bar down, joined by " > "
    const char* shortcut;
    bool built;        // visible in the built program after the first activation
    bool development;  // visible in a development run
};

// Every item in menu-bar order.
const Tree_row Tree[] = {
    {"Form", "", true, true},
    {"Form > Open File", "Ctrl+O", true, true},
    {"Form > Open Newest File", "", true, true},
    {"Form > Open Newest File > -", "", false, false},
    {"Form > Open Newest File > -", "", false, false},
    {"Form > Open Newest File > -", "", false, false},
    {"Form > Open Newest File > -", "", false, false},
    {"Form > Open last Finished heat", "Ctrl+L", true, true},
    {"Form > Close File", "Ctrl+F4", true, true},
    {"Form > Zoom", "Ctrl+Z", true, true},
    {"Form > X-Stretch", "", true, true},
    {"Form > X-Stretch > 1/1", "", true, true},
    {"Form > X-Stretch > 1/1,5", "", true, true},
    {"Form > X-Stretch > 1/2", "", true, true},
    {"Form > Play", "Ctrl+P", true, true},
    {"Form > Video Capture", "Ctrl+K", true, true},
    {"Form > Auto detect", "", true, true},
    {"Form > Exit", "Ctrl+X", true, true},
    {"Settings", "", true, true},
    {"Settings > Give event name", "", true, true},
    {"Settings > Select Logo file", "", true, true},
    {"Settings > Timing calculation method", "", false, true},
    {"Settings > Timing calculation method > Frame count", "", true, true},
    {"Settings > Timing calculation method > Frame timestamp", "", true, true},
    {"Settings > Use this size/position", "", true, true},
    {"Settings > Dock Results form", "", true, true},
    {"Settings > Lane line length", "", true, true},
    {"Settings > Handle Mouse wheel events", "", true, true},
    {"Diagnostics", "", true, true},
    {"Diagnostics > File timing analyze", "", true, true},
    {"Extras", "", false, true},
    {"Extras > Display sample data", "", true, true},
    {"Extras > File properties", "", true, true},
    {"Extras > Check_Timing", "", true, true},
    {"Extras > Misbehave (trapped)", "", true, true},
    {"Extras > Misbehave (untrapped)", "", true, true},
    {"Extras > Take max Height", "", true, true},
    {"Debug", "", false, true},
    {"Debug > WheelHook", "", true, true},
    {"Debug > WheelUnhook", "", true, true},
    {"Debug > Induce_crash", "", true, true},
    {"Debug > Activate trace", "", true, true},
    {"Debug > Do trace", "", true, true},
    {"Debug > Test auto lanes", "", true, true},
    {"Debug > Test Auto for frame", "", true, true},
    {"Debug > Auto Detect", "", true, true},
    {"Debug > Setup_auto", "", true, true},
    {"Debug > Computer_model", "", true, true},
    {"Debug > Display Jpeg Bench", "", true, true},
    {"Debug > Display HSL", "", true, true},
    {"Debug > Test_line", "", true, true},
    {"Debug > Goal_HSL", "", true, true},
    {"Debug > Timing_method_analyze", "", true, true},
    {"Debug > Timing Increment analyze", "", true, true},
    {"Debug > Dump_XML_header", "", true, true},
    {"Debug > Sizes", "", true, true},
    {"Debug > Run intro", "", true, true},
    {"Debug > Test tracing", "", true, true},
    {"Debug > Rotated", "", true, true},
    {"Debug > Load new result form", "", true, true},
    {"Debug > Test Direct write", "", true, true},
    {"Debug > Analyze file", "", true, true},
    {"Debug > Taskbar", "", true, true},
    {"Debug > Debug_Stop", "", true, true},
    {"Debug > Display positions", "", true, true},
    {"Debug > Test Copy", "", true, true},
    {"Debug > Export form", "", true, true},
    {"Debug > Test XML", "", true, true},
    {"Debug > Set rotated", "", true, true},
    {"Debug > Set rotated > True", "", true, true},
    {"Debug > Set rotated > False", "", true, true},
    {"Debug > Update event name", "", true, true},
    {"Debug > Play deinterlaced", "", true, true},
    {"Debug > Assert False", "", true, true},
    {"Debug > Show frame", "", true, true},
    {"Debug > Hide large_picture", "", true, true},
    {"Debug > Rename File", "", true, true},
    {"Debug > plarge", "", true, true},
    {"Debug > Display X,Y", "", true, true},
    {"Debug > Step forward", "", true, true},
    {"Debug > Read lanemarks", "", true, true},
    {"Debug > Clear ranks", "", true, true},
    {"Debug > Load ranks", "", true, true},
    {"Debug > Test array", "", true, true},
    {"Debug > Refresh", "", true, true},
    {"Debug > Fullscreen", "", true, true},
    {"Debug > Save JPEG", "", true, true},
    {"Debug > Browse for folder", "", true, true},
    {"Help", "", true, true},
    {"Help > About", "Ctrl+A", true, true},
    {"Specials", "", false, true},
    {"Specials > Rename ini file", "", true, true},
    {"Specials > printer test", "", true, true},
    {"Specials > Set lanenums", "", true, true},
    {"Specials > Save lanes", "", true, true},
    {"Specials > Set Local heat start", "", true, true},
    {"Specials > Set Heat start", "", true, true},
    {"Specials > Set heat ID", "", true, true},
    {"Specials > Set event", "", true, true},
    {"Specials > Calibrate clock", "", true, true},
    {"Specials > Timer test", "", true, true},
    {"Specials > Set event name", "", true, true},
    {"Specials > Delete file", "", true, true},
    {"Specials > Disk performance", "", true, true},
    {"Result", "", false, false},
    {"Result > Set time", "", true, true},
    {"Result > Disqualified", "", true, true},
    {"Result > Did not finish", "", true, true},
    {"Result > Did not start", "", true, true},
    {"Result > Set time + 1/100", "", true, true},
    {"Result > Clear this lane", "", true, true},
};

struct Walked {
    std::string path, shortcut;
    bool visible;
};

void Walk(const QList<QAction*>& actions, const std::string& prefix, std::vector<Walked>& out) {
    for (QAction* action : actions) {
        const std::string path = prefix + (action->isSeparator() ? "-" : action->text().toStdString());
        out.push_back({path, action->shortcut().toString().toStdString(), action->isVisible()});
        if (action->menu()) Walk(action->menu()->actions(), path + " > ", out);
    }
}

class Review_menus : public Review_fixture {
protected:
    void SetUp() override {
        Review_fixture::SetUp();
    }
    void TearDown() override {
        Program_commands::Install({});
        Review_fixture::TearDown();
    }
    void Expect_Tree(bool built) {
        Frm_kanot_2& w = Frm_kanot_2::Instance();
        w.Show();
        QApplication::processEvents();
        std::vector<Walked> walked;
        Walk(w.Menu_bar->actions(), "", walked);
        ASSERT_EQ(walked.size(), std::size(Tree));
        for (size_t i = 0; i < walked.size(); ++i) {
            SCOPED_TRACE(Tree[i].path);
            EXPECT_EQ(walked[i].path, Tree[i].path);
            EXPECT_EQ(walked[i].shortcut, Tree[i].shortcut);
            EXPECT_EQ(walked[i].visible, built ? Tree[i].built : Tree[i].development);
        }
        w.Hide();
    }
    std::string Heat(const std::string& name) {
        Heat_layout layout;
        layout.frames = Regular_Frames(12, layout.start_tick, layout.start_events, 60);
        const std::string path = heats + "/" + name;
        Write_Heat(path, layout);
        return path;
    }
    std::vector<std::string> Prompts() { return Test_dialogs::Instance().Shown_Prompts(); }
};

TEST_F(Review_menus, The_tree_in_the_built_program) {
    Is_Compiled = true;
    Expect_Tree(true);
    Is_Compiled = false;
}

TEST_F(Review_menus, The_tree_in_a_development_run) {
    Is_Compiled = false;
    Expect_Tree(false);
}

TEST_F(Review_menus, Alt_on_Form_turns_the_developer_menus_and_Ctrl_on_Help_shows_Specials) {
    Is_Compiled = true;
    Frm_kanot_2& w = Frm_kanot_2::Instance();
    Is_Compiled = false;
    // Held as the keyboard reports it: a key event that the system delivers.
    auto hold = [&](int key, Qt::KeyboardModifiers modifiers, QEvent::Type type) {
        if (type == QEvent::KeyPress)
            QTest::keyPress(w.Slider_play, static_cast<Qt::Key>(key), modifiers);
        else
            QTest::keyRelease(w.Slider_play, static_cast<Qt::Key>(key), modifiers);
    };
    ASSERT_FALSE(w.menu_Extras.Visible());
    w.menu_form_Click();
    EXPECT_FALSE(w.menu_Extras.Visible());  // without Alt nothing changes
    hold(Qt::Key_Alt, Qt::AltModifier, QEvent::KeyPress);
    ASSERT_TRUE(Non_dependant::Alt_Down());
    w.menu_form_Click();
    EXPECT_TRUE(w.menu_Extras.Visible());
    EXPECT_TRUE(w.menu_debug.Visible());
    // An activation (after any message box) hides the timing method again, and nothing else.
    Is_Compiled = true;
    w.item_timing_calculation.Set_Visible(true);
    QEvent activation(QEvent::WindowActivate);
    QApplication::sendEvent(&w, &activation);
    Is_Compiled = false;
    EXPECT_FALSE(w.item_timing_calculation.Visible());
    EXPECT_TRUE(w.menu_Extras.Visible());
    EXPECT_TRUE(w.menu_debug.Visible());
    w.menu_form_Click();
    EXPECT_FALSE(w.menu_Extras.Visible());
    EXPECT_FALSE(w.menu_debug.Visible());
    EXPECT_FALSE(w.menu_specials.Visible());
    hold(Qt::Key_Alt, Qt::NoModifier, QEvent::KeyRelease);
    hold(Qt::Key_Control, Qt::ControlModifier, QEvent::KeyPress);
    ASSERT_TRUE(Non_dependant::Ctrl_Down());
    w.menu_help_click();
    EXPECT_TRUE(w.menu_specials.Visible());
    hold(Qt::Key_Control, Qt::NoModifier, QEvent::KeyRelease);
    w.menu_help_click();
    EXPECT_TRUE(w.menu_specials.Visible());
}

// The submenu is offered only with a visible entry: opening "Form" fills it first.
TEST_F(Review_menus, Open_Newest_File_has_its_entries_when_Form_opens) {
    for (const char* name : {"a.kd3", "b.kd3", "c.kd3", "d.kd3", "e.kd3", "f.kd3"}) {
        std::ofstream(heats + "/" + name) << std::string(1048577, 'x');  // the list holds files above 1 MB
        std::filesystem::last_write_time(heats + "/" + name, std::filesystem::file_time_type::clock::now() -
                                                                  std::chrono::minutes(10 - name[0] + 'a'));
    }
    Non_dependant::Write_Ini("Canoe", "last_dir", heats, ini);
    Frm_kanot_2& w = Frm_kanot_2::Instance();
    QMenu* form = w.menu_form.Menu();
    QMetaObject::invokeMethod(form, "aboutToShow");
    std::vector<std::string> shown;
    for (const ui::Menu_item& entry : w.item_Open_Newest)
        if (entry.Visible()) shown.push_back(entry.Caption());
    EXPECT_EQ(shown, (std::vector<std::string>{"f.kd3", "e.kd3", "d.kd3", "c.kd3"}));
    EXPECT_FALSE(w.item_Open_Newest_Root.Menu()->isEmpty());
}

TEST_F(Review_menus, Window_commands) {
    Frm_kanot_2& w = Frm_kanot_2::Instance();
    w.Show();
    QApplication::processEvents();

    // X-Stretch: one check mark, the picture widened by the factor at the same height.
    Display_Width = 300;
    Display_Height = 300;
    w.Item_extension[0].Click();
    const QSize base = w.Picture_large->size();
    for (auto [index, factor] : {std::pair{1, 1.5}, {2, 2.0}, {0, 1.0}}) {
        w.Item_extension[static_cast<size_t>(index)].Click();
        EXPECT_FLOAT_EQ(w.X_Stretch, static_cast<float>(factor));
        EXPECT_EQ(w.Picture_large->width(), static_cast<int>(base.width() * factor));
        EXPECT_EQ(w.Picture_large->height(), base.height());
        for (int i = 0; i < 3; ++i) EXPECT_EQ(w.Item_extension[static_cast<size_t>(i)].Checked(), i == index);
    }

    // "Use this size/position" writes only when it becomes checked.
    w.item_use_size.Click();
    const std::string stored = Non_dependant::Read_Ini("Settings", "lastformpos", ini, "");
    EXPECT_EQ(stored, std::to_string(w.Top()) + "," + std::to_string(w.Left()) + "," + std::to_string(w.Height()));
    w.Move(w.Left() + 300, w.Top());
    w.item_use_size.Click();
    EXPECT_EQ(Non_dependant::Read_Ini("Settings", "lastformpos", ini, ""), stored);

    // "Take max Height": the monitor's top, bottom and height, then the window at its top with its height.
    const QRect monitor = w.screen()->geometry();
    Test_dialogs::Instance().Answer(ui::vbOK);
    w.Menu_items.at("item_take_height").Click();
    EXPECT_EQ(Prompts().back(), std::to_string(monitor.top()) + "," + std::to_string(monitor.bottom() + 1) + "," +
                                    std::to_string(monitor.height()));

    // "Video Capture" closes the file, hides both windows and shows the console.
    const std::string path = Heat("heat.kd3");
    w.Handle_Open_File(path);
    ASSERT_TRUE(w.Replay_File.File_open());
    int consoles = 0;
    Program_commands::Commands commands;
    commands.Show_capture_console = [&] { ++consoles; };
    Program_commands::Install(commands);
    w.Command_resume_capture->click();
    EXPECT_EQ(consoles, 1);
    EXPECT_FALSE(w.Replay_File.File_open());
    EXPECT_FALSE(w.Visible());
    EXPECT_FALSE(Frm_results::Instance().Visible());
    EXPECT_TRUE(ui::Is_Loaded("Frm_kanot_2"));
    EXPECT_TRUE(reports.empty()) << reports.front();
}

TEST_F(Review_menus, Timing_method_changes_the_shown_time_and_the_ini) {
    Frm_kanot_2& w = Frm_kanot_2::Instance();
    // The first frame 60 ms after the start by its tick, one event (40 ms) by its event count.
    w.Handle_Open_File(Heat("heat.kd3"));
    ASSERT_TRUE(w.Replay_File.File_open());
    w.Set_Slider_Value(5);
    w.Menu_items.at("item_timing_framecount").Click();
    EXPECT_TRUE(w.item_timing_framecount.Checked());
    EXPECT_FALSE(w.item_timing_frametimestamp.Checked());
    EXPECT_EQ(Non_dependant::Read_Ini("Settings", "timing", ini, ""), "framecount");
    const std::string by_count = w.lbl_elapsed_time->text().toStdString();
    w.Menu_items.at("item_timing_frametimestamp").Click();
    EXPECT_FALSE(w.item_timing_framecount.Checked());
    EXPECT_TRUE(w.item_timing_frametimestamp.Checked());
    EXPECT_EQ(Non_dependant::Read_Ini("Settings", "timing", ini, ""), "frametimestamp");
    const std::string by_stamp = w.lbl_elapsed_time->text().toStdString();
    EXPECT_EQ(by_count, " 00:00,12");
    EXPECT_EQ(by_stamp, " 00:00,16");
}

TEST_F(Review_menus, Each_option_box_redraws_the_picture) {
    Frm_kanot_2& w = Frm_kanot_2::Instance();
    w.Handle_Open_File(Heat("heat.kd3"));
    ASSERT_TRUE(w.Replay_File.File_open());
    auto image = [&] { return w.Picture_large->grab().toImage(); };
    struct Row {
        QCheckBox* box;
        bool* flag;
    } rows[] = {{w.Chk_Show_Goalline, &Draw_Goalline}, {w.Chk_Show_lanemarks, &Draw_Lanemarks},
                {w.Chk_Flip_Lanemarks, nullptr}};
    for (const Row& row : rows) {
        SCOPED_TRACE(row.box->text().toStdString());
        w.New_Graphics();
        const QImage before = image();
        row.box->click();
        if (row.flag) {
            EXPECT_EQ(*row.flag, row.box->isChecked());
        }
        const QImage after = image();
        EXPECT_NE(after, before);
        row.box->click();
        EXPECT_NE(image(), after);
    }
    w.Chk_invert_goalline->click();
    EXPECT_TRUE(Invert_Goalline);
    w.Chk_invert_goalline->click();
    EXPECT_FALSE(Invert_Goalline);
    EXPECT_TRUE(reports.empty()) << reports.front();
}

TEST_F(Review_menus, Heat_data_commands) {
    Frm_kanot_2& w = Frm_kanot_2::Instance();
    Test_dialogs& dialogs = Test_dialogs::Instance();

    // With no file open the header commands say so.
    for (const char* name : {"item_set_heat_id", "item_set_lanenums", "itemLocalheatstart", "item_heat_start",
                             "item_set_event", "item_set_event_name", "item_update_event"}) {
        SCOPED_TRACE(name);
        dialogs.Answer(ui::vbOK);
        w.Menu_items.at(name).Click();
        EXPECT_EQ(Prompts().back(), "No file open!");
    }

    // The program's event name: Cancel keeps it, an empty answer clears it.
    Event_Name = "Regatta";
    dialogs.Answer_Input("Spring regatta");
    w.Menu_items.at("item_ange_match").Click();
    EXPECT_EQ(Event_Name, "Spring regatta");
    EXPECT_EQ(Non_dependant::Read_Ini("Canoe", "event_name", ini, "?"), "Spring regatta");
    dialogs.Cancel_Input();
    w.Enter_Event_name();
    EXPECT_EQ(Event_Name, "Spring regatta");
    dialogs.Answer_Input("");
    w.Enter_Event_name();
    EXPECT_EQ(Event_Name, "");
    EXPECT_NE(Non_dependant::Read_Ini("Canoe", "event_name", ini, ""), "Spring regatta");

    const std::string path = Heat("heat.kd3");
    w.Handle_Open_File(path);
    ASSERT_TRUE(w.Replay_File.File_open());
    // The header as a fresh store reads it from the file.
    auto reread = [&] {
        auto store = std::make_unique<cls_VideoFile_handler>();
        store->File_name(path);
        store->Open_RGB_File();
        return store;
    };
    struct Event_row {
        const char* item;
        const char* prompt;
    } events[] = {{"item_update_event", "Give event name"}, {"item_set_event", "Event"}, {"item_set_event_name", "Event name?"}};
    for (const Event_row& row : events) {
        SCOPED_TRACE(row.item);
        dialogs.Answer_Input(std::string("Final ") + row.item);
        w.Menu_items.at(row.item).Click();
        EXPECT_EQ(Prompts().back(), row.prompt);
        EXPECT_EQ(reread()->Event_name(), std::string("Final ") + row.item);
        dialogs.Cancel_Input();
        w.Menu_items.at(row.item).Click();
        EXPECT_EQ(reread()->Event_name(), std::string("Final ") + row.item);
    }
    dialogs.Answer_Input("");
    w.Menu_items.at("item_set_event").Click();
    EXPECT_EQ(reread()->Event_name(), "");

    dialogs.Answer_Input("K2 Heat 3");
    w.Menu_items.at("item_set_heat_id").Click();
    EXPECT_EQ(reread()->Heat_ID(1), "K2 Heat 3");
    dialogs.Cancel_Input();
    w.Menu_items.at("item_set_heat_id").Click();
    EXPECT_EQ(reread()->Heat_ID(1), "K2 Heat 3");

    dialogs.Answer_Input("6");
    w.Menu_items.at("item_set_lanenums").Click();
    EXPECT_EQ(reread()->Lane_count(), 6);
    for (const char* bad : {"six", "2.5", "-1", "40000"}) {
        SCOPED_TRACE(bad);
        dialogs.Answer_Input(bad);
        dialogs.Answer(ui::vbOK);
        w.Menu_items.at("item_set_lanenums").Click();
        EXPECT_EQ(Prompts().back(), std::string("\"") + bad + "\" is no number of lanes. Enter a whole number from 0 to 32767.");
        EXPECT_EQ(reread()->Lane_count(), 6);
    }
    dialogs.Cancel_Input();
    w.Menu_items.at("item_set_lanenums").Click();
    EXPECT_EQ(reread()->Lane_count(), 6);

    w.Menu_items.at("itemLocalheatstart").Click();
    EXPECT_EQ(reread()->Start_local_Mill_Time(1), 38793000);
    EXPECT_TRUE(reports.empty()) << reports.front();
}

TEST_F(Review_menus, Developer_commands) {
    Frm_kanot_2& w = Frm_kanot_2::Instance();
    Test_dialogs& dialogs = Test_dialogs::Instance();

    // Test Copy: no destination folder, then the last heat copied into it.
    Capture_Folders[1] = "";
    dialogs.Answer(ui::vbOK);
    w.Menu_items.at("item_test_copy").Click();
    EXPECT_EQ(Prompts().back(), "Can't find destination folder for file copy!");
    const std::string copies = Test_folder() + "/copies";
    std::filesystem::create_directories(copies);
    Capture_Folders[1] = copies;
    Last_Captured_File = Heat("last.kd3");
    w.File_Copy();
    EXPECT_EQ(std::filesystem::file_size(copies + "/last.kd3"), std::filesystem::file_size(Last_Captured_File));
    Last_Captured_File = heats + "/gone.kd3";
    dialogs.Answer(ui::vbOK);
    w.File_Copy();
    EXPECT_EQ(Prompts().back(), "Copy Failed");

    // Rename ini file: every "ini" of the file's name becomes "inx"; the folders stay where they are.
    const std::string saved = Ini_file_path;
    const std::string settings = folder + "/minimal";
    std::filesystem::create_directories(settings);
    Ini_file_path = settings + "/mini.ini";
    std::ofstream(Ini_file_path) << "[Canoe]\r\n";
    w.Menu_items.at("item_rename_ini").Click();
    EXPECT_TRUE(std::filesystem::exists(settings + "/minx.inx"));
    EXPECT_FALSE(std::filesystem::exists(settings + "/mini.ini"));
    Ini_file_path = saved;

    // Check marks that the window reads.
    w.Menu_items.at("item_check_timing").Click();
    EXPECT_TRUE(w.Check_Timing);
    w.Menu_items.at("item_check_timing").Click();
    EXPECT_FALSE(w.Check_Timing);

    w.Menu_items.at("item_hide_large_icture").Click();
    EXPECT_FALSE(w.Picture_large->isVisibleTo(&w));
    w.Menu_items.at("item_hide_large_icture").Click();
    EXPECT_TRUE(w.Picture_large->isVisibleTo(&w));

    w.Menu_items.at("item_display_positions").Click();
    EXPECT_EQ(w.Caption(), "me.top: " + std::to_string(w.Top()) + " me.left: " + std::to_string(w.Left()));

    dialogs.Answer(ui::vbOK);
    w.Menu_items.at("item_computer_model").Click();
    EXPECT_EQ(Prompts().back().rfind("Computer model : ", 0), 0u);
    EXPECT_NE(Prompts().back().find("\r\nOS_version_WMI : "), std::string::npos);
    EXPECT_NE(Prompts().back().find("\r\nGetManufacturer : "), std::string::npos);

    dialogs.Answer(ui::vbOK);
    w.Menu_items.at("item_sizes").Click();
    EXPECT_EQ(vb::Split(Prompts().back(), "\r\n").size(), 7u);

    // The diagnostic windows: the clock calibration and the frame export open; the timing report needs a file.
    w.Menu_items.at("item_calibrate").Click();
    EXPECT_TRUE(ui::Is_Loaded("Form_calibrate") && Form_calibrate::Instance().isVisible());
    w.Menu_items.at("item_export_form").Click();
    EXPECT_TRUE(ui::Is_Loaded("Frm_export") && Frm_export::Instance().isVisible());
    w.Menu_items.at("item_timing_analyze").Click();
    EXPECT_FALSE(ui::Is_Loaded("Form_KD3_Timing"));

    // The doors into the error report: none ends the program.
    w.Menu_items.at("item_misbehave").Click();
    ASSERT_EQ(reports.size(), 1u);
    EXPECT_EQ(reports[0].rfind("item_misbehave_Click of Form frm_kanot_2: 11", 0), 0u);
    EXPECT_TRUE(reports.size() == 1);
}

}  // namespace
