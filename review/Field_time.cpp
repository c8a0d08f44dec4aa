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

}  // namespace Field_time
