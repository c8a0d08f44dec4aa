#include "Test_dialogs.h"
#include "platform/vb/VbError.h"
#include "shell/Module_Vantorel.h"
#include "shell/Non_dependant.h"

#include <climits>
#include <gtest/gtest.h>

namespace {

using Non_dependant::Display_Mill_Time;

TEST(Display_Mill_Time, Texts_untrimmed_and_trimmed) {
    struct Row { int32_t mill; const char* untrimmed; const char* trimmed; } rows[] = {
        {0, " 00:00,00", "0,00"},
        {5000, " 00:05,00", "5,00"},
        {59990, " 00:59,99", "59,99"},
        {65432, " 01:05,43", "1:05,43"},
        {600000, " 10:00,00", "10:00,00"},
        {3600000 + 120000 + 3450, " 1:02:03,45", "1:02:03,45"},
        {25 * 3600000, " 1:00:00,00", "1:00:00,00"},
        {-1500, "-00:01,50", "-1,50"},
        {-65432, "-01:05,43", "-1:05,43"},
        // hundredths: halves to even, carried into seconds and minutes
        {5, " 00:00,00", "0,00"},
        {15, " 00:00,02", "0,02"},
        {25, " 00:00,02", "0,02"},
        {995, " 00:01,00", "1,00"},
        {1005, " 00:01,00", "1,00"},
        {1015, " 00:01,02", "1,02"},
        {12996, " 00:13,00", "13,00"},
        {59995, " 01:00,00", "1:00,00"},
        {3599995, " 1:00:00,00", "1:00:00,00"},
        // whole days are dropped
        {86400000, " 00:00,00", "0,00"},
        {86405000, " 00:05,00", "5,00"},
        {INT32_MAX, " 20:31:23,65", "20:31:23,65"},
        {INT32_MIN + 1, "-20:31:23,65", "-20:31:23,65"},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.mill);
        EXPECT_EQ(Display_Mill_Time(r.mill, false), r.untrimmed);
        EXPECT_EQ(Display_Mill_Time(r.mill, true), r.trimmed);
    }
}

TEST(Display_Mill_Time, The_smallest_value_overflows) {
    Module_Vantorel::Is_Compiled = false;
    EXPECT_THROW(Display_Mill_Time(INT32_MIN, false), VbError);

    Module_Vantorel::Is_Compiled = true;
    Test_dialogs::Instance().Answer(ui::vbOK);
    EXPECT_EQ(Display_Mill_Time(INT32_MIN, true), "");
    ASSERT_EQ(Test_dialogs::Instance().Shown_Dialogs().size(), 1u);
    EXPECT_EQ(Test_dialogs::Instance().Shown_Dialogs()[0].prompt.rfind("Display_Mill_Time error ", 0), 0u);
    EXPECT_EQ(Test_dialogs::Instance().Shown_Dialogs()[0].title, "Vantorel_HDMI");
    Module_Vantorel::Is_Compiled = false;
}

TEST(Time_texts, Now_and_date_have_the_fixed_layout) {
    std::string now = Non_dependant::Now_Text();
    ASSERT_EQ(now.size(), 19u);
    EXPECT_EQ(now[4], '-');
    EXPECT_EQ(now[10], ' ');
    EXPECT_EQ(now[13], ':');
    EXPECT_EQ(Non_dependant::Date_Text().size(), 10u);
    int32_t local = Non_dependant::Get_Local_Mill_Time();
    EXPECT_GE(local, 0);
    EXPECT_LT(local, 86400000);
}

TEST(Time_texts, FileDate_outside_the_built_program) {
    Module_Vantorel::Is_Compiled = false;
    EXPECT_EQ(Non_dependant::FileDate(), "Not compiled");
    Module_Vantorel::Is_Compiled = true;
    EXPECT_EQ(Non_dependant::FileDate().size(), 19u);
    Module_Vantorel::Is_Compiled = false;
}

}  // namespace
