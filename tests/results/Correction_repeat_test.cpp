// The repeat of a held start-correction button on a clock of the test's own, and the time parts the
// correction panel shows.
#include "platform/vb/VbError.h"
#include "results/Correction_repeat.h"
#include "results/Module_Vantorel_print.h"

#include <gtest/gtest.h>

#include <stdexcept>

namespace {

// Fires the pending wait when the test says so and remembers how long each wait was asked to be.
class Fake_wait : public Correction_repeat::Wait {
public:
    void Start(int32_t milliseconds, std::function<void()> done) override {
        waits.push_back(milliseconds);
        pending = std::move(done);
    }
    void Stop() override { pending = nullptr; }
    bool Fire() {
        if (!pending) return false;
        auto done = std::move(pending);
        pending = nullptr;
        done();
        return true;
    }
    std::vector<int32_t> waits;
    std::function<void()> pending;
};

struct Repeat_fixture {
    Fake_wait wait;
    int32_t value = 0;
    std::vector<int32_t> shown;
    bool file_there = true;
    Correction_repeat repeat{wait, [this](int32_t step) {
                                 if (int64_t{value} + step > 100) throw std::overflow_error("past the end");
                                 value += step;
                             },
                             [this] { shown.push_back(value); }, [this] { return file_there; }};
};

TEST(Correction_repeat, A_held_button_steps_at_the_press_then_after_waits_of_200_150_100_and_50_ms) {
    Repeat_fixture f;
    f.repeat.Press(-10);
    EXPECT_EQ(f.value, -10);  // the first step at the press
    EXPECT_TRUE(f.shown.empty());
    for (int i = 0; i < 5; ++i) ASSERT_TRUE(f.wait.Fire());
    EXPECT_EQ(f.wait.waits, (std::vector<int32_t>{200, 150, 100, 50, 50, 50}));
    EXPECT_EQ(f.value, -60);
    // Shown after each wait, the step before it.
    EXPECT_EQ(f.shown, (std::vector<int32_t>{-10, -20, -30, -40, -50}));
    EXPECT_TRUE(f.repeat.Button_Held());
    EXPECT_TRUE(f.repeat.Release());
    EXPECT_FALSE(f.wait.pending);
    EXPECT_FALSE(f.repeat.Release());  // one release, one write
    EXPECT_EQ(f.value, -60);

    // A click makes exactly one step, and the next press starts at 200 ms again.
    f.wait.waits.clear();
    f.repeat.Press(10);
    EXPECT_TRUE(f.repeat.Release());
    EXPECT_EQ(f.value, -50);
    f.repeat.Press(10);
    EXPECT_EQ(f.wait.waits, (std::vector<int32_t>{200, 200}));
}

TEST(Correction_repeat, The_repeat_ends_when_the_file_is_gone_or_a_step_fails_and_never_runs_on) {
    Repeat_fixture f;
    f.repeat.Press(10);
    f.file_there = false;
    EXPECT_TRUE(f.wait.Fire());
    EXPECT_EQ(f.value, 10);
    EXPECT_FALSE(f.repeat.Button_Held());
    EXPECT_FALSE(f.wait.pending);

    Repeat_fixture g;
    g.value = 80;
    g.repeat.Press(10);
    g.wait.Fire();  // 90 -> 100
    EXPECT_THROW(g.wait.Fire(), std::overflow_error);
    EXPECT_EQ(g.value, 100);
    EXPECT_FALSE(g.repeat.Button_Held());
    EXPECT_FALSE(g.wait.pending);
    EXPECT_TRUE(g.repeat.Release());  // still written once at the release
}

TEST(Mill_Time_Part, Parts_of_a_time_of_day) {
    using Module_Vantorel::Mill_Time_Part;
    const int32_t t = ((12 * 60 + 34) * 60 + 56) * 1000 + 789;
    struct Case {
        const char* part;
        int32_t mill;
        int16_t expected;
    } cases[] = {
        {"h", t, 12}, {"m", t, 34}, {"s", t, 56}, {"t", t, 78}, {"H", t, 0}, {"x", t, 0},
        {"h", -5, 0}, {"m", -5, 0}, {"s", -5, 0}, {"t", -5, -1},          // hundredths toward minus infinity
        {"h", t + 86400000 * 2, 12}, {"t", -500, -50}, {"h", -3600000, -1},  // hours modulo 24, sign kept
        {"t", INT32_MIN, -65}, {"h", INT32_MAX, 20},
    };
    for (const Case& c : cases) EXPECT_EQ(Mill_Time_Part(c.part, c.mill), c.expected) << c.part << " " << c.mill;
}

}  // namespace
