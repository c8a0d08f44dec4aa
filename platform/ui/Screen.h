#pragma once
// The screen in twips, the unit in which windows keep their positions.
#include <cstdint>

class QRect;

namespace ui {

int32_t Twips_Per_Pixel_X();
int32_t Twips_Per_Pixel_Y();
// The right and bottom edge of the desktop across all monitors, so that a window on a second
// monitor keeps its place.
int32_t Screen_Width_Twips();
int32_t Screen_Height_Twips();

// How the desktop keeps its panel, in the bits the taskbar's state query answers with: 2 (always on
// top) for a panel that reserves part of the main screen, which windows never cover; 1 (hidden until
// it is needed) when the screen is all available, since no panel keeps a place there; -1 without a
// screen to ask.
int32_t Panel_State();
// The desktop does not let a program hide its panel; a window made full screen lies above it instead.
// Covering makes the active window (else the first visible one) full screen; uncovering returns the
// window covered last to the state it had, unless it is gone or was full screen already.
void Cover_Panels(bool cover);
// Tells the desktop that the operator is still there, so the screen saver and power saving stay off.
void Keep_Screen_Awake();
// The window frame `frame` moved, and cut to the area's size where it is larger, so that it lies wholly
// on `available`: a title bar with its buttons is never off the screen.
QRect Fit_On_Area(const QRect& frame, const QRect& available);
// The window frame `frame` at the top of `available`, beside `other` and clear of it: to its right where
// it fits, else to its left, else at the right edge; cut to the area as Fit_On_Area does.
QRect Beside(const QRect& frame, const QRect& other, const QRect& available);
// The available area of the screen that holds most of `frame` (the primary screen when none does).
QRect Available_Area_Of(const QRect& frame);
// An image of the window that has the focus, on the clipboard; false when there is none to take.
bool Copy_Active_Window_Image();

}  // namespace ui
