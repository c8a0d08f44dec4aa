#include "Test_dialogs.h"
#include "platform/printer/Printer.h"
#include "platform/ui/Command_button.h"
#include "results/Form_properties.h"
#include "results/Frm_progress.h"
#include "results/Frm_results.h"
#include "results/Module1.h"
#include "results/modCloseBtn.h"
#include "shell/Module_Vantorel.h"

#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QWheelEvent>

#include <filesystem>
#include <gtest/gtest.h>

namespace {

TEST(Frm_progress, Percent_only_within_the_bar_and_the_caption_shown) {
    Frm_progress& p = Frm_progress::Instance();
    p.Set_Caption("Printing....");
    EXPECT_EQ(p.Text_caption->text(), "Printing....");
    for (auto [percent, value] : {std::pair{50, 50}, {101, 50}, {-1, 50}, {0, 0}, {100, 100}}) {
        p.Set_Percent(static_cast<int16_t>(percent));
        EXPECT_EQ(p.ProgressBar1->value(), value) << percent;
    }
    EXPECT_TRUE(p.windowFlags().testFlag(Qt::FramelessWindowHint));
    // The bar takes 70 % of the width, a third of the rest on its left.
    p.Show();
    p.resize(400, 102);
    QApplication::processEvents();
    EXPECT_EQ(p.ProgressBar1->width(), 280);
    EXPECT_EQ(p.ProgressBar1->x(), 40);
}

TEST(Form_properties, OK_unloads_and_Print_prints_name_and_report) {
    Module_Vantorel::AppData_Folder = Test_folder() + "/data/vantorel";
    std::filesystem::create_directories(Module_Vantorel::AppData_Folder);
    Form_properties& f = Form_properties::Instance();
    EXPECT_EQ(f.Caption(), "Vantorel File properties");
    f.Label_filename->setText("/heats/heat 1.kd3");
    f.Text_properties->setPlainText("Frames: 12\nFields: 24");
    f.Show();
    const bool to_pdf = !printer::Printer_Installed();
    if (to_pdf) Test_dialogs::Instance().Answer(ui::vbOK);
    f.Command_Print_Click();
    EXPECT_FALSE(Frm_progress::Instance().Visible());
    EXPECT_EQ(Frm_progress::Instance().ProgressBar1->value(), 100);
    bool printed = false;  // a PDF where no printer is installed
    for (const auto& e : std::filesystem::directory_iterator(Module_Vantorel::AppData_Folder))
        printed = printed || e.path().extension() == ".pdf";
    EXPECT_TRUE(printed);
    if (to_pdf) {
        EXPECT_EQ(Test_dialogs::Instance().Shown_Prompts().back().rfind(
                      "No printer is installed: the printout is saved as " + Module_Vantorel::AppData_Folder + "/", 0),
                  0u);
    }
    f.Command_OK_Click();
    EXPECT_FALSE(ui::Is_Loaded("Form_properties"));
}

TEST(modCloseBtn, Close_removed_greyed_and_restored) {
    QWidget window;
    EXPECT_FALSE(modCloseBtn::Close_Unavailable(&window));
    EXPECT_EQ(modCloseBtn::Enable_Close_Button(&window, false), 0);
    EXPECT_TRUE(modCloseBtn::Close_Unavailable(&window));
    EXPECT_FALSE(window.windowFlags().testFlag(Qt::WindowCloseButtonHint));
    EXPECT_EQ(modCloseBtn::Enable_Close_Button(&window, false), 0);  // already greyed: nothing changes
    EXPECT_EQ(modCloseBtn::Enable_Close_Button(&window, true), 0);
    EXPECT_FALSE(modCloseBtn::Close_Unavailable(&window));
    EXPECT_TRUE(window.windowFlags().testFlag(Qt::WindowCloseButtonHint));
    EXPECT_EQ(modCloseBtn::Enable_Close_Button(nullptr, true), -1);
    QWidget child(&window);
    EXPECT_EQ(modCloseBtn::Enable_Close_Button(&child, true), -1);
    modCloseBtn::Remove_Close_Item(&window, 0);
    EXPECT_TRUE(modCloseBtn::Close_Unavailable(&window));

    // A close request (the close box a window manager keeps, Alt+F4) is turned away while the Close
    // command is unavailable, and closes the window again once it is restored.
    window.show();
    EXPECT_FALSE(window.close());
    EXPECT_TRUE(window.isVisible());
    modCloseBtn::Enable_Close_Button(&window, true);
    EXPECT_TRUE(window.close());
    EXPECT_FALSE(window.isVisible());
}

struct Recorder : Module1::Mouse_wheel_target {
    void MouseWheel(int32_t& keys, int32_t& rotation, int32_t& x, int32_t& y) override {
        calls.push_back({keys, rotation, x, y});
    }
    std::vector<std::array<int32_t, 4>> calls;
};

TEST(Module1, Wheel_turns_over_the_window_reach_its_MouseWheel_once) {
    QWidget window, other;
    QWidget child(&window);
    Recorder target;
    auto turn = [](QWidget* over, int delta, Qt::KeyboardModifiers keys) {
        QWheelEvent e(QPointF(5, 5), QPointF(1700, 900), QPoint(), QPoint(0, delta), Qt::NoButton, keys,
                      Qt::NoScrollPhase, false);
        QApplication::sendEvent(over, &e);
    };
    turn(&child, 120, Qt::NoModifier);
    EXPECT_TRUE(target.calls.empty());  // not hooked
    Module1::Hook_Mouse_Wheel(&window, &target);
    Module1::Hook_Mouse_Wheel(&window, &target);  // again: still one hook
    turn(&child, 120, Qt::NoModifier);
    turn(&window, -120, Qt::ControlModifier);
    turn(&other, 120, Qt::NoModifier);
    ASSERT_EQ(target.calls.size(), 2u);
    EXPECT_EQ(target.calls[0], (std::array<int32_t, 4>{0, 120, 1700, 900}));
    EXPECT_EQ(target.calls[1], (std::array<int32_t, 4>{8, -120, 1700, 900}));
    Module1::Unhook_Mouse_Wheel();
    turn(&child, 120, Qt::NoModifier);
    EXPECT_EQ(target.calls.size(), 2u);
    Module1::Unhook_Mouse_Wheel();  // nothing to remove: no error
}

TEST(Frm_results, Twelve_rows_cleared_at_load) {
    Module_Vantorel::Ini_file_path = Test_folder() + "/vantorel.ini";
    Frm_results& r = Frm_results::Instance();
    EXPECT_EQ(r.Caption(), "Vantorel Results");
    EXPECT_EQ(r.Lbl_result_rank.Count(), 12);
    EXPECT_EQ(r.Lbl_result_delta_time.UBound(), 11);
    r.Lbl_result_time(3).setText("1:01,23");
    r.Clear_Results();
    EXPECT_TRUE(r.Lbl_result_time(3).text().isEmpty());
    QStringList headings;
    for (QLabel* heading : r.lbl_result_header->findChildren<QLabel*>()) headings << heading->text();
    EXPECT_EQ(headings, (QStringList{"Lane", "Time", "Delta"}));
}

// Nothing brings the results window back: its close box is taken off, and a close request of the
// desktop (a window manager that keeps the box, Alt+F4) leaves it open.
TEST(Frm_results, The_close_box_is_removed_and_the_desktop_cannot_close_the_window) {
    Module_Vantorel::Ini_file_path = Test_folder() + "/vantorel.ini";
    Frm_results& r = Frm_results::Instance();
    EXPECT_FALSE(r.windowFlags().testFlag(Qt::WindowCloseButtonHint));
    EXPECT_TRUE(modCloseBtn::Close_Unavailable(&r));
    r.Show();
    EXPECT_FALSE(r.close());
    EXPECT_TRUE(r.Visible());
    EXPECT_TRUE(ui::Is_Loaded("Frm_results"));
    r.Hide();
}

}  // namespace
