// Automatic finish detection in the review window on heats written by the store: a run with "Set times
// on auto" gives the lane its time in the file, progressive heats are run frame by frame, a run without
// a file or over one field changes nothing, and the trigger limits reach the ini file only from a
// window that was used.
#include "Heat_fixture.h"
#include "Review_initialization.h"
#include "Test_dialogs.h"
#include "imaging/cDIBSection.h"
#include "imaging/mIntelJPEGLibrary.h"
#include "platform/ui/Picture_box.h"
#include "platform/vb/Error_trap.h"
#include "review/Form_Auto_detect.h"
#include "review/Frm_kanot_2.h"
#include "review/Module_Vantorel_results.h"
#include "shell/Module_Vantorel.h"
#include "shell/Non_dependant.h"

#include <QApplication>
#include <QCheckBox>
#include <QLabel>
#include <QImage>
#include <QSlider>
#include <QSpinBox>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <gtest/gtest.h>

namespace {

using namespace Module_Vantorel;

constexpr int32_t Width = 440, Height = 400;

// Water with a yellow bow in lane 2 (rows 130 to 170, between the marks at rows 100 and 200) whose front
// reaches the goal line (column 200) at frame `arrive` and moves 8 pixels a frame.
std::vector<uint8_t> Bow_JPEG(int32_t n, int32_t arrive) {
    cDIBSection dib;
    dib.Create(Width, Height);
    const int32_t front = 200 + 8 * (n - arrive);
    for (int32_t y = 0; y < Height; ++y) {
        uint8_t* row = dib.DIBSectionBitsPtr() + static_cast<int64_t>(Height - 1 - y) * dib.BytesPerScanLine();
        for (int32_t x = 0; x < Width; ++x) {
            const bool bow = y >= 130 && y <= 170 && x <= front && x > front - 80;
            row[3 * x] = bow ? 0 : 0x70;         // blue
            row[3 * x + 1] = bow ? 230 : 0x50;   // green
            row[3 * x + 2] = bow ? 230 : 0x30;   // red
        }
    }
    std::vector<uint8_t> out(1000000);
    int32_t size = static_cast<int32_t>(out.size());
    EXPECT_TRUE(mIntelJPEGLibrary::Encode_DIB_To_JPG(dib, out.data(), size, 90));
    out.resize(static_cast<size_t>(size));
    return out;
}

class Auto_detect_window : public testing::Test {
protected:
    void SetUp() override {
        Install_Review_Initialization();
        Vantorel_Mode = true;
        folder = Test_folder() + "/data/vantorel";
        std::filesystem::create_directories(folder);
        std::ofstream(folder + "/Vantorel_HDMI.ini") << "[Canoe]\r\nLane_num=3\r\n";
        heats = Test_folder() + "/heats";
        std::filesystem::create_directories(heats);
        vb::Set_Error_Reporter([this](const std::string& description, int32_t number, int32_t, const std::string& location,
                                      const std::string&) { reports.push_back(location + ": " + std::to_string(number) + " " + description); });
    }
    void TearDown() override {
        Window().Close_File();
        Form().Check_set_times_auto->setChecked(false);
        vb::Set_Error_Reporter(nullptr);
        Vantorel_Mode = false;
        Is_Compiled = false;
    }
    Frm_kanot_2& Window() { return Frm_kanot_2::Instance(); }
    Form_Auto_detect& Form() { return Form_Auto_detect::Instance(); }
    std::string Heat(const std::string& name, int32_t frames, bool interlaced, int32_t arrive) {
        Heat_layout layout;
        layout.width = Width;
        layout.height = Height;
        layout.interlaced = interlaced;
        layout.locked = true;
        layout.frames = Regular_Frames(frames, layout.start_tick, layout.start_events);
        layout.picture = [arrive](int32_t n) { return Bow_JPEG(n, arrive); };
        const std::string path = heats + "/" + name;
        Write_Heat(path, layout);
        return path;
    }
    static std::string Bytes(const std::string& path) {
        std::ifstream in(path, std::ios::binary);
        return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    }
    std::string folder, heats;
    std::vector<std::string> reports;
};

TEST_F(Auto_detect_window, Set_times_on_auto_gives_the_lane_the_field_of_its_finish_in_the_file) {
    struct Case {
        const char* what;
        bool interlaced;
        int32_t frames, arrive;
        int32_t goal_field;
    } cases[] = {
        {"interlaced: both fields of every frame", true, 6, 5, 9},
        // The second half of a progressive heat is reached too, each frame once.
        {"progressive: one field per frame", false, 12, 9, 17},
    };
    for (const Case& c : cases) {
        const std::string path = Heat(std::string(c.interlaced ? "i" : "p") + ".kd3", c.frames, c.interlaced, c.arrive);
        Frm_kanot_2& w = Window();
        w.Handle_Open_File(path);
        ASSERT_TRUE(w.Replay_File.File_open()) << c.what;
        Form().Check_set_times_auto->setChecked(true);
        w.Auto_Detect();
        EXPECT_EQ(w.Slider_play->value(), c.interlaced ? 2 * c.frames : 2 * c.frames - 1) << c.what;
        w.Close_File();

        cls_VideoFile_handler file;
        file.File_name(path);
        file.Open_RGB_File();
        for (int16_t lane : {1, 3}) EXPECT_EQ(file.Heat_result(1, lane), No_Result) << c.what << " lane " << lane;
        EXPECT_EQ(file.Heat_Goalfield(1, 2), c.goal_field) << c.what;
        EXPECT_GT(file.Heat_result(1, 2), 0) << c.what;
        EXPECT_LT(file.Heat_result(1, 2), First_Code) << c.what;
        file.Close_File();
    }
    EXPECT_TRUE(reports.empty()) << reports.front();
}

TEST_F(Auto_detect_window, Without_set_times_or_in_the_test_command_spans_fire_without_a_time) {
    const std::string path = Heat("t.kd3", 6, true, 1);
    const std::string before = Bytes(path);
    Frm_kanot_2& w = Window();
    w.Handle_Open_File(path);
    ASSERT_TRUE(w.Replay_File.File_open());
    Form().Check_set_times_auto->setChecked(true);
    w.item_test_auto_lanes_Click();
    ASSERT_EQ(w.Auto.Span_Count(), 3);
    EXPECT_TRUE(w.Auto.Lane_Spans[1].Triggered);
    Form().Check_set_times_auto->setChecked(false);
    w.Auto_Detect();
    EXPECT_TRUE(w.Auto.Lane_Spans[1].Triggered);
    w.Close_File();
    EXPECT_EQ(Bytes(path), before);
    EXPECT_TRUE(reports.empty()) << reports.front();
}

TEST_F(Auto_detect_window, The_run_ends_showing_the_field_it_reached_as_a_field_display_draws_it) {
    const std::string path = Heat("shown.kd3", 6, true, 1);
    Frm_kanot_2& w = Window();
    w.Handle_Open_File(path);
    ASSERT_TRUE(w.Replay_File.File_open());
    const auto shown = [&w] { return w.Picture_large->grab().toImage(); };
    const QImage before = shown();
    w.Auto_Detect();
    ASSERT_EQ(w.Slider_play->value(), 12);
    EXPECT_EQ(w.Lbl_frameno->text(), "0012");
    const QImage after = shown();
    w.Set_Slider_Value(12);
    w.Slider_play_Scroll();
    EXPECT_EQ(after, shown());
    EXPECT_NE(after, before);
    EXPECT_TRUE(reports.empty()) << reports.front();
}

// The run lets events through while it shows each field: a heat opened (or the heat closed) by the first of
// them ends the run, and the heat opened then gets no times from the fields and marks of the other.
TEST_F(Auto_detect_window, A_heat_opened_or_closed_during_the_run_ends_it_and_gets_no_times) {
    struct Case {
        const char* what;
        bool open_another;
    } cases[] = {{"another heat opened", true}, {"the heat closed", false}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const std::string run = Heat("run.kd3", 6, true, 5);
        const std::string other = Heat("other.kd3", 6, true, 2);  // lane 2 finishes in field 3
        const std::string run_before = Bytes(run), other_before = Bytes(other);
        Frm_kanot_2& w = Window();
        w.Handle_Open_File(run);
        ASSERT_TRUE(w.Replay_File.File_open());
        Form().Check_set_times_auto->setChecked(true);
        Test_dialogs::Instance().Reset();
        QMetaObject::invokeMethod(
            qApp, [&w, &c, &other] { c.open_another ? w.Handle_Open_File(other) : w.item_close_Click(); },
            Qt::QueuedConnection);
        w.Auto_Detect();
        EXPECT_EQ(w.Replay_File.File_open(), c.open_another);
        if (c.open_another) {
            EXPECT_EQ(w.Replay_File.File_name(), other);
            EXPECT_EQ(w.Auto.Span_Count(), 0);  // its marks never set up: none of its fields was tested
        }
        EXPECT_TRUE(Test_dialogs::Instance().Shown_Prompts().empty());
        w.Close_File();
        EXPECT_TRUE(Bytes(run) == run_before);
        EXPECT_TRUE(Bytes(other) == other_before);
    }
    EXPECT_TRUE(reports.empty()) << reports.front();
}

TEST_F(Auto_detect_window, A_run_without_a_file_or_over_one_field_changes_nothing) {
    Frm_kanot_2& w = Window();
    w.Auto.Reset();
    Form().Check_set_times_auto->setChecked(true);
    w.Auto_Detect();
    EXPECT_EQ(w.Auto.Span_Count(), 0);

    const std::string path = Heat("one.kd3", 1, false, 1);
    const std::string before = Bytes(path);
    w.Handle_Open_File(path);
    ASSERT_TRUE(w.Replay_File.File_open());
    w.Auto_Detect();
    EXPECT_EQ(w.Auto.Span_Count(), 0);
    w.Close_File();
    EXPECT_EQ(Bytes(path), before);
    EXPECT_TRUE(reports.empty()) << reports.front();
}

TEST_F(Auto_detect_window, Trigger_levels_are_stored_only_from_a_window_that_was_used) {
    Window();  // the start-up initialisation names the ini file
    const std::string ini = Ini_file_path;
    ASSERT_FALSE(ini.empty());
    std::ofstream(ini) << "[settings]\r\ntrigger_levels=30,95,20,10\r\n";
    // Loaded for the field display's question, never shown, unloaded at exit: the stored limits stay.
    Form_Auto_detect::Instance();
    EXPECT_EQ(Form().Label_hue_min->text().toStdString(), "40");
    Form().Unload(ui::vbAppWindows);
    EXPECT_EQ(Non_dependant::Read_Ini("settings", "trigger_levels", Ini_file_path, "N/A"), "30,95,20,10");

    // Shown: the stored limits come in, a step of an up-down goes on from the shown limit, and closing
    // keeps the change.
    Form().Load_Trigger_levels();
    EXPECT_EQ(Form().Label_hue_max->text().toStdString(), "95");
    Form().UpDown2->stepUp();
    EXPECT_EQ(Form().Label_hue_max->text().toStdString(), "96");
    Form().Unload(ui::vbAppWindows);
    EXPECT_EQ(Non_dependant::Read_Ini("settings", "trigger_levels", Ini_file_path, "N/A"), "30,96,20,10");

    // A stored text too short for four limits leaves the captions as they are.
    std::ofstream(ini) << "[settings]\r\ntrigger_levels=1,2\r\n";
    Form().Load_Trigger_levels();
    EXPECT_EQ(Form().Label_hue_min->text().toStdString(), "40");
    Form().Unload(ui::vbAppWindows);
}

TEST_F(Auto_detect_window, Auto_detect_shows_and_hides_the_window_with_its_check_mark) {
    Frm_kanot_2& w = Window();
    w.item_auto_detect.Click();
    EXPECT_TRUE(w.item_auto_detect.Checked());
    EXPECT_TRUE(Form().Visible());
    w.item_auto_detect.Click();
    EXPECT_FALSE(w.item_auto_detect.Checked());
    EXPECT_FALSE(Form().Visible());
    w.item_auto_for_frame.Click();
    EXPECT_TRUE(w.item_auto_for_frame.Checked());
    w.item_auto_for_frame.Click();
    EXPECT_FALSE(w.item_auto_for_frame.Checked());
}

TEST_F(Auto_detect_window, A_run_that_finds_nothing_says_so_and_an_override_names_the_lane) {
    const std::string path = Heat("late.kd3", 6, true, 40);  // the bow reaches the goal after the last frame
    Frm_kanot_2& w = Window();
    w.Handle_Open_File(path);
    ASSERT_TRUE(w.Replay_File.File_open());
    Test_dialogs::Instance().Answer(ui::vbOK);
    w.Auto_Detect();
    ASSERT_EQ(Test_dialogs::Instance().Shown_Prompts().size(), 1u);
    EXPECT_EQ(Test_dialogs::Instance().Shown_Prompts()[0], "Auto detect found no finish in the 12 fields tested.");
    w.Close_File();

    // A lane that has its result already: the question says which lane it is about.
    const std::string finished = Heat("finished.kd3", 6, true, 5);
    {
        cls_VideoFile_handler store;
        store.File_name(finished);
        store.Open_RGB_File();
        ASSERT_EQ(Attach_Result(store, 2, 0, false, 61000, 3, 1), Attach_Outcome::Stored);
    }
    w.Handle_Open_File(finished);
    Form().Check_set_times_auto->setChecked(true);
    Test_dialogs::Instance().Reset();
    Test_dialogs::Instance().Answer(ui::vbCancel);
    w.Auto_Detect();
    ASSERT_EQ(Test_dialogs::Instance().Shown_Prompts().size(), 1u);
    EXPECT_EQ(Test_dialogs::Instance().Shown_Prompts()[0], "Override existing result?\r\nLane 2");
    EXPECT_TRUE(reports.empty()) << reports.front();
}

// The window watches the lanes of the picture: it is placed beside it, and the "Auto detect" check
// mark goes when the window's own close box closes it.
TEST_F(Auto_detect_window, The_window_leaves_the_picture_free_and_its_check_mark_follows_it) {
    Frm_kanot_2& w = Window();
    w.Show();
    w.Handle_Open_File(Heat("place.kd3", 6, true, 5));
    Form().Move(0, 0);
    const QRect picture(w.Picture_large->mapToGlobal(QPoint(0, 0)), w.Picture_large->size());
    ASSERT_TRUE(Form().frameGeometry().intersects(picture));
    w.item_auto_detect.Click();
    EXPECT_TRUE(Form().Visible());
    EXPECT_FALSE(Form().frameGeometry().intersects(picture)) << Form().frameGeometry().x();
    Form().close();
    EXPECT_FALSE(w.item_auto_detect.Checked());
    w.item_auto_detect.Click();
    EXPECT_TRUE(Form().Visible());
    EXPECT_TRUE(w.item_auto_detect.Checked());
    w.item_auto_detect.Click();
    w.Hide();
}

TEST_F(Auto_detect_window, Limits_that_are_not_numbers_trigger_nothing) {
    Window();
    Form().Label_hue_min->setText("abc");
    EXPECT_FALSE(Form().Test_pixel_for_Trigger(0x00E6E6, false));
    Form().Label_hue_min->setText("40");
    EXPECT_TRUE(Form().Test_pixel_for_Trigger(0x00E6E6, true));
    EXPECT_EQ(Form().Label_hsl[0]->text().toStdString(), "H= 60");
    Form().Unload(ui::vbAppWindows);
}

}  // namespace
