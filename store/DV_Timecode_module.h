#pragma once
// The metadata packs of one DV frame (time code, recording date and time, field rate and aspect,
// camera settings), decoded from its header, subcode and VAUX blocks into module values, and the
// texts the store reports them with. The values belong to the frame parsed last, by anyone.
//
// Beyond the packs' own layout:
// - only bytes inside the frame given are read: a frame shorter than its six header blocks yields
//   nothing, and the shutter bytes are read only when the frame holds them;
// - a field outside its range (a month of 13, a minute of 60, a digit above 9, the standard's "no
//   information" codes) is unknown: its text reads "No information" and its value is not used.
#include <cstdint>
#include <span>
#include <string>

namespace DV_Timecode_module {

// The six blocks read: header, two subcode and three VAUX blocks of 80 bytes.
inline constexpr int32_t Header_Blocks_Length = 480;

// Resets every value, then decodes what the frame holds. Module_dependant::Check_DV_Header looks at it.
void DV_Header_Parse(std::span<const uint8_t> frame);

int16_t DV_Field_Rate();  // 60 or 50; 0 without a source pack
bool DV_Wide_Screen();
// -1 when the frame carried no valid recording time.
int16_t DV_Rec_Hours();
int16_t DV_Rec_Minutes();
bool DV_Rec_Date_Known();
bool DV_Timecode_Known();
// The time code as frames from midnight at 25 frames a second; 0 when there is none.
int32_t DV_Timecode_Frame_Number();

std::string DV_Rec_Date_Text();
std::string DV_Timecode_Text();
std::string DV_Shutter_Text();
std::string DV_White_Balance_Text();
std::string DV_Iris_Text();
std::string DV_AE_Mode_Text();
std::string DV_AGC_Text();
std::string DV_Focal_Length_Text();
std::string DV_Zoom_Text();

// The frame's details: each part after a line break, the text ending without one.
std::string Details_Text();

}  // namespace DV_Timecode_module
