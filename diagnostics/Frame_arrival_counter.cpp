#include "Frame_arrival_counter.h"

#include "platform/sys/Sys_clock.h"
#include "platform/vb/Vb_convert.h"

#include <algorithm>

void Frame_arrival_counter::Reset(int32_t now_tick, double frame_ms) {
    if (frame_ms > 0) frame_ms_ = frame_ms;
    start_ = now_tick;
    received_ = 0;
}

Frame_arrival_counter::Counts Frame_arrival_counter::Frame(int32_t now_tick) {
    ++received_;
    const int32_t expected = vb::CLng(sys::Tick_Diff(now_tick, start_) / frame_ms_);
    return {received_, expected, received_ - expected};
}

std::vector<int32_t> Frame_arrival_poll::New_Frames(const Reading& reading) {
    std::vector<int32_t> intervals;
    if (!have_base_ || reading.frames < base_.frames) {
        have_base_ = true;
        base_ = reading;
        return intervals;
    }
    const int64_t count = reading.frames - base_.frames;
    if (count > 0) {
        const int32_t last = std::max(reading.last_delta, 0);
        if (count > 1) {
            const int32_t span = std::max(sys::Tick_Diff(reading.last_tick, base_.last_tick) - last, 0);
            intervals.assign(static_cast<size_t>(count - 1), static_cast<int32_t>(span / (count - 1)));
        }
        intervals.push_back(last);
    }
    base_ = reading;
    return intervals;
}
