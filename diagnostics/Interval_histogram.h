#pragma once
// The counts of the frame-interval report: how many frames of a capture file were captured k ms after
// the frame before them. Intervals of 100 ms or more are counted at 100; a stored interval of 0 (two
// frames within one millisecond, or an interval the capture could not measure) has a counter of its own.
#include <array>
#include <cstddef>
#include <cstdint>

class Interval_histogram {
public:
    static constexpr int Last = 100;

    void Add(int32_t interval_ms);

    // Counter k, 0 to 100.
    int32_t Count(int k) const { return counts_.at(static_cast<std::size_t>(k)); }
    // The largest counter; 0 when all are 0.
    int32_t Max() const;
    // The length in pixels of bar k when the largest bar is `full` pixels long (rounded, halves to even).
    int32_t Bar_Length(int k, int32_t full) const;

private:
    std::array<int32_t, Last + 1> counts_{};
};
