#include "Test_dialogs.h"
#include "diagnostics/Clock_calibration.h"
#include "diagnostics/Frame_arrival_counter.h"
#include "diagnostics/Interval_histogram.h"
#include "diagnostics/Timing_self_tests.h"

#include <gtest/gtest.h>

#include <climits>
#include <vector>

namespace {

// Frames against one every 40 ms on a fake clock: the counts after the last frame.
TEST(Frame_arrival_counter, Counts_against_one_frame_every_40_ms) {
    struct Row {
        const char* name;
        int32_t reset;
        std::vector<int32_t> frames;  // ticks of the frames
        Frame_arrival_counter::Counts last;
    };
    std::vector<int32_t> steady, stalled;
    for (int32_t i = 1; i <= 50; ++i) steady.push_back(1000 + 40 * i);
    for (int32_t i = 1; i <= 50; ++i) stalled.push_back(1000 + 40 * i + (i > 25 ? 1000 : 0));
    const Row rows[] = {
        {"first frame right after a reset", 1000, {1000}, {1, 0, 1}},
        {"60 ms: 1.5 rounds to 2", 1000, {1060}, {1, 2, -1}},
        {"100 ms: 2.5 rounds to 2", 1000, {1100}, {1, 2, -1}},
        {"140 ms: 3.5 rounds to 4", 1000, {1100, 1140}, {2, 4, -2}},
        {"steady 40 ms", 1000, steady, {50, 50, 0}},
        {"one-second stall", 1000, stalled, {50, 75, -25}},
        {"the tick passes 2^31", INT32_MAX - 20, {INT32_MIN + 19}, {1, 1, 0}},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        Frame_arrival_counter counter;
        counter.Reset(row.reset);
        Frame_arrival_counter::Counts counts;
        for (int32_t tick : row.frames) counts = counter.Frame(tick);
        EXPECT_EQ(counts.received, row.last.received);
        EXPECT_EQ(counts.expected, row.last.expected);
        EXPECT_EQ(counts.lost, row.last.lost);
    }
    Frame_arrival_counter counter;
    counter.Reset(0);
    counter.Frame(40);
    counter.Reset(5000);
    EXPECT_EQ(counter.Frames_Received(), 0);
    EXPECT_EQ(counter.Frame(5000).lost, 1);
}

// The expected count follows the camera's rate: at 50 frames a second none is lost when all arrive.
TEST(Frame_arrival_counter, Counts_against_the_cameras_frame_period) {
    struct Row {
        double frame_ms;
        int32_t every_ms;
        Frame_arrival_counter::Counts last;
    } rows[] = {{20, 20, {1152, 1152, 0}}, {1000.0 / 30, 33, {1152, 1140, 12}}, {40, 40, {1152, 1152, 0}}};
    for (const Row& row : rows) {
        SCOPED_TRACE(row.frame_ms);
        Frame_arrival_counter counter;
        counter.Reset(1000, row.frame_ms);
        Frame_arrival_counter::Counts counts;
        for (int32_t i = 1; i <= 1152; ++i) counts = counter.Frame(1000 + row.every_ms * i);
        EXPECT_EQ(counts.received, row.last.received);
        EXPECT_EQ(counts.expected, row.last.expected);
        EXPECT_EQ(counts.lost, row.last.lost);
        counter.Reset(0);  // a reset without a period keeps the camera's
        EXPECT_EQ(counter.Frame_ms(), row.frame_ms);
    }
}

// Readings of the device's frame count, last tick and last interval become one interval per new frame.
TEST(Frame_arrival_poll, One_interval_for_every_new_frame) {
    using R = Frame_arrival_poll::Reading;
    struct Row {
        const char* name;
        std::vector<R> readings;
        std::vector<int32_t> intervals;  // of the last reading
    };
    const Row rows[] = {
        {"the first reading only sets the base", {{10, 400, 40}}, {}},
        {"no new frame", {{10, 400, 40}, {10, 400, 40}}, {}},
        {"one frame", {{10, 400, 40}, {11, 440, 40}}, {40}},
        {"three frames: the last interval known, the others share the rest",
         {{10, 400, 40}, {13, 560, 80}},
         {40, 40, 80}},
        {"a restarted camera sets a new base", {{500, 400, 40}, {3, 520, 40}}, {}},
        {"an interval the device could not measure plots 0", {{10, 400, 40}, {11, 440, 0}}, {0}},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        Frame_arrival_poll poll;
        std::vector<int32_t> intervals;
        for (const R& reading : row.readings) intervals = poll.New_Frames(reading);
        EXPECT_EQ(intervals, row.intervals);
    }
}

TEST(Interval_histogram, Buckets_and_bar_lengths) {
    struct Row {
        const char* name;
        std::vector<int32_t> intervals;
        int bucket;
        int32_t count;
        int32_t max;
        int32_t bar;  // of that bucket at a full height of 100 pixels
    };
    const Row rows[] = {
        {"all 40 ms", std::vector<int32_t>(30, 40), 40, 30, 30, 100},
        {"80 ms bars shorter by their count", {40, 40, 40, 40, 40, 40, 80, 80, 80}, 80, 3, 6, 50},
        {"rounded, halves to even", {40, 40, 40, 40, 40, 40, 40, 40, 80}, 80, 1, 8, 12},
        {"100 ms and more at 100", {100, 101, 5000, 40}, 100, 3, 3, 100},
        {"a stored 0 has its own bucket", {0, 40, 40}, 0, 1, 2, 50},
        {"below 0 counts as 0", {-3, 40}, 0, 1, 1, 100},
        {"nothing counted", {}, 40, 0, 0, 0},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        Interval_histogram histogram;
        for (int32_t interval : row.intervals) histogram.Add(interval);
        EXPECT_EQ(histogram.Count(row.bucket), row.count);
        EXPECT_EQ(histogram.Max(), row.max);
        EXPECT_EQ(histogram.Bar_Length(row.bucket, 100), row.bar);
    }
}

// A review window made of field times: field v (from 1) has the times given for it.
struct Fake_review {
    std::vector<int32_t> by_count, by_stamps;
    int32_t shown = 1;
    std::vector<int32_t> visited;
    Timing_self_tests::Field_stepper Stepper() {
        return {[] { return 1; },
                [this] { return static_cast<int32_t>(by_count.size()); },
                [this](int32_t v) {
                    shown = v;
                    visited.push_back(v);
                },
                [this] { return by_count.at(static_cast<size_t>(shown - 1)); },
                [this] { return by_stamps.at(static_cast<size_t>(shown - 1)); },
                [this] { return by_count.at(static_cast<size_t>(shown - 1)); }};
    }
};

TEST(Timing_self_tests, Method_and_increment_checks) {
    Test_dialogs& dialogs = Test_dialogs::Instance();
    {
        SCOPED_TRACE("a correctly timed file gives no message");
        Fake_review review{{0, 20, 40, 60, 80}, {0, 20, 40, 60, 80}, 1, {}};
        EXPECT_TRUE(Timing_self_tests::Timing_Method_Analyze(review.Stepper()));
        EXPECT_EQ(review.visited, (std::vector<int32_t>{1, 3, 5}));
        review.shown = 1;
        EXPECT_EQ(Timing_self_tests::Timing_Increment_analyze(review.Stepper()), 0);
        EXPECT_TRUE(dialogs.Shown_Dialogs().empty());
    }
    {
        SCOPED_TRACE("the first difference stops the method test");
        Fake_review review{{0, 20, 40, 60, 80}, {0, 20, 41, 60, 99}, 1, {}};
        dialogs.Answer(ui::vbOK);
        EXPECT_FALSE(Timing_self_tests::Timing_Method_Analyze(review.Stepper()));
        EXPECT_EQ(dialogs.Shown_Prompts().back(), "Timing mis-match!");
        EXPECT_EQ(review.shown, 3);
    }
    {
        SCOPED_TRACE("every field out of step gives one message and the test goes on");
        Fake_review review{{0, 20, 60, 80, 80}, {}, 1, {}};
        dialogs.Answer(ui::vbOK);
        dialogs.Answer(ui::vbOK);
        EXPECT_EQ(Timing_self_tests::Timing_Increment_analyze(review.Stepper()), 2);
        EXPECT_EQ(dialogs.Shown_Prompts().back(), "Timing increment error!");
        EXPECT_EQ(review.shown, 5);
    }
}

TEST(Clock_calibration, Ticks_per_second_and_texts) {
    Clock_calibration calibration;
    calibration.Start(1000000, 5000);
    EXPECT_EQ(calibration.Per_Second(1000000 + 30000000000, 6000).value(), 3000000.0);
    EXPECT_EQ(calibration.Per_Second(1000000 + 30000000000, 7600).value(), 1000000.0);  // 2.6 s counts as 3
    // A tick less than half a second after Start (Start pressed while running) has no value, never a
    // division by zero.
    EXPECT_FALSE(calibration.Per_Second(2000000, 5400).has_value());
    EXPECT_FALSE(calibration.Per_Second(2000000, 5500).has_value());  // 0.5 rounds to 0
    EXPECT_EQ(calibration.Per_Second(1000000, 5501).value(), 0.0);
    EXPECT_EQ(Clock_calibration::Count_Text(123456789), "12345.6789");
    EXPECT_EQ(Clock_calibration::Count_Text(120000), "12");
    EXPECT_EQ(Clock_calibration::Count_Text(125000), "12.5");
    EXPECT_EQ(Clock_calibration::Count_Text(5), "0.0005");
    EXPECT_EQ(Clock_calibration::Count_Text(-125000), "-12.5");
    EXPECT_EQ(Clock_calibration::Rate_Text(3000000.0), "3000000");
    EXPECT_EQ(Clock_calibration::Rate_Text(1.0 / 3), "0.333333333333333");
}

}  // namespace
