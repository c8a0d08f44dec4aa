// The live preview's course set-up: marks and goal-line ends dragged at video points with their edge,
// lock and button rules, the ini strings written by saving, the lane count kept in range, and the
// console's timing correction.
#include "Test_dialogs.h"
#include "capture/Form_capture_multi_file.h"
#include "capture/Frm_fullscreen.h"
#include "review/Module_Vantorel_course.h"
#include "review/Module_Vantorel_overlay.h"
#include "shell/Module_Vantorel.h"
#include "shell/Non_dependant.h"
#include "shell/Program_commands.h"

#include <QCoreApplication>
#include <QAction>
#include <QEvent>
#include <QMenu>
#include <QSpinBox>

#include <fstream>
#include <string>
#include <vector>
#include <gtest/gtest.h>

using namespace Module_Vantorel;

namespace {

class Live_preview : public testing::Test {
protected:
    void SetUp() override {
        AppData_Folder = Test_folder();
        Ini_file_path = Test_folder() + "/Vantorel_HDMI.ini";
        Write_Ini_Text("[Canoe]\nLane_num=6\nGoalline=200,020,200,220\n");
        Display_Width = 400;
        Display_Height = 240;
        Screen_Scale_Height = 1000;
        Run_Mode = 1;
        Draw_Lanemarks = true;
        Program_commands::Commands commands;
        commands.Review_Lanes_Locked = [this] { return locked_; };
        Program_commands::Install(commands);
        Test_dialogs::Instance().Reset();
    }
    void TearDown() override {
        ui::Destroy_All_Forms();
        Program_commands::Install({});
        Test_dialogs::Instance().Expect_All_Answers_Used();
    }
    static void Write_Ini_Text(const std::string& text) { std::ofstream(Ini_file_path) << text; }
    static std::string Canoe(const char* key) { return Non_dependant::Read_Ini("Canoe", key, Ini_file_path, "<none>"); }
    static void Drag(Frm_fullscreen& p, int16_t button, float x0, float y0, float x1, float y1) {
        p.Picture_MouseDown(button, x0, y0);
        p.Picture_MouseMove(button, x1, y1);
        p.Picture_MouseUp();
    }
    bool locked_ = false;
};

TEST_F(Live_preview, LaneMarksDragByTheGrabbedPointAndStopBeforeTheEdges) {
    Frm_fullscreen& p = Frm_fullscreen::Instance();
    ASSERT_EQ(Lane_Collection.size(), 16u);
    Lane_Collection[0].Lane_pos_X(100);
    Lane_Collection[0].Lane_pos_Y(100);
    Lane_Collection[1].Lane_pos_X(105);  // overlaps the first mark
    Lane_Collection[1].Lane_pos_Y(105);
    struct Case {
        const char* name;
        float to_x, to_y;
        int32_t x, y;
    };
    const Case cases[] = {
        {"moved by the pointer's offset", 150, 80, 148, 78},
        {"left edge: x 0 is refused", -50, 80, 148, 78},
        {"last pixel before the right edge", 401.4F, 60, 399, 58},
        {"right edge: x = width is refused", 402, 60, 399, 58},
        {"bottom edge refused", 401, 400, 399, 58},
    };
    // The grab at (102, 102) is 2 pixels off the first mark's centre; it wins over the second mark.
    float from_x = 102, from_y = 102;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        p.Picture_MouseDown(1, from_x, from_y);
        p.Picture_MouseMove(1, c.to_x, c.to_y);
        p.Picture_MouseUp();
        EXPECT_EQ(Lane_Collection[0].X(), c.x);
        EXPECT_EQ(Lane_Collection[0].Y(), c.y);
        EXPECT_EQ(Lane_Collection[1].X(), 105);
        from_x = static_cast<float>(Lane_Collection[0].X() + 2);
        from_y = static_cast<float>(Lane_Collection[0].Y() + 2);
    }
    EXPECT_TRUE(p.Course_Moved());
}

TEST_F(Live_preview, LockedHiddenAndRightButtonRules) {
    Frm_fullscreen& p = Frm_fullscreen::Instance();
    Lane_Collection[0].Lane_pos_X(60);
    Lane_Collection[0].Lane_pos_Y(60);
    Lane_Collection[15].Lane_pos_X(300);  // beyond the lane count: not drawn but still dragged
    Lane_Collection[15].Lane_pos_Y(150);

    locked_ = true;
    Drag(p, 1, 60, 60, 80, 90);
    EXPECT_EQ(Lane_Collection[0].X(), 60) << "locked lanes do not move";
    locked_ = false;

    Drag(p, 2, 60, 60, 80, 90);
    EXPECT_EQ(Lane_Collection[0].X(), 60) << "the right button moves no mark";
    EXPECT_TRUE(p.Course_Moved()) << "but counts as a move";

    Show_Lanes = false;
    Drag(p, 1, 300, 150, 310, 160);
    EXPECT_EQ(Lane_Collection[15].X(), 310);
    EXPECT_EQ(Lane_Collection[15].Y(), 160);

    // Goal line: any button drags an end; hidden or outside run mode 1 it stays.
    Drag(p, 2, 201, 21, 250, 30);
    EXPECT_EQ(Setup_Goalline.x1, 249);
    EXPECT_EQ(Setup_Goalline.y1, 29);
    EXPECT_EQ(Press_Goalline.x1, 200) << "the line as it stood at the press";
    EXPECT_EQ(Press_Goalline.y1, 20);
    Drag(p, 1, 200, 220, 200, 300);
    EXPECT_EQ(Setup_Goalline.y2, 220) << "an end beyond the bottom edge is refused";
    Drag(p, 1, 200, 220, 190, 200);
    EXPECT_EQ(Setup_Goalline.x2, 190);
    EXPECT_EQ(Setup_Goalline.y2, 200);
    Show_Goalline = false;
    Drag(p, 1, 190, 200, 100, 100);
    EXPECT_EQ(Setup_Goalline.x2, 190);
    Show_Goalline = true;
    Run_Mode = 0;
    Drag(p, 1, 190, 200, 100, 100);
    EXPECT_EQ(Setup_Goalline.x2, 190);
}

TEST_F(Live_preview, SavingWritesTheIniStrings) {
    Frm_fullscreen& p = Frm_fullscreen::Instance();
    Setup_Goalline = {5, 100, 1056, 100};
    p.Reset_lane_Positions();
    p.Save_All();
    EXPECT_EQ(Canoe("Goalline"), "005,100,1056,100");
    const std::string lanes = Canoe("Lanes");
    ASSERT_EQ(lanes.size(), 128u);
    EXPECT_EQ(lanes.substr(0, 16), "0030003000500050");
    EXPECT_EQ(lanes.substr(120), "03300330");
    EXPECT_EQ(Canoe("ShowLanes"), "True");
    EXPECT_EQ(Canoe("FlipLanes"), "False");
    EXPECT_FALSE(p.Course_Moved());

    p.Option_first_lane_Click(true);
    EXPECT_EQ(Canoe("Lane_Zero"), "True");
    EXPECT_EQ(Lane_Collection[0].Lane_number(), 0);
    EXPECT_EQ(Lane_Collection[15].Lane_number(), 15);
    p.Option_first_lane_Click(false);
    EXPECT_EQ(Lane_Collection[15].Lane_number(), 16);

    p.UpDown_Lanes->setValue(16);
    EXPECT_EQ(Lane_Count, 16);
    EXPECT_EQ(Canoe("Lane_num"), "16");
}

TEST_F(Live_preview, OutOfRangeLaneCountIsKeptInRangeWithoutRewritingTheIni) {
    struct Case {
        const char* stored;
        int16_t shown;
    };
    for (const Case& c : {Case{"16", 16}, Case{"1", 2}, Case{"40", 16}, Case{"7", 7}}) {
        SCOPED_TRACE(c.stored);
        std::string lanes;
        for (int i = 0; i < 16; ++i) lanes += "00300030";
        Write_Ini_Text(std::string("[Canoe]\nLanes=") + lanes + "\nLane_num=" + c.stored + "\n");
        Frm_fullscreen& p = Frm_fullscreen::Instance();
        EXPECT_EQ(Lane_Count, c.shown);
        EXPECT_EQ(p.UpDown_Lanes->value(), c.shown);
        EXPECT_EQ(Canoe("Lane_num"), c.stored);
        ui::Destroy_All_Forms();
    }
}

TEST_F(Live_preview, UnsavedEditsSurviveActivationAndAreOfferedAtClose) {
    Frm_fullscreen& p = Frm_fullscreen::Instance();
    p.Show();
    Lane_Collection[0].Lane_pos_X(60);
    Lane_Collection[0].Lane_pos_Y(60);
    Drag(p, 1, 60, 60, 70, 70);
    QEvent activate(QEvent::WindowActivate);
    QCoreApplication::sendEvent(&p, &activate);
    ASSERT_TRUE(p.Course_Moved());
    Test_dialogs::Instance().Answer(ui::vbOK);
    p.Command_close_Click();
    EXPECT_EQ(Test_dialogs::Instance().Shown_Prompts(),
              std::vector<std::string>{"Lanes or goal line has been moved. Save your changes?"});
    EXPECT_EQ(Canoe("Lanes").substr(0, 8), "00700070");
    EXPECT_EQ(Run_Mode, 0);
}

TEST_F(Live_preview, TimingCorrectionCancelKeepsItAndANumberIsStored) {
    Timing_Correction = 40;
    Write_Ini_Text("[Canoe]\nsave_folder1=" + Test_folder() + "\nevent_name=Cup\n");
    Form_capture_multi_file& console = Form_capture_multi_file::Instance();
    Test_dialogs::Instance().Cancel_Input();
    console.item_timing_correction_Click();
    EXPECT_EQ(Timing_Correction, 40);
    EXPECT_EQ(Non_dependant::Read_Ini("Settings", "timingcorrection", Ini_file_path, "<none>"), "<none>");
    Test_dialogs::Instance().Answer_Input("-15");
    console.item_timing_correction_Click();
    EXPECT_EQ(Timing_Correction, -15);
    EXPECT_EQ(Non_dependant::Read_Ini("Settings", "timingcorrection", Ini_file_path, "<none>"), "-15");
}

TEST_F(Live_preview, ViewLastFinishedStopsTheCaptureBeforeTheReviewOpensTheHeat) {
    Write_Ini_Text("[Canoe]\nsave_folder1=" + Test_folder() + "\nevent_name=Cup\n");
    std::vector<std::string> calls;
    Program_commands::Commands commands;
    commands.Stop_All_Captures = [&] { calls.push_back("stop"); };
    commands.Open_In_Review = [&](const std::string& path) { calls.push_back("open " + path); };
    Program_commands::Install(commands);
    Form_capture_multi_file& console = Form_capture_multi_file::Instance();
    console.Show();
    Last_Captured_File = "/races/CupHeat1.kd3";
    console.View_Last_Finished();
    EXPECT_EQ(calls, (std::vector<std::string>{"stop", "open /races/CupHeat1.kd3"}));
    EXPECT_FALSE(console.Visible());
    Last_Captured_File.clear();
}

TEST_F(Live_preview, TheHiddenGiveEventNameItemAsksTheReviewWindow) {
    int asked = 0;
    Program_commands::Commands commands;
    commands.Enter_Event_name = [&] { ++asked; };
    Program_commands::Install(commands);
    Frm_fullscreen& p = Frm_fullscreen::Instance();
    QAction* item = nullptr;
    for (QAction* a : p.findChildren<QAction*>())
        if (a->text() == "Give event name") item = a;
    ASSERT_NE(item, nullptr);
    QMenu* settings = qobject_cast<QMenu*>(item->parent());
    ASSERT_NE(settings, nullptr);
    EXPECT_FALSE(settings->menuAction()->isVisible());
    item->trigger();
    EXPECT_EQ(asked, 1);
}

}  // namespace

// "Save options" keeps the lane count the preview shows, also one the stored value was out of range for.
TEST_F(Live_preview, SaveOptionsKeepsTheLaneCountShown) {
    std::string lanes;
    for (int i = 0; i < 16; ++i) lanes += "00300030";
    Write_Ini_Text("[Canoe]\nLanes=" + lanes + "\nLane_num=40\n");
    Frm_fullscreen& p = Frm_fullscreen::Instance();
    ASSERT_EQ(p.UpDown_Lanes->value(), 16);
    p.Save_All();
    EXPECT_EQ(Canoe("Lane_num"), "16");
}

// A goal line stored for another crop, or none, starts inside the picture with both handles in reach.
TEST_F(Live_preview, TheGoalLineStartsInsideThePicture) {
    for (const char* stored : {"", "Goalline=100,100,505,100\n", "Goalline=200,020,200,220\n"}) {
        SCOPED_TRACE(stored);
        Write_Ini_Text(std::string("[Canoe]\n") + stored);
        Setup_Goalline = {};
        Frm_fullscreen::Instance();
        for (int32_t x : {Setup_Goalline.x1, Setup_Goalline.x2}) EXPECT_TRUE(x >= 6 && x < Display_Width - 12) << x;
        for (int32_t y : {Setup_Goalline.y1, Setup_Goalline.y2}) EXPECT_TRUE(y >= 6 && y < Display_Height - 12) << y;
        EXPECT_NE(Setup_Goalline.y1, Setup_Goalline.y2);
        if (std::string(stored).find("200,020") != std::string::npos) {
            EXPECT_EQ(Setup_Goalline.y1, 20);  // inside: kept
        }
        ui::Destroy_All_Forms();
    }
}

// The resets of the course are asked under a title that says what they are about, never "Exit".
TEST_F(Live_preview, TheResetsAreAskedUnderTheSettingsTitle) {
    Frm_fullscreen& p = Frm_fullscreen::Instance();
    for (const char* item : {"Reset lane positions", "Reset Goal line"}) {
        SCOPED_TRACE(item);
        Test_dialogs::Instance().Reset();
        Test_dialogs::Instance().Answer(ui::vbCancel);
        for (QAction* action : p.menu_form->actions())
            if (action->text() == item) action->trigger();
        ASSERT_EQ(Test_dialogs::Instance().Shown_Dialogs().size(), 1u);
        EXPECT_EQ(Test_dialogs::Instance().Shown_Dialogs()[0].title, "Vantorel Settings");
    }
}
