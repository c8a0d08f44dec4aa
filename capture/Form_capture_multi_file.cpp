#include "Form_capture_multi_file.h"

#include "platform/vb/Error_trap.h"
#include "platform/vb/Vb_convert.h"
#include "shell/Module_Vantorel.h"
#include "shell/Module_dependant.h"

#include <QLabel>
#include <QVBoxLayout>

using namespace Module_Vantorel;

Form_capture_multi_file::Form_capture_multi_file() : ui::Form("Form_capture_multi_file") {
    Set_Caption("Vantorel Capture multi-file");
    auto* layout = new QVBoxLayout(this);
    Label_not_built = new QLabel(
        "Live capture is not built yet: this console cannot record heats, run the camera or read the control box.",
        this);
    Label_not_built->setWordWrap(true);
    layout->addWidget(Label_not_built);
    resize(480, 160);
}

void Form_capture_multi_file::Terminate_obj_Capture_HDMI() {
    Module_dependant::Trace_String("*Terminate_obj_Capture_HDMI, begin");
    Module_dependant::Trace_String("*Terminate_obj_Capture_HDMI, end");
}

void Form_capture_multi_file::Set_OBJ_Capture_Crop() {
    vb::Trap(Is_Compiled, "Set_OBJ_Capture_Crop of Form Form_capture_multi_file", [this] {
        crop_.rotate = capture_rotate_;
        crop_.width = Crop_Width;
        crop_.height = Crop_Height;
        crop_.crop_on = true;
        crop_.offsets_set = Capture_Rotated;
        if (Capture_Rotated) {
            crop_.offset_x = vb::CInt((1920 - Crop_Width) / 2.0);
            crop_.offset_y = vb::CInt((1080 - Crop_Height) / 2.0);
        }
    });
}
