#include "Test_dialogs.h"
#include "Test_errors.h"
#include "header/Cls_XML_header.h"
#include "Header_course.h"
#include "review/Module_Vantorel_course.h"
#include "shell/Module_Vantorel.h"

#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <sstream>

namespace {

using namespace Module_Vantorel;

struct Mark {
    int16_t number;
    int32_t x, y;
};

class Course : public testing::Test {
protected:
    void SetUp() override {
        AppData_Folder = Test_folder() + "/data/vantorel";
        std::filesystem::create_directories(AppData_Folder);
        Ini_file_path = AppData_Folder + "/Vantorel_HDMI.ini";
        Is_Compiled = true;
        Lane_Collection.clear();
        Lane_Count = 7;
        Setup_Goalline = {100, 100, 505, 100};
    }
    void Ini(const std::string& canoe_lines) { std::ofstream(Ini_file_path) << "[Canoe]\r\n" << canoe_lines; }
    static std::vector<Mark> Marks() {
        std::vector<Mark> marks;
        for (const Cls_lane& l : Lane_Collection) marks.push_back({l.Lane_number(), l.X(), l.Y()});
        return marks;
    }
    static void Expect_Defaults() {
        auto marks = Marks();
        ASSERT_EQ(marks.size(), 16u);
        for (int16_t i = 0; i < 16; ++i) {
            EXPECT_EQ(marks[i].number, i);
            EXPECT_EQ(marks[i].x, 15 * i);
            EXPECT_EQ(marks[i].y, 20 * i);
        }
    }
    std::string Event_Log() {
        std::ifstream in(AppData_Folder + "/Vantorel_eventlog.txt");
        std::stringstream text;
        text << in.rdbuf();
        return text.str();
    }
};

TEST_F(Course, Lanes_from_the_ini_file) {
    Ini("Lanes=0120030001500350\r\nLane_num=6\r\n");
    Load_Lanes();
    auto marks = Marks();
    ASSERT_EQ(marks.size(), 16u);
    EXPECT_EQ(marks[0].x, 120);
    EXPECT_EQ(marks[0].y, 300);
    EXPECT_EQ(marks[1].x, 150);
    EXPECT_EQ(marks[1].y, 350);
    for (int16_t i = 2; i < 16; ++i) {
        EXPECT_EQ(marks[i].number, i);
        EXPECT_EQ(marks[i].x, 20);
        EXPECT_EQ(marks[i].y, 30);
    }
    EXPECT_EQ(Lane_Count, 6);
    EXPECT_NE(Event_Log().find("Load_Lanes_from_ini: 0120030001500350"), std::string::npos);
}

TEST_F(Course, Missing_or_broken_lanes_give_the_default_course_and_keep_the_count) {
    for (const char* lines : {"", "Lanes=01200300015x0350\r\nLane_num=6\r\n", "Lanes=01200300abcd\r\nLane_num=6\r\n"}) {
        SCOPED_TRACE(lines);
        Lane_Count = 7;
        Ini(lines);
        Load_Lanes();
        Expect_Defaults();
        EXPECT_EQ(Lane_Count, 7);
    }
    EXPECT_TRUE(Test_dialogs::Instance().Shown_Dialogs().empty());
}

TEST_F(Course, Goal_line_from_the_ini_file_only_when_it_is_four_numbers) {
    struct Case {
        const char* text;
        Goal_line expected;
    } cases[] = {
        {"320,40,320,560", {320, 40, 320, 560}},
        {"320,40,320", {100, 100, 505, 100}},
        {"320,40,x,560", {100, 100, 505, 100}},
        {"", {100, 100, 505, 100}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        Setup_Goalline = {100, 100, 505, 100};
        Ini(std::string("Goalline=") + c.text + "\r\n");
        Load_Goalline();
        EXPECT_EQ(Setup_Goalline.x1, c.expected.x1);
        EXPECT_EQ(Setup_Goalline.y1, c.expected.y1);
        EXPECT_EQ(Setup_Goalline.x2, c.expected.x2);
        EXPECT_EQ(Setup_Goalline.y2, c.expected.y2);
    }
}

TEST_F(Course, Options_read_only_exact_True) {
    Ini("ShowLanes=False\r\nLane_Zero=true\r\n");
    Load_options();
    EXPECT_FALSE(Show_Lanes);
    EXPECT_FALSE(Flip_Lanes);
    EXPECT_TRUE(Show_Goalline);
    EXPECT_TRUE(Rotate_Preview);
    EXPECT_FALSE(Lane_Zero);
    EXPECT_FALSE(Loading_Options);
    EXPECT_NE(Event_Log().find("Load_Options_from_ini FalseFalseTrueTrueFalse"), std::string::npos);
}

TEST_F(Course, Mark_hit_test_is_strict_at_twelve_and_a_half_pixels) {
    Cls_lane lane;
    lane.Lane_pos_X(100);
    lane.Lane_pos_Y(200);
    struct Case {
        float x, y;
        bool within;
    } cases[] = {{112.4f, 200, true}, {112.5f, 200, false}, {87.6f, 187.6f, true},
                 {87.5f, 200, false}, {100, 212.5f, false}, {100, 187.6f, true}};
    for (const Case& c : cases) EXPECT_EQ(lane.Within(c.x, c.y), c.within) << c.x << "," << c.y;
}

TEST_F(Course, First_mark_in_order_wins_and_a_miss_keeps_the_index) {
    Ini("Lanes=0100020001050205\r\nLane_num=2\r\n");
    Load_Lanes();
    Check_within_lanes(103, 203);
    EXPECT_EQ(Current_Lane, 0);
    EXPECT_EQ(Current_Lane_Index, 1);
    Check_within_lanes(116, 210);
    EXPECT_EQ(Current_Lane, 1);
    EXPECT_EQ(Current_Lane_Index, 2);
    Check_within_lanes(500, 500);
    EXPECT_EQ(Current_Lane, -1);
    EXPECT_EQ(Current_Lane_Index, 2);
}

TEST_F(Course, Goal_line_handles_reach_six_before_and_twelve_after_an_end) {
    Setup_Goalline = {300, 100, 300, 400};
    struct Case {
        float x, y;
        int16_t handle;
    } cases[] = {{294, 100, 0},      {294.5f, 100, 1}, {311.9f, 111.9f, 1}, {312, 100, 0},
                 {300, 394.5f, 2},   {311, 411, 2},    {300, 412, 0},       {300, 250, 0}};
    for (const Case& c : cases) {
        Check_Within_Selection_Boxes(c.x, c.y);
        EXPECT_EQ(Selected_Goal_Handle, c.handle) << c.x << "," << c.y;
    }
}

// A header as the capture console writes it: marks at positions 1 to the lane count.
void Write_Course(Cls_XML_header& h, int16_t lanes, int16_t start) {
    Vantorel_Mode = true;
    h.Vantorel(true);
    h.Create_Header();
    h.Num_Lanes(lanes);
    h.Start_lane(start);
    for (int16_t i = 1; i <= lanes; ++i) h.Lane_pos(i, 50 * i, 300 + i);
    h.Set_Goalline(320, 40, 330, 560);
}

TEST_F(Course, Lanes_and_goal_line_from_a_header) {
    struct Case {
        int16_t lanes, start;
    } cases[] = {{4, 0}, {4, 1}, {16, 1}, {0, 1}};
    for (const Case& c : cases) {
        SCOPED_TRACE(std::to_string(c.lanes) + " from " + std::to_string(c.start));
        Cls_XML_header h;
        Write_Course(h, c.lanes, c.start);
        Header_course course(h);
        Load_Lanes_From_Header(course);
        auto marks = Marks();
        ASSERT_EQ(marks.size(), static_cast<size_t>(c.lanes));
        for (int16_t i = 1; i <= c.lanes; ++i) {
            EXPECT_EQ(marks[i - 1].number, c.start + i - 1);
            EXPECT_EQ(marks[i - 1].x, 50 * i);
            EXPECT_EQ(marks[i - 1].y, 300 + i);
        }
        Load_File_Goalline(course);
        EXPECT_EQ(File_Goalline.x1, 320);
        EXPECT_EQ(File_Goalline.y2, 560);
    }
    // Hit tests on the marks the header gave.
    Cls_XML_header h;
    Write_Course(h, 4, 1);
    Header_course course(h);
    Load_Lanes_From_Header(course);
    Check_within_lanes(150, 303);
    EXPECT_EQ(Current_Lane, 3);
    EXPECT_EQ(Current_Lane_Index, 3);
}

TEST_F(Course, A_header_goal_line_at_zero_is_none) {
    Cls_XML_header h;
    Write_Course(h, 2, 1);
    h.Set_Goalline(0, 40, 330, 560);
    Header_course course(h);
    File_Goalline = {1, 2, 3, 4};
    Load_File_Goalline(course);
    EXPECT_EQ(File_Goalline.x1, 0);
    EXPECT_EQ(File_Goalline.y1, 0);
    EXPECT_EQ(File_Goalline.x2, 0);
    EXPECT_EQ(File_Goalline.y2, 0);
}

TEST_F(Course, A_failing_header_leaves_the_course_as_it_was) {
    Ini("");
    Load_Lanes();
    Cls_XML_header h;
    Write_Course(h, 16, 1);
    h.Num_Lanes(17);  // the header has no mark 17
    Header_course course(h);
    EXPECT_NE(Error_Of([&] { Load_Lanes_From_Header(course); }), 0);
    Expect_Defaults();
}

}  // namespace
