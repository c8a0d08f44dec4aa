#include "platform/sys/Sys_clock.h"

#include <gtest/gtest.h>

namespace {

TEST(Sys_clock, Tick_differences_hold_across_the_wrap) {
    struct Row { uint32_t later, earlier; int32_t expected; } rows[] = {
        {1000, 400, 600}, {5, 0xFFFFFFF0u, 21}, {0x80000010u, 0x7FFFFFF0u, 32}, {400, 1000, -600},
    };
    for (const Row& r : rows)
        EXPECT_EQ(sys::Tick_Diff(static_cast<int32_t>(r.later), static_cast<int32_t>(r.earlier)), r.expected);
}

TEST(Sys_clock, The_tick_advances_over_a_sleep) {
    int32_t before = sys::timeGetTime();
    sys::Sleep(20);
    EXPECT_GE(sys::Tick_Diff(sys::timeGetTime(), before), 20);
}

TEST(Sys_clock, Date_time_text) {
    sys::Local_Time t;
    t.year = 2016; t.month = 7; t.day = 2; t.hour = 9; t.minute = 5; t.second = 7;
    EXPECT_EQ(sys::Date_Time_Text(t), "2016-07-02 09:05:07");
}

}  // namespace
