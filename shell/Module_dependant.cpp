#include "Module_dependant.h"

#include "Module_Vantorel.h"
#include "Non_dependant.h"
#include "mTrace.h"
#include "platform/ui/Dialog_service.h"
#include "platform/ui/Screen.h"
#include "platform/vb/Error_trap.h"
#include "platform/vb/Vb_convert.h"
#include "platform/vb/Vb_text.h"

namespace Module_dependant {

using namespace Module_Vantorel;

void Store_Form_Pos(const std::string& form_name, int32_t left, int32_t top, int32_t width, int32_t height) {
    vb::Trap_With(
        true,
        [&] {
            if (Monitor_Count == 1 && (left < -150 || top < -150)) return;
            Non_dependant::Write_Ini("windowpos", form_name,
                                     std::to_string(left) + "," + std::to_string(top) + "," + std::to_string(width) +
                                         "," + std::to_string(height),
                                     Ini_file_path);
        },
        [](const VbError& e) { ui::MsgBox("Store_Form_Pos error" + std::to_string(e.Line())); });
}

void Get_Form_Pos(const std::string& form_name, int32_t& left, int32_t& top, int32_t& width, int32_t& height) {
    vb::Trap_With(
        Is_Compiled,
        [&] {
            std::vector<std::string> parts =
                vb::Split(Non_dependant::Read_Ini("windowpos", form_name, Ini_file_path, "0,0"), ",");
            if (parts.size() < 2) vb::Raise(vb::Err_Subscript);
            left = vb::CLng(parts[0]);
            top = vb::CLng(parts[1]);
            if (parts.size() >= 3) width = vb::CLng(parts[2]);
            if (parts.size() >= 4) height = vb::CLng(parts[3]);
            if (left < -150) left = 0;
            if (top < -150) top = 0;
            if (left > ui::Screen_Width_Twips()) left = 0;
            if (top > ui::Screen_Height_Twips()) top = 0;
        },
        [](const VbError& e) { ui::MsgBox("Get_Form_Pos error " + std::to_string(e.Line())); });
}

void Trace_String(const std::string& text) { mTrace::Trace(text); }

}  // namespace Module_dependant

// ---- Files, folders, the DV header check ----

#include "platform/fs/File_system.h"

#include <algorithm>

namespace Module_dependant {

bool FileExists(const std::string& path) {
    bool exists = false;
    vb::Trap_With(
        true, [&] { exists = fs::File_Exists(path); },
        [&](const VbError& e) {
            exists = false;
            ui::MsgBox("FileExists error! " + std::to_string(e.Number()) + " " + e.Description());
        });
    return exists;
}

bool FolderExists(const std::string& path) { return fs::Folder_Exists(path); }

void Kill_File(const std::string& path) {
    vb::Trap(true, "Kill_File of Module Module_dependant", [&] {
        try {
            fs::Delete_File(path);
        } catch (const VbError& e) {
            if (e.Number() != vb::Err_File_Not_Found) throw;
        }
    });
}

void Check_DV_Header(std::span<const uint8_t> frame) {
    uint8_t header[10] = {};
    std::copy_n(frame.begin(), std::min<size_t>(frame.size(), sizeof header), header);
    if (frame.size() < 2 || header[0] != 31 || header[1] != 7) Module_Vantorel::Debug_Stop = true;
}

}  // namespace Module_dependant
