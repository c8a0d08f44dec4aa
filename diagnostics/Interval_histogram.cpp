#include "Interval_histogram.h"

#include "platform/vb/Vb_convert.h"

#include <algorithm>

void Interval_histogram::Add(int32_t interval_ms) {
    ++counts_[static_cast<size_t>(std::clamp(interval_ms, 0, Last))];
}

int32_t Interval_histogram::Max() const { return *std::max_element(counts_.begin(), counts_.end()); }

int32_t Interval_histogram::Bar_Length(int k, int32_t full) const {
    const int32_t max = Max();
    if (max == 0) return 0;
    return vb::CLng(static_cast<double>(Count(k)) / max * full);
}
