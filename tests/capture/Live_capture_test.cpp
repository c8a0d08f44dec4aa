// The console as an operator runs it for an afternoon: back from the review window, a heat made right
// after the source was chosen, the Capture button held through questions and keys, a disk that takes no
// more, a control box port that is not there.
#include "Heat_console_fixture.h"
#include "capture/Frm_fullscreen.h"
#include "diagnostics/Form_HDMI_performance.h"
#include "platform/controlbox/Interface_kit.h"
#include "platform/sys/Sys_clock.h"
#include "platform/vb/Error_trap.h"
#include "platform/vb/Vb_convert.h"

#include <QAction>
#include <QApplication>
#include <QGroupBox>
#include <QLabel>
#include <QMenu>
#include <QPushButton>
#include <QSpinBox>
#include <QTest>

#include <csignal>
#include <sys/resource.h>

namespace {

using State = Form_capture_multi_file::Slot_state;

bool Interlaced(const std::string& path) {
    cls_VideoFile_handler store;
    store.File_name(path);
    store.Open_RGB_File();
    const bool interlaced = store.RGB_interlaced();
    store.Close_File();
    return interlaced;
}

std::string Event_log() {
    std::ifstream log(AppData_Folder + "/Vantorel_eventlog.txt");
    return {std::istreambuf_iterator<char>(log), {}};
}

}  // namespace

// The review window stops the camera; the console, back in front, runs it again. While no frame
// arrives a start is refused, and a start's tick is a frame of its own moment, never one from before.
TEST_F(Heat_console, Back_from_the_review_window_the_camera_runs_again_and_a_start_takes_a_fresh_frame) {
    Form_capture_multi_file& console = Running_Console();
    console.Text_Heat_ID[0]->setText("4");
    console.Command_newFile_Click(0);
    ASSERT_EQ(console.State(0), State::Initiated);
    // "View last Finished heat": the camera stops and the console goes.
    console.Stop_Capture();
    console.Hide();
    console.Timer1_Timer();
    EXPECT_EQ(console.Label_running_FPS->text(), "0 f/s");
    Test_dialogs::Instance().Answer(ui::vbOK);
    console.Handle_Start_Event(0);
    EXPECT_EQ(console.State(0), State::Initiated);
    ASSERT_EQ(Test_dialogs::Instance().Shown_Prompts().size(), 1u);
    EXPECT_NE(Test_dialogs::Instance().Shown_Prompts()[0].find("no frames arrive from the camera"), std::string::npos);

    // "Resume Capture".
    console.Show();
    QEvent activate(QEvent::WindowActivate);
    QCoreApplication::sendEvent(&console, &activate);
    const int32_t before = console.obj_Capture_HDMI()->HDMI_events();
    ASSERT_TRUE(Wait_For([&] { return console.obj_Capture_HDMI()->Frames_Arriving(); }));
    EXPECT_GE(console.obj_Capture_HDMI()->HDMI_events(), 1);
    EXPECT_LE(console.obj_Capture_HDMI()->HDMI_events(), before + 50);
    const int32_t asked = sys::timeGetTime();
    console.Handle_Start_Event(0);
    ASSERT_EQ(console.State(0), State::Started);
    const Read_back r = Read(console.File_path(0));
    EXPECT_LE(sys::Tick_Diff(asked, r.start_tick), cls_Capture_HDMI::Arrival_Window_ms);
    EXPECT_GE(sys::Tick_Diff(asked, r.start_tick), 0);
    Segment(console, 5);
    EXPECT_GE(Read(console.File_path(0)).frames, 5);
}

// A heat made before the camera's rate is measured (131 frames) takes the rate of the chosen format:
// 50 frames a second is progressive, 25 interlaced.
TEST_F(Heat_console, A_heat_made_right_after_the_source_is_chosen_takes_the_formats_rate) {
    struct Row {
        const char* format;
        bool interlaced;
    } rows[] = {{"2", false}, {"6", true}};  // 1280*720/50, 320*240/25
    for (const Row& row : rows) {
        SCOPED_TRACE(row.format);
        Use_Folder(Test_folder() + "/f" + row.format);
        Non_dependant::Write_Ini("capturesettings", "videoproperty", row.format, Ini_file_path);
        m_saved_Video_prop_num = row.format;
        Form_capture_multi_file& console = Running_Console();
        ASSERT_EQ(console.obj_Capture_HDMI()->Measured_fps(), 0);
        console.Text_Heat_ID[0]->setText("1");
        console.Command_newFile_Click(0);
        ASSERT_EQ(console.State(0), State::Initiated);
        EXPECT_EQ(Interlaced(console.File_path(0)), row.interlaced);
        ui::Destroy_All_Forms();
    }
}

// Held down, Capture records until the operator lets go: keys, a question and a lost focus do not end it.
TEST_F(Heat_console, The_held_capture_button_records_until_the_operator_lets_go) {
    Form_capture_multi_file& console = Running_Console();
    New_Started_Heat(console, 0, "3");
    QPushButton* button = console.Command_Capture;
    QTest::mousePress(button, Qt::LeftButton);
    ASSERT_TRUE(console.Recorder().Segment_Open());
    EXPECT_TRUE(button->isChecked());
    // Escape asks to abort; Cancel. A key on the button and the focus elsewhere.
    Test_dialogs::Instance().Answer(ui::vbCancel);
    QTest::keyClick(&console, Qt::Key_Escape);
    QTest::keyClick(button, Qt::Key_Escape);
    QTest::keyClick(button, Qt::Key_Space);
    console.Text_Heat_ID[1]->setFocus();
    QFocusEvent out(QEvent::FocusOut, Qt::ActiveWindowFocusReason);
    QCoreApplication::sendEvent(button, &out);
    const int32_t written = console.Recorder().Frames_Written();
    ASSERT_TRUE(Wait_For([&] { return console.Recorder().Frames_Written() >= written + 5; }));
    EXPECT_TRUE(console.Recorder().Segment_Open());
    EXPECT_EQ(Test_dialogs::Instance().Shown_Prompts(), std::vector<std::string>{"Aborting heat 3 , are you sure?"});
    QTest::mouseRelease(button, Qt::LeftButton);
    EXPECT_FALSE(console.Recorder().Segment_Open());
    EXPECT_FALSE(button->isChecked());
    EXPECT_EQ(Read(console.File_path(0)).segments, 1);
}

// A disk that takes no more: one plain message with the frames not recorded and what to do, the event
// log, no error report; the picture and the heat times go on, the notice stays until frames are written
// again; the heat stays open and records again once there is room.
TEST_F(Heat_console, A_full_disk_is_told_plainly_once_and_the_heat_records_again_when_there_is_room) {
    std::vector<std::string> reports;
    vb::Set_Error_Reporter([&](const std::string& d, int32_t, int32_t, const std::string& l, const std::string&) {
        reports.push_back(l + ": " + d);
    });
    Is_Compiled = true;
    // Room for two more records, as a disk that fills up; given back whatever the test does.
    struct Disk {
        rlimit kept{};
        void (*handler)(int) = SIG_DFL;
        Disk() {
            getrlimit(RLIMIT_FSIZE, &kept);
            handler = std::signal(SIGXFSZ, SIG_IGN);
        }
        void Room(rlim_t bytes) {
            rlimit full = kept;
            full.rlim_cur = bytes;
            setrlimit(RLIMIT_FSIZE, &full);
        }
        ~Disk() {
            setrlimit(RLIMIT_FSIZE, &kept);
            std::signal(SIGXFSZ, handler);
            Is_Compiled = false;
            vb::Set_Error_Reporter(nullptr);
        }
    } disk;
    Form_capture_multi_file& console = Running_Console();
    New_Started_Heat(console, 0, "8");
    Segment(console, 2);
    const std::string path = console.File_path(0);
    const Read_back before = Read(path);
    disk.Room(before.file_size + 2 * (58 + before.buffer));
    Test_dialogs::Instance().Answer(ui::vbOK);
    for (int press = 0; press < 2; ++press) {
        console.Handle_Capture_Start(0);
        ASSERT_TRUE(Wait_For([&] { return console.Recorder().Write_Failed() && console.Recorder().Not_Recorded() >= 5; }));
        const QString time = console.Label_heat_time[0]->text();
        EXPECT_TRUE(Wait_For([&] { return console.Label_heat_time[0]->text() != time; }));
        console.Handle_Capture_End();
        const QString after_end = console.Label_heat_time[0]->text();
        ASSERT_TRUE(Wait_For([&] { return console.Label_heat_time[0]->text() != after_end; }));
        EXPECT_TRUE(console.Label_paused->isVisibleTo(&console));
        EXPECT_TRUE(console.Label_paused->text().startsWith("Heat A: the capture file could not be written: "))
            << console.Label_paused->text().toStdString();
    }
    disk.Room(disk.kept.rlim_cur);
    EXPECT_TRUE(reports.empty()) << reports.front();
    ASSERT_EQ(Test_dialogs::Instance().Shown_Prompts().size(), 1u);  // once, not at every press
    const std::string told = Test_dialogs::Instance().Shown_Prompts()[0];
    EXPECT_EQ(told.rfind("Heat A: the capture file could not be written: ", 0), 0u) << told;
    EXPECT_NE(told.find(" frames of this capture were not recorded."), std::string::npos) << told;
    EXPECT_NE(told.find("Free space on the disk"), std::string::npos) << told;
    EXPECT_NE(Event_log().find("Heat A: the capture file could not be written"), std::string::npos);
    EXPECT_EQ(console.State(0), State::Started);
    const Read_back full_disk = Read(path);
    EXPECT_EQ(full_disk.frames, before.frames + 2);
    Segment(console, 4);
    EXPECT_FALSE(console.Label_paused->isVisibleTo(&console));
    const Read_back after = Read(path);
    EXPECT_GE(after.frames, full_disk.frames + 4);
    EXPECT_TRUE(after.every_jpeg_fits);
}

// A serial port the ini names that is not there: told once with the port and the reason, in the event
// log, and the console goes on with the simulated box.
TEST_F(Heat_console, A_control_box_port_that_is_not_there_is_told_once_and_the_simulated_box_serves) {
    Non_dependant::Write_Ini("controlbox", "serial_port", "/nonexistent/ttyUSB9", Ini_file_path);
    Test_dialogs::Instance().Answer(ui::vbOK);
    Form_capture_multi_file& console = Form_capture_multi_file::Instance();
    QCoreApplication::processEvents();
    ASSERT_EQ(Test_dialogs::Instance().Shown_Prompts().size(), 1u);
    const std::string told = Test_dialogs::Instance().Shown_Prompts()[0];
    EXPECT_EQ(told.rfind("The control box on serial port /nonexistent/ttyUSB9 cannot be opened: ", 0), 0u) << told;
    EXPECT_NE(told.find("simulated control box"), std::string::npos) << told;
    EXPECT_NE(Event_log().find("The control box on serial port /nonexistent/ttyUSB9 cannot be opened"),
              std::string::npos);
    ASSERT_NE(console.obj_phidget(), nullptr);
    EXPECT_TRUE(console.obj_phidget()->Simulated());
}

// "Test Control Box" shows each switch where it stands: on up, off down.
TEST_F(Heat_console, The_control_box_panel_shows_the_switches_as_they_stand) {
    Form_capture_multi_file& console = Form_capture_multi_file::Instance();
    console.Show();
    controlbox::Simulated_board& board = controlbox::Simulated_board::Instance();
    board.Attach();
    console.item_test_control_box->setChecked(true);
    console.item_test_control_box_Click();
    struct Row {
        int32_t input;
        size_t toggle;
    } rows[] = {{1, 0}, {5, 1}};
    for (const Row& row : rows) {
        SCOPED_TRACE(row.input);
        auto shown_at = [&] {
            QCoreApplication::processEvents();
            QWidget* shown = console.Shape_on[row.toggle]->isVisible() ? console.Shape_on[row.toggle] : console.Shape_off[row.toggle];
            return shown->mapTo(console.Frame_toggle[row.toggle], QPoint(0, 0)).y();
        };
        board.Set_Input(row.input, false);
        console.Display_Control_Box();
        EXPECT_FALSE(console.Shape_on[row.toggle]->isVisible());
        const int off = shown_at();
        board.Set_Input(row.input, true);
        console.Display_Control_Box();
        EXPECT_TRUE(console.Shape_on[row.toggle]->isVisible());
        EXPECT_LT(shown_at(), off);
    }
}

// A new heat carries the course the operator set up and saw in the live preview, also after the review
// window showed another heat's course in the same program-wide values.
TEST_F(Heat_console, A_new_heat_carries_the_course_set_up_in_the_preview) {
    Display_Width = Crop_Width;
    Display_Height = Crop_Height;
    Screen_Scale_Height = 1000;
    Form_capture_multi_file& console = Running_Console();
    Frm_fullscreen& preview = Frm_fullscreen::Instance();
    preview.Show();
    preview.UpDown_Lanes->setValue(6);
    preview.Option_first_lane_Click(true);
    Lane_Collection[0].Lane_pos_X(40);
    Lane_Collection[0].Lane_pos_Y(50);
    Setup_Goalline = {60, 30, 61, 170};
    preview.Hide();
    // The review window opens another heat: its course in the program-wide values.
    Lane_Count = 9;
    Lane_Collection.resize(3);
    for (int16_t i = 0; i < 3; ++i) {
        Lane_Collection[static_cast<size_t>(i)].Lane_number(static_cast<int16_t>(i + 5));
        Lane_Collection[static_cast<size_t>(i)].Lane_pos_X(90);
    }
    Setup_Goalline = {100, 100, 505, 100};
    Lane_Zero = false;

    console.Text_Heat_ID[0]->setText("2");
    console.Command_newFile_Click(0);
    ASSERT_EQ(console.State(0), State::Initiated);
    cls_VideoFile_handler store;
    store.File_name(console.File_path(0));
    store.Open_RGB_File();
    EXPECT_EQ(store.Lane_count(), 6);
    EXPECT_TRUE(store.Start_Lane_Zero());
    EXPECT_EQ(store.LaneX(1), 40);
    EXPECT_EQ(store.LaneY(1), 50);
    int16_t x1 = 0, y1 = 0, x2 = 0, y2 = 0;
    store.Get_Goalline(x1, y1, x2, y2);
    EXPECT_EQ((std::array<int16_t, 4>{x1, y1, x2, y2}), (std::array<int16_t, 4>{60, 30, 61, 170}));
    store.Close_File();
    // The preview shows that course again, numbered as it was set up.
    preview.Show();
    EXPECT_EQ(Lane_Count, 6);
    ASSERT_EQ(Lane_Collection.size(), 16u);
    EXPECT_EQ(Lane_Collection[0].Lane_number(), 0);
    EXPECT_EQ(preview.UpDown_Lanes->value(), 6);
}

// The console's small things an operator trips over: the capture folder looks like something to click,
// the first keys do not land in the event name, and the capture mark shows on its slot's colour.
TEST_F(Heat_console, The_folder_reads_as_a_control_keys_miss_the_event_name_and_the_capture_mark_shows) {
    Form_capture_multi_file& console = Form_capture_multi_file::Instance();
    console.Show();
    QApplication::setActiveWindow(&console);
    QCoreApplication::processEvents();
    EXPECT_NE(QApplication::focusWidget(), console.Text_Event_name);
    EXPECT_NE(console.Lbl_capture_folder->frameShape(), QFrame::NoFrame);
    EXPECT_EQ(console.Lbl_capture_folder->cursor().shape(), Qt::PointingHandCursor);
    EXPECT_EQ(console.Lbl_capture_folder->toolTip(), "Where to store captured files");

    console.Set_Active_heat(1);
    const QImage mark = console.Label_active_capture[1]->grab().toImage();
    const QColor frame_colour(255, 192, 128);
    int standing_out = 0;
    for (int x = 0; x < mark.width(); ++x)
        for (int y : {0, mark.height() - 1})
            if (mark.pixelColor(x, y) != frame_colour) ++standing_out;
    EXPECT_GT(standing_out, mark.width());  // its edge, top and bottom, is not the frame's colour
}

// The frame-arrival monitor expects frames at the camera's rate: one every 20 ms at 50 frames a second.
TEST_F(Heat_console, The_frame_arrival_monitor_expects_the_cameras_rate) {
    Non_dependant::Write_Ini("capturesettings", "videoproperty", "2", Ini_file_path);  // 1280*720/50
    m_saved_Video_prop_num = "2";
    Form_capture_multi_file& console = Running_Console();
    ASSERT_TRUE(Wait_For([&] { return console.obj_Capture_HDMI()->HDMI_10_mill() > 0; }));
    for (QAction* action : console.actions())
        if (action->text() == "HDMI Performance") action->trigger();
    ASSERT_TRUE(ui::Is_Loaded("Form_HDMI_performance"));
    EXPECT_EQ(Form_HDMI_performance::Instance().Frame_ms(), 20);
}
