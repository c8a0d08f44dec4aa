#include "Test_dialogs.h"
#include "app/Form_Vantorel_Full_Startup.h"
#include "app/Last_window_close.h"
#include "app/Module_Vantorel_windows.h"
#include "platform/ui/Form.h"
#include "review/Frm_kanot_2.h"
#include "shell/Module_Vantorel.h"
#include "shell/Program_commands.h"

#include <QApplication>
#include <QCloseEvent>

#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>

namespace {

struct Window_a : ui::Form {
    Window_a() : ui::Form("Window_a") {}
};
struct Window_b : ui::Form {
    Window_b() : ui::Form("Window_b") {}
};
struct Window_hidden : ui::Form {
    Window_hidden() : ui::Form("Window_hidden") {}
};

// A close as the window manager sends it; true when the window let it through.
bool Close(QWidget& window) {
    QCloseEvent event;
    QApplication::sendEvent(&window, &event);
    return event.isAccepted();
}

class Last_window : public testing::Test {
protected:
    void SetUp() override {
        Program_commands::Commands commands;
        commands.Vantorel_exit = [this] { ++exits; };
        Program_commands::Install(commands);
        qApp->installEventFilter(&filter);
    }
    void TearDown() override {
        qApp->removeEventFilter(&filter);
        Module_Vantorel::Is_Exiting = false;
    }
    Last_window_close filter;
    int exits = 0;
};

TEST_F(Last_window, Closing_the_last_shown_window_exits_and_a_window_with_others_shown_just_closes) {
    ui::Instance_Of<Window_hidden>();  // loaded and hidden, as the review window is behind the start-up window
    ui::Instance_Of<Window_a>().Show();
    ui::Instance_Of<Window_b>().Show();

    EXPECT_TRUE(Close(ui::Instance_Of<Window_a>()));
    EXPECT_FALSE(ui::Is_Loaded("Window_a"));
    EXPECT_EQ(exits, 0);

    // The exit was cancelled (this one does nothing): the window stays, loaded and shown.
    EXPECT_FALSE(Close(ui::Instance_Of<Window_b>()));
    EXPECT_EQ(exits, 1);
    EXPECT_TRUE(ui::Instance_Of<Window_b>().isVisible());

    // While the exit unloads the windows, a close is the window's own.
    Module_Vantorel::Is_Exiting = true;
    EXPECT_TRUE(Close(ui::Instance_Of<Window_b>()));
    EXPECT_FALSE(ui::Is_Loaded("Window_b"));
    EXPECT_EQ(exits, 1);
}

TEST(Last_window_program, Closing_the_start_up_window_ends_the_program_as_Exit_does) {
    const std::string folder = Test_folder() + "/data/vantorel";
    std::filesystem::create_directories(folder);
    std::ofstream(folder + "/Vantorel_HDMI.ini") << "[Settings]\ncropsizeindex=2\n";
    Module_Vantorel::Install_Program_commands();
    Last_window_close filter;
    qApp->installEventFilter(&filter);
    Module_Vantorel::Show_First_Window(false);
    ASSERT_TRUE(Form_Vantorel_Full_Startup::Instance().isVisible());
    EXPECT_FALSE(Frm_kanot_2::Instance().isVisible());

    Close(Form_Vantorel_Full_Startup::Instance());
    EXPECT_TRUE(Module_Vantorel::Is_Exiting);
    EXPECT_TRUE(ui::Loaded_Forms().empty());
    qApp->removeEventFilter(&filter);
}

TEST(Last_window_program, A_heat_named_on_the_command_line_opens_the_review_window_first) {
    const std::string folder = Test_folder() + "/data/vantorel";
    std::filesystem::create_directories(folder);
    std::ofstream(folder + "/Vantorel_HDMI.ini") << "[Canoe]\ncapture_type=1\n";  // as a fresh install has it
    Module_Vantorel::Install_Program_commands();
    Module_Vantorel::Show_First_Window(true);
    EXPECT_TRUE(Frm_kanot_2::Instance().isVisible());
    EXPECT_FALSE(Form_Vantorel_Full_Startup::Instance().isVisible());
}

}  // namespace
