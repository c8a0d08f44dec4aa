#pragma once
// "Boat AutoDetect": the trigger limits of automatic finish detection, a read-out of the pixel under
// the mouse with a trigger indicator, "Set times on auto", "Start Auto Detect" and "Draw HSL". The
// limits are the captions of four labels, kept in the ini file.
#include "platform/ui/Form.h"
#include "review/Auto_detect.h"
#include "shell/Non_dependant.h"

#include <array>
#include <cstdint>
#include <optional>

class QCheckBox;
class QGroupBox;
class QLabel;
class QSpinBox;
namespace ui {
class Command_button;
}

class Form_Auto_detect : public ui::Form {
public:
    static Form_Auto_detect& Instance() { return ui::Instance_Of<Form_Auto_detect>(); }
    Form_Auto_detect();

    // Cleared by every trigger test; nothing sets them.
    bool trig_H = false;
    bool trig_S = false;
    bool trig_L = false;
    bool trig_Tot = false;

    void Pixel_to_HSL(int32_t myPixel);
    // Whether the pixel lies inside the limits; the indicator follows, and with `mMove` the read-out.
    // Limits that are not numbers trigger nothing.
    bool Test_pixel_for_Trigger(int32_t myPixel, bool mMove);
    void Store_Trigger_levels();
    // The stored limits into the captions ("N/A" or a text of fewer than four numbers keeps them); every
    // activation of the window runs it.
    void Load_Trigger_levels();
    // The four limits as the test reads them; nothing when one caption is not a number.
    std::optional<Auto_detect::Trigger_levels> Levels() const;
    // The indicator: red when the last tested pixel triggered, green when not.
    void Show_Trigger(bool triggered);

    Non_dependant::HSL_Color Pixel_HSL;

    QCheckBox* Check_set_times_auto;
    ui::Command_button* Command_start_Auto;
    ui::Command_button* Command_Continue_Auto;
    QCheckBox* Check_draw_HSL;
    QGroupBox* Frame_Triggers;
    QLabel* Label_HUE;
    QLabel* Label_SAT;
    QLabel* Label_LUM;
    QLabel* Label_hue_min;
    QLabel* Label_hue_max;
    QLabel* Label_Sat_min;
    QLabel* Label_lum_min;
    QLabel* Label_lum_max;
    QSpinBox* UpDown_hue_min;
    QSpinBox* UpDown2;
    QSpinBox* UpDown_sat;
    QSpinBox* UpDown_lum_min;
    QSpinBox* UpDownLum_max;
    std::array<QCheckBox*, 3> Check_use{};
    QGroupBox* Frame_HSL;
    QLabel* Picture_test;
    QLabel* Label_XY;
    std::array<QLabel*, 3> Label_hsl{};
    QGroupBox* Frame_Goal_line;
    std::array<QLabel*, 3> Label_min{};
    std::array<QLabel*, 3> Label_max{};
    std::array<QLabel*, 3> Label_avg{};
    QLabel* Shape_Trigger_Circle;

protected:
    void Form_Load() override;
    void Form_Activate() override;
    void Form_QueryUnload(int16_t& cancel, int16_t unload_mode) override;
    // The review window's "Auto detect" check mark follows the window, also when its close box hides it.
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;

private:
    // The limits reach the ini file only from a window that was shown: one loaded hidden keeps the
    // designed captions, which must not replace the stored ones.
    bool Activated = false;
    int indicator_ = -1;
};
