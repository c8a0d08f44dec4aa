// Opening heats written by the store in the review window and stepping through their fields.
#include "Heat_fixture.h"
#include "platform/gdi/Gdi_draw.h"
#include "platform/ui/Command_button.h"
#include "platform/ui/Picture_box.h"
#include "platform/vb/Vb_text.h"
#include "results/Form_properties.h"
#include "results/Frm_results.h"
#include "review/Field_time.h"
#include "review/Frm_kanot_2.h"
#include "review/Module_Vantorel_course.h"
#include "review/Module_Vantorel_overlay.h"
#include "review/Module_Vantorel_results.h"
#include "shell/Module_Vantorel.h"
#include "Review_fixture.h"
#include "shell/Non_dependant.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFontMetrics>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QPlainTextEdit>
#include <QSlider>

#include <cerrno>
#include <cstdlib>
#include <filesystem>
#include <fstream>

namespace {

using namespace Module_Vantorel;

// ---- the time model: the worked values ----

TEST(Field_time, Worked_values_of_both_methods) {
    struct Row {
        const char* what;
        int32_t start_tick, tick, start_events, events;
        bool frame_count, interlaced;
        int16_t field;
        int32_t period, expected;
        const char* shown;
    } rows[] = {
        {"100 ms rounds to 80 (half to even)", 1000, 1100, 0, 0, false, true, 1, 40, 80, " 00:00,08"},
        {"140 ms rounds to 160", 1000, 1140, 0, 0, false, true, 1, 40, 160, " 00:00,16"},
        {"20 ms rounds to 0", 1000, 1020, 0, 0, false, true, 1, 40, 0, " 00:00,00"},
        {"60 ms rounds to 80", 1000, 1060, 0, 0, false, true, 1, 40, 80, " 00:00,08"},
        {"50 ms before the start is -40", 1000, 950, 0, 0, false, true, 1, 40, -40, "-00:00,04"},
        {"second field 20 ms later", 1000, 1140, 0, 0, false, true, 2, 40, 180, " 00:00,18"},
        {"second field of a frame before the start", 1000, 950, 0, 0, false, true, 2, 40, -20, "-00:00,02"},
        {"tick wrapped between start and frame", INT32_MAX - 39, INT32_MIN + 60, 0, 0, false, true, 1, 40, 80,
         " 00:00,08"},
        {"start tick negative, frame positive", -20, 80, 0, 0, false, true, 1, 40, 80, " 00:00,08"},
        {"25 events: 1000 ms", 0, 0, 500, 525, true, true, 1, 40, 1000, " 00:01,00"},
        {"25 events, second field: 1020 ms", 0, 0, 500, 525, true, true, 2, 40, 1020, " 00:01,02"},
        {"3 events before the start", 0, 0, 500, 497, true, true, 1, 40, -120, "-00:00,12"},
        {"frame count ignores the ticks", 1000, 99999, 10, 11, true, true, 1, 40, 40, " 00:00,04"},
        {"progressive: 25 events of 20 ms", 0, 0, 500, 525, true, false, 1, 20, 500, " 00:00,50"},
        {"progressive: no second field", 0, 0, 500, 525, true, false, 2, 20, 500, " 00:00,50"},
        {"progressive: ticks on its own 20 ms grid", 1000, 1100, 0, 0, false, false, 2, 20, 100, " 00:00,10"},
        {"progressive: 130 ms rounds to 120", 1000, 1130, 0, 0, false, false, 1, 20, 120, " 00:00,12"},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.what);
        const Field_time::Times t = Field_time::Compute({r.start_events, r.events, r.start_tick, r.tick}, r.frame_count,
                                                        r.period, r.interlaced, r.field);
        EXPECT_EQ(t.Elapsed_Field_mill, r.expected);
        EXPECT_EQ(Non_dependant::Display_Mill_Time(t.Elapsed_Field_mill, false), r.shown);
        EXPECT_EQ(t.Rounding_mill, t.Elapsed_Rounded_mill - t.Elapsed_mill);
    }
}

TEST(Field_time, Beyond_32_bits_is_an_overflow) {
    // An event count whose times 40 passes 32 bits, and an event difference beyond them.
    EXPECT_THROW(Field_time::Compute({0, 60000000, 0, 0}, true, 40, true, 1), VbError);
    EXPECT_THROW(Field_time::Compute({INT32_MIN, INT32_MAX, 0, 0}, true, 40, true, 1), VbError);
}

// ---- the window ----

class Review_fields : public Review_fixture {
protected:
    void SetUp() override {
        Review_fixture::SetUp();
        Vantorel_Mode = true;
    }
    void TearDown() override {
        Vantorel_Mode = false;
        Review_fixture::TearDown();
    }

    Frm_kanot_2& Window() { return Frm_kanot_2::Instance(); }
    std::string Heat(const std::string& name, Heat_layout layout = {}) {
        if (layout.frames.empty()) layout.frames = Regular_Frames(36, layout.start_tick, layout.start_events);
        const std::string path = heats + "/" + name;
        Write_Heat(path, layout);
        return path;
    }
    std::string Text(QLabel* label) { return label->text().toStdString(); }
    std::vector<std::string> Prompts() { return Test_dialogs::Instance().Shown_Prompts(); }
    void Press(int key, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
        QKeyEvent press(QEvent::KeyPress, key, modifiers);
        QApplication::sendEvent(Window().Slider_play, &press);
        QKeyEvent release(QEvent::KeyRelease, key, modifiers);
        QApplication::sendEvent(Window().Slider_play, &release);
    }
    void Show_Field(int32_t field) {
        Window().Set_Slider_Value(field);
        Window().Slider_play_Scroll();
    }
    // Shown with a file open: the opened heat's state.
    void Expect_Open(const std::string& path) {
        Frm_kanot_2& w = Window();
        EXPECT_TRUE(w.Replay_File.File_open());
        EXPECT_EQ(w.Current_File_Name, path);
        EXPECT_EQ(Text(w.Lbl_Frame_size), "440*1080");
        EXPECT_EQ(Text(w.Label_heatID), "K1 Final A");
        EXPECT_EQ(Text(w.Label_start_time), " 9:05:12");  // to the second, never cut at the comma
        EXPECT_EQ(w.Slider_play->minimum(), 1);
        EXPECT_EQ(w.Slider_play->maximum(), 72);
        EXPECT_EQ(w.Slider_play->value(), 1);
        EXPECT_EQ(Text(w.Lbl_frameno), "0001");
        EXPECT_EQ(Text(w.lbl_elapsed_time), " 00:00,00");
        EXPECT_EQ(Text(w.Lbl_delta_time), " 00:00,00");
        EXPECT_EQ(Run_Mode, 10);
        EXPECT_EQ(File_Goalline.x1, 200);
        EXPECT_EQ(File_Goalline.y2, 1070);
        EXPECT_EQ(Draw_Lane_Count, 3);
        ASSERT_EQ(Lane_Collection.size(), 3u);
        EXPECT_EQ(Lane_Collection[2].Y(), 300);
        EXPECT_EQ(Non_dependant::Read_Ini("Canoe", "last_dir", Ini_file_path, ""), heats);
        EXPECT_TRUE(reports.empty()) << reports.front();
    }
};

TEST_F(Review_fields, Every_road_opens_the_heat_at_its_first_field) {
    const std::string path = Heat("heat1.kd3");
    Frm_kanot_2& w = Window();

    Test_dialogs::Instance().Answer_File(path);
    w.item_open_Click();
    Expect_Open(path);
    EXPECT_EQ(Text(w.Lbl_filesize), "1/1.4 MB");

    w.item_close_Click();
    EXPECT_FALSE(w.Replay_File.File_open());
    EXPECT_EQ(w.Current_File_Name, "");
    Last_Captured_File = path;
    w.item_open_last_Click();
    Expect_Open(path);

    w.Open_last_File();
    Expect_Open(path);

    w.Command_Line = "\"" + path + "\"";
    w.Start_Association();
    Expect_Open(path);

    w.item_close_Click();
    w.Form_OLEDragDrop({path});
    Expect_Open(path);

    w.item_close_Click();
    w.Update_Recent_Files();
    EXPECT_EQ(Capture_Folders[0], heats);
    EXPECT_EQ(w.item_Open_Newest[0].Caption(), "heat1.kd3");
    EXPECT_TRUE(w.item_Open_Newest[0].Visible());
    EXPECT_FALSE(w.item_Open_Newest[1].Visible());
    w.item_Open_Newest_Click(0);
    Expect_Open(path);
    EXPECT_EQ(Prompts(), std::vector<std::string>{"Open"});

    // The open file's property report.
    w.item_file_properties_Click();
    EXPECT_EQ(Form_properties::Instance().Label_filename->text().toStdString(), path);
    EXPECT_NE(Form_properties::Instance().Text_properties->toPlainText().toStdString().find("440*1080"),
              std::string::npos);
    Form_properties::Instance().Hide();
}

TEST_F(Review_fields, A_long_heat_ID_shows_whole_in_the_review_and_results_windows) {
    Frm_kanot_2& w = Window();
    int n = 0;
    for (const std::string id : {"K1 Final A", "K1 Men 500 m Final A", "K4 Women U23 1000 m Final A, lanes 1-9"}) {
        SCOPED_TRACE(id);
        Heat_layout layout;
        layout.heat_id = id;
        w.Handle_Open_File(Heat("id" + std::to_string(++n) + ".kd3", layout));
        QApplication::processEvents();
        for (QLabel* label : {w.Label_heatID, Frm_results::Instance().Lbl_heat}) {
            EXPECT_EQ(label->text().toStdString(), id);
            const QRect room = label->contentsRect();
            const QRect text = QFontMetrics(label->font()).boundingRect(QRect(0, 0, room.width(), 100000),
                                                                        Qt::TextWordWrap, label->text());
            EXPECT_LE(text.width(), room.width());
            EXPECT_LE(text.height(), room.height()) << label->objectName().toStdString() << " " << label->font().pointSize();
        }
    }
}

TEST_F(Review_fields, A_small_picture_keeps_every_control_in_the_window) {
    Frm_kanot_2& w = Window();
    Heat_layout layout;
    layout.width = 160;
    layout.height = 96;
    w.Handle_Open_File(Heat("small.kd3", layout));
    QApplication::processEvents();
    for (QWidget* control : {static_cast<QWidget*>(w.Frm_time), static_cast<QWidget*>(w.Frm_options)}) {
        SCOPED_TRACE(control->objectName().toStdString());
        EXPECT_LE(control->mapTo(&w, QPoint(0, control->height())).y(), w.height());
    }
}

TEST_F(Review_fields, The_Open_dialog_starts_in_a_folder_that_exists) {
    Frm_kanot_2& w = Window();
    const std::string home = std::getenv("HOME");
    const std::string captures = Test_folder() + "/captures";
    std::filesystem::create_directories(captures);
    struct {
        std::string last_dir, capture_folder, start;
    } cases[] = {{"", "", home},  // a fresh install: no "N/A" folder
                 {heats + "/gone", "", home},
                 {"", captures, captures},
                 {heats + "/gone", captures, captures},
                 {heats, captures, heats}};
    for (const auto& c : cases) {
        Non_dependant::Write_Ini("Canoe", "last_dir", c.last_dir, Ini_file_path);
        Capture_Folders[0] = c.capture_folder;
        Test_dialogs::Instance().Reset();
        Test_dialogs::Instance().Answer_File(std::nullopt);
        w.item_open_Click();
        ASSERT_EQ(Test_dialogs::Instance().Shown_Dialogs().size(), 1u);
        EXPECT_EQ(Test_dialogs::Instance().Shown_Dialogs()[0].start_folder, c.start) << c.last_dir << " " << c.capture_folder;
    }
    Capture_Folders[0].clear();
}

TEST_F(Review_fields, Roads_that_find_nothing_to_open) {
    Frm_kanot_2& w = Window();
    Test_dialogs::Instance().Answer_File(std::nullopt);
    w.item_open_Click();
    EXPECT_FALSE(w.Replay_File.File_open());

    Last_Captured_File = "N/A";
    Test_dialogs::Instance().Answer(ui::vbOK);
    w.item_open_last_Click();

    // A last heat of 1048575 bytes is empty.
    Last_Captured_File = heats + "/short.kd3";
    {
        std::ofstream(Last_Captured_File, std::ios::binary) << std::string(1048575, 'x');
    }
    Test_dialogs::Instance().Answer(ui::vbOK);
    w.Open_last_File();

    Test_dialogs::Instance().Answer(ui::vbOK);
    w.Handle_Open_File(heats + "/missing.kd3");

    Non_dependant::Write_Ini("Canoe", "last_dir", heats + "/none", Ini_file_path);
    w.Update_Recent_Files();
    EXPECT_EQ(w.item_Open_Newest[0].Caption(), "[no files]");
    w.item_Open_Newest_Click(0);

    Test_dialogs::Instance().Answer(ui::vbOK);
    w.item_file_properties_Click();
    EXPECT_EQ(Prompts(), (std::vector<std::string>{"Open", "Sorry, no last capture info stored!", "Empty file!",
                                                   "File does not exist!\r\n" + heats + "/missing.kd3",
                                                   "No file open!"}));
}

TEST_F(Review_fields, Bad_files_are_refused_or_open_read_only_and_keep_their_bytes) {
    Frm_kanot_2& w = Window();
    const std::string good = Heat("good.kd3");
    const std::string text = heats + "/text.kd3";
    std::ofstream(text) << "this is no capture file\n";
    const std::string truncated = heats + "/truncated.kd3";
    std::filesystem::copy_file(good, truncated);
    std::filesystem::resize_file(truncated, 20000);  // inside the header record
    const std::string garbled = heats + "/garbled.kd3";
    std::filesystem::copy_file(good, garbled);
    {
        std::fstream f(garbled, std::ios::in | std::ios::out | std::ios::binary);
        std::vector<uint8_t> bytes = File_Bytes(garbled);
        // The header text's markup broken: every "<" becomes "{".
        for (size_t i = 0; i < 32000 && i < bytes.size(); ++i)
            if (bytes[i] == '<') bytes[i] = '{';
        f.write(reinterpret_cast<const char*>(bytes.data()), 32000);
    }
    const std::string missing_element = heats + "/missing_element.kd3";
    std::filesystem::copy_file(good, missing_element);
    {
        // A well-formed header that lacks the frame count.
        std::vector<uint8_t> bytes = File_Bytes(missing_element);
        std::string head(bytes.begin(), bytes.begin() + 32000);
        for (const std::string tag : {"<num_frames>", "</num_frames>"}) {
            const size_t at = head.find(tag);
            head[at + tag.size() - 2] = 'z';
        }
        std::fstream f(missing_element, std::ios::in | std::ios::out | std::ios::binary);
        f.write(head.data(), 32000);
    }
    Heat_layout none;
    none.frames.clear();
    const std::string empty = heats + "/empty.kd3";
    {
        cls_VideoFile_handler store;
        Make_Heat_File(store, empty, 440, 1080, 40000);
    }

    struct Case {
        std::string path;
        std::string message;
        int boxes;  // the header's own parse message comes first outside the built program
    } cases[] = {{text, "Not a valid vantOrel file!\r\n" + text + "\r\nit is shorter than a header record", 1},
                 {truncated, "Not a valid vantOrel file!\r\n" + truncated + "\r\nit is shorter than a header record", 1},
                 {garbled, "Not a valid vantOrel file!\r\n" + garbled + "\r\nits header is not readable", 2},
                 // A damaged header is a message naming the file and what it lacks, never an error report.
                 {missing_element, "Not a valid vantOrel file!\r\n" + missing_element + "\r\nits header has no \"num_frames\"", 1},
                 {empty, empty + "\r\nNo video frames in this file!", 1}};
    Frm_results& results = Frm_results::Instance();
    for (const Case& c : cases) {
        SCOPED_TRACE(c.path);
        const std::vector<uint8_t> before = File_Bytes(c.path);
        // Refused after a heat was shown: nothing of that heat, nor the refused file's name, stays.
        w.Handle_Open_File(good);
        ASSERT_TRUE(w.Replay_File.File_open());
        ASSERT_NE(results.orig_Start_Local_Time, 0);
        for (int i = 0; i < c.boxes; ++i) Test_dialogs::Instance().Answer(ui::vbOK);
        reports.clear();
        w.Handle_Open_File(c.path);
        EXPECT_EQ(Prompts().back(), c.message);
        EXPECT_TRUE(reports.empty()) << reports.front();
        EXPECT_FALSE(w.Replay_File.File_open());
        EXPECT_EQ(w.Current_File_Name, "");
        EXPECT_EQ(w.Caption(), "Vantorel Video Replay ");
        EXPECT_EQ(results.orig_Start_Local_Time, 0);
        EXPECT_EQ(Text(&results.Lbl_hms(0)), "00");
        EXPECT_EQ(File_Bytes(c.path), before);
        // The window stays usable: the good heat opens after it.
        reports.clear();
        w.Handle_Open_File(good);
        EXPECT_TRUE(w.Replay_File.File_open());
        w.item_close_Click();
    }

    // A read-only heat opens, steps and closes without a byte written.
    std::filesystem::permissions(good, std::filesystem::perms::owner_read | std::filesystem::perms::group_read);
    const std::vector<uint8_t> before = File_Bytes(good);
    reports.clear();
    w.Handle_Open_File(good);
    EXPECT_TRUE(w.Replay_File.File_open());
    EXPECT_TRUE(w.Replay_File.Read_only());
    Press(Qt::Key_Right);
    EXPECT_EQ(Text(w.Lbl_frameno), "0002");
    w.item_close_Click();
    EXPECT_EQ(File_Bytes(good), before);
    EXPECT_TRUE(reports.empty());
}

TEST_F(Review_fields, Field_times_by_time_stamp_and_by_frame_count) {
    Heat_layout layout;
    // Frame 1 at the start; frame 2 100 ms later, frame 3 140 ms, frame 4 50 ms before the start, frame 5
    // 25 events and 1003 ms after it.
    layout.frames = {{layout.start_tick, layout.start_events},
                   {layout.start_tick + 100, layout.start_events + 2},
                   {layout.start_tick + 140, layout.start_events + 3},
                   {layout.start_tick - 50, layout.start_events - 1},
                   {layout.start_tick + 1003, layout.start_events + 25}};
    const std::string path = Heat("times.kd3", layout);
    Frm_kanot_2& w = Window();
    w.Handle_Open_File(path);
    struct Row {
        int32_t field;
        const char* timestamp;
        const char* framecount;
    } rows[] = {{1, " 00:00,00", " 00:00,00"}, {2, " 00:00,02", " 00:00,02"}, {3, " 00:00,08", " 00:00,08"},
                {4, " 00:00,10", " 00:00,10"}, {5, " 00:00,16", " 00:00,12"}, {7, "-00:00,04", "-00:00,04"},
                {8, "-00:00,02", "-00:00,02"}, {9, " 00:01,00", " 00:01,00"}, {10, " 00:01,02", " 00:01,02"}};
    for (bool frame_count : {false, true}) {
        if (frame_count) w.Set_Timing_Framecount();
        else w.Set_Timing_Frametimestamp();
        for (const Row& r : rows) {
            SCOPED_TRACE(r.field);
            Show_Field(r.field);
            EXPECT_EQ(Text(w.Lbl_frameno), vb::Format(r.field, "0000"));
            EXPECT_EQ(Text(w.lbl_elapsed_time), frame_count ? r.framecount : r.timestamp);
            EXPECT_TRUE(w.Shown_Field_Time_Known);
        }
    }
    // The delta label counts from the field its zero was taken at; before it, "---".
    Show_Field(9);
    w.Lbl_delta_time_Click();
    EXPECT_EQ(Text(w.Lbl_delta_time), " 00:00,00");
    Show_Field(10);
    EXPECT_EQ(Text(w.Lbl_delta_time), " 00:00,02");
    Show_Field(3);
    EXPECT_EQ(Text(w.Lbl_delta_time), "---");
    EXPECT_EQ(w.Get_Elapsed_HDMI_events_mill(), 80);
    EXPECT_EQ(w.Get_Elapsed_Rounded_mill(), 80);
    EXPECT_TRUE(reports.empty());
}

TEST_F(Review_fields, Progressive_frame_is_whole_for_both_of_its_fields) {
    Heat_layout layout;
    layout.interlaced = false;
    layout.frames = {{layout.start_tick, layout.start_events}, {layout.start_tick + 20, layout.start_events + 1},
                   {layout.start_tick + 41, layout.start_events + 2}};
    const std::string path = Heat("progressive.kd3", layout);
    Frm_kanot_2& w = Window();
    w.Handle_Open_File(path);
    EXPECT_EQ(w.Slider_play->maximum(), 6);
    struct Row {
        int32_t field;
        const char* time;
    } rows[] = {{1, " 00:00,00"}, {2, " 00:00,00"}, {3, " 00:00,02"}, {4, " 00:00,02"}, {5, " 00:00,04"}, {6, " 00:00,04"}};
    for (bool frame_count : {false, true}) {
        if (frame_count) w.Set_Timing_Framecount();
        else w.Set_Timing_Frametimestamp();
        for (const Row& r : rows) {
            SCOPED_TRACE(r.field);
            Show_Field(r.field);
            EXPECT_EQ(Text(w.lbl_elapsed_time), r.time);
        }
    }
    // Field 2 shows every line of frame 1, not every other line.
    Show_Field(2);
    const cDIBSection& field = w.Replay_File.Field_Image();
    const cDIBSection& frame = w.Replay_File.Frame_Image();
    EXPECT_EQ(std::memcmp(field.DIBSectionBitsPtr(), frame.DIBSectionBitsPtr(),
                          static_cast<size_t>(frame.BytesPerScanLine()) * frame.Height()),
              0);
}

TEST_F(Review_fields, A_field_that_cannot_be_read_has_no_time_and_takes_no_result) {
    const std::string path = Heat("cut.kd3");
    Frm_kanot_2& w = Window();
    w.Handle_Open_File(path);
    Show_Field(3);
    Press(Qt::Key_3);
    EXPECT_EQ(w.Replay_File.Heat_time(1, 3), 40);
    // The last frames cut off the file behind the window's back.
    std::filesystem::resize_file(path, std::filesystem::file_size(path) - 3 * 40058);
    Show_Field(71);
    EXPECT_EQ(Text(w.Lbl_frameno), "0071");
    EXPECT_EQ(Text(w.lbl_elapsed_time), "");
    EXPECT_EQ(Text(w.Lbl_delta_time), "");
    EXPECT_FALSE(w.Shown_Field_Time_Known);
    const std::vector<uint8_t> header = File_Bytes(path);
    Press(Qt::Key_2);
    EXPECT_EQ(w.Replay_File.Heat_time(1, 2), 999999999);
    EXPECT_EQ(File_Bytes(path), header);
    EXPECT_TRUE(Prompts().empty());
    // A readable field has its time again.
    Show_Field(5);
    EXPECT_EQ(Text(w.lbl_elapsed_time), " 00:00,08");
}

TEST_F(Review_fields, Keys_and_wheel_step_the_slider) {
    const std::string path = Heat("keys.kd3");
    Frm_kanot_2& w = Window();
    w.Handle_Open_File(path);
    Press(Qt::Key_Right);
    EXPECT_EQ(w.Slider_play->value(), 2);
    EXPECT_EQ(Text(w.Lbl_frameno), "0002");
    EXPECT_EQ(Text(w.lbl_elapsed_time), " 00:00,02");
    Press(Qt::Key_End);
    EXPECT_EQ(Text(w.Lbl_frameno), "0072");
    Press(Qt::Key_Left);
    EXPECT_EQ(Text(w.Lbl_frameno), "0071");
    EXPECT_EQ(Text(w.lbl_elapsed_time), " 00:01,40");
    // The minus and plus keys and letters do nothing; digits give results (tested with the results).
    Press(Qt::Key_Minus);
    Press(Qt::Key_A);
    EXPECT_EQ(w.Slider_play->value(), 71);
    // The wheel towards the user steps forward, away back.
    w.Slider_play->setFocus();
    w.Show();
    QApplication::processEvents();
    w.Slider_play->setFocus();
    int32_t keys = 0, x = 0, y = 0;
    int32_t towards = -120, away = 120;
    if (w.focusWidget() == w.Slider_play) {
        w.MouseWheel(keys, away, x, y);
        EXPECT_EQ(Text(w.Lbl_frameno), "0070");
        w.MouseWheel(keys, towards, x, y);
        EXPECT_EQ(Text(w.Lbl_frameno), "0071");
    }
    // Stepping past the last field stays on it.
    Show_Field(72);
    w.item_step_forward_Click();
    EXPECT_EQ(w.Slider_play->value(), 72);
    w.Hide();
}

TEST_F(Review_fields, More_than_16383_frames_open_and_navigate) {
    Heat_layout layout;
    layout.width = 16;
    layout.height = 8;
    layout.buffer = 1000;
    layout.frames = Regular_Frames(17000, layout.start_tick, layout.start_events);
    const std::string path = Heat("long.kd3", layout);
    Frm_kanot_2& w = Window();
    w.Handle_Open_File(path);
    EXPECT_EQ(w.Slider_play->maximum(), 34000);
    Show_Field(33999);
    EXPECT_EQ(Text(w.Lbl_frameno), "33999");
    EXPECT_EQ(w.Replay_File.KD3_Displayed_Frame(), 17000);
    EXPECT_EQ(Text(w.lbl_elapsed_time), " 11:19,96");
    EXPECT_TRUE(reports.empty());
}

TEST_F(Review_fields, A_time_beyond_32_bits_keeps_the_labels_and_the_next_field_draws) {
    Heat_layout layout;
    layout.start_events = 0;
    layout.frames = {{layout.start_tick, 0}, {layout.start_tick + 40, 60000000}, {layout.start_tick + 80, 2}};
    const std::string path = Heat("overflow.kd3", layout);
    Frm_kanot_2& w = Window();
    w.Handle_Open_File(path);
    w.Set_Timing_Framecount();
    Show_Field(2);
    EXPECT_EQ(Text(w.lbl_elapsed_time), " 00:00,02");
    // In the built program the error is reported and the labels keep their texts.
    Is_Compiled = true;
    Show_Field(3);
    Is_Compiled = false;
    EXPECT_EQ(Text(w.Lbl_frameno), "0003");
    EXPECT_EQ(Text(w.lbl_elapsed_time), " 00:00,02");
    ASSERT_EQ(reports.size(), 1u);
    EXPECT_EQ(reports[0].rfind("Update_frame_time of Form frm_kanot_2: 6", 0), 0u) << reports[0];
    // Outside it the error reaches the caller, and the hub is not left busy.
    EXPECT_THROW(Show_Field(4), VbError);
    Show_Field(5);
    EXPECT_EQ(Text(w.Lbl_frameno), "0005");
    EXPECT_EQ(Text(w.lbl_elapsed_time), " 00:00,08");
}

TEST_F(Review_fields, The_magnifier_needs_a_file_and_draws_its_frame) {
    Frm_kanot_2& w = Window();
    w.item_zoom.Click();
    EXPECT_FALSE(w.Zoom_Mode);
    EXPECT_FALSE(w.item_zoom.Checked());
    w.Handle_Open_File(Heat("zoom.kd3"));
    w.Picture_large->resize(220, 540);
    w.View_Scale = 0.5f;
    w.item_zoom.Click();
    EXPECT_TRUE(w.Zoom_Mode);
    w.Picture_large_MouseMove(1, 0, 20, 30);
    // The yellow frame round the magnified part: 110 wide, 77 high, from (20, 30).
    gdi::Device_context* dc = w.Picture_large->hDC();
    EXPECT_EQ(gdi::GetPixel(dc, 20, 60), 0x10FFFFu);
    EXPECT_EQ(gdi::GetPixel(dc, 130, 60), 0x10FFFFu);
    EXPECT_EQ(gdi::GetPixel(dc, 60, 107), 0x10FFFFu);
    w.item_zoom.Click();
    EXPECT_FALSE(w.Zoom_Mode);
    // Opening a heat turns the magnifier off.
    w.item_zoom.Click();
    w.Handle_Open_File(Heat("zoom2.kd3"));
    EXPECT_FALSE(w.Zoom_Mode);
    EXPECT_FALSE(w.item_zoom.Checked());
}

TEST_F(Review_fields, Rename_appends_the_suffix_and_an_empty_answer_keeps_the_file) {
    const std::string path = Heat("rename.kd3");
    Frm_kanot_2& w = Window();
    w.Handle_Open_File(path);
    // The heat stays open under its old name when it keeps it, under the new one when it moves.
    Test_dialogs::Instance().Answer_Input("");
    w.item_rename_file_Click();
    EXPECT_TRUE(w.Replay_File.File_open());
    EXPECT_EQ(w.Replay_File.File_name(), path);
    EXPECT_TRUE(std::filesystem::exists(path));
    Test_dialogs::Instance().Answer_Input(heats + "/heat7");
    w.item_rename_file_Click();
    EXPECT_FALSE(std::filesystem::exists(path));
    ASSERT_TRUE(std::filesystem::exists(heats + "/heat7.kd3"));
    EXPECT_TRUE(w.Replay_File.File_open());
    EXPECT_EQ(w.Replay_File.File_name(), heats + "/heat7.kd3");
    EXPECT_EQ(w.Caption(), "Vantorel Video Replay heat7.kd3");
    // It takes keys: the shown field's time goes into the renamed file.
    w.Set_Slider_Value(51);
    w.Slider_play_Scroll();
    QKeyEvent press(QEvent::KeyPress, Qt::Key_2, Qt::NoModifier);
    QApplication::sendEvent(w.Slider_play, &press);
    QKeyEvent release(QEvent::KeyRelease, Qt::Key_2, Qt::NoModifier);
    QApplication::sendEvent(w.Slider_play, &release);
    EXPECT_EQ(Text(&Frm_results::Instance().Lbl_result_lane(0)), "2");
    w.Close_File();
    {
        cls_VideoFile_handler store;
        store.File_name(heats + "/heat7.kd3");
        store.Open_RGB_File();
        EXPECT_GT(store.Heat_result(1, 2), 0);
        EXPECT_LT(store.Heat_result(1, 2), First_Code);
    }
    Test_dialogs::Instance().Answer_Input(heats + "/heat8");
    w.rename_file(heats + "/heat7.kd3");
    EXPECT_TRUE(std::filesystem::exists(heats + "/heat8.kd3"));
    // An existing name is not overwritten.
    const std::string other = Heat("other.kd3");
    Test_dialogs::Instance().Answer_Input(heats + "/heat8.kd3");
    Is_Compiled = true;
    w.rename_file(other);
    Is_Compiled = false;
    EXPECT_TRUE(std::filesystem::exists(other));
    ASSERT_EQ(reports.size(), 1u);
    EXPECT_EQ(reports[0].rfind("rename_file of Form frm_kanot_2: 58", 0), 0u) << reports[0];
}

template <class Done>
void Run_Until(Done done) {
    QElapsedTimer clock;
    clock.start();
    while (!done() && clock.elapsed() < 20000) QApplication::processEvents(QEventLoop::AllEvents, 10);
}

TEST_F(Review_fields, Playback_runs_on_its_timer_to_the_last_frame) {
    Heat_layout layout;
    layout.frames = Regular_Frames(12, layout.start_tick, layout.start_events);
    const std::string path = Heat("play.kd3", layout);
    Frm_kanot_2& w = Window();
    w.Handle_Open_File(path);
    const int32_t start = Non_dependant::Get_Mill_Time();
    w.Cmd_play_Click();
    EXPECT_TRUE(w.Playing());
    EXPECT_FALSE(w.Cmd_play->isEnabled());
    Run_Until([&] { return !w.Playing(); });
    EXPECT_FALSE(w.Playing());
    EXPECT_TRUE(w.Cmd_play->isEnabled());
    EXPECT_EQ(w.Slider_play->value(), 24);
    EXPECT_EQ(Text(w.Lbl_frameno), "0024");
    EXPECT_EQ(Text(w.lbl_elapsed_time), " 00:00,46");
    // Paced on 40 ms a frame: the eleventh frame waits until 440 ms after the start.
    EXPECT_GE(Non_dependant::Get_Mill_Time() - start, 440);
}

TEST_F(Review_fields, Playback_timing_check_compares_numbers) {
    Heat_layout layout;
    // From 80 ms before the start on: the times' texts go from "-" to " ", which a text comparison
    // takes as going back; then 10 s after 9.96 s, then frame 9 is captured no later than frame 8.
    layout.frames = {{layout.start_tick - 80, 0}, {layout.start_tick - 40, 0}, {layout.start_tick, 0},
                   {layout.start_tick + 40, 0}, {layout.start_tick + 9960, 0}, {layout.start_tick + 10000, 0},
                   {layout.start_tick + 10040, 0}, {layout.start_tick + 10080, 0}, {layout.start_tick + 10080, 0},
                   {layout.start_tick + 10120, 0}};
    const std::string path = Heat("timing.kd3", layout);
    Frm_kanot_2& w = Window();
    w.Handle_Open_File(path);
    w.Check_Timing = true;
    w.Cmd_play_Click();
    Run_Until([&] { return !w.Playing(); });
    EXPECT_EQ(w.Slider_play->value(), 18);
    EXPECT_TRUE(w.Cmd_play->isEnabled());
    w.Check_Timing = false;
}

TEST_F(Review_fields, Closing_keeps_no_file_and_the_hub_draws_nothing) {
    const std::string path = Heat("close.kd3");
    Frm_kanot_2& w = Window();
    w.Handle_Open_File(path);
    Show_Field(5);
    w.item_close_Click();
    EXPECT_FALSE(w.Replay_File.File_open());
    EXPECT_EQ(w.Replay_File.File_name(), "");
    EXPECT_EQ(w.Slider_play->value(), 1);
    const std::string before = Text(w.Lbl_frameno);
    Show_Field(9);
    EXPECT_EQ(Text(w.Lbl_frameno), before);
    // The camera running: no drawing either.
    w.Handle_Open_File(path);
    Capture_Running = true;
    Show_Field(9);
    EXPECT_EQ(Text(w.Lbl_frameno), "0001");
    Capture_Running = false;
    // Deleting asks first: Cancel keeps the heat open, OK closes and removes the file.
    Test_dialogs::Instance().Answer(ui::vbCancel);
    w.item_Delete_File_Click();
    ASSERT_EQ(Test_dialogs::Instance().Shown_Prompts().size(), 1u);
    EXPECT_EQ(Test_dialogs::Instance().Shown_Prompts()[0], "Delete this file for good?\r\n" + path);
    EXPECT_EQ(Test_dialogs::Instance().Shown_Dialogs()[0].title, "Delete file");
    EXPECT_TRUE(w.Replay_File.File_open());
    EXPECT_TRUE(std::filesystem::exists(path));
    Test_dialogs::Instance().Answer(ui::vbOK);
    w.item_Delete_File_Click();
    EXPECT_FALSE(w.Replay_File.File_open());
    EXPECT_FALSE(std::filesystem::exists(path));
}

// Close File and Delete leave nothing of the heat on screen: no size, times, field, start, heat ID,
// event name or chosen correction step that would pass for the next heat's.
TEST_F(Review_fields, A_closed_heat_leaves_nothing_on_screen) {
    Frm_kanot_2& w = Window();
    Frm_results& results = Frm_results::Instance();
    for (const bool deleted : {false, true}) {
        SCOPED_TRACE(deleted);
        const std::string path = Heat(deleted ? "deleted.kd3" : "closed.kd3");
        w.Handle_Open_File(path);
        {
            cls_VideoFile_handler store;
            store.File_name(path);
            store.Open_RGB_File();
            store.Event_name("Vallentuna Sprint");
        }
        // As an export leaves it: the program's event name is the heat's.
        Non_dependant::Write_Ini("Canoe", "event_name", "Program regatta", Ini_file_path);
        Event_Name = "Vallentuna Sprint";
        w.Set_Captions();
        Show_Field(5);
        results.Lbl_hms_correction_Click(2);
        ASSERT_NE(results.Correction_Step(), 0);
        ASSERT_FALSE(Text(w.Lbl_filesize).empty());
        ASSERT_FALSE(Text(results.lbl_event_name).empty());
        if (deleted) {
            Test_dialogs::Instance().Answer(ui::vbOK);
            w.item_Delete_File_Click();
        } else {
            w.item_close_Click();
        }
        for (QLabel* label : {w.Lbl_Frame_size, w.Lbl_filesize, w.lbl_elapsed_time, w.Lbl_delta_time, w.Lbl_frameno,
                              w.Label_heatID, w.Label_start_time, w.Label_mismatch, results.Lbl_heat})
            EXPECT_EQ(Text(label), "") << Text(label);
        EXPECT_EQ(Text(results.lbl_event_name), "Program regatta");
        EXPECT_EQ(Event_Name, "Program regatta");
        EXPECT_EQ(results.Correction_Step(), 0);
        EXPECT_EQ(results.Lbl_hms_correction(2).palette().color(QPalette::Window),
                  results.Lbl_hms_correction(0).palette().color(QPalette::Window));
        EXPECT_TRUE(w.Picture_large->Picture().isNull());
    }
}

}  // namespace

TEST_F(Review_fields, A_refused_heat_clears_the_last_one_and_a_heat_cut_short_says_what_is_missing) {
    Frm_kanot_2& w = Window();
    const std::string good = Heat("good.kd3");
    w.Handle_Open_File(good);
    Expect_Open(good);

    // A frame size no capture gives: the store's report alone, and nothing of the last heat stays shown.
    const std::string huge = heats + "/huge.kd3";
    std::filesystem::copy_file(good, huge);
    {
        cls_VideoFile_handler editor;
        editor.File_name(huge);
        editor.Open_RGB_File();
        editor.Header().RGB_Y(30000);
        editor.Write_KD3_header();
        editor.Close_File();
    }
    w.Handle_Open_File(huge);
    EXPECT_FALSE(w.Replay_File.File_open());
    ASSERT_EQ(reports.size(), 1u);
    EXPECT_NE(reports[0].find("frame size of 440 x 30000"), std::string::npos) << reports[0];
    for (QLabel* label : {w.Label_heatID, w.Label_start_time, w.Lbl_Frame_size, w.Lbl_filesize, w.Lbl_frameno,
                          w.lbl_elapsed_time, w.Label_mismatch})
        EXPECT_EQ(Text(label), "");
    EXPECT_EQ(w.Slider_play->maximum(), w.Slider_play->minimum());
    EXPECT_TRUE(Prompts().empty());
    reports.clear();

    // Cut inside record 6: five frames offered, the rest said to be missing.
    const std::string cut = heats + "/cut.kd3";
    std::filesystem::copy_file(good, cut);
    cls_VideoFile_handler probe;
    probe.File_name(good);
    probe.Open_RGB_File();
    const int64_t record = probe.Header().RGB_Sample_Size();
    probe.Close_File();
    std::filesystem::resize_file(cut, static_cast<uintmax_t>(32016 + 5 * record + 100));
    w.Handle_Open_File(cut);
    EXPECT_TRUE(w.Replay_File.File_open());
    EXPECT_EQ(w.Slider_play->maximum(), 10);
    EXPECT_EQ(Text(w.Label_mismatch), "31 of 36 frames missing");
    w.Handle_Open_File(good);
    EXPECT_EQ(Text(w.Label_mismatch), "");
    EXPECT_TRUE(reports.empty());
}

TEST_F(Review_fields, A_heat_that_can_be_read_but_not_written_opens_read_only) {
    Frm_kanot_2& w = Window();
    const std::string path = Heat("theirs.kd3");
    const std::vector<uint8_t> before = File_Bytes(path);
    for (int error : {EACCES, EROFS}) {
        Binary_file::Set_Fault_Hook([&](Binary_file::Operation op, const std::string& file, int64_t, int64_t) {
            return op == Binary_file::Operation::open_for_writing && file == path ? Binary_file::Fault{0, error}
                                                                                 : Binary_file::Fault{};
        });
        w.Handle_Open_File(path);
        Binary_file::Set_Fault_Hook(nullptr);
        Expect_Open(path);
        EXPECT_TRUE(w.Replay_File.Read_only());
        EXPECT_TRUE(Prompts().empty());
        w.item_close_Click();
    }
    EXPECT_EQ(File_Bytes(path), before);
}
