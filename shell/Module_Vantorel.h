#pragma once
// The program-wide state: one variable each, read and written everywhere on the user-interface
// thread without locks. Everything starts at 0, false or "".
#include <array>
#include <cstdint>
#include <string>
#include <vector>

namespace Module_Vantorel {

// The build date carried by the start trace, the first event-log line, the error report and the about box.
inline constexpr const char* Build_Date = "2016-07-20 19:35";

extern bool Is_Compiled;
extern bool Is_Exiting;
extern int32_t Start_Tick;
extern std::string AppData_Folder;
extern std::string Program_Name;
extern std::string Program_Version;
extern std::string App_Title;
extern bool Vantorel_Mode;
extern bool Golf_Mode;
extern bool Zelvanic_Mode;

// The computer's description.
extern std::string g_Computer_Name;
extern std::string m_Manufacturer_Model;
extern std::string g_System_Directory;
extern std::string OS_Version;
extern std::string CPU_Info;
extern std::string OS_Bitness;
extern std::string CPU_Bitness;
extern std::string Phys_RAM;
extern int16_t Monitor_Count;

extern std::string Ini_file_path;
extern int32_t Timing_Correction;

// Capture settings.
extern std::string m_saved_Friendly_name;
extern std::string m_saved_Video_prop_num;
extern int16_t JPG_Start_Quality;
extern bool Full_Startup;
extern bool Capture_Rotated;
extern int16_t Crop_Width;
extern int16_t Crop_Height;
extern bool Capture_Running;
extern std::string Capture_Property;  // the running source's name and format text
extern std::string Actual_Sample;     // its measured frame size and rate
extern std::string Phidget_Serial;
// Element 0: the folder of captured heats; element 1: the developer copy's destination, never set.
extern std::array<std::string, 2> Capture_Folders;
extern std::string Last_Captured_File;
extern std::string DV_Fourcc;

// Display settings.
extern int16_t Lane_Line_Length;
extern int16_t Frame_Border_X;
extern int16_t Frame_Border_Y;
extern int16_t Display_Width;
extern int16_t Display_Height;
extern int16_t Screen_Scale_Height;
extern int16_t Drag_Lane;
extern int32_t Transparent_Color;
extern int32_t Replay_Start_Tick;

extern std::vector<uint8_t> POP_Sound;
extern std::string Event_Name;
extern bool Debug_Stop;
extern bool Taskbar_Hidden;
extern int16_t Init_Files_Count;
extern int16_t Started_Heats_Count;
extern int16_t Captured_Segments_Count;
extern int16_t Run_Mode;

// Appends the present date and time, the message and CR LF to "Vantorel_eventlog.txt" in the
// application-data folder, opening and closing the file for this one line. In the built program a
// failure shows "Log error" and the line is lost; otherwise the error passes to the caller.
void Write_Event_Log(const std::string& message);

}  // namespace Module_Vantorel

namespace Module_Vantorel {

// Associates ".kd3" with this program (class "kd3_ext", "Vantorel data file", the icon
// "Vantorel_free.ico" beside the executable) and confirms it when every step succeeded.
void Associate_KD3_Extension();

}  // namespace Module_Vantorel

// ---- The review window's shared state ----

namespace Module_Vantorel {

// False until the review window's first activation has finished.
extern bool Review_Activated;
// The open file's video size; the capture crop size until a file is opened.
extern int16_t Video_Width;
extern int16_t Video_Height;
// "major.minor.revision", then ".EXE cd: " and the build date in the built program, " IDE" otherwise.
extern std::string Version_String;

}  // namespace Module_Vantorel
