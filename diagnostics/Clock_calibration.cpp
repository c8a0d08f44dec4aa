#include "Clock_calibration.h"

#include "platform/sys/Sys_clock.h"
#include "platform/vb/Vb_convert.h"

#include <cstdlib>

std::optional<double> Clock_calibration::Per_Second(int64_t count, int32_t tick) const {
    const int32_t seconds = vb::CLng(sys::Tick_Diff(tick, start_tick_) / 1000.0);
    if (seconds == 0) return std::nullopt;
    return static_cast<double>(count - start_count_) / 10000.0 / seconds;
}

std::string Clock_calibration::Count_Text(int64_t count) {
    const bool negative = count < 0;
    const uint64_t magnitude = negative ? 0 - static_cast<uint64_t>(count) : static_cast<uint64_t>(count);
    std::string text = (negative ? "-" : "") + std::to_string(magnitude / 10000);
    std::string decimals = std::to_string(magnitude % 10000 + 10000).substr(1);
    while (!decimals.empty() && decimals.back() == '0') decimals.pop_back();
    if (!decimals.empty()) text += "." + decimals;
    return text;
}

std::string Clock_calibration::Rate_Text(double rate) { return vb::CStr(rate); }
