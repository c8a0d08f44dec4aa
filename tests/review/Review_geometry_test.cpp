#include "review/Cls_lane.h"
#include "review/Review_geometry.h"

#include <gtest/gtest.h>

namespace {

using namespace Review_geometry;

TEST(Review_geometry, Picture_fit_to_the_video_and_the_screen) {
    struct Case {
        int32_t width, height;
        float stretch;
        int32_t available;
        float scale;
        int32_t picture_width, picture_height;
    } cases[] = {
        {400, 800, 1, 1000, 1, 400, 800},          // fits: one video pixel per screen pixel
        {400, 800, 1, 800, 1, 400, 800},           // exactly fits
        {440, 1080, 1, 996, 996.f / 1080, 406, 996},  // taller than the screen: scaled to its height
        {400, 800, 2, 1000, 1, 800, 800},          // X-Stretch 2 doubles the width at the same height
        {400, 800, 1.5f, 600, 0.75f, 450, 600},    // scaled and stretched
        {400, 800, 0, 1000, 1, 400, 800},          // a stretch never chosen reads as 1
        {400, 800, 1, 0, 1, 400, 800},             // no height known yet
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::to_string(c.width) + "x" + std::to_string(c.height) + " in " + std::to_string(c.available));
        Picture_fit fit = Fit_Picture(c.width, c.height, c.stretch, c.available);
        EXPECT_FLOAT_EQ(fit.View_Scale, c.scale);
        EXPECT_EQ(fit.Width, c.picture_width);
        EXPECT_EQ(fit.Height, c.picture_height);
    }
}

TEST(Review_geometry, Window_and_video_points_honour_the_stretch) {
    struct Case {
        float scale, stretch;
        Point window, video;
    } cases[] = {
        {1, 1, {100, 200}, {100, 200}},  {0.5f, 1, {50, 100}, {100, 200}}, {1, 2, {200, 200}, {100, 200}},
        {0.5f, 2, {100, 100}, {100, 200}}, {0.75f, 1.5f, {112.5f, 150}, {100, 200}}, {0, 0, {100, 200}, {100, 200}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::to_string(c.scale) + " " + std::to_string(c.stretch));
        Point v = Window_To_Video(c.window, c.scale, c.stretch);
        EXPECT_FLOAT_EQ(v.X, c.video.X);
        EXPECT_FLOAT_EQ(v.Y, c.video.Y);
        Point w = Video_To_Window(c.video, c.scale, c.stretch);
        EXPECT_FLOAT_EQ(w.X, c.window.X);
        EXPECT_FLOAT_EQ(w.Y, c.window.Y);
    }
}

TEST(Review_geometry, A_press_on_a_stretched_mark_hits_it) {
    Cls_lane lane;
    lane.Lane_pos_X(100);
    lane.Lane_pos_Y(200);
    // Drawn at (100, 100) on a half-scaled, doubled overlay (one window pixel per video pixel across):
    // a press there, and 10 pixels to its right, hits it; 15 to its right does not.
    for (auto [x, hit] : {std::pair{100.f, true}, {110.f, true}, {115.f, false}}) {
        Point v = Window_To_Video({x, 100}, 0.5f, 2);
        EXPECT_EQ(lane.Within(v.X, v.Y), hit) << x;
    }
    // Dividing by the scale alone would put the press 100 video pixels off the mark.
    Point unstretched = Window_To_Video({100, 100}, 0.5f, 1);
    EXPECT_FALSE(lane.Within(unstretched.X, unstretched.Y));
}

TEST(Review_geometry, Zoom_rectangle_is_strict) {
    Rectangle r{10, 20, 30, 40};
    EXPECT_TRUE(Within(r, 11, 21));
    EXPECT_FALSE(Within(r, 10, 30));
    EXPECT_FALSE(Within(r, 40, 30));
    EXPECT_FALSE(Within(r, 20, 60));
    EXPECT_FALSE(Within(Rectangle{}, 0, 0));
}

}  // namespace
