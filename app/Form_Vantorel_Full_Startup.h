#pragma once
// The first window of every run: the operator chooses to view recordings or to capture, and for
// capturing the crop of the camera picture and the initial JPEG quality, then presses "Go".
#include "platform/ui/Command_button.h"
#include "platform/ui/Control_array.h"
#include "platform/ui/Form.h"
#include "platform/ui/Menu_item.h"

#include <QMenu>  // Menu_item::Menu needs the whole class

#include <cstdint>
#include <string>

class QGroupBox;
class QLabel;
class QMenuBar;
class QRadioButton;

class Form_Vantorel_Full_Startup : public ui::Form {
public:
    static Form_Vantorel_Full_Startup& Instance() { return ui::Instance_Of<Form_Vantorel_Full_Startup>(); }
    Form_Vantorel_Full_Startup();
    ~Form_Vantorel_Full_Startup() override;

    // The JPEG benchmark report; "" until JPEG_bench_to_mess has run. Every new capture file keeps it.
    // It outlives the window: an unloaded window leaves it behind and a window loaded again starts
    // with it.
    std::string JPEG_Bench_mess;
    // The report for a new capture file: the loaded window's, else the one the window left behind.
    // Never loads the window, whose load would measure again and reset the crop of a running capture.
    static std::string Kept_JPEG_Bench_mess();

    void JPEG_bench_to_mess();
    void Set_Capture_Rotated(bool crt);
    // The crop and rotation state from a preset text "W*H"; a height above 1080 means a camera on its side.
    void Set_My_Crop(const std::string& capt);
    void Create_obj_Capture() {}
    // The crop preset and the program option from the ini file; a saved value that names no option
    // gives the default.
    void Load_Crop_Params();

    void Option_capture_type_Click(int16_t index);
    void Option_crop_Click(int16_t index);
    void Option_quality_Click(int16_t index);
    // Asks for a custom crop "W*H"; Cancel changes nothing, an answer that is no crop size is refused.
    void Command_custom_Click();
    void Command_go_Click();
    void item_select_source_Click();
    void item_exit_Click();
    void item_JPG_bench_Click();
    void item_about_Click();
    void item_diskperf_Click();
    void item_diskperfappdata_Click();
    void item_Click();
    // Writes "testfile.kd3" in the application-data folder and changes its header through the store.
    void item_kd3_header_test_Click();
    void menu_form_Click();

    QMenuBar* Menu_bar;
    ui::Menu_item menu_form;
    ui::Menu_item item_select_source;
    ui::Menu_item item_exit;
    ui::Menu_item menu_diagnostics;
    ui::Menu_item item_JPG_bench;
    ui::Menu_item menu_help;
    ui::Menu_item item_about;
    ui::Menu_item menu_debug;
    ui::Menu_item item_diskperf;
    ui::Menu_item item_diskperfappdata;
    ui::Menu_item item;
    ui::Menu_item item_kd3_header_test;

    QLabel* Label1;
    QGroupBox* Frame_capture_options;
    ui::Control_array<QRadioButton> Option_capture_type;
    QGroupBox* Frame_camera_options;
    QGroupBox* Frame_Crop;
    ui::Control_array<QRadioButton> Option_crop;
    ui::Command_button* Command_custom;
    QLabel* Label_ROTATED;
    QGroupBox* Frame_initial_quality;
    ui::Control_array<QRadioButton> Option_quality;
    ui::Command_button* Command_go;
    QLabel* Label_HDMI_test;
    QLabel* Shape_circle;

    // Whether a custom crop "W*H" is whole pixels that fit the camera's 1920 x 1080 picture (upright,
    // or on its side when H exceeds 1080).
    static bool Is_Valid_Crop(const std::string& capt);

protected:
    void Form_Load() override;
    void Form_Unload(int16_t& cancel) override;

private:
    void Show_JPEG_Bench_Report();
};
