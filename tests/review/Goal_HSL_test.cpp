// The goal line's colour statistics: the least, greatest and average hue, saturation and luminance of
// one pixel a row, and the marks the colour bars draw where the statistics stand; in the review window
// the goal-line marking test paints yellow marks into the shown field.
#include "Heat_fixture.h"
#include "Review_fixture.h"
#include "imaging/Class_line.h"
#include "imaging/cDIBSection.h"
#include "imaging/mIntelJPEGLibrary.h"
#include "platform/gdi/Device_context.h"
#include "platform/ui/Picture_box.h"
#include "review/Frm_kanot_2.h"
#include "review/Goal_HSL.h"
#include "review/Module_Vantorel_course.h"
#include "platform/vb/Vb_convert.h"
#include "shell/Module_Vantorel.h"
#include "shell/Non_dependant.h"

#include <algorithm>
#include <map>
#include <set>
#include <utility>
#include <gtest/gtest.h>

namespace {

using namespace Module_Vantorel;

// A field whose pixels are given by row; every pixel asked for is noted.
class Rows_field : public Auto_detect::Field_pixels {
public:
    explicit Rows_field(std::map<int32_t, int32_t> colours) : colours_(std::move(colours)) {}
    int32_t Get_Field_Pixel(int16_t x, int16_t y) override {
        asked.emplace_back(x, y);
        const auto it = colours_.find(y);
        return it == colours_.end() ? 0 : it->second;
    }
    std::vector<std::pair<int16_t, int16_t>> asked;

private:
    std::map<int32_t, int32_t> colours_;
};

constexpr int32_t Red = 0x0000FF, Green = 0x00FF00, Blue = 0xFF0000, White = 0xFFFFFF, Black = 0;

TEST(Goal_HSL, Statistics_of_the_rows_sampled) {
    Rows_field field({{10, Red}, {11, Green}, {12, Blue}, {13, White}, {14, Black}});
    Goal_HSL goal;
    ASSERT_TRUE(goal.Calculate(field, {5, 0, 5, 100}, 10, 14));
    // What the colours are in hue, saturation and luminance is the conversion's; their spread is ours.
    int32_t h[5], s[5], l[5];
    int32_t i = 0;
    for (int32_t colour : {Red, Green, Blue, White, Black}) {
        const Non_dependant::HSL_Color c = Non_dependant::RGB_To_HSL(colour);
        h[i] = c.Hue, s[i] = c.Sat, l[i] = c.Lum, ++i;
    }
    auto min = [](const int32_t* v) { return *std::min_element(v, v + 5); };
    auto max = [](const int32_t* v) { return *std::max_element(v, v + 5); };
    auto avg = [](const int32_t* v) { return vb::CLng((v[0] + v[1] + v[2] + v[3] + v[4]) / 5.0); };
    const int32_t got[] = {goal.Goal_Min_H, goal.Goal_Max_H, goal.Goal_Avg_H, goal.Goal_Min_S, goal.Goal_Max_S,
                           goal.Goal_Avg_S, goal.Goal_Min_L, goal.Goal_Max_L, goal.Goal_Avg_L};
    const int32_t want[] = {min(h), max(h), avg(h), min(s), max(s), avg(s), min(l), max(l), avg(l)};
    for (size_t k = 0; k < std::size(want); ++k) EXPECT_EQ(got[k], want[k]) << k;
    EXPECT_EQ(goal.Goal_Max_H, 240);
    EXPECT_EQ(goal.Goal_Min_S, 0);
    EXPECT_EQ(field.asked.size(), 5u);
    for (const auto& [x, y] : field.asked) EXPECT_EQ(x, 5) << y;

    // A slanted line is sampled where it crosses each row: 1 column further every 10 rows.
    Rows_field slanted({});
    ASSERT_TRUE(goal.Calculate(slanted, {10, 100, 20, 200}, 100, 200));
    EXPECT_EQ(slanted.asked.front(), (std::pair<int16_t, int16_t>{10, 100}));
    EXPECT_EQ(slanted.asked[55], (std::pair<int16_t, int16_t>{15, 155}));
    EXPECT_EQ(slanted.asked.back(), (std::pair<int16_t, int16_t>{20, 200}));
}

TEST(Goal_HSL, Nothing_to_sample_changes_nothing) {
    Goal_HSL goal;
    Rows_field field({{10, Red}, {11, White}});
    ASSERT_TRUE(goal.Calculate(field, {5, 0, 5, 100}, 10, 11));
    struct Case {
        const char* what;
        Auto_detect::Goal_line line;
        int32_t first, last;
    } cases[] = {
        {"rows running upwards", {5, 0, 5, 100}, 20, 10},
        {"ends on one row", {5, 50, 300, 50}, 0, 100},
        {"no goal line", {0, 0, 0, 0}, 0, 100},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        EXPECT_FALSE(goal.Calculate(field, c.line, c.first, c.last));
        EXPECT_EQ(goal.Goal_Max_L, 100);
        EXPECT_EQ(goal.Goal_Avg_S, 50);
    }
}

TEST(Goal_HSL, Marks_stand_at_the_bars_length_of_each_statistic) {
    Goal_HSL zero;
    std::vector<std::pair<int32_t, bool>> marks;
    for (const Goal_HSL::Mark& m : zero.Marks(440)) marks.emplace_back(m.X, m.Maximum);
    EXPECT_EQ(marks, (std::vector<std::pair<int32_t, bool>>{
                         {440, false}, {440, true}, {380, false}, {380, true}, {320, false}, {320, true}}));
    Goal_HSL goal;
    goal.Goal_Min_H = 7;    // 1.4 pixels
    goal.Goal_Max_H = 243;  // 48.6 pixels
    goal.Goal_Min_S = 20, goal.Goal_Max_S = 90, goal.Goal_Min_L = 35, goal.Goal_Max_L = 61;
    marks.clear();
    for (const Goal_HSL::Mark& m : goal.Marks(440)) marks.emplace_back(m.X, m.Maximum);
    EXPECT_EQ(marks, (std::vector<std::pair<int32_t, bool>>{
                         {439, false}, {391, true}, {360, false}, {290, true}, {285, false}, {259, true}}));
}

// The review window on a progressive heat whose rows are green down to row 303 and blue below.
class Goal_HSL_window : public Review_fixture {
protected:
    static constexpr int32_t Width = 440, Height = 400;
    static std::vector<uint8_t> Two_Colours() {
        cDIBSection dib;
        dib.Create(Width, Height);
        for (int32_t y = 0; y < Height; ++y) {
            uint8_t* row = dib.DIBSectionBitsPtr() + static_cast<int64_t>(Height - 1 - y) * dib.BytesPerScanLine();
            for (int32_t x = 0; x < Width; ++x) {
                row[3 * x] = y < 304 ? 0 : 200;      // blue
                row[3 * x + 1] = y < 304 ? 200 : 0;  // green
                row[3 * x + 2] = 0;                  // red
            }
        }
        std::vector<uint8_t> out(1000000);
        int32_t size = static_cast<int32_t>(out.size());
        EXPECT_TRUE(mIntelJPEGLibrary::Encode_DIB_To_JPG(dib, out.data(), size, 95));
        out.resize(static_cast<size_t>(size));
        return out;
    }
    void SetUp() override {
        Review_fixture::SetUp();
        Vantorel_Mode = true;
        Heat_layout layout;
        layout.width = Width;
        layout.height = Height;
        layout.interlaced = false;
        layout.frames = Regular_Frames(2, layout.start_tick, layout.start_events);
        layout.picture = [](int32_t) { return Two_Colours(); };
        path = heats + "/colours.kd3";
        Write_Heat(path, layout);  // the goal line at column 200 from row 10 to 390, marks at rows 100 to 300
    }
    void TearDown() override {
        Frm_kanot_2::Instance().Close_File();
        Vantorel_Mode = false;
        Review_fixture::TearDown();
    }
    static int32_t Pixel(Frm_kanot_2& w, int32_t x, int32_t y) {
        return static_cast<int32_t>(gdi::GetPixel(w.Picture_large->hDC(), x, y));
    }
    std::string path;
};

TEST_F(Goal_HSL_window, The_bars_mark_the_statistics_of_the_shown_field) {
    Frm_kanot_2& w = Frm_kanot_2::Instance();
    w.Handle_Open_File(path);
    ASSERT_TRUE(w.Replay_File.File_open());
    ASSERT_EQ(Lane_Collection.size(), 3u);
    w.Picture_large->resize(Width, Height);  // one picture pixel per video pixel

    // Not calculated yet: the marks stand at the bars' zero, the maximum's yellow over the minimum's white.
    w.Draw_Goal_HSL();
    EXPECT_EQ(Pixel(w, 380, 2), 0x00FFFF);
    EXPECT_EQ(Pixel(w, 320, 2), 0x00FFFF);

    // Rows 0 to 300 of column 200 (from the extra point's row 0 down to the last mark's) are all green;
    // the blue below them is not sampled.
    w.xCalculate_Goal_HSL();
    const Goal_HSL& g = w.Goal_Colours;
    const Non_dependant::HSL_Color green = Non_dependant::RGB_To_HSL(0x00C800);
    for (int32_t h : {g.Goal_Min_H, g.Goal_Max_H, g.Goal_Avg_H}) EXPECT_NEAR(h, green.Hue, 2);
    for (int32_t s : {g.Goal_Min_S, g.Goal_Max_S, g.Goal_Avg_S}) EXPECT_NEAR(s, green.Sat, 2);
    for (int32_t l : {g.Goal_Min_L, g.Goal_Max_L, g.Goal_Avg_L}) EXPECT_NEAR(l, green.Lum, 2);

    w.Slider_play_Scroll();
    w.Draw_Goal_HSL();
    std::map<int32_t, int32_t> colour_at;  // a later mark on the same column is drawn over an earlier one
    for (const Goal_HSL::Mark& m : g.Marks(Width)) colour_at[m.X] = m.Maximum ? 0x00FFFF : 0xFFFFFF;
    for (const auto& [x, colour] : colour_at) EXPECT_EQ(Pixel(w, x, 2), colour) << x;
    EXPECT_TRUE(reports.empty()) << reports.front();
}

// The longest line a 16-bit step reaches, 32767 pixels from (1, 1) to (23171, 23171), is drawn to its end
// and the window goes on: its rows inside the picture carry the bars.
TEST_F(Goal_HSL_window, The_bars_of_the_longest_goal_line_end_at_its_last_pixel) {
    Frm_kanot_2& w = Frm_kanot_2::Instance();
    w.Handle_Open_File(path);
    ASSERT_TRUE(w.Replay_File.File_open());
    w.Picture_large->resize(Width, Height);
    w.Replay_File.Set_Goal_Line(1, 1, 23171, 23171);
    w.Draw_Goal_HSL();
    EXPECT_EQ(w.Goal_Line.Length(), 32767);
    // Row 10 of the line is green: its hue bar is blue from the right edge.
    EXPECT_EQ(Pixel(w, Width - 10, 10), 0xFF0000);
    EXPECT_TRUE(reports.empty()) << reports.front();
}

TEST_F(Goal_HSL_window, Test_line_marks_every_tenth_goal_line_pixel_yellow_in_the_shown_field) {
    Frm_kanot_2& w = Frm_kanot_2::Instance();
    w.Handle_Open_File(path);
    ASSERT_TRUE(w.Replay_File.File_open());
    w.Picture_large->resize(Width, Height);
    w.item_Test_Line_Click();
    // The goal line runs down column 200 from row 10 to row 390; points 1, 11, 21 ... of it are marked.
    Class_line line;
    line.Start_Point(200, 10);
    line.End_Point(200, Height - 10);
    const int16_t n = line.Length();
    std::set<int16_t> rows;
    for (int16_t i = 1; i <= n; i += 10) rows.insert(line.Y_coord(i));
    ASSERT_EQ(rows.size(), 38u);
    for (int16_t y = 10; y <= 390; ++y) {
        const bool marked = rows.count(y) > 0;
        SCOPED_TRACE(y);
        EXPECT_EQ(w.Replay_File.Get_Field_Pixel(200, y) == 0x00FFFF, marked);
        EXPECT_EQ(Pixel(w, 200, y) == 0x00FFFF, marked);
    }
    EXPECT_NE(Pixel(w, 201, 20), 0x00FFFF);
    EXPECT_TRUE(reports.empty()) << reports.front();
}

}  // namespace
