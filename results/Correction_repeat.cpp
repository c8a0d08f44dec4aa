#include "Correction_repeat.h"

#include <algorithm>
#include <utility>

Correction_repeat::Correction_repeat(Wait& wait, std::function<void(int32_t)> step, std::function<void()> display,
                                     std::function<bool()> may_run)
    : wait_(wait), step_(std::move(step)), display_(std::move(display)), may_run_(std::move(may_run)) {}

void Correction_repeat::Press(int32_t step) {
    wait_.Stop();
    unit_ = step;
    delay_ = 200;
    held_ = true;
    pressed_ = true;
    Step();
}

bool Correction_repeat::Release() {
    wait_.Stop();
    const bool was_pressed = pressed_;
    held_ = false;
    pressed_ = false;
    return was_pressed;
}

void Correction_repeat::Step() {
    try {
        step_(unit_);
    } catch (...) {
        held_ = false;
        throw;
    }
    wait_.Start(delay_, [this] { Waited(); });
}

void Correction_repeat::Waited() {
    if (!held_) return;
    if (!may_run_()) {
        held_ = false;
        return;
    }
    delay_ = std::max(50, delay_ - 50);
    display_();
    Step();
}
