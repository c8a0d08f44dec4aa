#pragma once
// A window's timer: fires its Timer event every Interval milliseconds while Enabled and Interval > 0.
// Changing either starts the count again.
#include <QTimer>

#include <cstdint>
#include <functional>

namespace ui {

class Timer {
public:
    explicit Timer(std::function<void()> on_timer = {});

    int32_t Interval() const { return interval_; }
    void Set_Interval(int32_t milliseconds);
    bool Enabled() const { return enabled_; }
    void Set_Enabled(bool enabled);
    void On_Timer(std::function<void()> handler) { on_timer_ = std::move(handler); }

private:
    void Restart();

    QTimer timer_;
    std::function<void()> on_timer_;
    int32_t interval_ = 0;
    bool enabled_ = true;
};

}  // namespace ui
