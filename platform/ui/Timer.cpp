#include "Timer.h"

#include "Handler_guard.h"

namespace ui {

Timer::Timer(std::function<void()> on_timer) : on_timer_(std::move(on_timer)) {
    QObject::connect(&timer_, &QTimer::timeout, [this] {
        if (on_timer_) Run_Handler(on_timer_, "Timer");
    });
}

void Timer::Set_Interval(int32_t milliseconds) {
    interval_ = milliseconds;
    Restart();
}

void Timer::Set_Enabled(bool enabled) {
    enabled_ = enabled;
    Restart();
}

void Timer::Restart() {
    timer_.stop();
    if (enabled_ && interval_ > 0) timer_.start(interval_);
}

}  // namespace ui
