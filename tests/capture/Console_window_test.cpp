// The capture console's window: the slot chosen by presses, the finish of a slot, the file-size text,
// the running arm, and the place and commands it comes up with.
#include "Heat_console_fixture.h"
#include "platform/gdi/Gdi_draw.h"
#include "platform/ui/Picture_box.h"
#include "review/Module_Vantorel_overlay.h"

#include <QGroupBox>
#include <QLocale>
#include <QMenu>
#include <QMouseEvent>
#include <QPushButton>

#include <set>

namespace {

void Mouse(QWidget* target, QEvent::Type type, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
    const QPointF at(2, 2);
    QMouseEvent event(type, at, target->mapToGlobal(at), Qt::LeftButton,
                      type == QEvent::MouseButtonRelease ? Qt::NoButton : Qt::LeftButton, modifiers);
    QCoreApplication::sendEvent(target, &event);
}

// The colours drawn in a picture box.
std::set<gdi::COLORREF> Colours(ui::Picture_box& box) {
    std::set<gdi::COLORREF> seen;
    for (int y = 0; y < box.height(); ++y)
        for (int x = 0; x < box.width(); ++x) seen.insert(gdi::GetPixel(box.hDC(), x, y));
    return seen;
}

}  // namespace

TEST_F(Heat_console, Presses_on_a_slot_choose_it_and_a_ctrl_click_on_its_start_mark_moves_the_start_alone) {
    Form_capture_multi_file& c = Form_capture_multi_file::Instance();
    c.Show();
    enum Kind { press, click };
    struct Row {
        const char* what;
        QWidget* target;
        Kind kind;
        Qt::KeyboardModifiers modifiers;
        int16_t capture, start;  // the slots chosen afterwards
    };
    const Row rows[] = {
        {"heat ID box", c.Text_Heat_ID[1], press, Qt::NoModifier, 1, 1},
        {"a caption inside the frame", c.Lbl_file_size[2], press, Qt::NoModifier, 2, 2},
        {"elapsed time", c.Label_heat_time[0], press, Qt::NoModifier, 0, 0},
        {"the frame", c.Frame_capture[1], press, Qt::NoModifier, 1, 1},
        {"file name", c.Label_filename[2], click, Qt::NoModifier, 2, 2},
        {"capture mark", c.Label_active_capture[0], click, Qt::NoModifier, 0, 0},
        {"start mark with Ctrl", c.Label_active_start[2], click, Qt::ControlModifier, 0, 2},
        {"start mark without Ctrl", c.Label_active_start[1], click, Qt::NoModifier, 0, 2},
        {"the marks' frame", c.Frame_active[1], click, Qt::NoModifier, 0, 2},
        {"file name pressed only", c.Label_filename[1], press, Qt::NoModifier, 0, 2},
        {"Finish pressed", c.Command_Finish[1], press, Qt::NoModifier, 0, 2},
        {"New file pressed", c.Command_newFile[1], press, Qt::NoModifier, 1, 1},
    };
    for (const Row& r : rows) {
        Mouse(r.target, QEvent::MouseButtonPress, r.modifiers);
        if (r.kind == click) Mouse(r.target, QEvent::MouseButtonRelease, r.modifiers);
        EXPECT_EQ(c.Capture_Heat(), r.capture) << r.what;
        EXPECT_EQ(c.Start_Heat(), r.start) << r.what;
    }
    EXPECT_EQ(c.Label_active_start[1]->styleSheet(), "background-color: rgb(255, 0, 0)");
    EXPECT_EQ(c.Label_active_start[2]->styleSheet(), "");
    EXPECT_TRUE(Test_dialogs::Instance().Shown_Dialogs().empty());
}

// The file size in the operator's decimal separator; Clear_Heat finishes a slot and notes a file above
// 1 MB as the last captured one.
TEST_F(Heat_console, File_size_text_and_the_finish_of_a_slot) {
    Form_capture_multi_file& c = Form_capture_multi_file::Instance();
    c.Text_Heat_ID[1]->setText("12");
    c.Command_newFile_Click(1);
    ASSERT_EQ(c.State(1), Form_capture_multi_file::Slot_state::Initiated);
    const std::string path = c.File_path(1);
    const QLocale before;
    struct Row {
        QLocale locale;
        uint64_t bytes;
        const char* shown;
    };
    const Row rows[] = {{QLocale(QLocale::Swedish, QLocale::Sweden), 11744052, "0/11,2MB"},
                        {QLocale(QLocale::English, QLocale::UnitedStates), 11744052, "0/11.2MB"},
                        {QLocale(QLocale::Swedish, QLocale::Sweden), 4194304, "0/4MB"},
                        {QLocale(QLocale::English, QLocale::UnitedStates), 1048577 * 1200ULL, "0/1200MB"}};
    for (const Row& r : rows) {
        QLocale::setDefault(r.locale);
        std::filesystem::resize_file(path, r.bytes);
        c.Update_File_Size(1);
        EXPECT_EQ(c.Label_file_size[1]->text().toStdString(), r.shown);
    }
    QLocale::setDefault(before);
    EXPECT_EQ(c.Label_file_size[0]->text(), "0 MB");

    std::filesystem::resize_file(path, 1048577);
    Last_Captured_File.clear();
    c.Clear_Heat(1);
    EXPECT_EQ(c.State(1), Form_capture_multi_file::Slot_state::Finished);
    EXPECT_EQ(c.Label_filename[1]->text().toStdString(), path + " finished");
    EXPECT_EQ(Non_dependant::Read_Ini("active_heats", "Heat1", Ini_file_path, ""), path + " finished");
    EXPECT_EQ(Last_Captured_File, path);
    c.Clear_Heat(1);  // the caption is not extended twice
    EXPECT_EQ(c.Label_filename[1]->text().toStdString(), path + " finished");
    c.Clear_Heat(2);  // an empty slot keeps an empty caption
    EXPECT_EQ(c.State(2), Form_capture_multi_file::Slot_state::Empty);
    EXPECT_EQ(c.Label_filename[2]->text(), "");
}

TEST_F(Heat_console, The_running_arm_is_red_while_a_segment_is_open_and_blue_otherwise) {
    Form_capture_multi_file& c = Running_Console();
    ui::Picture_box& arm = *c.Picture_HDMI_arm;
    const gdi::COLORREF red = 255, blue = 0xFF0000;
    c.HDMI_event();
    EXPECT_TRUE(Colours(arm).count(blue));
    EXPECT_FALSE(Colours(arm).count(red));
    New_Started_Heat(c, 0, "4");
    c.Handle_Capture_Start(0);
    c.HDMI_event();
    EXPECT_TRUE(Colours(arm).count(red));
    EXPECT_FALSE(Colours(arm).count(blue));
    c.Handle_Capture_End();
    // Not drawn while the review window is shown.
    review_shown_ = true;
    arm.Cls();
    c.HDMI_event();
    EXPECT_EQ(Colours(arm), std::set<gdi::COLORREF>{0xFFFFFF});
}

// At its load the console takes its stored left and top, has no Close command, and shows the debug menu
// and the circle in a development run; at its unload it stores its place with no size.
TEST_F(Heat_console, The_console_comes_back_where_it_was_left_and_has_no_close_command) {
    const bool compiled = Is_Compiled;
    for (bool development : {false, true}) {
        Is_Compiled = !development;
        Non_dependant::Write_Ini("windowpos", "Form_capture_multi_file", "1500,900,0,0", Ini_file_path);
        Draw_Goalline = false;
        Form_capture_multi_file& c = Form_capture_multi_file::Instance();
        c.Show();
        EXPECT_EQ(c.Left(), 1500);
        EXPECT_EQ(c.Top(), 900);
        EXPECT_TRUE(Draw_Goalline);
        EXPECT_FALSE(c.windowFlags() & Qt::WindowCloseButtonHint);
        EXPECT_EQ(c.menu_debug->menuAction()->isVisible(), development);
        EXPECT_EQ(c.Shape_circle->isVisible(), development);
        c.Move(3000, 1200);
        EXPECT_TRUE(c.Unload());
        EXPECT_EQ(Non_dependant::Read_Ini("windowpos", "Form_capture_multi_file", Ini_file_path, ""), "3000,1200,0,0");
    }
    Is_Compiled = compiled;
}
