#include "Test_dialogs.h"
#include "header/Cls_XML_header.h"
#include "imaging/modAPIDraw.h"
#include "platform/gdi/Gdi_objects.h"
#include "platform/sys/Instance_lock.h"
#include "platform/ui/Command_button.h"
#include "platform/ui/Picture_box.h"
#include "platform/ui/Screen.h"
#include "results/Frm_results.h"
#include "results/Module1.h"
#include "results/modCloseBtn.h"
#include "review/Frm_kanot_2.h"
#include "Header_course.h"
#include "review/Module_Vantorel_course.h"
#include "review/Module_Vantorel_overlay.h"
#include "shell/Module_Vantorel.h"
#include "Review_initialization.h"
#include "shell/Non_dependant.h"

#include <QApplication>
#include <QScreen>
#include <QMenuBar>
#include <QSlider>
#include <QWheelEvent>

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <sstream>

namespace {

using namespace Module_Vantorel;

std::string Read_File(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

class Review_window : public testing::Test {
protected:
    void SetUp() override {
        Install_Review_Initialization();
        folder = Test_folder() + "/data/vantorel";
        std::filesystem::create_directories(folder);
        ini = folder + "/Vantorel_HDMI.ini";
        std::ofstream(ini) << "[Canoe]\r\nLanes=0100020001500200\r\nLane_num=2\r\nGoalline=320,40,320,560\r\n";
    }
    Frm_kanot_2& Window() { return Frm_kanot_2::Instance(); }
    std::vector<std::string> Prompts() { return Test_dialogs::Instance().Shown_Prompts(); }
    std::string folder;
    std::string ini;
};

TEST_F(Review_window, Load_reads_the_course_and_stays_hidden) {
    Frm_kanot_2& w = Window();
    EXPECT_FALSE(w.Visible());
    EXPECT_EQ(Lane_Collection.size(), 16u);
    EXPECT_EQ(Lane_Collection[1].X(), 150);
    EXPECT_EQ(Lane_Count, 2);
    EXPECT_EQ(Setup_Goalline.x1, 320);
    EXPECT_EQ(Setup_Goalline.y2, 560);
    EXPECT_EQ(Transparent_Color, 0x808080);
    EXPECT_EQ(Drag_Lane, -1);
    EXPECT_TRUE(w.item_dock_results.Checked());
    EXPECT_EQ(w.Caption(), "Vantorel Video Replay ");
    EXPECT_EQ(w.Timer_keyb_event.Interval(), 60000);
    EXPECT_TRUE(w.Timer_keyb_event.Enabled());
    EXPECT_TRUE(modCloseBtn::Close_Unavailable(&w));
    EXPECT_EQ(Version_String, Program_Version + " IDE");
    EXPECT_TRUE(Prompts().empty());
}

TEST_F(Review_window, A_second_instance_is_refused_and_touches_nothing) {
    sys::Instance_lock first;
    ASSERT_EQ(first.Claim(folder + "/vantorel.lock"), sys::Instance_lock::Claim_Result::Claimed);
    const std::string before = Read_File(ini);
    GTEST_FLAG_SET(death_test_style, "fast");
    Test_dialogs::Instance().Answer(ui::vbOK);
    EXPECT_EXIT(
        {
            Frm_kanot_2::Instance();
            auto shown = Test_dialogs::Instance().Shown_Dialogs();
            std::exit(shown.size() == 1 ? 3 : 4);  // never reached when refused
        },
        testing::ExitedWithCode(0), "");
    Test_dialogs::Instance().Reset();  // the answers were used in the child
    EXPECT_EQ(Read_File(ini), before);
    EXPECT_FALSE(std::filesystem::exists(folder + "/Vantorel_eventlog.txt"));
}

TEST_F(Review_window, A_lock_that_cannot_be_made_says_why_and_the_program_goes_on) {
    std::filesystem::create_directory(folder + "/vantorel.lock");  // no file can be made there
    Test_dialogs::Instance().Answer(ui::vbOK);
    Frm_kanot_2& w = Window();
    ASSERT_EQ(Prompts().size(), 1u);
    EXPECT_EQ(Prompts()[0], "The data folder " + folder + " cannot hold the lock that keeps a second instance out (" +
                                std::strerror(EISDIR) + "). The program goes on without it.");
    EXPECT_EQ(Lane_Count, 2);  // the course was read
    EXPECT_EQ(w.Caption(), "Vantorel Video Replay ");
}

TEST_F(Review_window, Picture_fit_and_layout) {
    Frm_kanot_2& w = Window();
    const int menu = w.Menu_bar->sizeHint().height();
    struct Case {
        int16_t width, height;
        float stretch;
        int16_t screen;
        float scale;
        int picture_width, picture_height;
    } cases[] = {
        {400, 800, 1, 1000, 1, 400, 800},
        {440, 1080, 1, 1000, 996.f / 1080, 406, 996},
        {400, 800, 2, 1000, 1, 800, 800},
        {300, 300, 1.5f, 900, 1, 450, 300},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::to_string(c.width) + "x" + std::to_string(c.height) + " stretch " + std::to_string(c.stretch));
        Display_Width = c.width;
        Display_Height = c.height;
        w.X_Stretch = c.stretch;
        Screen_Scale_Height = c.screen;
        w.Set_Picture_Size();
        EXPECT_FLOAT_EQ(w.View_Scale, c.scale);
        EXPECT_EQ(w.Picture_large->width(), c.picture_width);
        EXPECT_EQ(w.Picture_large->height(), c.picture_height);
        EXPECT_EQ(w.Picture_large->y(), menu + 2);
        const int picture_right = w.Picture_large->geometry().right() + 1 + 2;
        EXPECT_EQ(w.Frame_Controls->x(), picture_right + 10);
        EXPECT_EQ(w.width(), w.Frame_Controls->geometry().right() + 1 + 20);
        if (c.scale == 1) {
            // The window fits the picture, and is never shorter than its controls.
            EXPECT_EQ(w.height(), std::max(menu + 2 + c.picture_height + 2, w.Frame_Controls->geometry().bottom() + 1));
        }
        EXPECT_FALSE(w.Skip_Next_Resize);
    }
}

TEST_F(Review_window, First_show_makes_the_window_as_tall_as_the_screen_and_docks_the_results) {
    Frm_kanot_2& w = Window();
    const int menu = w.Menu_bar->sizeHint().height();
    Display_Width = 440;
    Display_Height = 1080;
    ASSERT_EQ(Screen_Scale_Height, 0);
    w.Show();
    QApplication::processEvents();
    EXPECT_TRUE(Review_Activated);
    EXPECT_EQ(w.frameGeometry().height(), w.screen()->availableGeometry().height());
    EXPECT_EQ(Screen_Scale_Height, w.height() - menu);
    EXPECT_FLOAT_EQ(w.View_Scale, static_cast<float>(w.height() - menu - 4) / 1080);
    EXPECT_EQ(w.Picture_large->height(), w.height() - menu - 4);
    EXPECT_TRUE(Frm_results::Instance().Visible());
    EXPECT_EQ(Frm_results::Instance().Top(), w.Top());
}

TEST_F(Review_window, Resize_scales_the_picture_to_the_inner_height) {
    Frm_kanot_2& w = Window();
    const int menu = w.Menu_bar->sizeHint().height();
    Display_Width = 400;
    Display_Height = 800;
    w.X_Stretch = 2;
    w.resize(w.width(), menu + 4 + 600);
    w.Do_Resize();
    EXPECT_FLOAT_EQ(w.View_Scale, 0.75f);
    EXPECT_EQ(w.Picture_large->height(), 600);
    EXPECT_EQ(w.Picture_large->width(), 600);
    // A press converted with the stretch hits the mark drawn there.
    Lane_Collection.assign(1, Cls_lane{});
    Lane_Collection[0].Lane_pos_X(100);
    Lane_Collection[0].Lane_pos_Y(200);
    Review_geometry::Point p = w.Video_Point(150 + 8, 150);
    Check_within_lanes(p.X, p.Y);
    EXPECT_EQ(Current_Lane_Index, 1);
    EXPECT_EQ(Current_Lane, 0);
}

TEST_F(Review_window, Results_window_docks_at_the_right_edge_and_hides_when_minimised) {
    Frm_kanot_2& w = Window();
    Frame_Border_X = 4;
    w.Show();
    w.Move(1500, 1200);
    w.Do_Resize();
    Frm_results& r = Frm_results::Instance();
    EXPECT_TRUE(r.Visible());
    EXPECT_EQ(r.Top(), w.Top());
    EXPECT_EQ(r.Left(), w.Left() + w.Width() + 2 * 4 * ui::Twips_Per_Pixel_X());

    Taskbar_Hidden = true;
    w.setWindowState(Qt::WindowMinimized);
    w.Do_Resize();
    EXPECT_FALSE(r.Visible());
    w.setWindowState(Qt::WindowNoState);
    w.Do_Resize();
    EXPECT_TRUE(r.Visible());

    w.item_dock_results.Click();  // undocked: shown where it is
    r.Move(0, 0);
    w.Do_Resize();
    EXPECT_EQ(r.Left(), 0);
    EXPECT_EQ(Non_dependant::Read_Ini("settings", "resultsdocked", ini, ""), "False");
    w.Hide();
    w.Do_Resize();
    EXPECT_FALSE(r.Visible());
}

TEST_F(Review_window, Wheel_steps_one_field_while_the_slider_has_the_focus) {
    Frm_kanot_2& w = Window();
    w.Show();
    QApplication::setActiveWindow(&w);
    Test_dialogs::Instance().Answer(ui::vbOK);
    w.item_handle_mousewheel.Click();
    EXPECT_EQ(Prompts().back(), "Mousewheel events now handled by Vantorel!");
    EXPECT_TRUE(Module1::Is_Hooked(&w));
    w.Slider_play->setRange(1, 10);
    w.Slider_play->setValue(5);
    w.Slider_play->setFocus();
    ASSERT_EQ(w.focusWidget(), w.Slider_play);
    auto turn = [&](QWidget* over, int delta) {
        QWheelEvent e(QPointF(5, 5), QPointF(1700, 900), QPoint(), QPoint(0, delta), Qt::NoButton, Qt::NoModifier,
                      Qt::NoScrollPhase, false);
        QApplication::sendEvent(over, &e);
    };
    struct Step {
        int delta, value;
    } steps[] = {{-120, 6}, {-360, 7}, {120, 6}, {0, 6}, {-120, 7}, {-120, 8}, {-120, 9}, {-120, 10}, {-120, 10}};
    for (const Step& s : steps) {
        turn(w.Slider_play, s.delta);
        EXPECT_EQ(w.Slider_play->value(), s.value) << s.delta;
    }
    turn(w.Picture_large, 120);  // over the picture: the slider has the focus all the same
    EXPECT_EQ(w.Slider_play->value(), 9);
    w.Cmd_play->setFocus();
    turn(w.Picture_large, 120);
    EXPECT_EQ(w.Slider_play->value(), 9);

    Test_dialogs::Instance().Answer(ui::vbOK);
    w.item_handle_mousewheel.Click();
    EXPECT_EQ(Prompts().back(), "Mousewheel events now handled by Windows!");
    EXPECT_FALSE(Module1::Is_Hooked(&w));
}

TEST_F(Review_window, Dropped_files_open_the_first_only_and_text_nothing) {
    Frm_kanot_2& w = Window();
    w.Form_OLEDragDrop({});  // a drop of text carries no file
    EXPECT_TRUE(Prompts().empty());
    Test_dialogs::Instance().Answer(ui::vbOK);
    w.Form_OLEDragDrop({"/tmp/a.kd3", "/tmp/b.kd3"});
    ASSERT_EQ(Prompts().size(), 1u);  // one file opened, which is not there
    EXPECT_EQ(Prompts()[0], "File does not exist!\r\n/tmp/a.kd3");
}

TEST_F(Review_window, Command_line_file_in_quotes_is_opened_a_missing_one_is_not) {
    Frm_kanot_2& w = Window();
    const std::string heat = Test_folder() + "/heat 1.kd3";
    std::ofstream(heat) << "x";
    w.Command_Line = "\"" + Test_folder() + "/heat 1.kd3\"";
    Test_dialogs::Instance().Answer(ui::vbOK);
    w.Start_Association();
    EXPECT_EQ(Prompts().size(), 1u);
    w.Command_Line = heat;  // without quotes it loses its first and last character
    w.Start_Association();
    w.Command_Line = "\"";
    w.Start_Association();
    EXPECT_EQ(Prompts().size(), 1u);
}

TEST_F(Review_window, Unload_stops_the_timer_and_stores_the_position) {
    Frm_kanot_2& w = Window();
    w.Show();
    w.Move(1500, 1200);
    const int32_t width = w.Width(), height = w.Height();
    Test_dialogs::Instance().Answer(ui::vbOK);
    w.item_handle_mousewheel.Click();
    w.Unload();
    EXPECT_FALSE(w.Timer_keyb_event.Enabled());
    EXPECT_FALSE(Module1::Is_Hooked(&w));
    const std::string stored = Non_dependant::Read_Ini("windowpos", "Frm_kanot_2", ini, "");
    EXPECT_EQ(stored, "1500,1200," + std::to_string(width) + "," + std::to_string(height));
}

TEST_F(Review_window, Lane_line_length_takes_only_a_length) {
    Frm_kanot_2& w = Window();
    Lane_Line_Length = 200;
    struct Case {
        const char* answer;
        int16_t length;
        size_t messages;
    } cases[] = {{"", 200, 1}, {"abc", 200, 3}, {"40000", 200, 5}, {"150", 150, 6}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.answer);
        Test_dialogs::Instance().Answer_Input(c.answer);
        if (c.length == 200 && *c.answer) Test_dialogs::Instance().Answer(ui::vbOK);
        w.item_lane_line_length_Click();
        EXPECT_EQ(Lane_Line_Length, c.length);
        EXPECT_EQ(Test_dialogs::Instance().Shown_Dialogs().size(), c.messages);
    }
    EXPECT_EQ(Test_dialogs::Instance().Shown_Dialogs()[0].prompt, "Please give desired Lane line length!");
    EXPECT_EQ(Non_dependant::Read_Ini("setting", "Lanelinelength", ini, ""), "150");
}

TEST_F(Review_window, Draw_Graphics_shows_the_goal_line_and_no_marks_without_a_file) {
    Frm_kanot_2& w = Window();
    Display_Width = 200;
    Display_Height = 200;
    Screen_Scale_Height = 700;
    w.Set_Picture_Size();
    w.Create_obj_Graphics();
    w.Picture_large->BackColor(0x705020);
    w.Picture_large->Cls();
    Run_Mode = 10;
    Draw_Goalline = Draw_Lanemarks = true;
    Draw_Lane_Count = 2;
    File_Goalline = {100, 10, 100, 190};
    w.Draw_Graphics(true, false);
    EXPECT_EQ(static_cast<int32_t>(gdi::GetPixel(w.Picture_large->hDC(), 100, 100)), 0xFFFFFF);
    EXPECT_EQ(static_cast<int32_t>(gdi::GetPixel(w.Picture_large->hDC(), 100, 20 + 4)), 0xFFFFFF);
    // The set-up course's marks at (100, 200) and (150, 200) are not drawn over the picture.
    EXPECT_EQ(static_cast<int32_t>(gdi::GetPixel(w.Picture_large->hDC(), 92, 195)), 0x705020);
    EXPECT_EQ(static_cast<int32_t>(gdi::GetPixel(w.Picture_large->hDC(), 142, 195)), 0x705020);
    EXPECT_EQ(static_cast<int32_t>(gdi::GetPixel(w.Picture_large->hDC(), 30, 30)), 0x705020);
}

TEST_F(Review_window, Course_drawn_over_a_synthetic_field) {
    Frm_kanot_2& w = Window();
    Display_Width = 400;
    Display_Height = 600;
    w.X_Stretch = 1.5f;
    Screen_Scale_Height = 700;
    w.Set_Picture_Size();
    w.Create_obj_Graphics();
    ASSERT_EQ(Overlay_DIB().Width(), 400);

    // The field: water, with a boat, and the course of a header as an opened file gives it.
    ui::Picture_box& field = *w.Picture_large;
    field.BackColor(0x705020);  // dark blue water
    field.Cls();
    modAPIDraw::Draw_Rectangle_With_Pen_Brush(field.hDC(), {465, 300}, {560, 315}, 0x2040C0, 8, 0, 0, 1, 0x2040C0);
    Cls_XML_header h;
    h.Vantorel(true);
    h.Create_Header();
    h.Num_Lanes(4);
    h.Start_lane(1);
    for (int16_t i = 1; i <= 4; ++i) h.Lane_pos(i, 40, 80 + 120 * i);
    h.Set_Goalline(300, 20, 300, 580);
    Header_course course(h);
    w.Load_Lanes_from_File(course);
    Load_File_Goalline(course);
    Lane_Collection[1].time(61230);
    Lane_Line_Length = 200;
    Run_Mode = 10;
    Draw_Goalline = Draw_Lanemarks = true;
    Draw_Lane_Count = 4;
    Clear_Graphics();
    Draw_Goal_line();
    Draw_lanes(false);
    w.Blit_Graphics();

    auto at = [&](float video_x, float video_y) {
        auto p = Review_geometry::Video_To_Window({video_x, video_y}, w.View_Scale, w.X_Stretch);
        return static_cast<int32_t>(gdi::GetPixel(field.hDC(), static_cast<int32_t>(p.X), static_cast<int32_t>(p.Y)));
    };
    EXPECT_EQ(at(300.5f, 450), 0xFFFFFF);  // goal line
    EXPECT_EQ(at(33, 200), 0xC8C8C8);      // lane 1's circle, no result
    EXPECT_EQ(at(33, 320), 0xFFFFFF);      // lane 2's circle, a result
    EXPECT_EQ(at(200, 100), 0x705020);     // the water through the transparent colour
    EXPECT_EQ(at(340, 307), 0x2040C0);     // the boat right of the line

    w.Show();
    field.Refresh();
    QApplication::processEvents();
    const std::string png = Test_folder() + "/review.png";
    EXPECT_TRUE(w.grab().save(QString::fromStdString(png)));
    if (const char* copy = std::getenv("VANTOREL_SCREENSHOT")) w.grab().save(copy);
}

}  // namespace
