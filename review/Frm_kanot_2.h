#pragma once
// The photo-finish review window: the shown field in Picture_large with the course drawn over it, a
// column of frames on its right, and the results window docked to its right edge. A capture file is
// opened through the window's store Replay_File and shown field by field; every change of the shown
// field ends in the hub Slider_play_Scroll.
#include "platform/printer/Print_target.h"
#include "platform/ui/Form.h"
#include "platform/ui/Menu_item.h"
#include "platform/ui/Timer.h"
#include "imaging/Class_line.h"
#include "results/Module1.h"
#include "review/Auto_detect.h"
#include "review/Course_header.h"
#include "review/Field_time.h"
#include "review/Goal_HSL.h"
#include "review/Review_geometry.h"
#include "store/cls_VideoFile_handler.h"

#include <QMenu>  // Menu_item::Menu needs the whole class

#include <array>
#include <cstdint>
#include <map>
#include <string>
#include <vector>

class QCheckBox;
class QGroupBox;
class QLabel;
class QMenuBar;
class QSlider;
namespace ui {
class Command_button;
class Picture_box;
}  // namespace ui

class Frm_kanot_2 : public ui::Form, public Module1::Mouse_wheel_target {
public:
    static Frm_kanot_2& Instance() { return ui::Instance_Of<Frm_kanot_2>(); }
    Frm_kanot_2();
    ~Frm_kanot_2() override;

    // ---- life cycle and layout ----
    // Runs the resize procedure as a resize of the window does.
    void Do_Resize();
    // Shows the results window at this window's right edge while "Dock Results form" is checked; hides
    // it while this window is hidden.
    void Dock_Results();
    // Fits the picture, and the window's height, to the video size and the screen.
    void Set_Picture_Size();
    void Update_Form_Caption();
    void Set_Focus();
    void SliderPlay_Focus();
    bool Within_Zoom(float X, float Y);
    int32_t Run_time();
    void EnableFrame(QWidget* InFrame, bool Flag);
    void Arrange_Layout(int16_t Rotated);
    // The overlay at the display size; nothing while the display size is not known.
    void Create_obj_Graphics();
    // Places the column 10 pixels right of the picture, ends the window 20 pixels right of it, docks
    // the results window and places the logo.
    void Arrange_Frames();
    // Opens the file the command line names in quotes.
    void Start_Association();
    // One field per wheel message while the slider has the focus: towards the user forward, away back.
    void MouseWheel(int32_t& MouseKeys, int32_t& Rotation, int32_t& Xpos, int32_t& Ypos) override;
    void Get_stored_length() {}
    void do_Heat_Start() {}
    void Uncheck_result_form() {}
    void Check_commandline() {}
    void Check_Screen_Height() {}
    // Files dropped on the window: the first is opened.
    void Form_OLEDragDrop(const std::vector<std::string>& files);
    void Timer_keyb_event_Timer();
    // With "Display X,Y" checked the caption shows the mouse position in window pixels; otherwise the
    // default pointer.
    void Form_MouseMove(int16_t Button, int16_t Shift, float X, float Y);
    // Shows in Lbl_DVevents how far DV_Events_Count has grown since the previous run (no timer runs it).
    void wait_timer_Timer();
    int32_t DV_Events_Count = 0;

    // ---- opening and closing capture files ----
    // Every road that opens a heat ends here; "" asks with the open dialog.
    void Handle_Open_File(const std::string& path);
    void Close_File();
    void Clear_File_Data();
    // Clear_File_Data and the heat's own labels: nothing of a closed heat stays on screen.
    void Clear_Heat_View();
    // The capture console's "View last Finished heat".
    void Open_last_File();
    // The name the file has afterwards: the answer when the move was made, else oldname.
    std::string rename_file(const std::string& oldname);
    // Fills the four entries of "Open Newest File" from the folder of the last opened file.
    void Update_Recent_Files();
    // Opening "Open Newest File" fills its entries.
    void item_Open_Newest_Root_Click();
    void item_open_last_Click();
    void item_Open_Newest_Click(int16_t Index);
    void item_close_Click();
    void item_Delete_File_Click();
    void item_rename_file_Click();
    void item_rot_true_Click();
    void item_rot_false_Click();
    // "Rotated": the check mark becomes Rotated_View and the layout follows.
    void item_rotated_Click();

    // ---- field navigation and display ----
    // The hub: draws the field the slider holds, its number and time, and the overlay.
    void Slider_play_Scroll();
    void Update_frm_label();
    // The shown field's time since the heat start by the chosen method; "" for a field that could not
    // be read.
    void Update_Frame_Time();
    int32_t Get_Elapsed_HDMI_events_mill() const { return Times.Elapsed_HDMI_events_mill; }
    int32_t Get_Elapsed_Rounded_mill() const { return Times.Elapsed_Rounded_mill; }
    void Slider_play_KeyDown(int16_t KeyCode, int16_t Shift);
    // A press on the slider and a paint of the picture add nothing to what the controls do themselves.
    void Slider_play_MouseDown() {}
    void Picture_large_Paint() {}
    void DO_RGB_Zoom();
    void P_Large_refresh();
    void Picture_large_MouseMove(int16_t Button, int16_t Shift, float X, float Y);
    void Picture_large_MouseUp(int16_t Button, int16_t Shift, float X, float Y);
    // Playback: one frame per tick of Timer_play, paced on the file's milliseconds per frame.
    void Cmd_play_Click();
    bool Playing() const { return Timer_play.Enabled(); }
    void item_play_deinterlaced_Click();
    void item_step_forward_Click();
    void item_refresh_Click() { P_Large_refresh(); }
    void item_show_frame_Click();
    void item_Zoom_Click();
    // The open file's header takes the lane marks' positions (in memory; nothing calls it).
    void Save_Lanes();
    // The developer aid "Display sample data": the shown record's times and sizes, one line each.
    std::string Sample_Data_Text();
    // The delta label's zero: the shown field's time.
    void Lbl_delta_time_Click();
    // Sets the slider without running the hub; callers run it themselves.
    void Set_Slider_Value(int32_t value);

    // ---- results ----
    // Gives lane `Lane` (0 to 15) a result: below 100000001 the shown field's time (plus 10 ms with
    // `plus_time`), else the code as it is (999999999 takes the result away). No file open, or a time
    // asked for on a field whose time is unknown: a beep and nothing else.
    void Attach_Time(int16_t Lane, int32_t Heat_result, bool plus_time);
    // Reads the heat's results back from the file's header, sorts them, fills the results window's
    // rows and redraws.
    void Complete_Result_Array();
    // The results window's rows from the sorted results (12 rows; every place still gives its lane
    // mark its time), its capture time and heat labels.
    void Fill_Results();
    void Clear_Results();
    // The results window's event name: the open file's, else the program's.
    void Set_Captions();
    // Stamps a place number in white into the lower right of the shown field.
    void Print_Place_string(const std::string& Place);
    // What the results window asks of this window, given to it once.
    void Install_Results_Window_Commands();
    // A press on the shown field: the magnifier, the extra reference point (Escape held), a lane drag
    // (lanes not locked), or with locked lanes a result (F held), the goal field of the lane's place,
    // or the "Result" menu (right button).
    void Picture_large_MouseDown(int16_t Button, int16_t Shift, float X, float Y);
    // The "Result" menu's commands, on the lane of the press that opened it.
    void item_set_time_Click();
    void item_set_disq_Click();
    void item_set_did_not_finish_Click();
    void item_set_did_not_start_Click();
    void item_set_time_plus_Click();
    void item_clear_lane_Click();

    // ---- printing ----
    // True with a file open; otherwise "No file open!".
    bool Check_File_Open();
    // The print commands: the result sheet, the sheet with the picture series, the single frame.
    void Handle_Print_results();
    void Handle_Print_Series();
    void Handle_Print_Single();
    // The shown field on a page of its own, under the heat and field number.
    void PrintSingle();
    // The single frame's picture size: from `top` down to the footer with the picture's proportions
    // (height / width), narrowed to end 100 twips inside the page box's right edge when wider.
    static printer::Page_size Single_Picture_Size(double top, double picture_ratio, double left, double right,
                                                  double footer);
    // The finish picture of every placed lane, in place order, in a grid below the result list.
    void Print_Series_HD();
    // How many pictures of that size fit across the page box, or down between the list and the footer,
    // with gaps of 5 %.
    int16_t Num_X_prints(int16_t x_width);
    int16_t Num_Y_prints(int16_t Y_height);
    struct Series_Cell {
        int16_t Place;
        int32_t X, Y, Width, Height;
    };
    // The cells the last series painted, in order.
    std::vector<Series_Cell> Series_Cells;
    int32_t Avail_Print_Width = 0;
    int32_t Avail_Print_Height = 0;
    float X_gap = 0.05F;
    float Y_gap = 0.05F;
    // The footer's program, version, computer and printer, once at load.
    void Make_Print_Footer();
    // "Select Logo file": the chosen picture becomes the event logo; Cancel switches it off.
    void item_select_logo_file_Click();
    // The event logo from the ini file into the logo box; hidden without one.
    void Load_logo();

    // ---- the course ----
    // The lane marks of the open file's header.
    void Load_Lanes_from_File(Course_header& header);

    // ---- the overlay ----
    // Rebuilds the overlay (goal line; lane marks while a file is open) and copies it over the picture.
    void Draw_Graphics(bool Refresh, bool StartCam);
    // The overlay stretched over the whole picture, its transparent colour left out.
    void Blit_Graphics();
    // The overlay rebuilt and the shown field drawn again under it.
    void New_Graphics();
    void Overlay_Lap(int16_t Lap);
    // Dormant: the text in the elapsed time's colour into the overlay.
    void Overlay_Time(const std::string& Disp_time);
    // Dormant: the message in large letters straight onto the picture.
    void Flag_Record(const std::string& Msg, int32_t Mess_Color);
    // Dormant: one step of a turning blue arm in the box.
    void Draw_waiting_arm(ui::Picture_box& Box);
    // Dormant: the set-up goal line back to (100, 100)-(400, 400), redrawn.
    void item_reset_goalline_Click();
    void item_lane_line_length_Click();

    // ---- menu commands ----
    void item_open_Click();
    void item_exit_Click();
    void item_dock_results_Click();
    void item_handle_mousewheel_Click();
    void item_file_properties_Click();
    void Command_resume_capture_Click();
    // What the capture console says while it holds frames back because this window is shown; empty hides it.
    void Show_Recording_Paused(const std::string& notice);

    // Field time by frame count, or by the frames' time stamps: checks the one item, unchecks the other
    // and stores "Settings" / "timing".
    void Set_Timing_Framecount();
    void Set_Timing_Frametimestamp();

    // ---- the menu tree and the window's own commands ----
    // Builds the menu bar in its order with captions, shortcuts, check marks and handlers.
    void Build_Menus();
    // Opening "Form" with Alt held turns "Extras" and "Debug"; opening "Help" with Ctrl held shows
    // "Specials". Opening "Form" also fills "Open Newest File", so that it has entries to open.
    void menu_form_Click();
    void menu_help_click();
    void item_video_capture_Click();
    void item_about_Click();
    void Item_extension_Click(int16_t Index);
    void item_fullscreen_Click();
    void item_use_size_Click();
    void item_take_height_Click();
    void item_taskbar_Click();
    void item_wheelhook_Click();
    void item_whellUnhook_Click();
    // The display option boxes from the ini file (no caller): a box is checked only by the text "Checked".
    void Load_Options_from_ini();
    // Both camera counters to 99 (no caller; nothing reads them).
    void Set_Camera_Counters_High();
    std::array<int32_t, 2> Camera_Counters{};
    // The option boxes: the flag from the box, then the redraw its release asks for.
    void Chk_Option_Click(QCheckBox* box);

    // ---- heat data ----
    // Asks for the program's event name; Cancel keeps it.
    void Enter_Event_name();
    // The header commands; with no file open they say "No file open!", Cancel changes nothing.
    void Set_File_Event_name(const std::string& prompt, bool rewrite_header);
    void item_set_heat_id_Click();
    void item_set_lanenums_Click();
    void itemLocalheatstart_Click();
    void item_heat_start_Click();

    // ---- developer commands ----
    void item_display_sample_data_Click();
    void item_computer_model_Click();
    void item_display_jpeg_bench_Click();
    void item_dump_xml_header_Click();
    void item_sizes_Click();
    void item_display_positions_Click();
    void item_hide_large_picture_Click();
    void item_rename_ini_Click();
    void item_printer_test_Click();
    void item_disk_perf_Click();
    void item_browse_for_folder_Click();
    void item_misbehave_Click();
    void item_misbehave_uncaptured_Click();
    void item_induce_crash_Click();
    // Copies the last captured heat's file into the second capture folder.
    void File_Copy();
    void Run_Intro();
    void Run_Intro_Loop();

    // Every item of the menu bar by its control name, the items above included.
    std::map<std::string, ui::Menu_item> Menu_items;
    ui::Menu_item Menu_x_extension;
    std::vector<ui::Menu_item> Item_extension;
    ui::Menu_item item_use_size;
    ui::Menu_item item_fullscreen;
    ui::Menu_item item_taskbar;
    ui::Menu_item menu_Extras;
    ui::Menu_item menu_debug;
    ui::Menu_item menu_help;
    ui::Menu_item menu_specials;
    ui::Menu_item item_display_sample_data;
    ui::Menu_item item_check_timing;
    ui::Menu_item item_display_HSL;
    ui::Menu_item item_export_form;
    ui::Menu_item item_disp_xy;
    ui::Menu_item item_rotated;

    // Where a point of the picture lies in video pixels, with the view scale and the stretch.
    Review_geometry::Point Video_Point(float x, float y) const;

    // ---- automatic finish detection ----
    void Setup_Lanes_Auto_Detect();
    // Tests the unfired spans on the shown field; a span that fires beeps, waits a quarter of a second
    // and, with "Set times on auto" and outside the test command, gives its lane the shown field's time.
    void Test_Auto_Lanes();
    // Shows the heat's fields one after the other and tests each, until a key is held or the heat is closed
    // or another one opened.
    void Auto_Detect();
    // Colour bars of every goal-line pixel at the picture's right edge, with marks where the goal line's
    // colour statistics stand.
    void Draw_Goal_HSL();
    // The goal line's colour statistics on the shown field, from the extra reference point's row down to
    // the last lane mark's (no command runs it).
    void xCalculate_Goal_HSL();
    Goal_HSL Goal_Colours;
    // The open file's goal line, as the header gave it last.
    Class_line Goal_Line;
    // The trigger test on the shown field's pixel under the picture point (x, y).
    void Test_Pixel(float x, float y);
    void Draw_Extra_line();
    void Read_Extra_line();
    void item_auto_detect_Click();
    // Moves a window that covers the picture beside it, so the lanes it watches stay in sight.
    void Place_Beside_Picture(ui::Form& form);
    void item_auto_for_frame_Click();
    void item_setup_auto_Click();
    void item_test_auto_lanes_Click();
    // Marks every tenth goal-line pixel yellow in the shown field's picture and paints it.
    void item_Test_Line_Click();
    Auto_detect::Detector Auto;
    bool Auto_Test_Mode = false;

    QMenuBar* Menu_bar;
    ui::Menu_item menu_form;
    ui::Menu_item item_open;
    ui::Menu_item item_Open_Newest_Root;
    std::vector<ui::Menu_item> item_Open_Newest;
    ui::Menu_item item_open_last;
    ui::Menu_item item_close;
    ui::Menu_item item_zoom;
    ui::Menu_item item_play;
    ui::Menu_item item_file_properties;
    ui::Menu_item item_exit;
    ui::Menu_item menu_settings;
    ui::Menu_item item_timing_calculation;
    ui::Menu_item item_timing_framecount;
    ui::Menu_item item_timing_frametimestamp;
    ui::Menu_item item_dock_results;
    ui::Menu_item item_handle_mousewheel;
    ui::Menu_item item_lane_line_length;
    // The popup menu of a press on a lane mark; not in the menu bar.
    ui::Menu_item menu_Result;
    ui::Menu_item item_set_time;
    ui::Menu_item item_set_disq;
    ui::Menu_item item_set_did_not_finish;
    ui::Menu_item item_set_did_not_start;
    ui::Menu_item item_set_time_plus;
    ui::Menu_item item_clear_lane;
    ui::Menu_item item_auto_detect;
    // The developer commands of automatic finish detection.
    ui::Menu_item item_test_auto_lanes;
    ui::Menu_item item_auto_for_frame;
    ui::Menu_item item_setup_auto;
    ui::Menu_item item_Test_Line;

    ui::Picture_box* Picture_large;
    // Inside Picture_large: one lane's result text (hidden; a press on it is a press on the picture),
    // and two hidden labels that only developer code writes.
    ui::Picture_box* Pict_lane_result;
    QLabel* Lbl_DVevents;
    QLabel* Label_cnt;
    // An undriven panel, hidden: "Video hold", "start", "first boat", "last boat" with their state shapes.
    QWidget* Picture_Controlbox;
    QWidget* Frame_Controls;
    ui::Command_button* Command_resume_capture;
    QLabel* Lbl_recording_paused;
    QGroupBox* frm_File_data;
    QLabel* Shape_circle;
    QLabel* Lbl_Frame_size;
    QLabel* Lbl_filesize;
    QGroupBox* Frm_time;
    QLabel* lbl_elapsed_time;
    QLabel* Lbl_delta_time;
    QLabel* Lbl_frameno;
    QLabel* Label_start_time;
    QLabel* Label_heatID;
    QGroupBox* Frm_play;
    QSlider* Slider_play;
    ui::Command_button* Cmd_play;
    QGroupBox* Frm_options;
    QCheckBox* Chk_Flip_Lanemarks;
    QCheckBox* Chk_Show_Goalline;
    QCheckBox* Chk_Show_lanemarks;
    QCheckBox* Chk_invert_goalline;
    QCheckBox* Chk_reverse_lanes;
    QLabel* Label_mismatch;
    ui::Picture_box* Picture_logo;
    ui::Picture_box* Pict_heat_time;
    ui::Picture_box* Pict_temp;
    ui::Picture_box* Picture_intro;
    ui::Picture_box* Picture_intro_2;
    ui::Timer Timer_keyb_event;
    ui::Timer Timer_play;

    // The store through which the window reads its capture file.
    cls_VideoFile_handler Replay_File;
    // The path opened last; "" without a file.
    std::string Current_File_Name;
    // The time model's values of the field drawn last.
    Field_time::Times Times;
    // The shown field's time, which a result takes, and whether the field had one (a field that could
    // not be read has none and takes no result).
    int32_t Shown_Field_Time = 0;
    bool Shown_Field_Time_Known = false;
    int32_t Delta_Reference_Time = 0;
    // Result rows with a time that the last Fill_Results wrote.
    int16_t Timed_Result_Count = 0;
    // Playback stops with a beep at a frame whose time is not later than the one before (the developer
    // check "Check_Timing").
    bool Check_Timing = false;
    float Zoom_X = 0;
    float Zoom_Y = 0;

    // Screen pixels per video pixel (at most 1; 0 until the first fit), and the extra horizontal
    // stretch (1, 1.5 or 2; 0 reads as 1).
    float View_Scale = 0;
    float X_Stretch = 1;
    bool Skip_Next_Resize = false;
    // The command line as a file association passes it: each argument in quotes.
    std::string Command_Line;
    bool Rotated_View = false;
    float Picture_large_Last_X = 0;
    float Picture_large_Last_Y = 0;
    int32_t Footer_Y_position = 0;
    // The magnifier's rectangle; nothing sets it yet.
    Review_geometry::Rectangle Zoom_Rect;
    bool Zoom_Mode = false;

protected:
    void Form_Load() override;
    void Form_Activate() override;
    void Form_Resize() override;
    void Form_QueryUnload(int16_t& cancel, int16_t unload_mode) override;
    void showEvent(QShowEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dropEvent(QDropEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    // A click on the delta label.
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    bool File_open() const { return Replay_File.File_open(); }
    // Goal_Line from the open file's header, its length taken; the ends as the header gives them.
    Auto_detect::Goal_line Set_Goal_Line();
    void Open_multi_file(const std::string& Filename);
    // Counts the openings of a file, so that a run which lets events through knows when another heat came.
    uint32_t Files_Opened = 0;
    void Restore_Size_Position();
    void Refresh_picture();
    void Timer_play_Timer();
    void End_Playback();
    bool Scroll_Busy = false;
    int32_t Play_Start_Tick = 0;
    int32_t Play_Frame = 0;
    int32_t Play_Frames = 0;
    int32_t Play_Previous_Time = 0;
    bool Play_Previous_Known = false;
    int Menu_Height() const;
    // The picture's inner size placed at the top left of the window, 2 pixels in.
    void Place_Picture(const Review_geometry::Picture_fit& fit);
    // Sizes the window's inside without running the resize procedure for it.
    void Resize_Self(int width, int height);
    int32_t Start_Tick_Window = 0;
    // The interval formatter's text ("1 min 14 sec") of that many milliseconds to that many significant
    // digits; dormant.
    std::string GetFormattedTime(int32_t Milliseconds, int32_t Digits);
    int32_t Previous_DV_Events_Count = 0;
    int32_t Waiting_Arm_Angle = 0;
    // The shown field's sample data on the picture, and the text written in the overlay at a place.
    void Display_Sample_Data();
    void Overlay_Text(const std::string& text, double x_fraction, float size, int32_t colour);
};
