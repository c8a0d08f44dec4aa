#pragma once
// The heat capture console. Built so far: the members that start-up and shutdown call. The heats, the
// frame pipeline and the capture device come with live capture; the window says so.
#include "platform/ui/Form.h"

#include <cstdint>

class QLabel;

class Form_capture_multi_file : public ui::Form {
public:
    static Form_capture_multi_file& Instance() { return ui::Instance_Of<Form_capture_multi_file>(); }
    Form_capture_multi_file();

    // The crop that the capture device gets when it is made.
    struct Device_Crop {
        bool rotate = false;
        int16_t width = 0;
        int16_t height = 0;
        bool crop_on = false;
        bool offsets_set = false;
        int16_t offset_x = 0;
        int16_t offset_y = 0;
    };

    // When the console has a capture device: stops its capture. There is none until live capture is built.
    void Stop_Capture() {}
    // When the console has a capture device: stops it, disconnects its frame events and releases it.
    void Terminate_obj_Capture_HDMI();
    // The rotate flag that Set_OBJ_Capture_Crop hands on.
    void Set_Capture_Rotate(bool rotate) { capture_rotate_ = rotate; }
    bool Capture_Rotate() const { return capture_rotate_; }
    // The rotate flag, Crop_Width x Crop_Height with crop on, and for a rotated camera the offsets that
    // centre the crop in a 1920 x 1080 picture.
    void Set_OBJ_Capture_Crop();
    const Device_Crop& Crop() const { return crop_; }
    bool Has_Capture_Device() const { return false; }

    QLabel* Label_not_built;

private:
    bool capture_rotate_ = false;
    Device_Crop crop_;
};
