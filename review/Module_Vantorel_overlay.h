#pragma once
// The overlay: goal line, lane marks and goal-line handles drawn into a bitmap of the video picture's
// size (so in video pixels) on the transparent colour, which a window then copies over its picture.
#include "imaging/cDIBSection.h"
#include "platform/gdi/Device_context.h"

#include <cstdint>

namespace Module_Vantorel {

// Created empty on first use; sized by the review window's layout and by the live preview.
cDIBSection& Overlay_DIB();

extern bool Draw_Goalline;
extern bool Draw_Lanemarks;
extern bool Invert_Goalline;
extern int16_t Draw_Lane_Count;

// Fills the whole overlay with Transparent_Color.
void Clear_Graphics();
// The first Draw_Lane_Count marks (those that exist) while Draw_Lanemarks.
void Draw_lanes(bool flipped);
// Setup_Goalline while the live preview runs (Run_Mode 1), else File_Goalline; white, or dark when
// inverted; anti-aliased, 2 pixels. Then the handles.
void Draw_Goal_line();
// The two 12-pixel handle squares on the ends of Setup_Goalline, only in Run_Mode 1.
void Draw_Selection_Boxes();

// Lays the whole overlay, stretched, onto (0, 0, width, height) of the destination: its pixels of
// another colour than Transparent_Color replace what is there, as TransparentBlt does. Only the runs of
// such pixels are visited; they are found again after the overlay has changed.
void Blit_Overlay(gdi::Device_context* destination, int32_t width, int32_t height);
// Whoever draws into the overlay, or makes it afresh, says so (the procedures above do).
void Overlay_Changed();

}  // namespace Module_Vantorel
