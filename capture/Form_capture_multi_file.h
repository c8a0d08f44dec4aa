#pragma once
// The heat capture console. Built so far: its camera (the capture device, the source choice, start and
// stop) and the members that start-up and shutdown call. The heats, the recording of frames and the
// control box come later; the window says so.
#include "platform/ui/Form.h"

#include <cstdint>
#include <memory>

class QLabel;
class cls_Capture_HDMI;

class Form_capture_multi_file : public ui::Form {
public:
    static Form_capture_multi_file& Instance() { return ui::Instance_Of<Form_capture_multi_file>(); }
    Form_capture_multi_file();
    ~Form_capture_multi_file() override;

    // When the console has a capture device: stops its capture.
    void Stop_Capture();
    // When the console has a capture device: stops it, disconnects its frame events and releases it.
    void Terminate_obj_Capture_HDMI();
    // The rotate flag that Set_OBJ_Capture_Crop hands on.
    void Set_Capture_Rotate(bool rotate) { m_Capture_Rotate = rotate; }
    bool Capture_Rotate() const { return m_Capture_Rotate; }
    // Makes the capture device when there is none and gives it the rotate flag and Crop_Width x Crop_Height.
    void Set_OBJ_Capture_Crop();
    // A choice of source and format (the source dialog's): the device selects the saved source and
    // format; when the console is in use the camera starts with them at once, otherwise at the
    // console's next activation. A source not found opens the source dialog, or says that none is
    // selected when the dialog was cancelled.
    void Set_Source_and_Property();

    // Whether the console holds a capture device (from the start-up crop choice or a source choice).
    bool Has_Capture_Device() const { return obj_Capture_HDMI_ != nullptr; }
    cls_Capture_HDMI* obj_Capture_HDMI() const { return obj_Capture_HDMI_.get(); }

    QLabel* Label_not_built;

protected:
    void Form_Activate() override;
    void Form_QueryUnload(int16_t& cancel, int16_t unload_mode) override;

private:
    bool Select_Saved_Source();
    void Start_Camera();
    void Start_Capture();

    std::unique_ptr<cls_Capture_HDMI> obj_Capture_HDMI_;
    bool m_Capture_Rotate = false;
    bool m_Recovery_Done = false;
    // The present source choice has been set up: the camera is set up and started once per choice, so
    // a mere activation never restarts it (a running heat keeps its frame count and JPEG limit).
    bool choice_set_up_ = false;
};
