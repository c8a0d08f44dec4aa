#include "Module_Vantorel.h"

#include "Log_file.h"
#include "Non_dependant.h"
#include "platform/ui/Dialog_service.h"
#include "platform/vb/Error_trap.h"

namespace Module_Vantorel {

void Write_Event_Log(const std::string& message) {
    vb::Trap_With(
        Is_Compiled,
        [&] { Log_file(AppData_Folder, "Vantorel_eventlog.txt").Write_Line(Non_dependant::Now_Text() + message); },
        [](const VbError& e) { ui::MsgBox("Log error " + e.Description() + " " + std::to_string(e.Number())); });
}

}  // namespace Module_Vantorel

// ---- The file-type association ----

#include "File_Commands.h"
#include "platform/fs/File_system.h"

#include <filesystem>
#include "platform/vb/Program_state.h"

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

namespace Module_Vantorel {

bool Is_Compiled = false;
bool Is_Exiting = false;
int32_t Start_Tick = 0;
std::string AppData_Folder;
std::string Program_Name;
std::string Program_Version;
std::string App_Title;
bool Vantorel_Mode = false;
bool Golf_Mode = false;
bool Zelvanic_Mode = false;
std::string g_Computer_Name;
std::string m_Manufacturer_Model;
std::string g_System_Directory;
std::string OS_Version;
std::string CPU_Info;
std::string OS_Bitness;
std::string CPU_Bitness;
std::string Phys_RAM;
int16_t Monitor_Count = 0;
std::string Ini_file_path;
int32_t Timing_Correction = 0;
std::string m_saved_Friendly_name;
std::string m_saved_Video_prop_num;
int16_t JPG_Start_Quality = 0;
bool Full_Startup = false;
bool Capture_Rotated = false;
int16_t Crop_Width = 0;
int16_t Crop_Height = 0;
bool Capture_Running = false;
std::string Capture_Property;
std::string Actual_Sample;
std::string Phidget_Serial;
std::array<std::string, 2> Capture_Folders;
std::string Last_Captured_File;
std::string DV_Fourcc;
int16_t Lane_Line_Length = 0;
int16_t Frame_Border_X = 0;
int16_t Frame_Border_Y = 0;
int16_t Display_Width = 0;
int16_t Display_Height = 0;
int16_t Screen_Scale_Height = 0;
int16_t Drag_Lane = 0;
int32_t Transparent_Color = 0;
int32_t Replay_Start_Tick = 0;
std::vector<uint8_t> POP_Sound;
std::string Event_Name;
bool Debug_Stop = false;
bool Taskbar_Hidden = false;
int16_t Init_Files_Count = 0;
int16_t Started_Heats_Count = 0;
int16_t Captured_Segments_Count = 0;
int16_t Run_Mode = 0;
bool Review_Activated = false;
int16_t Video_Width = 0;
int16_t Video_Height = 0;
std::string Version_String;

namespace {
// What a new process starts with.
[[maybe_unused]] const bool state_reset = vb::On_Program_Reset([] {
    Is_Compiled = false;
    Is_Exiting = false;
    Start_Tick = 0;
    AppData_Folder = {};
    Program_Name = {};
    Program_Version = {};
    App_Title = {};
    Vantorel_Mode = false;
    Golf_Mode = false;
    Zelvanic_Mode = false;
    g_Computer_Name = {};
    m_Manufacturer_Model = {};
    g_System_Directory = {};
    OS_Version = {};
    CPU_Info = {};
    OS_Bitness = {};
    CPU_Bitness = {};
    Phys_RAM = {};
    Monitor_Count = 0;
    Ini_file_path = {};
    Timing_Correction = 0;
    m_saved_Friendly_name = {};
    m_saved_Video_prop_num = {};
    JPG_Start_Quality = 0;
    Full_Startup = false;
    Capture_Rotated = false;
    Crop_Width = 0;
    Crop_Height = 0;
    Capture_Running = false;
    Capture_Property = {};
    Actual_Sample = {};
    Phidget_Serial = {};
    Capture_Folders = {};
    Last_Captured_File = {};
    DV_Fourcc = {};
    Lane_Line_Length = 0;
    Frame_Border_X = 0;
    Frame_Border_Y = 0;
    Display_Width = 0;
    Display_Height = 0;
    Screen_Scale_Height = 0;
    Drag_Lane = 0;
    Transparent_Color = 0;
    Replay_Start_Tick = 0;
    POP_Sound = {};
    Event_Name = {};
    Debug_Stop = false;
    Taskbar_Hidden = false;
    Init_Files_Count = 0;
    Started_Heats_Count = 0;
    Captured_Segments_Count = 0;
    Run_Mode = 0;
    Review_Activated = false;
    Video_Width = 0;
    Video_Height = 0;
    Version_String = {};
});
}  // namespace

}  // namespace Module_Vantorel
