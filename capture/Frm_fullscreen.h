#pragma once
// The live preview: the camera picture with the course drawn over it (lane marks and goal line), and
// the course set-up: marks and goal-line ends dragged with the mouse, the lane count, the first lane's
// number and the overlay options, stored in section "Canoe" of the ini file.
#include "Course_setup.h"
#include "platform/ui/Form.h"
#include "review/Module_Vantorel_course.h"

#include <cstdint>
#include <optional>

class QAction;
class QCheckBox;
class QGroupBox;
class QLabel;
class QMenu;
class QPushButton;
class QRadioButton;
class QSpinBox;
namespace ui {
class Picture_box;
}

class Frm_fullscreen : public ui::Form {
public:
    // Lane counts the set-up offers: two up to all sixteen marks.
    static constexpr int16_t Min_Lanes = 2;
    static constexpr int16_t Max_Lanes = 16;

    static Frm_fullscreen& Instance() { return ui::Instance_Of<Frm_fullscreen>(); }
    Frm_fullscreen();

    void Handle_events();
    void Save_Options();
    void Form_MaxHeight();
    void Set_Preview_Size();
    // The preview takes its size from the display crop when it resizes; this call has no effect.
    void Set_Display_Crop(int16_t width, int16_t height) { (void)width, (void)height; }
    void Set_Num_lanes(int16_t n);
    // Called on moves while "Zoom" is checked; there is no zoomed view, so it has no visible effect.
    void Draw_Zoomed(float X, float Y) { (void)X, (void)Y; }
    void Preview_Refresh();
    void Set_Options();
    void Preview_Graphics();
    void Save_GoalLine();
    void Save_Lanes();
    void Reset_lane_Positions();
    void Reset_Goal_line();
    // "Save options": the options, the goal line and the marks; then nothing is left unsaved.
    void Save_All();
    // The Close command: unchecks "Full preview", leaves run mode 1 and closes.
    void Command_close_Click();
    // The first-lane choice: true is "Lane 0".
    void Option_first_lane_Click(bool lane_zero);
    // The lane-count control released: its value becomes the lane count.
    void UpDown_Lanes_MouseUp();

    // Mouse editing at a video point. Button: 1 left, 2 right, 4 middle; for a move, the buttons held.
    void Picture_MouseDown(int16_t button, float x, float y);
    void Picture_MouseMove(int16_t buttons, float x, float y);
    void Picture_MouseUp();

    // Puts the course set up here into the program-wide values, for a new heat: what the preview shows
    // while it is shown, else what it showed last (the ini file's course when it never loaded).
    static void Put_Course_For_New_Heat();

    float Display_Scale() const { return display_scale_; }
    bool Course_Moved() const { return course_moved_; }
    // The picture box a frame is painted into.
    ui::Picture_box* Picture_preview;
    QGroupBox* Frm_Options;
    QCheckBox *Chk_Show_lanemarks, *Chk_Flip_Lanemarks, *Chk_Show_Goalline, *Chk_rotate;
    QSpinBox* UpDown_Lanes;
    QLabel* Lbl_num_lanes;
    QRadioButton* Option_first_lane[2];
    QPushButton *Cmd_save_options, *Command_close, *Command_menu;
    QMenu* menu_form;
    QAction* item_full_preview;
    QAction* item_zoom;
    QMenu* menu_debug;

protected:
    void Form_Load() override;
    void Form_Activate() override;
    void Form_QueryUnload(int16_t& cancel, int16_t unload_mode) override;
    void Form_Resize() override;
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;

private:
    void Drag_Lane_To(float x, float y);
    void Drag_Goal_End_To(float x, float y);
    void Show_Lane_Count();
    // The lane count and first-lane controls as the program-wide values hold them.
    void Show_Course_Controls();

    float display_scale_ = 1;
    bool course_moved_ = false;
    // The course set up here, kept while the preview is hidden (the review window shows other courses).
    std::optional<Course_setup> course_;
    int16_t drag_lane_ = -1;
};
