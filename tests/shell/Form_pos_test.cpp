#include "Test_dialogs.h"
#include "platform/vb/VbError.h"
#include "platform/ui/Screen.h"
#include "shell/Module_Vantorel.h"
#include "shell/Module_dependant.h"
#include "shell/Non_dependant.h"

#include <gtest/gtest.h>

namespace {

using Module_dependant::Get_Form_Pos;
using Module_dependant::Store_Form_Pos;

class Form_pos : public testing::Test {
protected:
    void SetUp() override {
        Module_Vantorel::Ini_file_path = Test_folder() + "/Vantorel_HDMI.ini";
        Module_Vantorel::Monitor_Count = 1;
    }
    void TearDown() override { Module_Vantorel::Is_Compiled = false; }
    void Stored(const std::string& value) {
        Non_dependant::Write_Ini("windowpos", "Frm_test", value, Module_Vantorel::Ini_file_path);
    }
};

TEST_F(Form_pos, Reads_back_what_was_stored_with_off_screen_positions_at_0) {
    const int32_t wide = ui::Screen_Width_Twips(), high = ui::Screen_Height_Twips();
    struct Row { std::string stored; int32_t left, top, width, height; } rows[] = {
        {"", 0, 0, 111, 222},                        // never stored: size unchanged
        {"100,200", 100, 200, 111, 222},
        {"-200,300,8000,6000", 0, 300, 8000, 6000},
        {"-150,-150,1,2", -150, -150, 1, 2},
        {std::to_string(wide + 1) + "," + std::to_string(high + 1), 0, 0, 111, 222},
        {std::to_string(wide) + ",10", wide, 10, 111, 222},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.stored);
        if (r.stored.empty()) Non_dependant::Delete_Ini_Key("windowpos", "Frm_test", Module_Vantorel::Ini_file_path);
        else Stored(r.stored);
        int32_t left = -1, top = -1, width = 111, height = 222;
        Get_Form_Pos("Frm_test", left, top, width, height);
        EXPECT_EQ(left, r.left);
        EXPECT_EQ(top, r.top);
        EXPECT_EQ(width, r.width);
        EXPECT_EQ(height, r.height);
    }
}

TEST_F(Form_pos, A_window_on_a_second_monitor_beyond_16_bits_is_no_error) {
    Module_Vantorel::Monitor_Count = 2;
    Module_Vantorel::Is_Compiled = true;
    Store_Form_Pos("Frm_test", 40000, -32000, 9000, 7000);
    EXPECT_EQ(Non_dependant::Read_Ini("windowpos", "frm_test", Module_Vantorel::Ini_file_path, ""), "40000,-32000,9000,7000");
    int32_t left = 0, top = 0, width = 0, height = 0;
    Get_Form_Pos("Frm_test", left, top, width, height);
    EXPECT_EQ(top, 0);
    EXPECT_EQ(width, 9000);
    EXPECT_TRUE(left == 40000 || (left == 0 && ui::Screen_Width_Twips() < 40000));
    EXPECT_TRUE(Test_dialogs::Instance().Shown_Dialogs().empty());
}

TEST_F(Form_pos, With_one_monitor_a_minimised_window_keeps_the_last_good_position) {
    Store_Form_Pos("Frm_test", 100, 200, 300, 400);
    Store_Form_Pos("Frm_test", -32000, -32000, 300, 400);
    EXPECT_EQ(Non_dependant::Read_Ini("windowpos", "Frm_test", Module_Vantorel::Ini_file_path, ""), "100,200,300,400");
    Module_Vantorel::Monitor_Count = 2;
    Store_Form_Pos("Frm_test", -32000, 5, 300, 400);
    EXPECT_EQ(Non_dependant::Read_Ini("windowpos", "Frm_test", Module_Vantorel::Ini_file_path, ""), "-32000,5,300,400");
}

TEST_F(Form_pos, A_damaged_entry_reports_in_the_built_program_and_keeps_what_was_read) {
    struct Row { const char* stored; int32_t left, top; } rows[] = {
        {"7", -1, -1},           // a single element
        {"5,abc", 5, -1},        // not a number
        {"1,99999999999", 1, -1},  // beyond 32 bits
    };
    Module_Vantorel::Is_Compiled = true;
    for (const Row& r : rows) {
        SCOPED_TRACE(r.stored);
        Test_dialogs::Instance().Reset();
        Test_dialogs::Instance().Answer(ui::vbOK);
        Stored(r.stored);
        int32_t left = -1, top = -1, width = 0, height = 0;
        Get_Form_Pos("Frm_test", left, top, width, height);
        EXPECT_EQ(left, r.left);
        EXPECT_EQ(top, r.top);
        ASSERT_EQ(Test_dialogs::Instance().Shown_Dialogs().size(), 1u);
        EXPECT_EQ(Test_dialogs::Instance().Shown_Dialogs()[0].prompt.rfind("Get_Form_Pos error ", 0), 0u);
    }
    Module_Vantorel::Is_Compiled = false;
    Stored("7");
    int32_t left = 0, top = 0, width = 0, height = 0;
    EXPECT_THROW(Get_Form_Pos("Frm_test", left, top, width, height), VbError);
}

}  // namespace
