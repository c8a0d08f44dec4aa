#pragma once
// The time of a shown field since the heat start, by the capture device's frame-event count or by the
// frames' capture ticks. Pure arithmetic on the values of the record read last.
//
// An interlaced file's frame holds two fields half a frame apart; a progressive file's frame is one
// picture, so both of its field numbers show the same instant. Both methods follow the file's own frame
// period (40 ms for the interlaced captures): by frame count the elapsed events times the period, by time
// stamp the elapsed ticks rounded (halves to even) to a multiple of the period.
#include <cstdint>
#include <string>

namespace Field_time {

struct Frame_record {
    int32_t Heat_Start_Events = 0;   // the header's frame-event count at the heat start
    int32_t Frame_Events = 0;        // the record's frame-event count
    int32_t Heat_Start_mill = 0;     // the header's tick at the heat start
    int32_t Frame_Capture_mill = 0;  // the record's capture tick
};

struct Times {
    int32_t Elapsed_Events = 0;
    int32_t Elapsed_HDMI_events_mill = 0;
    int32_t Elapsed_mill = 0;
    int32_t Elapsed_Rounded_mill = 0;
    int32_t Rounding_mill = 0;
    int32_t Elapsed_Field_mill = 0;
};

// `field_in_frame` is 1 or 2. Ticks wrap at 32 bits; a result beyond 32 bits raises error 6.
Times Compute(const Frame_record& record, bool frame_count, int32_t frame_period, bool interlaced,
              int16_t field_in_frame);

// An interval as hours, minutes and seconds ("1 hr 2 min 3 sec"), the milliseconds rounded to whole
// seconds, to `digits` significant digits counted from the largest part: the digits beyond are
// written as 0 and a part past the last significant digit is left out (74000 ms to one digit is
// "1 min", to two "1 min 10 sec"). Seconds are written whenever a digit is left for them; no digits
// give "".
std::string Interval_Text(uint32_t milliseconds, int32_t digits);

}  // namespace Field_time
