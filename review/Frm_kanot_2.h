#pragma once
// The photo-finish review window: the shown field in Picture_large with the course drawn over it, a
// column of frames on its right, and the results window docked to its right edge. Built so far: the
// window's life cycle and layout, the course overlay, the wheel and the dropped file. Opening capture
// files and showing their fields come with the capture file store; until then no file is ever open and
// "Open File" says so.
#include "platform/ui/Form.h"
#include "platform/ui/Menu_item.h"
#include "platform/ui/Timer.h"
#include "results/Module1.h"
#include "review/Course_header.h"
#include "review/Review_geometry.h"

#include <QMenu>  // Menu_item::Menu needs the whole class

#include <cstdint>
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

    // ---- opening a file and showing fields (the store's road: not built yet) ----
    void Handle_Open_File(const std::string& path);
    void Slider_play_Scroll();
    void P_Large_refresh();

    // ---- the course ----
    // The lane marks of the open file's header.
    void Load_Lanes_from_File(Course_header& header);

    // ---- the overlay ----
    // Rebuilds the overlay (goal line; lane marks while a file is open) and copies it over the picture.
    void Draw_Graphics(bool Refresh, bool StartCam);
    // The overlay stretched over the whole picture, its transparent colour left out.
    void Blit_Graphics();
    void Overlay_Lap(int16_t Lap);
    void item_lane_line_length_Click();

    // ---- menu commands ----
    void item_open_Click();
    void item_exit_Click();
    void item_dock_results_Click();
    void item_handle_mousewheel_Click();
    void item_file_properties_Click();
    void Command_resume_capture_Click();

    // Field time by frame count, or by the frames' time stamps: checks the one item, unchecks the other
    // and stores "Settings" / "timing".
    void Set_Timing_Framecount();
    void Set_Timing_Frametimestamp();

    // Where a point of the picture lies in video pixels, with the view scale and the stretch.
    Review_geometry::Point Video_Point(float x, float y) const;

    QMenuBar* Menu_bar;
    ui::Menu_item menu_form;
    ui::Menu_item item_open;
    ui::Menu_item item_file_properties;
    ui::Menu_item item_exit;
    ui::Menu_item menu_settings;
    ui::Menu_item item_timing_calculation;
    ui::Menu_item item_timing_framecount;
    ui::Menu_item item_timing_frametimestamp;
    ui::Menu_item item_dock_results;
    ui::Menu_item item_handle_mousewheel;
    ui::Menu_item item_lane_line_length;

    ui::Picture_box* Picture_large;
    QWidget* Frame_Controls;
    ui::Command_button* Command_resume_capture;
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
    void closeEvent(QCloseEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dropEvent(QDropEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    // Whether the capture file store has a file open: never, until the store is built.
    bool File_open() const { return false; }
    int Menu_Height() const;
    // The picture's inner size placed at the top left of the window, 2 pixels in.
    void Place_Picture(const Review_geometry::Picture_fit& fit);
    // Sizes the window's inside without running the resize procedure for it.
    void Resize_Self(int width, int height);
    int32_t Start_Tick_Window = 0;
};
