// The control box drives the console's heats through the simulated board, on a fake clock: the quiet
// periods after the load and after an attach, arming and the remote contact, the start button, the
// capture switch, the lamp and the validation panel.
#include "Heat_console_fixture.h"

#include "platform/controlbox/Interface_kit.h"
#include "platform/sys/Sys_clock.h"

#include <QAction>
#include <QGroupBox>

namespace {

using State = Form_capture_multi_file::Slot_state;
using controlbox::Simulated_board;

class Control_box : public Heat_console {
protected:
    // A running console whose box counts on the fake clock from `load_tick_` on, with heat A initiated.
    Form_capture_multi_file& Console_With_Box() {
        Form_capture_multi_file& console = Running_Console();
        console.Text_Heat_ID[0]->setText("1");
        console.Command_newFile_Click(0);
        console.Box_Tick = [this] { return now_; };
        now_ = load_tick_;
        console.Open_Control_Box();  // opened again, as the load does, now on the fake clock
        return console;
    }
    // The console with the box attached past its quiet period, and heat A started.
    Form_capture_multi_file& Console_With_Heat_A_Started() {
        Form_capture_multi_file& console = Console_With_Box();
        Simulated_board::Instance().Attach();
        At(6000);
        console.Box_Quiet_Period_End();
        console.Handle_Start_Event(0);
        return console;
    }
    void At(int32_t after_load) { now_ = sys::Tick_Add(load_tick_, after_load); }
    std::string Notice(Form_capture_multi_file& console) { return console.Label_box_message->text().toStdString(); }

    const int32_t load_tick_ = 2147480000;  // the tick wraps inside the sequence
    int32_t now_ = 0;
};

// Answers as the script does, after `during` has run while the message is shown.
class Dialogs_with_hook final : public ui::Dialog_service {
public:
    std::function<void(const std::string&)> during;
    int32_t Message_Box(const std::string& prompt, int32_t buttons, const std::string& title) override {
        if (during) during(prompt);
        return Test_dialogs::Instance().Message_Box(prompt, buttons, title);
    }
    std::optional<std::string> Input_Box(const std::string& p, const std::string& t, const std::string& d) override {
        return Test_dialogs::Instance().Input_Box(p, t, d);
    }
    std::optional<std::string> Open_File(const ui::File_Request& r) override { return Test_dialogs::Instance().Open_File(r); }
    std::optional<std::string> Browse_Folder(const std::string& t, const std::string& s) override {
        return Test_dialogs::Instance().Browse_Folder(t, s);
    }
};

}  // namespace

TEST_F(Control_box, A_sequence_of_inputs_drives_heats_through_the_box) {
    Form_capture_multi_file& console = Console_With_Box();
    Simulated_board& board = Simulated_board::Instance();
    enum Act { attach, detach, input, quiet_end, new_heat_b };
    struct Row {
        int32_t t;
        Act act;
        int32_t index;
        bool on;
        State a, b;
        bool segment, lamp;
        const char* notice;  // what the notice line shows, "" for no notice yet
    } rows[] = {
        {0, attach, 0, false, State::Initiated, State::Empty, false, false, ""},
        {1000, input, 2, true, State::Initiated, State::Empty, false, false, ""},       // quiet: no start
        {4999, input, 2, false, State::Initiated, State::Empty, false, false, ""},
        {4999, input, 5, true, State::Initiated, State::Empty, false, false, ""},
        {4999, quiet_end, 0, false, State::Initiated, State::Empty, false, false, ""},  // not over yet
        // The quiet period ends: the capture switch turned on inside it is acted on now.
        {5000, quiet_end, 0, false, State::Initiated, State::Empty, false, false, "Heat not started!"},
        {5000, input, 5, false, State::Initiated, State::Empty, false, false, "Heat not started!"},
        // Armed with the contact off: the contact closing starts heat A and lights the lamp.
        {5100, input, 1, true, State::Initiated, State::Empty, false, false, "Heat not started!"},
        {5200, input, 0, true, State::Started, State::Empty, false, true, "Heat not started!"},
        {5300, input, 0, false, State::Started, State::Empty, false, false, "Heat not started!"},
        {5400, input, 0, true, State::Started, State::Empty, false, true, "Heat A already started! (m1)"},
        {5500, input, 0, false, State::Started, State::Empty, false, false, "Heat A already started! (m1)"},
        {5600, input, 1, false, State::Started, State::Empty, false, false, "Heat A already started! (m1)"},
        // Heat B selected; disarmed, the contact only drives the lamp; armed while closed, opening starts.
        {5700, new_heat_b, 0, false, State::Started, State::Initiated, false, false, "Heat A already started! (m1)"},
        {5800, input, 0, true, State::Started, State::Initiated, false, true, "Heat A already started! (m1)"},
        {5900, input, 1, true, State::Started, State::Initiated, false, true, "Heat A already started! (m1)"},
        {6000, input, 0, false, State::Started, State::Started, false, false, "Heat A already started! (m1)"},
        // The capture switch: one segment of heat B.
        {6100, input, 5, true, State::Started, State::Started, true, false, "Heat A already started! (m1)"},
        {6200, input, 5, false, State::Started, State::Started, false, false, "Heat A already started! (m1)"},
        // Detached and attached again: a new quiet period.
        {7000, detach, 0, false, State::Started, State::Started, false, false, "Heat A already started! (m1)"},
        {8000, attach, 0, false, State::Started, State::Started, false, false, "Heat A already started! (m1)"},
        {12999, input, 5, true, State::Started, State::Started, false, false, "Heat A already started! (m1)"},
        {13000, quiet_end, 0, false, State::Started, State::Started, true, false, "Heat A already started! (m1)"},
        {13001, input, 5, false, State::Started, State::Started, false, false, "Heat A already started! (m1)"},
        {13002, input, 2, true, State::Started, State::Started, false, false, "Heat B already started! (m1)"},
        {13003, input, 2, false, State::Started, State::Started, false, false, "Heat B already started! (m1)"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(std::to_string(row.t) + " ms, act " + std::to_string(row.act) + ", input " + std::to_string(row.index));
        At(row.t);
        switch (row.act) {
        case attach: board.Attach(); break;
        case detach: board.Detach(); break;
        case input: board.Set_Input(row.index, row.on); break;
        case quiet_end: console.Box_Quiet_Period_End(); break;
        case new_heat_b:
            console.Text_Heat_ID[1]->setText("2");
            console.Command_newFile_Click(1);
            console.Set_Active_heat(1);
            break;
        }
        EXPECT_EQ(console.State(0), row.a);
        EXPECT_EQ(console.State(1), row.b);
        EXPECT_EQ(console.Recorder().Segment_Open(), row.segment);
        if (row.segment) {
            EXPECT_TRUE(Wait_For([&] { return console.Recorder().Frames_Written() >= 3; }));
        }
        EXPECT_EQ(board.Output(0), row.lamp);
        EXPECT_NE(Notice(console).find(row.notice), std::string::npos) << Notice(console);
        EXPECT_EQ(console.p_Phidget_Attached(), row.act != detach);
        EXPECT_EQ(Phidget_Serial, row.act == detach ? "" : std::to_string(Simulated_board::Simulated_Serial));
    }
    // Two segments of heat B reached its file; no operation of the box showed a dialog.
    EXPECT_EQ(Read(console.File_path(1)).segments, 2);
    EXPECT_GE(Read(console.File_path(1)).frames, 6);
    EXPECT_TRUE(Test_dialogs::Instance().Shown_Prompts().empty());
}

// While a heat operation asks the operator, changes of the box wait and follow it in order.
TEST_F(Control_box, Changes_during_an_operators_message_are_applied_after_it) {
    Form_capture_multi_file& console = Console_With_Heat_A_Started();
    Simulated_board& board = Simulated_board::Instance();
    ASSERT_EQ(console.State(0), State::Started);
    Dialogs_with_hook hook;
    std::vector<State> seen_during;
    hook.during = [&](const std::string&) {
        board.Set_Input(2, true);  // start button pressed and released while the abort question is shown
        board.Set_Input(2, false);
        board.Set_Input(5, true);
        seen_during.push_back(console.State(0));
        seen_during.push_back(console.Recorder().Segment_Open() ? State::Empty : State::Finished);
    };
    ui::Set_Dialog_Service(&hook);
    Test_dialogs::Instance().Answer(ui::vbOK);
    console.Handle_Abort(0);
    ui::Set_Dialog_Service(&Test_dialogs::Instance());
    EXPECT_EQ(seen_during, (std::vector<State>{State::Started, State::Finished}));
    // Aborted by the operator, then started again by the press that waited, then the capture switch.
    EXPECT_EQ(console.State(0), State::Started);
    EXPECT_TRUE(console.Recorder().Segment_Open());
    board.Set_Input(5, false);
    EXPECT_FALSE(console.Recorder().Segment_Open());
    EXPECT_GT(Read(console.File_path(0)).start_local, 0);
}

// A start signal that waited behind an operator's question starts its heat at the moment it came, by the
// start button and by the armed remote contact alike.
TEST_F(Control_box, A_start_that_waited_for_an_operators_question_keeps_the_moment_of_its_signal) {
    struct Row {
        const char* signal;
        std::vector<std::pair<int32_t, bool>> before, inputs;
    } rows[] = {
        {"start button", {}, {{2, true}, {2, false}}},
        {"remote contact", {{1, true}}, {{0, true}}},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.signal);
        Form_capture_multi_file& console = Console_With_Heat_A_Started();
        Simulated_board& board = Simulated_board::Instance();
        console.Text_Heat_ID[1]->setText("2");
        console.Command_newFile_Click(1);
        console.Set_Active_Heat_start(1);
        for (const auto& [index, on] : row.before) board.Set_Input(index, on);
        ASSERT_EQ(console.State(1), State::Initiated);
        int32_t local_before = 0, local_after = 0;
        int32_t events_before = 0, events_after = 0;
        Dialogs_with_hook hook;
        hook.during = [&](const std::string&) {
            // The signal comes while the question about heat A is open; the operator answers later.
            local_before = Non_dependant::Get_Local_Mill_Time();
            const int64_t seen = console.Recorder().Frames_Seen();
            events_before = console.Recorder().Take_Start_Values().events;
            for (const auto& [index, on] : row.inputs) board.Set_Input(index, on);
            events_after = console.Recorder().Take_Start_Values().events;
            local_after = Non_dependant::Get_Local_Mill_Time();
            EXPECT_TRUE(Wait_For([&] { return console.Recorder().Frames_Seen() >= seen + 5; }));
        };
        ui::Set_Dialog_Service(&hook);
        Test_dialogs::Instance().Answer(ui::vbCancel);
        console.Handle_Abort(0);
        ui::Set_Dialog_Service(&Test_dialogs::Instance());
        ASSERT_EQ(console.State(1), State::Started);
        const Read_back b = Read(console.File_path(1));
        EXPECT_GE(b.start_local, local_before);
        EXPECT_LE(b.start_local, local_after);
        EXPECT_GE(b.start_events, events_before);
        EXPECT_LE(b.start_events, events_after);
        // The next row starts from a fresh console, with no started heat to restore.
        ui::Destroy_All_Forms();
        board.Reset();
        Use_Folder(Test_folder());
    }
}

TEST_F(Control_box, The_validation_panel_shows_every_input_and_touches_no_heat) {
    Form_capture_multi_file& console = Console_With_Box();
    Simulated_board& board = Simulated_board::Instance();
    auto colour = [](QWidget* w) { return w->property("vbColour").toInt(); };
    constexpr int32_t red = 255, green = 65280, face = static_cast<int32_t>(0x8000000F);
    console.item_test_control_box->trigger();
    ASSERT_TRUE(console.Frame_Control_box->isVisibleTo(&console));
    EXPECT_EQ(console.Label_attached->text(), "Box not attached");
    for (QWidget* shape : console.Shape_Button) EXPECT_EQ(colour(shape), face);  // inputs 3 and 4 too
    board.Attach();
    EXPECT_EQ(console.Label_attached->text(), "Box attached");
    EXPECT_EQ(console.Label_serial->text(), "Serial: 21600");
    At(5000);
    struct Row {
        int32_t index;
        bool on;
        QWidget* shape;
        int32_t expected;
    } rows[] = {
        {2, true, console.Shape_Button[0], red},   {2, false, console.Shape_Button[0], green},
        {3, true, console.Shape_Button[1], red},   {4, true, console.Shape_Button[2], red},
        {3, false, console.Shape_Button[1], green}, {0, true, console.Label_remote, red},
        {0, false, console.Label_remote, green},
    };
    for (const Row& row : rows) {
        board.Set_Input(row.index, row.on);
        EXPECT_EQ(colour(row.shape), row.expected) << row.index << row.on;
    }
    board.Set_Input(5, true);
    EXPECT_TRUE(console.Shape_on[1]->isVisibleTo(&console));
    EXPECT_FALSE(console.Shape_off[1]->isVisibleTo(&console));
    EXPECT_FALSE(console.Recorder().Segment_Open());
    EXPECT_EQ(console.State(0), State::Initiated);
    // The lamp picture held down lights the lamp; let go, the lamp follows input 0 again.
    console.Picture_LED_Press(true);
    EXPECT_TRUE(board.Output(0));
    EXPECT_TRUE(console.LED_Lit());
    console.Picture_LED_Press(false);
    EXPECT_FALSE(board.Output(0));
    board.Detach();
    EXPECT_EQ(console.Label_attached->text(), "Box not attached");
    EXPECT_EQ(console.Label_serial->text(), "");
    EXPECT_EQ(colour(console.Label_remote), face);
    for (QWidget* shape : console.Shape_Button) EXPECT_EQ(colour(shape), face);
    console.item_test_control_box->trigger();
    EXPECT_FALSE(console.Frame_Control_box->isVisibleTo(&console));
    EXPECT_TRUE(Test_dialogs::Instance().Shown_Prompts().empty());
}

TEST_F(Control_box, Once_the_program_exits_no_event_of_the_box_has_an_effect) {
    Form_capture_multi_file& console = Console_With_Box();
    Simulated_board& board = Simulated_board::Instance();
    board.Attach();
    At(6000);
    console.Box_Quiet_Period_End();
    Is_Exiting = true;
    board.Set_Input(1, true);
    board.Set_Input(0, true);
    board.Set_Input(5, true);
    board.Detach();
    Is_Exiting = false;
    EXPECT_EQ(console.State(0), State::Initiated);
    EXPECT_FALSE(console.Recorder().Segment_Open());
    EXPECT_TRUE(console.p_Phidget_Attached());
}
