#pragma once
// The format text of a capture source's format: width, "*", height, "/" and the frame rate.
#include "platform/capturelib/Media_type.h"

#include <cstdint>
#include <string>

namespace Module_HDMI_Support {

// The coding and image size of the last format read; nothing else uses them.
extern uint32_t Last_Compression;
extern uint32_t Last_Size_Image;

// "1920*1080/25": the rate rounded to one decimal (halves to even) and written as short as it goes;
// "Corrupt data!" for no record or a record without a format block. A frame duration of 0 is a
// division by zero (error 11), reported in the built program, and the text is then "".
std::string Process_AMT(const capturelib::AM_MEDIA_TYPE* address);

}  // namespace Module_HDMI_Support
