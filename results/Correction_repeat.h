#pragma once
// The repeat of a held start-correction button: one step at the press, then a step after each wait of
// 200, 150, 100, 50, 50, ... ms, the display after each wait, until the release. The waits go through
// a seam so that the window runs them on a timer and the tests on a clock of their own.
#include <cstdint>
#include <functional>

class Correction_repeat {
public:
    class Wait {
    public:
        virtual ~Wait() = default;
        // Calls `done` once, `milliseconds` from now, unless stopped first.
        virtual void Start(int32_t milliseconds, std::function<void()> done) = 0;
        virtual void Stop() = 0;
    };

    // `step` changes the correction by its argument; `display` shows it; `may_run` is false once the
    // file is gone, which ends the repeat without a further step.
    Correction_repeat(Wait& wait, std::function<void(int32_t)> step, std::function<void()> display,
                      std::function<bool()> may_run);

    // A press with the signed step of one repeat; the first step comes at once. An error of the step
    // ends the repeat and passes on.
    void Press(int32_t step);
    // Ends the repeat; true when a button was pressed since the last release (the caller then writes
    // the correction once, also after an error ended the repeat early).
    bool Release();

    bool Pressed() const { return pressed_; }
    bool Button_Held() const { return held_; }
    int32_t Repeat_Delay() const { return delay_; }

private:
    void Waited();
    void Step();

    Wait& wait_;
    std::function<void(int32_t)> step_;
    std::function<void()> display_;
    std::function<bool()> may_run_;
    int32_t unit_ = 0;
    int32_t delay_ = 200;
    bool held_ = false;
    bool pressed_ = false;
};
