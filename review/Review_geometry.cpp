#include "Review_geometry.h"

#include <cmath>

namespace Review_geometry {

namespace {
float Scale_Of(float view_scale) { return view_scale > 0 ? view_scale : 1.0f; }
}  // namespace

float Stretch_Of(float x_stretch) { return x_stretch > 0 ? x_stretch : 1.0f; }

Picture_fit Fit_Picture(int32_t display_width, int32_t display_height, float x_stretch, int32_t available_height) {
    Picture_fit fit;
    if (display_height > 0 && available_height > 0 && available_height < display_height)
        fit.View_Scale = static_cast<float>(available_height) / static_cast<float>(display_height);
    fit.Height = static_cast<int32_t>(std::lround(display_height * fit.View_Scale));
    fit.Width = static_cast<int32_t>(std::lround(display_width * fit.View_Scale * Stretch_Of(x_stretch)));
    return fit;
}

Point Window_To_Video(Point window, float view_scale, float x_stretch) {
    const float scale = Scale_Of(view_scale);
    return {window.X / (scale * Stretch_Of(x_stretch)), window.Y / scale};
}

Point Video_To_Window(Point video, float view_scale, float x_stretch) {
    const float scale = Scale_Of(view_scale);
    return {video.X * scale * Stretch_Of(x_stretch), video.Y * scale};
}

bool Within(const Rectangle& r, float x, float y) {
    return x > r.Left && x < r.Left + r.Width && y > r.Top && y < r.Top + r.Height;
}

}  // namespace Review_geometry
