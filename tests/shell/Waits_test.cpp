#include "Test_dialogs.h"
#include "platform/sys/Sys_clock.h"
#include "shell/Module_Vantorel.h"
#include "shell/Non_dependant.h"

#include <QCoreApplication>
#include <QTimer>
#include <gtest/gtest.h>

namespace {

using Non_dependant::Do_Sleep;

TEST(Waits, Do_Sleep_waits_and_lets_queued_events_run_only_when_pumping) {
    for (bool pump : {true, false}) {
        bool ran = false;
        QTimer::singleShot(0, [&] { ran = true; });
        int32_t start = sys::timeGetTime();
        Do_Sleep(60, pump);
        EXPECT_GE(sys::Tick_Diff(sys::timeGetTime(), start), 60);
        EXPECT_EQ(ran, pump) << "pump " << pump;
        QCoreApplication::processEvents();  // the timer left over by the wait without pumping
        EXPECT_TRUE(ran);
    }
}

TEST(Waits, The_copy_progress_routine_runs_the_waiting_events_and_lets_the_copy_go_on) {
    bool ran = false;
    QTimer::singleShot(0, [&] { ran = true; });
    EXPECT_EQ(Module_Vantorel::UpdateFileCopyStatus(3000000, 1048576), 0);
    EXPECT_TRUE(ran);
}

TEST(Waits, A_wait_of_0_or_less_returns_at_once) {
    bool ran = false;
    QTimer::singleShot(0, [&] { ran = true; });
    int32_t start = sys::timeGetTime();
    Do_Sleep(0, true);
    Do_Sleep(-5000, true);
    EXPECT_LT(sys::Tick_Diff(sys::timeGetTime(), start), 50);
    EXPECT_FALSE(ran);
    QCoreApplication::processEvents();
}

TEST(Waits, Flush_DV_events_waits_about_a_second_and_runs_the_queued_events) {
    int runs = 0;
    QTimer timer;
    QObject::connect(&timer, &QTimer::timeout, [&] { ++runs; });
    timer.start(250);
    int32_t start = sys::timeGetTime();
    Non_dependant::Flush_DV_events();
    EXPECT_GE(sys::Tick_Diff(sys::timeGetTime(), start), 1000);
    EXPECT_GE(runs, 2);
    EXPECT_TRUE(Test_dialogs::Instance().Shown_Dialogs().empty());
}

}  // namespace
