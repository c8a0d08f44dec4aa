#include "Sys_clock.h"

#include <cstdio>
#include <ctime>

namespace sys {

int32_t timeGetTime() {
    timespec ts{};
    clock_gettime(CLOCK_MONOTONIC, &ts);
    uint64_t ms = static_cast<uint64_t>(ts.tv_sec) * 1000u + static_cast<uint64_t>(ts.tv_nsec) / 1000000u;
    return static_cast<int32_t>(static_cast<uint32_t>(ms));
}

Local_Time Get_Local_Time() {
    timespec ts{};
    clock_gettime(CLOCK_REALTIME, &ts);
    Local_Time t = Local_Time_Of(ts.tv_sec);
    t.millisecond = static_cast<int>(ts.tv_nsec / 1000000);
    return t;
}

Local_Time Local_Time_Of(int64_t seconds_since_epoch) {
    time_t secs = static_cast<time_t>(seconds_since_epoch);
    tm parts{};
    localtime_r(&secs, &parts);
    Local_Time t;
    t.year = parts.tm_year + 1900;
    t.month = parts.tm_mon + 1;
    t.day = parts.tm_mday;
    t.hour = parts.tm_hour;
    t.minute = parts.tm_min;
    t.second = parts.tm_sec;
    return t;
}

std::string Date_Time_Text(const Local_Time& t) {
    char buf[32];
    std::snprintf(buf, sizeof buf, "%04d-%02d-%02d %02d:%02d:%02d", t.year, t.month, t.day, t.hour, t.minute,
                  t.second);
    return buf;
}

void Sleep(int32_t milliseconds) {
    if (milliseconds <= 0) return;
    timespec req{milliseconds / 1000, static_cast<long>(milliseconds % 1000) * 1000000L};
    while (nanosleep(&req, &req) != 0) {
    }
}

}  // namespace sys
