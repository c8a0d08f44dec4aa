// Automatic finish detection on fields painted by the test: a bow of one colour moving towards the goal
// line, shadows, slanted and horizontal goal lines, the extra reference point and the run's fields.
#include "review/Auto_detect.h"
#include "review/Cls_lane.h"

#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <map>
#include <vector>

namespace {

using namespace Auto_detect;

int32_t RGB(int r, int g, int b) { return r | (g << 8) | (b << 16); }

constexpr int32_t Water = 0x705030;  // dark blue-grey, far from the trigger hues

// A field painted by a function of the pixel; outside the picture GetPixel's "invalid" answer.
class Painted_field : public Field_pixels {
public:
    Painted_field(int32_t width, int32_t height, std::function<int32_t(int32_t x, int32_t y)> paint)
        : width_(width), height_(height), paint_(std::move(paint)) {}
    int32_t Get_Field_Pixel(int16_t x, int16_t y) override {
        ++reads;
        if (x < 0 || y < 0 || x >= width_ || y >= height_) return -1;
        return paint_(x, y);
    }
    int32_t reads = 0;

private:
    int32_t width_, height_;
    std::function<int32_t(int32_t, int32_t)> paint_;
};

std::vector<Cls_lane> Course(std::vector<int32_t> rows, int16_t first_lane) {
    std::vector<Cls_lane> lanes;
    for (int32_t y : rows) {
        Cls_lane lane;
        lane.Lane_number(first_lane++);
        lane.Lane_pos_X(40);
        lane.Lane_pos_Y(y);
        lanes.push_back(lane);
    }
    return lanes;
}

bool Designed(int32_t pixel) { return Triggers(Non_dependant::RGB_To_HSL(pixel), Trigger_levels{}); }

TEST(Auto_detect, Designed_limits_are_strict) {
    struct Case {
        Non_dependant::HSL_Color hsl;
        bool triggers;
    } cases[] = {
        {{40, 41, 51}, false}, {{41, 41, 51}, true}, {{87, 41, 51}, true}, {{88, 41, 51}, false},
        {{60, 40, 51}, false}, {{60, 41, 50}, false}, {{60, 100, 100}, true}, {{0, 0, 100}, false},
    };
    for (const Case& c : cases)
        EXPECT_EQ(Triggers(c.hsl, Trigger_levels{}), c.triggers) << c.hsl.Hue << "/" << c.hsl.Sat << "/" << c.hsl.Lum;
    // Through the colour conversion: yellow (hue 60) triggers, its dark shadow and white do not.
    EXPECT_TRUE(Designed(RGB(230, 230, 0)));
    EXPECT_FALSE(Designed(RGB(90, 90, 0)));
    EXPECT_FALSE(Designed(RGB(255, 255, 255)));
    EXPECT_FALSE(Designed(-1));
}

TEST(Auto_detect, Limits_that_are_not_numbers_give_no_levels) {
    auto levels = Levels_From_Texts("30", "95.5", "20", "10");
    ASSERT_TRUE(levels);
    EXPECT_DOUBLE_EQ(levels->Hue_max, 95.5);
    EXPECT_FALSE(Levels_From_Texts("30", "x", "20", "10"));
    EXPECT_FALSE(Levels_From_Texts("30", "95", "", "10"));
}

// A heat of `fields` fields; the bow's front reaches the goal line at field `arrive`: the bow fills the
// rows [bow_top, bow_bottom] from 60 pixels behind its front to its front, which moves 6 pixels per
// field along the rows' goal-line column.
struct Heat {
    int32_t width = 440, height = 1080;
    Goal_line line{200, 10, 200, 1070};
    std::vector<int32_t> lane_rows{100, 200, 300, 400, 500};
    int16_t first_lane = 1;
    int16_t extra_y = 0;
    int32_t bow_top = 230, bow_bottom = 270;
    int32_t bow_colour = RGB(230, 230, 0);
    int32_t shadow_colour = RGB(80, 80, 10);  // the same hue, too dark
    int32_t arrive = 17;
    int32_t fields = 40;
};

double Column(const Goal_line& line, int32_t y) {
    return line.x1 + static_cast<double>(y - line.y1) * (line.x2 - line.x1) / (line.y2 - line.y1);
}

// Which lane fired at which field.
std::map<int16_t, int32_t> Detect(const Heat& heat) {
    std::vector<Cls_lane> lanes = Course(heat.lane_rows, heat.first_lane);
    Detector detector;
    detector.Extra_Y = heat.extra_y;
    detector.Setup_Lanes_Auto_Detect(lanes);
    std::map<int16_t, int32_t> fired;
    int32_t shown = 0;
    Run(Fields_to_scan(heat.fields, false),
        [&](int32_t field) { shown = (field + 1) / 2; },
        [] { return false; },
        [&] {
            const double advance = 6.0 * (shown - heat.arrive);
            Painted_field field(heat.width, heat.height, [&](int32_t x, int32_t y) {
                const bool slanted = heat.line.y1 != heat.line.y2;
                const double front = (slanted ? Column(heat.line, y) : heat.line.x1) + advance;
                if (x <= front && x > front - 60) {
                    if (y >= heat.bow_top && y <= heat.bow_bottom) return heat.bow_colour;
                    // its shadow on the water below it
                    if (y > heat.bow_bottom && y <= heat.bow_bottom + 25) return heat.shadow_colour;
                }
                return Water;
            });
            for (int16_t span : detector.Test_Auto_Lanes(lanes, field, heat.line, Designed))
                fired[lanes[static_cast<size_t>(span)].Lane_number()] = shown;
        });
    return fired;
}

TEST(Auto_detect, Finds_the_lane_and_field_of_a_bow_crossing_the_goal_line) {
    struct Case {
        const char* what;
        std::function<void(Heat&)> change;
        std::map<int16_t, int32_t> fired;
    } cases[] = {
        {"a bow entering lane 3 at field 17", [](Heat&) {}, {{3, 17}}},
        {"lanes numbered from 0: the third span is lane 2", [](Heat& h) { h.first_lane = 0; }, {{2, 17}}},
        {"only shadows cross", [](Heat& h) { h.bow_colour = h.shadow_colour; }, {}},
        {"a grey bow", [](Heat& h) { h.bow_colour = RGB(200, 200, 200); }, {}},
        {"two rows of bow in a span do not fire", [](Heat& h) { h.bow_top = 250, h.bow_bottom = 251; }, {}},
        {"three rows fire", [](Heat& h) { h.bow_top = 250, h.bow_bottom = 252; }, {{3, 17}}},
        // A bow on an inner mark's row belongs to both spans.
        {"a bow on a mark's row", [](Heat& h) { h.bow_top = 290, h.bow_bottom = 310; }, {{3, 17}, {4, 17}}},
        {"slanted goal line, first end at the bottom",
         [](Heat& h) { h.line = {120, 1070, 320, 10}; }, {{3, 17}}},
        {"slanted goal line, first end at the top",
         [](Heat& h) { h.line = {330, 600, 130, 1000}; h.lane_rows = {650, 700, 750, 800}; h.bow_top = 755, h.bow_bottom = 790; },
         {{4, 17}}},
        {"a stretched picture (1.5 times as wide)",
         [](Heat& h) { h.width = 660; h.line = {300, 10, 330, 1070}; }, {{3, 17}}},
        {"before the first mark, from row 0 without an extra point",
         [](Heat& h) { h.bow_top = 20, h.bow_bottom = 40; }, {{1, 17}}},
        {"an extra point below the bow leaves the first span short of it",
         [](Heat& h) { h.bow_top = 20, h.bow_bottom = 40; h.extra_y = 60; }, {}},
        {"marks not ordered downwards: that span covers no row",
         [](Heat& h) { h.lane_rows = {100, 300, 200, 400}; h.bow_top = 230, h.bow_bottom = 270; }, {{2, 17}, {4, 17}}},
        {"a horizontal goal line samples nothing", [](Heat& h) { h.line = {10, 250, 400, 250}; }, {}},
        {"no goal line (all 0) samples nothing", [](Heat& h) { h.line = {0, 0, 0, 0}; }, {}},
    };
    for (const Case& c : cases) {
        Heat heat;
        c.change(heat);
        EXPECT_EQ(Detect(heat), c.fired) << c.what;
    }
}

TEST(Auto_detect, A_fired_span_is_not_tested_again_until_the_next_set_up) {
    std::vector<Cls_lane> lanes = Course({100, 200}, 1);
    Detector detector;
    Painted_field bow(440, 1080, [](int32_t, int32_t y) { return y >= 120 && y < 140 ? RGB(230, 230, 0) : Water; });
    const Goal_line line{200, 10, 200, 1070};
    // Not set up: the first test sets up.
    EXPECT_EQ(detector.Test_Auto_Lanes(lanes, bow, line, Designed), std::vector<int16_t>{1});
    EXPECT_EQ(detector.Span_Count(), 2);
    EXPECT_EQ(detector.Lane_Spans[1].Hits, 20);
    const int32_t reads = bow.reads;
    EXPECT_TRUE(detector.Test_Auto_Lanes(lanes, bow, line, Designed).empty());
    EXPECT_EQ(bow.reads - reads, 101) << "only the unfired span, rows 0 to 100";
    EXPECT_EQ(detector.Lane_Spans[1].Hits, 20) << "a fired span keeps its count";
    detector.Setup_Lanes_Auto_Detect(lanes);
    EXPECT_EQ(detector.Test_Auto_Lanes(lanes, bow, line, Designed), std::vector<int16_t>{1});
}

TEST(Auto_detect, Extra_point_from_the_spare_text) {
    struct Case {
        const char* spare;
        int16_t x, y;
        bool read;
    } cases[] = {
        {"0000", 120, 40, false},     {"123.5,40.5", 124, 40, true}, {"7,300", 7, 300, true},
        {"12", 120, 40, false},       {"a,b", 120, 40, false},        {"", 120, 40, false},
        {"99999,5", 120, 40, false},
    };
    for (const Case& c : cases) {
        int16_t x = 120, y = 40;
        EXPECT_EQ(Read_Extra_line(c.spare, x, y), c.read) << c.spare;
        EXPECT_EQ(x, c.x) << c.spare;
        EXPECT_EQ(y, c.y) << c.spare;
    }
}

TEST(Auto_detect, Fields_a_run_shows) {
    EXPECT_EQ(Fields_to_scan(3, true), (std::vector<int32_t>{1, 2, 3, 4, 5, 6}));
    // Both numbers of a progressive frame show the same picture: one of them, every frame once.
    EXPECT_EQ(Fields_to_scan(3, false), (std::vector<int32_t>{1, 3, 5}));
    EXPECT_EQ(Fields_to_scan(1, true), (std::vector<int32_t>{1, 2}));
    EXPECT_TRUE(Fields_to_scan(1, false).empty()) << "a heat of one field";
    EXPECT_TRUE(Fields_to_scan(0, true).empty()) << "no file";
}

TEST(Auto_detect, A_held_key_stops_the_run_before_the_field_just_shown_is_tested) {
    std::vector<int32_t> shown, tested;
    int32_t current = 0;
    const int32_t count = Auto_detect::Run(Fields_to_scan(5, true), [&](int32_t f) { shown.push_back(current = f); },
                              [&] { return current == 4; }, [&] { tested.push_back(current); });
    EXPECT_EQ(count, 3);
    EXPECT_EQ(shown, (std::vector<int32_t>{1, 2, 3, 4}));
    EXPECT_EQ(tested, (std::vector<int32_t>{1, 2, 3}));
}

}  // namespace
