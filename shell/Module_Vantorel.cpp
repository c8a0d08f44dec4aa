#include "Module_Vantorel.h"

#include "Module_AppUserData.h"
#include "Non_dependant.h"
#include "diagnostics/Class_Memstatus_2.h"
#include "platform/sys/Sys_clock.h"
#include "platform/ui/Dialog_service.h"
#include "platform/vb/Error_trap.h"
#include "platform/vb/Vb_convert.h"

namespace Module_Vantorel {

void Load_Total_Memory() { Phys_RAM = Class_Memstatus_2().Mem_Tot_phys(); }

// The steps that need the start-up window, the review window, the probes of the computer, the
// control box and the event log join this procedure together with those parts of the program.
void Vantorel_Initialization() {
    static bool done = false;
    vb::Trap(Is_Compiled, "Vantorel_Initialization of Module Module_canoe", [] {
        if (done) return;
        Start_Tick = sys::timeGetTime();
        AppData_Folder = Module_AppUserData::Get_AppData_Folder();
        Vantorel_Mode = true;
        Golf_Mode = false;
        Program_Name = "Vantorel_HDMI, Full v.";
        Program_Version = VANTOREL_VERSION;
        if (JPG_Start_Quality == 0) JPG_Start_Quality = 80;
        Ini_file_path = AppData_Folder + "/" + "Vantorel_HDMI" + ".ini";
        App_Title = ui::Program_Title;
        Timing_Correction = vb::CLng(Non_dependant::Read_Ini("Settings", "timingcorrection", Ini_file_path, "0"));
        Load_Total_Memory();
        m_saved_Friendly_name = Non_dependant::Read_Ini("capturesettings", "friendlyname", Ini_file_path, "noname");
        m_saved_Video_prop_num = Non_dependant::Read_Ini("capturesettings", "videoproperty", Ini_file_path, "-1");
        Lane_Line_Length = vb::CInt(Non_dependant::Read_Ini("setting", "Lanelinelength", Ini_file_path, "200"));
        done = true;
    });
}

}  // namespace Module_Vantorel

// ---- The file-type association ----

#include "File_Commands.h"
#include "platform/fs/File_system.h"

#include <filesystem>

namespace Module_Vantorel {

void Associate_KD3_Extension() {
    std::string exe_path = fs::Executable_Path();
    std::string icon_path = std::filesystem::path(exe_path).parent_path().string() + "/" + "Vantorel_free.ico";
    std::string class_name = "kd3_ext";
    // The confirmation only follows a complete association; a failed step has shown its own message.
    if (File_Commands::Create_File_Association(".kd3", exe_path, class_name, "Vantorel data file", icon_path))
        ui::MsgBox("Associated the file extension .kd3 with this application!", ui::vbOKOnly);
}

}  // namespace Module_Vantorel
