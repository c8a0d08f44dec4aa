#pragma once
// The review picture's geometry: how the video is fitted to the window, and how points of the
// picture box map to video pixels. Every conversion takes the horizontal stretch with the scale, so
// that a press lands on the mark drawn on a stretched overlay.
#include <cstdint>

namespace Review_geometry {

// 0 (never chosen) reads as 1.
float Stretch_Of(float x_stretch);

struct Picture_fit {
    float View_Scale = 1;  // screen pixels per video pixel, at most 1
    int32_t Width = 0;     // the picture's inner size in pixels: what the overlay is stretched to
    int32_t Height = 0;
};
// The video shown one to one when it fits in `available_height` inner pixels, else scaled down to that
// height; the width follows the scale and the stretch.
Picture_fit Fit_Picture(int32_t display_width, int32_t display_height, float x_stretch, int32_t available_height);

struct Point {
    float X = 0;
    float Y = 0;
};
// A point of the picture box in video pixels, and back. A scale not yet computed (0) reads as 1.
Point Window_To_Video(Point window, float view_scale, float x_stretch);
Point Video_To_Window(Point video, float view_scale, float x_stretch);

struct Rectangle {
    int16_t Left = 0, Top = 0, Width = 0, Height = 0;
};
// Strictly inside.
bool Within(const Rectangle& r, float x, float y);

}  // namespace Review_geometry
