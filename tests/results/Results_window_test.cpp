// The results window beside the review window: the start correction into the heat's file and the
// rows, the row press, "Clear all results", and the window's state after the file closes.
#include "Test_dialogs.h"
#include "platform/vb/Error_trap.h"
#include "platform/vb/Vb_text.h"
#include "results/Frm_results.h"
#include "review/Frm_kanot_2.h"
#include "review/Module_Vantorel_results.h"
#include "shell/Module_Vantorel.h"
#include "shell/Non_dependant.h"
#include "tests/review/Heat_fixture.h"
#include "tests/review/Review_initialization.h"

#include <QApplication>
#include <QFocusEvent>
#include <QLabel>
#include <QMouseEvent>
#include <QPushButton>
#include <QSlider>

#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>

namespace {

using namespace Module_Vantorel;

class Fake_wait : public Correction_repeat::Wait {
public:
    void Start(int32_t milliseconds, std::function<void()> done) override {
        waits.push_back(milliseconds);
        pending = std::move(done);
    }
    void Stop() override { pending = nullptr; }
    bool Fire() {
        if (!pending) return false;
        auto done = std::move(pending);
        pending = nullptr;
        done();
        return true;
    }
    std::vector<int32_t> waits;
    std::function<void()> pending;
};

class Results_window : public testing::Test {
protected:
    void SetUp() override {
        Install_Review_Initialization();
        Vantorel_Mode = true;
        const std::string folder = Test_folder() + "/data/vantorel";
        std::filesystem::create_directories(folder);
        std::ofstream(folder + "/Vantorel_HDMI.ini") << "[Canoe]\r\nLane_num=3\r\n";
        // The results window's load reads the export settings.
        Ini_file_path = folder + "/Vantorel_HDMI.ini";
        heats = Test_folder() + "/heats";
        std::filesystem::create_directories(heats);
        vb::Set_Error_Reporter([this](const std::string& description, int32_t number, int32_t, const std::string& location,
                                      const std::string&) { reports.push_back(location + ": " + std::to_string(number) + " " + description); });
        Results().Set_Repeat_Wait(&wait);
    }
    void TearDown() override {
        Results().Set_Repeat_Wait(nullptr);
        Review().Close_File();
        vb::Set_Error_Reporter(nullptr);
        Vantorel_Mode = false;
        Is_Compiled = false;
    }
    Frm_kanot_2& Review() { return Frm_kanot_2::Instance(); }
    Frm_results& Results() { return Frm_results::Instance(); }

    // A locked heat in which lane 3 has 1000 ms (field 51), lane 1 900 ms (field 46), lane 2 is disqualified.
    std::string Open_Heat_With_Results(const std::string& name) {
        Heat_layout layout;
        layout.locked = true;
        layout.frames = Regular_Frames(60, layout.start_tick, layout.start_events);
        path = heats + "/" + name;
        Write_Heat(path, layout);
        Frm_kanot_2& w = Review();
        w.Handle_Open_File(path);
        Show_Field(51);
        w.Attach_Time(3, 0, false);
        Show_Field(46);
        w.Attach_Time(1, 0, false);
        w.Attach_Time(2, Disqualified, false);
        return path;
    }
    void Show_Field(int32_t field) {
        Review().Set_Slider_Value(field);
        Review().Slider_play_Scroll();
    }
    static std::string Text(const QLabel& label) { return label.text().toStdString(); }
    std::vector<std::string> Boxes(ui::Control_array<QLabel>& boxes) {
        std::vector<std::string> texts;
        for (auto& [i, box] : boxes) texts.push_back(Text(*box));
        return texts;
    }
    int32_t Stored_Correction() {
        cls_VideoFile_handler store;
        store.File_name(path);
        store.Open_RGB_File();
        return store.Heat_Start_Correction(1);
    }
    std::string Shown(int32_t result) { return Non_dependant::Display_Mill_Time(result - Heat_Start_Correction_Mill, false); }
    static void Press(QWidget* widget, Qt::MouseButton button = Qt::LeftButton) {
        QMouseEvent press(QEvent::MouseButtonPress, QPointF(2, 2), QPointF(2, 2), button, button, Qt::NoModifier);
        QApplication::sendEvent(widget, &press);
    }
    static void Release(QWidget* widget, Qt::MouseButton button = Qt::LeftButton) {
        QMouseEvent release(QEvent::MouseButtonRelease, QPointF(2, 2), QPointF(2, 2), button, Qt::NoButton, Qt::NoModifier);
        QApplication::sendEvent(widget, &release);
    }
    std::vector<std::string> Prompts() { return Test_dialogs::Instance().Shown_Prompts(); }

    Fake_wait wait;
    std::string heats, path;
    std::vector<std::string> reports;
};

TEST_F(Results_window, One_second_up_is_written_once_at_the_release_and_every_time_is_shown_a_second_shorter) {
    Open_Heat_With_Results("up.kd3");
    Frm_results& r = Results();
    EXPECT_EQ(r.orig_Start_Local_Time, 9 * 3600000 + 5 * 60000 + 12340);
    EXPECT_EQ(Boxes(r.Lbl_hms), (std::vector<std::string>{"09", "05", "12", "34"}));
    EXPECT_EQ(Text(r.Lbl_result_time(0)), Shown(900));
    EXPECT_EQ(Text(r.Lbl_result_time(1)), Shown(1000));

    Press(&r.Lbl_hms_correction(2));  // seconds
    EXPECT_EQ(r.Correction_Step(), 1000);
    Press(&r.Cmd_time(0));
    EXPECT_EQ(Heat_Start_Correction_Mill, 1000);
    EXPECT_EQ(Stored_Correction(), 0);  // nothing written while held
    Release(&r.Cmd_time(0));
    EXPECT_EQ(Stored_Correction(), 1000);
    EXPECT_FALSE(wait.pending);
    EXPECT_EQ(Boxes(r.Lbl_hms_correction), (std::vector<std::string>{"00", "00", "01", "00"}));
    EXPECT_EQ(r.Lbl_hms_correction(0).palette().color(QPalette::WindowText), QColor(0, 0, 255));
    EXPECT_FALSE(r.Lbl_Minus->isVisibleTo(&r));
    EXPECT_EQ(Boxes(r.Lbl_hms_corrected), (std::vector<std::string>{"09", "05", "13", "34"}));
    EXPECT_EQ(r.Corrected_Start_Local_Time, r.orig_Start_Local_Time + 1000);
    EXPECT_EQ(Text(r.Lbl_result_time(0)), Non_dependant::Display_Mill_Time(-100, false));
    EXPECT_EQ(Text(r.Lbl_result_time(1)), Non_dependant::Display_Mill_Time(0, false));
    EXPECT_EQ(Text(r.Lbl_result_delta_time(1)), "+0,10");  // the difference does not follow the correction
    EXPECT_EQ(Text(r.Lbl_result_time(2)), "DSQ");
}

TEST_F(Results_window, Holding_down_steps_on_the_repeat_sequence_and_refills_the_rows_only_at_the_release) {
    Open_Heat_With_Results("down.kd3");
    Frm_results& r = Results();
    const std::string row0 = Text(r.Lbl_result_time(0));
    Press(&r.Lbl_hms_correction(3));  // hundredths
    Press(&r.Cmd_time(1));
    EXPECT_EQ(Heat_Start_Correction_Mill, -10);
    for (int i = 0; i < 5; ++i) ASSERT_TRUE(wait.Fire());
    EXPECT_EQ(wait.waits, (std::vector<int32_t>{200, 150, 100, 50, 50, 50}));
    EXPECT_EQ(Heat_Start_Correction_Mill, -60);
    EXPECT_TRUE(r.Lbl_Minus->isVisibleTo(&r));
    EXPECT_EQ(r.Lbl_hms_correction(3).palette().color(QPalette::WindowText), QColor(255, 0, 0));
    EXPECT_EQ(Boxes(r.Lbl_hms_correction), (std::vector<std::string>{"00", "00", "00", "05"}));
    EXPECT_EQ(Text(r.Lbl_result_time(0)), row0);
    EXPECT_EQ(Stored_Correction(), 0);
    Release(&r.Cmd_time(1));
    EXPECT_EQ(Stored_Correction(), -60);
    EXPECT_EQ(Boxes(r.Lbl_hms_correction), (std::vector<std::string>{"00", "00", "00", "06"}));
    EXPECT_EQ(Text(r.Lbl_result_time(0)), Shown(900));
    EXPECT_EQ(Text(r.Lbl_result_time(1)), Shown(1000));

    // The right button resets, writes and refills at once; the selection is gone.
    Press(&r.Lbl_hms_correction(1), Qt::RightButton);
    EXPECT_EQ(Heat_Start_Correction_Mill, 0);
    EXPECT_EQ(r.Correction_Step(), 0);
    EXPECT_EQ(Stored_Correction(), 0);
    EXPECT_EQ(Text(r.Lbl_result_time(0)), Shown(900));
    EXPECT_FALSE(r.Lbl_Minus->isVisibleTo(&r));

    // No unit selected: nothing changes, the release still writes.
    Press(&r.Cmd_time(0));
    Release(&r.Cmd_time(0));
    EXPECT_EQ(Heat_Start_Correction_Mill, 0);
    EXPECT_TRUE(reports.empty()) << reports.front();
}

TEST_F(Results_window, The_repeat_stops_on_focus_loss_and_when_the_file_closes_and_never_runs_without_a_file) {
    Open_Heat_With_Results("stop.kd3");
    Frm_results& r = Results();
    Press(&r.Lbl_hms_correction(2));
    Press(&r.Cmd_time(0));
    wait.Fire();
    QFocusEvent out(QEvent::FocusOut, Qt::ActiveWindowFocusReason);
    QApplication::sendEvent(&r.Cmd_time(0), &out);
    EXPECT_FALSE(wait.pending);
    EXPECT_FALSE(r.Repeat().Button_Held());
    EXPECT_EQ(Stored_Correction(), 2000);  // written once, as at a release
    Release(&r.Cmd_time(0));
    EXPECT_EQ(Heat_Start_Correction_Mill, 2000);

    Press(&r.Cmd_time(0));
    EXPECT_EQ(Heat_Start_Correction_Mill, 3000);
    Review().item_close_Click();
    EXPECT_FALSE(wait.pending);
    EXPECT_FALSE(r.Repeat().Button_Held());
    Release(&r.Cmd_time(0));
    EXPECT_EQ(Stored_Correction(), 2000);  // the closed file keeps what it had
    // Closing empties the heat: every start box "00", the correction blue, no heat label.
    EXPECT_EQ(Heat_Start_Correction_Mill, 0);
    EXPECT_EQ(Text(*r.Lbl_heat), "");
    for (auto* boxes : {&r.Lbl_hms, &r.Lbl_hms_correction, &r.Lbl_hms_corrected})
        EXPECT_EQ(Boxes(*boxes), (std::vector<std::string>(4, "00")));

    // No file: the boxes and buttons change nothing and start no wait.
    Press(&r.Lbl_hms_correction(0));
    Press(&r.Cmd_time(0));
    Press(&r.Lbl_hms_correction(0), Qt::RightButton);
    EXPECT_FALSE(wait.pending);
    EXPECT_EQ(Heat_Start_Correction_Mill, 0);
    EXPECT_EQ(r.Correction_Step(), 0);  // the closed heat's chosen step goes with it
}

TEST_F(Results_window, A_correction_the_file_would_not_take_changes_nothing_shown_or_stored) {
    enum class Refusal { Read_only, Rewritten_before_the_press, Rewritten_while_held };
    const auto Rewrite_Elsewhere = [this] {
        cls_VideoFile_handler other;
        other.File_name(path);
        other.Open_RGB_File();
        other.Heat_result(1, 5, 3000);
        ASSERT_TRUE(other.Write_XML_Header());
        other.Close_File();
    };
    for (const Refusal refusal : {Refusal::Read_only, Refusal::Rewritten_before_the_press, Refusal::Rewritten_while_held}) {
        SCOPED_TRACE(static_cast<int>(refusal));
        Open_Heat_With_Results("refused" + std::to_string(static_cast<int>(refusal)) + ".kd3");
        Frm_results& r = Results();
        Press(&r.Lbl_hms_correction(2));
        Press(&r.Cmd_time(0));
        Release(&r.Cmd_time(0));  // 1000 stored
        ASSERT_EQ(Stored_Correction(), 1000);
        const std::string row0 = Text(r.Lbl_result_time(0));
        const std::vector<std::string> boxes = Boxes(r.Lbl_hms_corrected);
        const size_t prompts_before = Prompts().size();
        Is_Compiled = true;  // a refused write is reported, as in the built program
        if (refusal == Refusal::Read_only) Review().Replay_File.Read_only(true);
        if (refusal == Refusal::Rewritten_before_the_press) Rewrite_Elsewhere();
        const auto bytes = [this] {
            std::ifstream in(path, std::ios::binary);
            return std::string(std::istreambuf_iterator<char>(in), {});
        };
        const std::string before = bytes();
        if (refusal != Refusal::Rewritten_while_held) {
            Test_dialogs::Instance().Answer(ui::vbOK);
            Test_dialogs::Instance().Answer(ui::vbOK);
        }
        Press(&r.Cmd_time(0));
        if (refusal == Refusal::Rewritten_while_held) Rewrite_Elsewhere();
        Release(&r.Cmd_time(0));
        if (refusal != Refusal::Rewritten_while_held) {
            // Told plainly at the press and at the reset, before anything changes; the file is not touched.
            Press(&r.Lbl_hms_correction(2), Qt::RightButton);
            const std::vector<std::string> prompts = Prompts();
            const std::vector<std::string> told(prompts.begin() + static_cast<std::ptrdiff_t>(prompts_before), prompts.end());
            ASSERT_EQ(told.size(), 2u);
            for (const std::string& prompt : told) {
                if (refusal == Refusal::Read_only) EXPECT_EQ(prompt, "Can\u00B4t alter this file, it is Read only!");
                else EXPECT_NE(prompt.find("Open it again"), std::string::npos) << prompt;
            }
            EXPECT_EQ(bytes(), before);
            EXPECT_TRUE(reports.empty()) << reports.front();
        } else {
            // Refused at the release: reported, and what is shown goes back to what the file holds.
            EXPECT_EQ(reports.size(), 1u);
        }
        EXPECT_EQ(Heat_Start_Correction_Mill, 1000);
        EXPECT_EQ(Review().Replay_File.Heat_Start_Correction(1), 1000);
        EXPECT_EQ(Stored_Correction(), 1000);
        EXPECT_FALSE(wait.pending);
        EXPECT_EQ(Text(r.Lbl_result_time(0)), row0);
        EXPECT_EQ(Boxes(r.Lbl_hms_corrected), boxes);
        Is_Compiled = false;
        Review().Replay_File.Read_only(false);
        Review().Close_File();
        reports.clear();
    }
}

TEST_F(Results_window, A_step_past_the_32_bit_range_ends_the_repeat_with_the_overflow_error) {
    Open_Heat_With_Results("overflow.kd3");
    Frm_results& r = Results();
    Is_Compiled = true;
    Heat_Start_Correction_Mill = INT32_MAX - 1000;
    Press(&r.Lbl_hms_correction(0));
    Press(&r.Cmd_time(0));
    EXPECT_EQ(Heat_Start_Correction_Mill, INT32_MAX - 1000);
    ASSERT_EQ(reports.size(), 1u);
    EXPECT_EQ(reports[0].rfind("Cmd_time_MouseDown of Form Frm_results: 6 ", 0), 0u) << reports[0];
    EXPECT_FALSE(wait.pending);
}

TEST_F(Results_window, A_row_press_moves_the_review_window_to_the_places_goal_field) {
    Open_Heat_With_Results("press.kd3");
    Frm_results& r = Results();
    Show_Field(10);
    Press(&r.Lbl_result_rank(1));  // place 2: lane 3 at field 51
    EXPECT_EQ(Review().Slider_play->value(), 51);
    Press(&r.Lbl_result_rank(0));
    EXPECT_EQ(Review().Slider_play->value(), 46);
    // The disqualified place and an empty row do nothing.
    Press(&r.Lbl_result_rank(2));
    Press(&r.Lbl_result_rank(5));
    EXPECT_EQ(Review().Slider_play->value(), 46);
    EXPECT_TRUE(reports.empty()) << reports.front();
}

TEST_F(Results_window, Clear_all_results_asks_and_Cancel_keeps_them_OK_clears_them) {
    Open_Heat_With_Results("clear.kd3");
    Frm_results& r = Results();
    Test_dialogs::Instance().Answer(ui::vbCancel);
    r.item_clear_all_results.Click();
    ASSERT_FALSE(Test_dialogs::Instance().Shown_Dialogs().empty());
    const auto& asked = Test_dialogs::Instance().Shown_Dialogs().back();
    EXPECT_EQ(asked.prompt, "This will clear all stored results for this heat, are you sure?");
    EXPECT_EQ(asked.title, "Clear results");
    EXPECT_EQ(asked.buttons, ui::vbOKCancel + ui::vbDefaultButton2);
    EXPECT_EQ(Text(r.Lbl_result_rank(0)), "1");
    EXPECT_EQ(Review().Replay_File.Heat_time(1, 3), 1000);

    Test_dialogs::Instance().Answer(ui::vbOK);
    r.item_clear_all_results.Click();
    EXPECT_EQ(Text(r.Lbl_result_rank(0)), "");
    EXPECT_EQ(Lane_all_Heats_Array[3].Heat_result, No_Result);
    EXPECT_NE(Review().Replay_File.Heat_time(1, 3), 1000);

    Review().Replay_File.Read_only(true);
    Test_dialogs::Instance().Answer(ui::vbOK);
    r.item_clear_all_results.Click();
    EXPECT_EQ(Prompts().back(), "Can\u00B4t alter this file, it is Read only!");
    Review().Replay_File.Read_only(false);

    // Rewritten by another store since the review read it: told plainly, before anything is asked or cleared.
    Review().Replay_File.Heat_result(1, 4, 2000);
    ASSERT_TRUE(Review().Replay_File.Write_XML_Header());
    Load_All_Heats_Array_from_File(Review().Replay_File, 1);
    {
        cls_VideoFile_handler other;
        other.File_name(Review().Replay_File.File_name());
        other.Open_RGB_File();
        other.Heat_result(1, 5, 3000);
        ASSERT_TRUE(other.Write_XML_Header());
        other.Close_File();
    }
    const size_t asked_before = Test_dialogs::Instance().Shown_Dialogs().size();
    Test_dialogs::Instance().Answer(ui::vbOK);
    r.item_clear_all_results.Click();
    ASSERT_EQ(Test_dialogs::Instance().Shown_Dialogs().size(), asked_before + 1);
    EXPECT_NE(Prompts().back().find("Open it again"), std::string::npos) << Prompts().back();
    EXPECT_EQ(Lane_all_Heats_Array[4].Heat_result, 2000);
    EXPECT_TRUE(reports.empty()) << reports.front();
}

}  // namespace
