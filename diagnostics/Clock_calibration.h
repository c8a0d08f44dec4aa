#pragma once
// The clock calibration's arithmetic: how many cycle-counter ticks pass per second of the millisecond
// tick. The counter is shown as a fixed-point number with four decimals (its integer / 10,000).
#include <cstdint>
#include <optional>
#include <string>

class Clock_calibration {
public:
    void Start(int64_t count, int32_t tick) {
        start_count_ = count;
        start_tick_ = tick;
    }
    // Counter difference / 10,000 / the elapsed whole seconds (rounded, halves to even). None while the
    // elapsed time rounds to 0 seconds: a tick right after a second Start has nothing to divide by.
    std::optional<double> Per_Second(int64_t count, int32_t tick) const;

    // count / 10,000 with up to four decimals.
    static std::string Count_Text(int64_t count);
    // A rate with up to 15 significant digits.
    static std::string Rate_Text(double rate);

private:
    int64_t start_count_ = 0;
    int32_t start_tick_ = 0;
};
