#pragma once
// Shared procedures that depend on no window: ini access, the clocks and the time texts.
#include <cstdint>
#include <span>
#include <string>

namespace Non_dependant {

// The value of section/key; an empty or missing value gives `default_value`, or "N/A" when that is
// empty too. An empty `path` runs the initialisation first (every caller passes Ini_file_path, which
// it sets); a path still empty shows "Ini_file_path is empty!" and gives "".
std::string Read_Ini(const std::string& section, const std::string& key, const std::string& path,
                     const std::string& default_value);
// A number setting read with Read_Ini: a value that is no number of the width asked for (text, or too
// large) gives `default_value`, and the operator is told which key was ignored.
int16_t Read_Ini_Integer(const std::string& section, const std::string& key, const std::string& path,
                         int16_t default_value);
int32_t Read_Ini_Long(const std::string& section, const std::string& key, const std::string& path,
                      int32_t default_value);
// 1 when written; otherwise 0, after a critical message that names the path and the error (shown once
// for the same error on the same path until a write to it succeeds again).
int16_t Write_Ini(const std::string& section, const std::string& key, const std::string& value,
                  const std::string& path);
void Delete_Ini_Key(const std::string& section, const std::string& key, const std::string& path);

int32_t Get_Mill_Time();
int32_t Get_Local_Mill_Time();

// "[h:]mm:ss,hh" of a millisecond count, hundredths rounded halves to even and carried; untrimmed with
// "-" or one space in front; trimmed without leading "0" and ":" (down to four characters).
std::string Display_Mill_Time(int32_t mill, bool trim);

std::string Now_Text();   // "yyyy-mm-dd hh:nn:ss"
std::string Date_Text();  // "YYYY-MM-DD"
// The executable's modification time as "yyyy-mm-dd hh:nn:ss"; "Not compiled" outside the built program.
std::string FileDate();

}  // namespace Non_dependant

// ---- Waits, paths, texts, byte arrays, truth values, numbers and colours ----

namespace Non_dependant {

// Waits `milliseconds` of the system tick (right across its wrap). With `pump` the queued events of
// this thread run meanwhile (3 ms steps); without, the thread only sleeps (10 ms steps).
void Do_Sleep(int32_t milliseconds, bool pump);
// About one second: ten times 100 ms of sleep, each followed by the queued events.
void Flush_DV_events();

// Part 16: the folder up to the last "/" (with it, or without it when `no_slash`); part 0: the file
// name after it; any other part: the whole path. A path without "/" shows "5 5 *Error in ParsePath"
// and gives "".
std::string ParsePath(const std::string& path, int16_t part, bool no_slash = false);
// The text after the last "." ("" when there is none), even where that "." lies in a folder's name.
std::string File_Suffix(const std::string& path);
// From the third character on, ":", "-" and "," become "_" (a leading "C:" stays); changes `text` too.
std::string File_Safe_Text(std::string& text);
// 0 for ""; else the size in bytes (a missing file raises 53 to the caller).
int64_t Get_File_Size(const std::string& path);
// The folder of the system's own shared libraries (where the C library was loaded from), without a
// trailing "/".
std::string Get_System_Directory();
std::string Get_Computer_Name();

// Comparison modes of the text searches: byte for byte, or without regard to case.
inline constexpr int32_t vbBinaryCompare = 0;
inline constexpr int32_t vbTextCompare = 1;
// The 1-based position of the last `find` in `text` that ends at or before `limit` (0 or less: the end
// of the text); 0 when none. An empty `find` gives the limit when it lies within the text, else 0.
int32_t InStr_Rev(const std::string& text, const std::string& find, int32_t limit, int32_t compare);
// The 1-based position of the last `find` in `text` at or after `start`; 0 when none.
int32_t InStr_Last(int32_t start, const std::string& text, const std::string& find, int32_t compare);

// The four bytes of a FourCC code, lowest first; a highest byte of 128 or more raises 5.
std::string FourCC_To_String(int32_t code);
// The four bytes of the value, lowest first, as four characters (zero bytes included).
std::string Long_To_Text(int32_t value);
// An empty text leaves `bytes` alone; otherwise they are zeroed and the text's single-byte form is
// copied to their start when it fits.
void String_To_Byte_Array(const std::string& text, std::span<uint8_t> bytes);
// The bytes as single-byte characters, up to the first zero byte.
std::string Byte_Array_To_String(std::span<const uint8_t> bytes);
// The index of the first place from index 1 on where the pattern's single-byte form lies in `bytes`
// (a match at index 0 is never reported); 0 when there is none.
int32_t Find_Byte_Array(std::span<const uint8_t> bytes, const std::string& pattern);

std::string Bool_To_Text(bool value);           // "True" / "False"
bool Text_To_Bool(const std::string& text);     // only exactly "True"
int16_t Checked_To_Int(const std::string& text);  // 1 only for exactly "Checked"
int16_t Bool_To_Int(bool value);
bool Is_Odd(int32_t n);
int32_t Min_Long(int32_t a, int32_t b);
// The larger, to 32 bits by halves to even (error 6 beyond them).
int32_t Max_Of(double a, double b);
// The frame that holds a field: 1, 2 -> 1; 3, 4 -> 2; 0 -> 0.
int32_t Field_To_Frame(int32_t field);
int16_t Field_In_Frame(int32_t field);  // 1 for an odd field, 2 for an even one
// n / step rounded halves to even, times step; a step of 0 raises 11 (6 for 0 / 0).
int32_t Round_To_Multiple(int32_t n, int16_t step);
// Whether the program runs inside a development environment: never.
bool In_IDE();
void Do_Nothing();

struct HSL_Color {
    int32_t Hue = 0;  // 0 .. 360
    int32_t Sat = 0;  // 0 .. 100
    int32_t Lum = 0;  // the largest channel, 0 .. 100
};
// Of a colour with red in the lowest byte, green in the next and blue in the third.
HSL_Color RGB_To_HSL(int32_t color);

}  // namespace Non_dependant

// ---- Key state, the screen and the taskbar ----

namespace Non_dependant {

// Whether the virtual key (or mouse button 1, 2, 4) is held at this moment.
bool Key_Down(int16_t virtual_key);
bool Esc_Down();
bool Ctrl_Down();
bool Alt_Down();
bool F_Key_Down();  // the letter F
// The lowest virtual key from 1 to 128 that is held; 0 when none.
int16_t First_Key_Down();

// Every 60 s the review window keeps the screen awake with this.
void Press_Shift();
// The active window's image onto the clipboard, then half a second for the events it causes.
void Print_Screen();

// The text of the taskbar's state bits: 1 auto-hide, 2 always on top, 3 both, 0 neither; "Unknown" else.
std::string Taskbar_State_Text(int32_t state);
// The desktop's panel takes the taskbar's place (ui::Panel_State).
std::string Taskbar_State();
// The desktop's panel cannot be hidden by a program: hiding makes the active window full screen above
// it and sets Taskbar_Hidden; showing returns that window to its former state (Taskbar_Hidden stays).
void Taskbar_Visible(bool show);

// Left + Width and Top + Height of a control or window.
template <class Control>
float Control_Right(const Control& c) { return static_cast<float>(c.Left() + c.Width()); }
template <class Control>
float Control_Bottom(const Control& c) { return static_cast<float>(c.Top() + c.Height()); }

}  // namespace Non_dependant

// ---- Fonts ----

#include "platform/gdi/Gdi_objects.h"

namespace Non_dependant {

// A font of `points` at the screen's resolution, turned `angle` degrees counter-clockwise; the caller
// owns it and deletes it with gdi::DeleteObject. An angle beyond ±214748364 degrees raises 6.
gdi::Font* Create_Rotated_Font(int16_t points, int32_t angle, bool italic, const std::string& face_name, int32_t weight);

}  // namespace Non_dependant
