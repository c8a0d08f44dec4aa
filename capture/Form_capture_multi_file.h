#pragma once
// The heat capture console: the camera (the capture device, the source choice, start and stop), three
// heat slots that each record a heat into its own capture file (New file, Start, capture segments, Abort,
// Finish), the control box that starts heats and opens and closes capture segments, and the members that
// start-up and shutdown call. Frames are recorded on the capture worker (Heat_recorder); this window sends
// it the segment and start commands and shows what it reports.
#include "platform/ui/Form.h"

#include <QString>

#include <array>
#include <atomic>
#include <cstdint>
#include <deque>
#include <functional>
#include <memory>
#include <string>

class QAction;
class QGroupBox;
class QMenu;
class QTimer;
class QLabel;
class QLineEdit;
class QMenuBar;
class QPushButton;
class Heat_recorder;
class cls_Capture_HDMI;
namespace controlbox {
class Interface_kit;
}
namespace ui {
class Picture_box;
}

class Form_capture_multi_file : public ui::Form {
public:
    static constexpr int Slots = 3;
    // A slot's state is kept here, never read back from what its labels show.
    // Restored: a heat found started at the console's start and taken back after the operator's OK; its
    // file's header holds the start.
    enum class Slot_state { Empty, Initiated, Started, Aborted, Finished, Restored };

    static Form_capture_multi_file& Instance() { return ui::Instance_Of<Form_capture_multi_file>(); }
    Form_capture_multi_file();
    ~Form_capture_multi_file() override;

    // When the console has a capture device: stops its capture.
    void Stop_Capture();
    // When the console has a capture device: ends an open segment, stops the device, disconnects its
    // frame events and releases it.
    void Terminate_obj_Capture_HDMI();
    // The rotate flag that Set_OBJ_Capture_Crop hands on.
    void Set_Capture_Rotate(bool rotate) { m_Capture_Rotate = rotate; }
    bool Capture_Rotate() const { return m_Capture_Rotate; }
    // Makes the capture device when there is none and gives it the rotate flag and Crop_Width x Crop_Height.
    // Refused with a message while a heat is started or a segment is open: that heat's frame count and
    // JPEG limit stay as they were.
    void Set_OBJ_Capture_Crop();
    // A choice of source and format (the source dialog's): the device selects the saved source and
    // format; when the console is in use the camera starts with them at once, otherwise at the
    // console's next activation. A source not found opens the source dialog, or says that none is
    // selected when the dialog was cancelled. Refused, as a new crop is, while a heat is started.
    void Set_Source_and_Property();

    // Whether the console holds a capture device (from the start-up crop choice or a source choice).
    bool Has_Capture_Device() const { return obj_Capture_HDMI_ != nullptr; }
    cls_Capture_HDMI* obj_Capture_HDMI() const { return obj_Capture_HDMI_.get(); }
    Heat_recorder& Recorder() { return *recorder_; }

    // ---- heat operations ----
    void Command_newFile_Click(int16_t slot);
    void Handle_Start_Event(int16_t slot);
    void Handle_Capture_Start(int16_t slot);
    // Ends the open segment, on the slot and file it was opened on; nothing without an open segment.
    void Handle_Capture_End();
    void Handle_Abort(int16_t slot);
    void Command_Finish_Click(int16_t slot);
    // The slot is finished: no start, no file, and its ini record names the file as finished.
    void Clear_Heat(int16_t slot);
    // The capture slot and the start slot; Set_Active_Heat_start moves the start slot alone.
    void Set_Active_heat(int16_t slot);
    void Set_Active_Heat_start(int16_t slot);
    void Update_File_Size(int16_t slot);
    void Load_capture_folder();

    // ---- started heats found at the console's start ----
    // Asks whether to restore the started heats the ini records; OK restores them, Cancel removes the
    // records. Nothing is asked when there is none.
    void Restore_Offer();
    // With load False: found tells whether a record of a started heat (not yet restored) exists. With
    // load True: restores each into its slot; a record that cannot be read, or whose file is missing or
    // damaged, is skipped with a message and the others go on. The start, the heat ID and the record
    // buffer come from the file's header, never from the record.
    void Check_for_Active_Heats(bool load, bool& found);
    // Removes the records of every slot but those of heats the slots hold in this session.
    void Delete_Heat_ini_entries();
    // A record of ini "active_heats": "<path>,started,<start>,<heat ID>,<record buffer>" or
    // "<path> finished". A folder or heat ID may hold "," or "started": the path is the first prefix
    // before ",started," that ends in ".kd3" and names an existing file.
    struct Started_record {
        bool started = false;
        std::string path;      // "" when no path can be read from it
        bool file_found = false;
    };
    static Started_record Read_Started_Record(const std::string& value);
    void Load_Event_name();
    void save_Event();

    Slot_state State(int16_t slot) const { return slot_[Index(slot)].state; }
    const std::string& File_path(int16_t slot) const { return slot_[Index(slot)].path; }
    int16_t Capture_Heat() const { return m_Capture_Heat; }
    int16_t Start_Heat() const { return m_Start_Heat; }
    // The heat ID or event name as it may stand in a file name.
    static std::string File_Name_Safe(const std::string& text);

    // One frame handled on the window thread: heat times, frames written, the paused indicator.
    void HDMI_event();
    void Update_Heat_Times();

    // The controls of each slot, indexed by slot.
    std::array<QGroupBox*, Slots> Frame_capture{};
    std::array<QLineEdit*, Slots> Text_Heat_ID{};
    std::array<QPushButton*, Slots> Command_newFile{}, Command_start{}, Command_abort{}, Command_Finish{};
    std::array<QLabel*, Slots> Label_active_capture{}, Label_active_start{}, Label_filename{}, Label_heat_time{},
        Label_start_time{}, Label_file_size{};
    std::array<QLabel*, Slots> Lbl_heat_ID{}, Lbl_file_size{}, Lbl_elapsed_time{}, Lbl_start_time{}, Lbl_file_name{};
    std::array<QGroupBox*, Slots> Frame_active{};
    QPushButton* Command_Capture;
    QLabel* Label_num_written;
    QLabel* Label_paused;
    QLabel* Lbl_capture_folder;
    QGroupBox* Frame_event_name;
    QLineEdit* Text_Event_name;

    // ---- the window around the slots ----
    // Unless previews are allowed while capturing: hides the live preview and clears "Video preview".
    void Hide_Video_preview();
    // Shows the live preview in run mode 1.
    void do_Preview();
    // Stops the capture, hides the console and has the review window open the last finished heat.
    void View_Last_Finished();
    // Asks for a new timing correction; Cancel keeps the present one.
    void item_timing_correction_Click();
    void Timer1_Timer();
    void Show_Running_Fps(int16_t fps);
    QAction *item_preview, *item_view_last, *item_allow_preview, *item_test_control_box, *item_simulated_box;
    QMenu *menu_specials, *menu_debug;
    // Shown in a development run.
    QLabel* Shape_circle;
    QGroupBox* Frame_PC_time;
    // The running arm the device draws after every frame handled here: red while a segment is open.
    QGroupBox* Frame_camera_monitor;
    ui::Picture_box* Picture_HDMI_arm;
    QLabel *Label_PC_Time, *Label_running_FPS;
    QTimer* Timer1;

    // ---- the control box ----
    // Inputs the box uses: 0 remote start contact, 1 arming switch, 2 start button, 5 capture switch;
    // output 0 is the lamp. Inputs count only when 5000 ms have passed since the load and since the
    // last attach; at the end of such a quiet period the inputs are taken again as they are, and what
    // differs from the state last acted on is acted on then.
    static constexpr int32_t Box_Quiet_ms = 5000;
    static constexpr int Box_Inputs = 8;
    // The kit the ini names: ini "controlbox"/"serial_port" a serial adapter's device path, else the
    // simulated board (attached only when a test or the developer window attaches it).
    void Open_Control_Box();
    controlbox::Interface_kit* obj_phidget() const { return obj_phidget_.get(); }
    bool p_Phidget_Attached() const { return p_Phidget_Attached_; }
    // The millisecond tick the quiet periods are measured with; a test puts a fake clock here before
    // Open_Control_Box.
    std::function<int32_t()> Box_Tick;
    int32_t m_Load_Tick = 0;
    // An input change. Changes that arrive while a heat operation or an earlier change is still being
    // handled wait in order and follow it.
    void obj_phidget_OnInputChange(int32_t Index, bool NewState);
    void obj_phidget_OnAttach();
    void obj_phidget_OnDetach();
    // Ends a quiet period once the tick has passed it (the box's timer calls it; so may a test).
    void Box_Quiet_Period_End();
    void Display_Control_Box();
    void Draw_LED();
    void Update_Control_Box_Led();
    void Set_Phidget_State(int16_t Index, bool State);
    void Handle_start_mouseup(int16_t heat);
    void item_test_control_box_Click();
    void Picture_LED_Press(bool pressed);
    bool LED_Lit() const { return led_lit_; }
    bool Armed_Remote_State() const { return armed_remote_; }
    // The last message of a heat operation started by the box: shown here, never in a blocking box.
    QLabel* Label_box_message;
    QGroupBox* Frame_Control_box;
    QLabel *Label_remote, *Picture_LED, *Label_attached, *Label_serial, *Label_cb_version;
    std::array<QWidget*, 2> Frame_toggle{}, Shape_on{}, Shape_off{};
    // The start button (0), and inputs 3 (1) and 4 (2), which act on no heat.
    std::array<QLabel*, 3> Shape_Button{};

protected:
    void Form_Load() override;
    void Form_Activate() override;
    void Form_QueryUnload(int16_t& cancel, int16_t unload_mode) override;
    void keyPressEvent(QKeyEvent* event) override;
    // The desktop's close request: the console has no Close command, the operator leaves by "Exit".
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    struct Slot {
        Slot_state state = Slot_state::Empty;
        std::string path;  // the capture file; kept after Finish
        int32_t start_tick = 0;
        int32_t start_local = 0;
    };
    static size_t Index(int16_t slot);
    // Whether the slot holds, in this session, the heat recorded in `path` (started, aborted or restored).
    bool Holds_Live_Heat(int16_t slot, const std::string& path) const;
    // The caption of a started slot, or of the slot of the open segment; "" when there is none.
    std::string Started_Heat() const;
    // True, after saying so, while a heat is started or a segment is open: `change` would restart the
    // camera's frame count under it.
    bool Refuse_While_Started(const std::string& change);
    // Presses and clicks on a slot's frame, heat ID, labels and marks choose it.
    bool Slot_Selection_Event(QObject* watched, QEvent* event);
    bool Select_Saved_Source();
    void Start_Camera();
    void Start_Capture();
    void Build_Slot(int slot);
    void Build_Window();
    void Build_Debug_Menu(QMenuBar* bar);
    void Show_Clock();
    void Paint_Preview();
    void Paint_State(int slot);
    void Command_Capture_Mouse(QEvent* event);
    void Check_Capture_Held();
    // The disk refused a segment's frames: the operator is told once per heat until it records again.
    void Tell_Write_Failure(int slot, const std::string& path, const std::string& reason, int32_t not_recorded);
    void Frame_arrived_on_worker(cls_Capture_HDMI& device);
    // The notice that frames are held back; an empty one hides it.
    void Show_Paused(const QString& notice);
    void Build_Control_Box_Panel();
    // The moment of a start signal: time of day, and the camera's last frame tick and frame count.
    struct Start_signal {
        int32_t local = 0;
        int32_t tick = 0;
        int32_t events = 0;
    };
    Start_signal Take_Start_Signal();
    // Starts the slot's heat at `signal`, the moment the signal came, however late it is handled.
    void Handle_Start_Event(int16_t slot, const Start_signal& signal);
    struct Box_change {
        int32_t index;  // -1: the end of a quiet period
        bool state;
        int32_t tick;
        Start_signal signal;  // taken when the change came: a start that waited keeps its moment
    };
    void Drain_Box_Queue();
    void Box_Change(const Box_change& change);
    void Box_Act(int32_t index, bool state, const Start_signal& signal);
    bool In_Quiet_Period(int32_t tick) const;
    void Schedule_Quiet_Period_End();
    void Box_Start_Event(int16_t slot, const Start_signal& signal);
    // Runs a heat operation the box started: its messages go to the notice line, not to a dialog.
    void As_Box_Operation(const std::function<void()>& operation);
    void Box_Notice(const std::string& text);
    void Open_Control_Box_Kit();
    // A serial port that cannot be opened or went away: the operator is told once, and the event log.
    void Tell_Box_Port_Fault(const std::string& what, const std::string& reason, const std::string& then);
    // Held by every heat operation: box changes wait until the outermost one has ended.
    class Heat_operation {
    public:
        explicit Heat_operation(Form_capture_multi_file& console);
        ~Heat_operation();
        Heat_operation(const Heat_operation&) = delete;
        Heat_operation& operator=(const Heat_operation&) = delete;

    private:
        Form_capture_multi_file& console_;
    };

    std::unique_ptr<cls_Capture_HDMI> obj_Capture_HDMI_;
    std::unique_ptr<Heat_recorder> recorder_;
    std::array<Slot, Slots> slot_{};
    QString paused_notice_;
    int16_t m_Capture_Heat = 0;
    int16_t m_Start_Heat = 0;
    int32_t frame_counter_ = 0;
    int32_t preview_counter_ = 0;
    std::atomic<bool> frame_pending_{false};
    int32_t reported_held_back_ = 0;
    bool capture_held_ = false;  // the operator holds Command_Capture down
    std::array<bool, Slots> write_failure_told_{};
    QString write_notice_;  // a disk that took no more frames, shown until frames are written again
    bool m_Capture_Rotate = false;
    std::unique_ptr<controlbox::Interface_kit> obj_phidget_;
    bool p_Phidget_Attached_ = false;
    std::string box_port_;  // the serial port the ini names; "" for the simulated box
    bool box_fault_told_ = false;
    int32_t attach_tick_ = 0;
    bool attached_once_ = false;
    bool armed_remote_ = false;
    bool box_busy_ = false;
    bool lamp_pressed_ = false;
    bool led_lit_ = false;
    bool quiet_end_pending_ = true;
    int heat_operations_ = 0;
    int box_operations_ = 0;
    std::deque<Box_change> box_queue_;
    std::array<bool, Box_Inputs> box_inputs_{};  // the state last acted on
    QTimer* box_quiet_timer_ = nullptr;
    // The camera has been started once: the restore offer is over.
    bool m_Recovery_Done = false;
    // The present source choice has been set up: the camera is set up and started once per choice, so
    // a mere activation never restarts it (a running heat keeps its frame count and JPEG limit).
    bool choice_set_up_ = false;
};
