#include "Test_dialogs.h"
#include "imaging/Vorsk_WuLines.h"
#include "platform/gdi/Device_context.h"
#include "platform/gdi/Gdi_objects.h"
#include "platform/ui/Picture_box.h"
#include "review/Module_Vantorel_course.h"
#include "review/Module_Vantorel_overlay.h"
#include "shell/Module_Vantorel.h"

#include <gtest/gtest.h>

#include <cstring>

namespace {

using namespace Module_Vantorel;

RGB_Triple At(int32_t x, int32_t y) {
    return Vorsk_WuLines::Colour_To_Triple(static_cast<int32_t>(gdi::GetPixel(Overlay_DIB().hDC(), x, y)));
}
bool Is(const RGB_Triple& p, uint8_t r, uint8_t g, uint8_t b) { return p.Red == r && p.Green == g && p.Blue == b; }

// Whether any pixel of the box has exactly that colour.
bool Any(int32_t left, int32_t top, int32_t right, int32_t bottom, uint8_t r, uint8_t g, uint8_t b) {
    for (int32_t y = top; y <= bottom; ++y)
        for (int32_t x = left; x <= right; ++x)
            if (Is(At(x, y), r, g, b)) return true;
    return false;
}

class Overlay : public testing::Test {
protected:
    void SetUp() override {
        Is_Compiled = false;
        Transparent_Color = 0x808080;
        Lane_Line_Length = 200;
        ASSERT_TRUE(Overlay_DIB().Create(400, 300));
        Lane_Collection.assign(1, Cls_lane{});
        Lane_Collection[0].Lane_number(0);
        Lane_Collection[0].Lane_pos_X(100);
        Lane_Collection[0].Lane_pos_Y(200);
        Draw_Lane_Count = 1;
        Draw_Lanemarks = true;
        Draw_Goalline = true;
        Invert_Goalline = false;
        Run_Mode = 10;
        File_Goalline = {320, 40, 320, 260};
        Setup_Goalline = {50, 40, 50, 260};
    }
    static void Draw() {
        Clear_Graphics();
        Draw_Goal_line();
        Draw_lanes(false);
    }
};

TEST_F(Overlay, Goal_line_lane_mark_and_its_text_on_the_transparent_colour) {
    Draw();
    EXPECT_TRUE(Is(At(320, 150), 255, 255, 255));       // the file's goal line
    EXPECT_TRUE(Is(At(50, 150), 128, 128, 128));        // not the set-up line
    EXPECT_TRUE(Is(At(10, 10), 128, 128, 128));         // the rest stays transparent
    EXPECT_TRUE(Is(At(92, 200), 200, 200, 200));        // the circle's fill, no result yet
    EXPECT_TRUE(Any(96, 192, 105, 211, 120, 120, 120));  // its number
    EXPECT_TRUE(Any(150, 212, 250, 214, 255, 0, 0));    // the dotted lane line to the right
    EXPECT_FALSE(Any(20, 212, 80, 214, 255, 0, 0));     // and nothing to the left
    EXPECT_TRUE(Is(At(100, 216), 128, 128, 128));
    EXPECT_FALSE(Any(314, 34, 326, 46, 0, 0, 255));     // no handles outside the live preview
}

TEST_F(Overlay, Mark_colours_follow_the_result) {
    struct Case {
        int32_t time;
        uint8_t r, g, b;
    } cases[] = {{0, 120, 120, 120},         {5000, 0, 0, 255},         {100000000, 0, 0, 255},
                 {100000001, 255, 0, 0},     {999999998, 255, 0, 0},    {999999999, 120, 120, 120}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.time);
        ASSERT_TRUE(Overlay_DIB().Create(400, 300));
        Lane_Collection[0].time(c.time);
        Draw();
        EXPECT_TRUE(Any(96, 192, 105, 211, c.r, c.g, c.b));
    }
}

TEST_F(Overlay, Flipped_lines_run_left_inverted_goal_line_is_dark_live_preview_has_handles) {
    Lane_Collection[0].Lane_pos_X(300);
    Invert_Goalline = true;
    Run_Mode = 1;
    Draw();
    EXPECT_TRUE(Is(At(50, 150), 25, 25, 25));
    EXPECT_TRUE(Is(At(44, 34), 0, 0, 255));   // top-left corner of the first end's square
    EXPECT_TRUE(Is(At(44, 254), 0, 0, 255));  // and of the second end's
    Clear_Graphics();
    Draw_lanes(true);
    EXPECT_TRUE(Any(150, 212, 250, 214, 255, 0, 0));
    EXPECT_FALSE(Any(320, 212, 390, 214, 255, 0, 0));
}

TEST_F(Overlay, Nothing_drawn_when_switched_off_or_beyond_the_marks) {
    Draw_Goalline = false;
    Draw_Lanemarks = false;
    Draw();
    EXPECT_FALSE(Any(0, 0, 399, 299, 255, 255, 255));
    EXPECT_FALSE(Any(0, 0, 399, 299, 200, 200, 200));
    // A count beyond the marks draws those that exist, without an error report.
    Draw_Lanemarks = true;
    Draw_Lane_Count = 5;
    Is_Compiled = true;
    Draw();
    EXPECT_TRUE(Is(At(92, 200), 200, 200, 200));
    EXPECT_TRUE(Test_dialogs::Instance().Shown_Dialogs().empty());
}

// Over a field left for the paint, each blit lays the course as it is at that blit: a course drawn again
// since shows at the next one, and the picture blitted before keeps the course it had.
TEST_F(Overlay, Each_blit_lays_the_course_as_it_is_then_over_a_field_left_for_the_paint) {
    const auto black_field = [](const gdi::Rows_target& lines) {
        for (int32_t y = 0; y < lines.height; ++y)
            std::memset(lines.Line(y), 0, static_cast<size_t>(lines.width) * lines.pixel_bytes);
    };
    ui::Picture_box before, again, after;
    for (ui::Picture_box* box : {&before, &again, &after}) {
        box->resize(400, 300);
        box->Cls();
        box->hDC()->Defer_Cover(black_field);
    }
    const auto white = [](ui::Picture_box& box, int32_t x) { return gdi::GetPixel(box.hDC(), x, 150) == 0xFFFFFFu; };
    Draw();
    Blit_Overlay(before.hDC(), 400, 300);
    Blit_Overlay(again.hDC(), 400, 300);
    File_Goalline = {200, 40, 200, 260};
    Draw();
    Blit_Overlay(after.hDC(), 400, 300);
    ASSERT_TRUE(before.hDC()->Deferred_Pending());
    EXPECT_TRUE(white(before, 320));
    EXPECT_FALSE(white(before, 200));
    EXPECT_TRUE(white(again, 320));
    EXPECT_TRUE(white(after, 200));
    EXPECT_FALSE(white(after, 320));
}

}  // namespace
