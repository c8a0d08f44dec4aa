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

inline bool Is_Compiled = false;
inline bool Is_Exiting = false;
inline int32_t Start_Tick = 0;
inline std::string AppData_Folder;
inline std::string Program_Name;
inline std::string Program_Version;
inline std::string App_Title;
inline bool Vantorel_Mode = false;
inline bool Golf_Mode = false;
inline bool Zelvanic_Mode = false;

// The computer's description.
inline std::string g_Computer_Name;
inline std::string m_Manufacturer_Model;
inline std::string g_System_Directory;
inline std::string OS_Version;
inline std::string CPU_Info;
inline std::string OS_Bitness;
inline std::string CPU_Bitness;
inline std::string Phys_RAM;
inline int16_t Monitor_Count = 0;

inline std::string Ini_file_path;
inline int32_t Timing_Correction = 0;

// Capture settings.
inline std::string m_saved_Friendly_name;
inline std::string m_saved_Video_prop_num;
inline int16_t JPG_Start_Quality = 0;
inline bool Full_Startup = false;
inline bool Capture_Rotated = false;
inline int16_t Crop_Width = 0;
inline int16_t Crop_Height = 0;
inline bool Capture_Running = false;
inline std::string Capture_Property;  // the running source's name and format text
inline std::string Actual_Sample;     // its measured frame size and rate
inline std::string Phidget_Serial;
// Element 0: the folder of captured heats; element 1: the developer copy's destination, never set.
inline std::array<std::string, 2> Capture_Folders;
inline std::string Last_Captured_File;
inline std::string DV_Fourcc;

// Display settings.
inline int16_t Lane_Line_Length = 0;
inline int16_t Frame_Border_X = 0;
inline int16_t Frame_Border_Y = 0;
inline int16_t Display_Width = 0;
inline int16_t Display_Height = 0;
inline int16_t Screen_Scale_Height = 0;
inline int16_t Drag_Lane = 0;
inline int32_t Transparent_Color = 0;
inline int32_t Replay_Start_Tick = 0;

inline std::vector<uint8_t> POP_Sound;
inline std::string Event_Name;
inline bool Debug_Stop = false;
inline bool Taskbar_Hidden = false;
inline int16_t Init_Files_Count = 0;
inline int16_t Started_Heats_Count = 0;
inline int16_t Captured_Segments_Count = 0;
inline int16_t Run_Mode = 0;

// Appends the present date and time, the message and CR LF to "Vantorel_eventlog.txt" in the
// application-data folder, opening and closing the file for this one line. In the built program a
// failure shows "Log error" and the line is lost; otherwise the error passes to the caller.
void Write_Event_Log(const std::string& message);

// The progress routine of a file copy: lets the windows handle what is waiting (a repaint, a click)
// between two chunks, and answers 0 so that the copy goes on.
int32_t UpdateFileCopyStatus(int64_t total_bytes, int64_t copied_bytes);

}  // namespace Module_Vantorel

namespace Module_Vantorel {

// Associates ".kd3" with this program (class "kd3_ext", "Vantorel data file", the icon
// "Vantorel_free.ico" beside the executable) and confirms it when every step succeeded.
void Associate_KD3_Extension();

}  // namespace Module_Vantorel

// ---- The review window's shared state ----

namespace Module_Vantorel {

// False until the review window's first activation has finished.
inline bool Review_Activated = false;
// The open file's video size; the capture crop size until a file is opened.
inline int16_t Video_Width = 0;
inline int16_t Video_Height = 0;
// "major.minor.revision", then ".EXE cd: " and the build date in the built program, " IDE" otherwise.
inline std::string Version_String;

}  // namespace Module_Vantorel
