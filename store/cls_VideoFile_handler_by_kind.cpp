// Opening a capture file by its kind.
#include "cls_VideoFile_handler.h"

#include "shell/Module_Vantorel.h"
#include "shell/Module_dependant.h"
#include "shell/Non_dependant.h"
#include "shell/mTrace.h"
#include "platform/fs/File_system.h"
#include "platform/ui/Dialog_service.h"
#include "platform/vb/Error_trap.h"
#include "platform/vb/Vb_text.h"

#include <algorithm>

bool cls_VideoFile_handler::Open_File(const std::string& file_name, int32_t) {
    bool result = false;
    vb::Trap_With(
        Module_Vantorel::Is_Compiled,
        [&] {
            mTrace::Trace("Open_File ", file_name);
            Close_File();
            File_name(file_name);
            if (!Module_dependant::FileExists(file_name)) {
                mTrace::Trace("*OF1, filename = ", file_name);
                return;
            }
            if (fs::File_Size(file_name) < 100) {
                ui::MsgBox("Corrupt file, (Invalid file length)");
                if (Module_Vantorel::Is_Compiled) {
                    mTrace::Trace("*OF2");
                    return;
                }
            }
            const std::string suffix = Non_dependant::File_Suffix(file_name);
            mTrace::Trace("Suffix = ", suffix);
            const std::string upper = vb::UCase(suffix);
            static const char* const known[] = {"AVI", "KD1", "SDV", "DV", "KD3", "KD2"};
            if (std::find(std::begin(known), std::end(known), upper) == std::end(known)) {
                ui::MsgBox("cls_AVI_handler can't open this file type! " + file_name);
                mTrace::Trace("*OF3");
                return;
            }
            if (suffix == "kd3") {
                Open_RGB_File();
                result = File_open();
            } else if (upper != "KD3") {
                // The older kinds are known by their suffix in any case.
                result = Open_Older_File(suffix);
                if (result) mTrace::Trace("*OF opened ", suffix, ", frames = ", frame_count_);
            }
            if (result && Preread_switch) Preread_File();
            if (result && copy_wanted_) Copy_Whole_File_If_Bound_Allows();
        },
        [&](const VbError& e) {
            mTrace::Trace("*OF Open_File_Error");
            if (e.Number() == vb::Err_Permission_Denied) ui::MsgBox("Permission denied!");
            else
                ui::MsgBox("File: " + file_name + " Open error! \r\n" + std::to_string(e.Number()) + " " + e.Description());
            if (File_open()) Close_File();
            result = false;
        });
    return result;
}
