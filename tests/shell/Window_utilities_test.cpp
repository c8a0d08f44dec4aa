#include "Test_dialogs.h"
#include "platform/ui/Form.h"
#include "shell/Module_Vantorel.h"
#include "shell/Non_dependant.h"
#include "shell/Non_dependant_windows.h"

#include <QApplication>
#include <QKeyEvent>
#include <gtest/gtest.h>

namespace {

class Frm_probe : public ui::Form {
public:
    Frm_probe() : ui::Form("Frm_probe") {}
};

void Send_Key(int key, bool press) {
    QWidget target;
    QKeyEvent event(press ? QEvent::KeyPress : QEvent::KeyRelease, key, Qt::NoModifier);
    QApplication::sendEvent(&target, &event);
}

TEST(Key_state, Keys_pressed_in_the_program_read_as_held_until_released) {
    EXPECT_EQ(Non_dependant::First_Key_Down(), 0);
    Send_Key(Qt::Key_F, true);
    Send_Key(Qt::Key_Escape, true);
    EXPECT_TRUE(Non_dependant::F_Key_Down());
    EXPECT_TRUE(Non_dependant::Esc_Down());
    EXPECT_TRUE(Non_dependant::Key_Down(70));
    EXPECT_EQ(Non_dependant::First_Key_Down(), 27);
    Send_Key(Qt::Key_Escape, false);
    EXPECT_EQ(Non_dependant::First_Key_Down(), 70);
    Send_Key(Qt::Key_F, false);
    EXPECT_FALSE(Non_dependant::F_Key_Down());
    EXPECT_EQ(Non_dependant::First_Key_Down(), 0);
}

TEST(Window_utilities, IsLoaded_compares_names_without_case_and_windows_get_top_most_without_close) {
    EXPECT_FALSE(Non_dependant::IsLoaded("frm_probe"));
    Frm_probe& form = ui::Instance_Of<Frm_probe>();
    EXPECT_TRUE(Non_dependant::IsLoaded("FRM_PROBE"));
    Non_dependant::Set_TopMost(&form);
    EXPECT_TRUE(form.Top_Most());
    Non_dependant::Remove_Close_Menu(&form);
    EXPECT_FALSE(form.windowFlags().testFlag(Qt::WindowCloseButtonHint));
    form.Unload();
    EXPECT_FALSE(Non_dependant::IsLoaded("Frm_probe"));
}

TEST(Window_utilities, Hiding_the_taskbar_puts_a_window_full_screen_above_the_panel_until_it_is_shown) {
    Module_Vantorel::Taskbar_Hidden = false;
    Frm_probe& form = ui::Instance_Of<Frm_probe>();
    form.Show();
    form.activateWindow();
    QApplication::processEvents();
    Non_dependant::Taskbar_Visible(true);
    EXPECT_FALSE(Module_Vantorel::Taskbar_Hidden);
    EXPECT_EQ(form.WindowState(), ui::vbNormal);
    Non_dependant::Taskbar_Visible(false);
    QApplication::processEvents();  // the desktop tells the window its new state
    EXPECT_TRUE(Module_Vantorel::Taskbar_Hidden);
    EXPECT_TRUE(form.isFullScreen());
    Non_dependant::Taskbar_Visible(true);
    QApplication::processEvents();
    EXPECT_TRUE(Module_Vantorel::Taskbar_Hidden);  // showing does not clear it
    EXPECT_FALSE(form.isFullScreen());
    EXPECT_EQ(form.WindowState(), ui::vbNormal);
    // A window full screen of its own stays so.
    form.WindowState(ui::vbMaximized);
    form.setWindowState(Qt::WindowFullScreen);
    Non_dependant::Taskbar_Visible(false);
    Non_dependant::Taskbar_Visible(true);
    QApplication::processEvents();
    EXPECT_TRUE(form.isFullScreen());
    form.Unload();
    Module_Vantorel::Taskbar_Hidden = false;
}

TEST(Window_utilities, The_taskbar_state_reads_in_the_texts_of_its_bits) {
    const std::pair<int32_t, const char*> rows[] = {
        {0, "TaskBar not in auto-hide or always-on-top mode"}, {1, "TaskBar is in auto-hide mode"},
        {2, "TaskBar always-on-top mode"}, {3, "TaskBar is always-on-top and auto-hide modes"},
        {4, "Unknown"}, {-1, "Unknown"}};
    for (const auto& [bits, text] : rows) EXPECT_EQ(Non_dependant::Taskbar_State_Text(bits), text) << bits;
    // The offscreen screen keeps no place for a panel.
    EXPECT_EQ(Non_dependant::Taskbar_State(), "TaskBar is in auto-hide mode");
}

}  // namespace
