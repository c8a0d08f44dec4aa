#include "Field_time.h"

#include "platform/sys/Sys_clock.h"
#include "platform/vb/Vb_convert.h"
#include "shell/Non_dependant.h"

namespace Field_time {

Times Compute(const Frame_record& record, bool frame_count, int32_t frame_period, bool interlaced,
              int16_t field_in_frame) {
    if (frame_period <= 0) frame_period = 40;
    Times t;
    t.Elapsed_Events = vb::To_Int32(int64_t{record.Frame_Events} - record.Heat_Start_Events);
    t.Elapsed_HDMI_events_mill = vb::To_Int32(int64_t{t.Elapsed_Events} * frame_period);
    t.Elapsed_mill = sys::Tick_Diff(record.Frame_Capture_mill, record.Heat_Start_mill);
    t.Elapsed_Rounded_mill = Non_dependant::Round_To_Multiple(t.Elapsed_mill, vb::To_Int16(frame_period));
    t.Rounding_mill = vb::To_Int32(int64_t{t.Elapsed_Rounded_mill} - t.Elapsed_mill);
    const int32_t frame_time = frame_count ? t.Elapsed_HDMI_events_mill : t.Elapsed_Rounded_mill;
    const int32_t field_offset = interlaced && field_in_frame == 2 ? frame_period / 2 : 0;
    t.Elapsed_Field_mill = vb::To_Int32(int64_t{frame_time} + field_offset);
    return t;
}

std::string Interval_Text(uint32_t milliseconds, int32_t digits) {
    if (digits <= 0) return "";
    uint32_t seconds = static_cast<uint32_t>((uint64_t{milliseconds} + 500) / 1000);
    const uint32_t hours = seconds / 3600;
    seconds -= hours * 3600;
    const uint32_t minutes = seconds / 60;
    seconds -= minutes * 60;
    std::string text;
    auto part = [&](uint32_t value, const char* unit) {
        std::string number = std::to_string(value);
        for (char& c : number) {
            if (digits > 0) --digits;
            else c = '0';
        }
        text += " " + number + " " + unit;
    };
    if (hours) part(hours, "hr");
    if (minutes && digits) part(minutes, "min");
    if (digits) part(seconds, "sec");
    return text.empty() ? text : text.substr(1);
}

}  // namespace Field_time
