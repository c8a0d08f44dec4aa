#include "platform/ui/Clipboard.h"
#include "platform/ui/Timer.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <gtest/gtest.h>

namespace {

// Runs events until `done` or `limit_ms` have passed.
template <class Done>
void Run_Events_Until(Done done, int limit_ms = 2000) {
    QElapsedTimer clock;
    clock.start();
    while (!done() && clock.elapsed() < limit_ms) QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 20);
}

TEST(Timer, fires_only_while_enabled_with_an_interval) {
    int ticks = 0;
    ui::Timer Timer_play([&] { ++ticks; });
    EXPECT_TRUE(Timer_play.Enabled());
    Run_Events_Until([] { return false; }, 100);  // Interval 0: never fires
    EXPECT_EQ(ticks, 0);

    Timer_play.Set_Interval(10);
    Run_Events_Until([&] { return ticks >= 3; });
    EXPECT_GE(ticks, 3);

    Timer_play.Set_Enabled(false);
    int stopped_at = ticks;
    QCoreApplication::processEvents();
    Run_Events_Until([&] { return ticks > stopped_at; }, 100);
    EXPECT_EQ(ticks, stopped_at);
}

TEST(Clipboard, keeps_text_and_pictures) {
    ui::Clipboard::Set_Text("Heat 3\t1:02,45");
    EXPECT_EQ(ui::Clipboard::Get_Text(), "Heat 3\t1:02,45");
    QImage picture(8, 4, QImage::Format_RGB32);
    picture.fill(Qt::red);
    ui::Clipboard::Set_Data(picture);
    QImage back = ui::Clipboard::Get_Data();
    ASSERT_EQ(back.size(), picture.size());
    EXPECT_EQ(back.pixelColor(3, 2), QColor(Qt::red));
    ui::Clipboard::Clear();
    EXPECT_TRUE(ui::Clipboard::Get_Data().isNull());
}

}  // namespace
