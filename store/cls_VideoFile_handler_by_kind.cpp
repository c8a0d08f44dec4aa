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
#include <filesystem>

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
            // Accepted but not opened: "avi", and any suffix not written in lower case.
            if (suffix == "kd3") {
                Open_RGB_File();
                result = File_open();
            } else if (suffix == "dv" || suffix == "sdv" || suffix == "kd1" || suffix == "kd2") {
                result = Open_Older_File(suffix);
                if (result) mTrace::Trace("*OF opened ", suffix, ", frames = ", frame_count_);
            }
            if (result && Preread_switch) Preread_File();
            if (result && copy_wanted_) Copy_Whole_File_If_Bound_Allows();
            if (result) {
                drive_text_ = file_name.substr(0, 2);
                drive_type_ = fs::Drive_Type(file_name);
            }
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

bool cls_VideoFile_handler::rename_file(const std::string& new_filename) {
    const std::string target = Non_dependant::ParsePath(m_File_Name, 16) + new_filename;
    if (Module_dependant::FileExists(target)) {
        ui::MsgBox("New file already exists!");
        return false;
    }
    const std::string source = m_File_Name;
    Close_File();
    std::error_code error;
    std::filesystem::rename(source, target, error);
    if (error) {
        // The file stays where it was, open again as before the attempt.
        Open_File(source, 0);
        vb::Raise(vb::Err_Path_File_Access, error.message() + ": " + source + " to " + target, "cls_VideoFile_handler");
    }
    Open_File(target, 0);
    return true;
}
