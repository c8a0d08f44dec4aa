#include "Form_capture_multi_file.h"

#include "Form_select_Video.h"
#include "cls_Capture_HDMI.h"
#include "platform/ui/Dialog_service.h"
#include "platform/vb/Error_trap.h"
#include "platform/vb/Vb_convert.h"
#include "shell/Module_Vantorel.h"
#include "shell/Module_dependant.h"
#include "shell/mTrace.h"

#include <QLabel>
#include <QVBoxLayout>

using namespace Module_Vantorel;

Form_capture_multi_file::Form_capture_multi_file() : ui::Form("Form_capture_multi_file") {
    Set_Caption("Vantorel Capture multi-file");
    auto* layout = new QVBoxLayout(this);
    Label_not_built = new QLabel(
        "Recording heats is not built yet: the camera runs, but this console cannot record heats, show the live "
        "picture or read the control box.",
        this);
    Label_not_built->setWordWrap(true);
    layout->addWidget(Label_not_built);
    resize(480, 160);
}

Form_capture_multi_file::~Form_capture_multi_file() = default;

void Form_capture_multi_file::Form_Activate() {
    vb::Trap(Is_Compiled, "Form_Activate of Form Form_capture_multi_file", [this] {
        if (Is_Exiting || choice_set_up_ || vb::CLng(m_saved_Video_prop_num) < 0) return;
        choice_set_up_ = true;
        if (Select_Saved_Source()) {
            Start_Camera();
            m_Recovery_Done = true;
        } else {
            mTrace::Trace("*obj_Capture_HDMI.SourcePropFound = False");
        }
    });
}

void Form_capture_multi_file::Set_Source_and_Property() {
    if (Is_Exiting) return;
    vb::Trap(Is_Compiled, "Set_Source_and_Property of Form Form_capture_multi_file", [this] {
        choice_set_up_ = isVisible();
        if (Select_Saved_Source() && choice_set_up_) Start_Camera();
    });
}

bool Form_capture_multi_file::Select_Saved_Source() {
    if (!obj_Capture_HDMI_) Set_OBJ_Capture_Crop();
    if (obj_Capture_HDMI_->Set_Source_from_Saved()) {
        Set_OBJ_Capture_Crop();
        return true;
    }
    if (ui::Is_Loaded("Form_select_Video") && Form_select_Video::Instance().m_was_Cancelled)
        ui::MsgBox("No video source selected!", ui::vbOKOnly);
    else
        Form_select_Video::Instance().Show(ui::vbModeless);
    return false;
}

void Form_capture_multi_file::Set_OBJ_Capture_Crop() {
    vb::Trap(Is_Compiled, "Set_OBJ_Capture_Crop of Form Form_capture_multi_file", [this] {
        if (!obj_Capture_HDMI_) {
            obj_Capture_HDMI_ = std::make_unique<cls_Capture_HDMI>();
            obj_Capture_HDMI_->ID_string("obj_Capture_HDMI");
        }
        obj_Capture_HDMI_->Capture_Rotate_RGB(m_Capture_Rotate);
        obj_Capture_HDMI_->set_HDMI_Crop(Crop_Width, Crop_Height);
        obj_Capture_HDMI_->Do_CROP(true);
    });
}

void Form_capture_multi_file::Start_Camera() {
    vb::Trap(Is_Compiled, "Start_Cam of Form Form_capture_multi_file", [this] {
        Start_Capture();
        Capture_Running = true;
        mTrace::Trace("*Form_capture_multi_file Start_Camera, end");
    });
}

void Form_capture_multi_file::Start_Capture() {
    vb::Trap(Is_Compiled, "Start_capture of Form Frm_capture", [this] {
        mTrace::Trace("*Form_capture_multi_file Start_Capture, begin");
        obj_Capture_HDMI_->Do_log_time(true);
        obj_Capture_HDMI_->Post_linear(false);
        obj_Capture_HDMI_->MaxFrames(1);
        obj_Capture_HDMI_->Capture_Run();
        mTrace::Trace("*obj_Capture_HDMI.Last_Error =" + obj_Capture_HDMI_->Last_Error());
    });
}

void Form_capture_multi_file::Stop_Capture() {
    if (obj_Capture_HDMI_) obj_Capture_HDMI_->Stop_Capture();
}

void Form_capture_multi_file::Terminate_obj_Capture_HDMI() {
    vb::Trap(Is_Compiled, "Terminate_obj_Capture_HDMI of Form Form_capture_multi_file", [this] {
        Module_dependant::Trace_String("*Terminate_obj_Capture_HDMI, begin");
        if (!obj_Capture_HDMI_) return;
        Stop_Capture();
        obj_Capture_HDMI_->UnAdvise();
        obj_Capture_HDMI_.reset();
        Module_dependant::Trace_String("*Terminate_obj_Capture_HDMI, end");
    });
}

void Form_capture_multi_file::Form_QueryUnload(int16_t&, int16_t) {
    vb::Trap(Is_Compiled, "Form_QueryUnload of Form Form_capture_multi_file", [this] {
        mTrace::Trace("*Form_QueryUnload Form_capture_multi_file, begin");
        obj_Capture_HDMI_.reset();
        mTrace::Trace("*Form_QueryUnload obj_Capture_HDMI = Nothing");
        mTrace::Trace("*Form_QueryUnload Form_capture_multi_file, end");
    });
}
