#pragma once
// The two clocks of the system and the plain wait.
#include <cstdint>
#include <string>

namespace sys {

// Milliseconds of CLOCK_MONOTONIC as a 32-bit value that wraps after about 49.7 days.
int32_t timeGetTime();

// later - earlier, right across the wrap of the 32-bit tick.
inline int32_t Tick_Diff(int32_t later, int32_t earlier) {
    return static_cast<int32_t>(static_cast<uint32_t>(later) - static_cast<uint32_t>(earlier));
}

// The tick `milliseconds` after `tick` (before it when negative), wrapping as the tick does.
inline int32_t Tick_Add(int32_t tick, int32_t milliseconds) {
    return static_cast<int32_t>(static_cast<uint32_t>(tick) + static_cast<uint32_t>(milliseconds));
}

struct Local_Time {
    int year = 0, month = 0, day = 0;  // month 1..12
    int hour = 0, minute = 0, second = 0, millisecond = 0;
};

Local_Time Get_Local_Time();
Local_Time Local_Time_Of(int64_t seconds_since_epoch);

// "yyyy-mm-dd hh:nn:ss", the system's general date and time text.
std::string Date_Time_Text(const Local_Time& t);

// Blocks the calling thread; events do not run meanwhile.
void Sleep(int32_t milliseconds);

}  // namespace sys
