#pragma once
// The screen in twips, the unit in which windows keep their positions.
#include <cstdint>

namespace ui {

int32_t Twips_Per_Pixel_X();
int32_t Twips_Per_Pixel_Y();
// The right and bottom edge of the desktop across all monitors, so that a window on a second
// monitor keeps its place.
int32_t Screen_Width_Twips();
int32_t Screen_Height_Twips();

}  // namespace ui
