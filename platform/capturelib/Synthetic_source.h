#pragma once
// The synthetic source, listed on every machine: a bright ball crossing a dark picture from left to
// right, and a running clock on a yellow panel in the top-left corner (the corner that shows which
// way up a picture is). It delivers blue-green-red pictures at the pace of a camera.
#include "Video_source.h"

namespace capturelib {

inline constexpr const char* Synthetic_Friendly_Name = "Vantorel synthetic camera";

Video_source Synthetic_Source();

// A new (floating) element giving the pictures; the caps after it choose size and rate.
GstElement* Make_Synthetic_Element();

// Draws the clock panel for `running_ms` into a top-down blue-green-red picture.
void Draw_Clock_Panel(uint8_t* bits, int32_t stride, int32_t width, int32_t height, int64_t running_ms);

}  // namespace capturelib
