#include "Auto_detect.h"

#include "Cls_lane.h"
#include "imaging/Class_line.h"
#include "platform/vb/Vb_convert.h"

#include <limits>

namespace Auto_detect {

bool Triggers(const Non_dependant::HSL_Color& hsl, const Trigger_levels& levels) {
    return levels.Hue_min < hsl.Hue && hsl.Hue < levels.Hue_max && hsl.Sat > levels.Sat_min && hsl.Lum > levels.Lum_min;
}

std::optional<Trigger_levels> Levels_From_Texts(const std::string& hue_min, const std::string& hue_max,
                                                const std::string& sat_min, const std::string& lum_min) {
    for (const std::string* text : {&hue_min, &hue_max, &sat_min, &lum_min})
        if (!vb::Is_Numeric(*text)) return std::nullopt;
    return Trigger_levels{vb::CDbl(hue_min), vb::CDbl(hue_max), vb::CDbl(sat_min), vb::CDbl(lum_min)};
}

bool Read_Extra_line(const std::string& spare, int16_t& Extra_X, int16_t& Extra_Y) {
    if (spare == "0000") return false;
    const size_t comma = spare.find(',');
    if (comma == std::string::npos) return false;
    const std::string x = spare.substr(0, comma);
    std::string y = spare.substr(comma + 1);
    if (const size_t next = y.find(','); next != std::string::npos) y.resize(next);
    if (!vb::Is_Numeric(x) || !vb::Is_Numeric(y)) return false;
    const double vx = vb::CDbl(x), vy = vb::CDbl(y);
    constexpr double low = std::numeric_limits<int16_t>::min() - 0.5, high = std::numeric_limits<int16_t>::max() + 0.5;
    if (!(vx > low && vx < high && vy > low && vy < high)) return false;
    Extra_X = vb::CInt(vx);
    Extra_Y = vb::CInt(vy);
    return true;
}

void Detector::Setup_Lanes_Auto_Detect(const std::vector<Cls_lane>& lanes) {
    Lane_Spans.assign(lanes.size(), Lane_Span{});
    for (size_t i = 0; i < lanes.size(); ++i) {
        Lane_Spans[i].Bottom_Y = vb::To_Int16(lanes[i].Y());
        Lane_Spans[i].Top_Y = i == 0 ? Extra_Y : vb::To_Int16(lanes[i - 1].Y());
    }
}

std::vector<int16_t> Detector::Test_Auto_Lanes(const std::vector<Cls_lane>& lanes, Field_pixels& field,
                                               const Goal_line& line,
                                               const std::function<bool(int32_t pixel)>& pixel_test) {
    if (Lane_Spans.empty()) Setup_Lanes_Auto_Detect(lanes);
    const bool sampled = line.y1 != line.y2;
    Class_line goal;
    goal.Start_Point(line.x1, line.y1);
    goal.End_Point(line.x2, line.y2);
    goal.Length();
    std::vector<int16_t> fired;
    for (size_t i = 0; i < Lane_Spans.size(); ++i) {
        Lane_Span& span = Lane_Spans[i];
        if (span.Triggered) continue;
        span.Hits = 0;
        if (!sampled) continue;
        for (int32_t y = span.Top_Y; y <= span.Bottom_Y; ++y) {
            // The line's member takes the row as an offset from its first end.
            const int32_t offset = y - line.y1;
            if (offset < std::numeric_limits<int16_t>::min() || offset > std::numeric_limits<int16_t>::max()) continue;
            const int16_t x = goal.X_Coord_by_Y(static_cast<int16_t>(offset));
            if (pixel_test(field.Get_Field_Pixel(x, static_cast<int16_t>(y)))) ++span.Hits;
        }
        if (span.Hits > 2) {
            span.Triggered = true;
            fired.push_back(static_cast<int16_t>(i));
        }
    }
    return fired;
}

std::vector<int32_t> Fields_to_scan(int32_t num_frames, bool interlaced) {
    std::vector<int32_t> fields;
    const int64_t count = interlaced ? 2 * int64_t{num_frames} : num_frames;
    if (count < 2) return fields;
    fields.reserve(static_cast<size_t>(count));
    if (interlaced)
        for (int32_t f = 1; f <= 2 * int64_t{num_frames}; ++f) fields.push_back(f);
    else
        for (int32_t frame = 1; frame <= num_frames; ++frame) fields.push_back(2 * frame - 1);
    return fields;
}

int32_t Run(const std::vector<int32_t>& fields, const std::function<void(int32_t field)>& show,
            const std::function<bool()>& stop, const std::function<void()>& test) {
    int32_t tested = 0;
    for (int32_t field : fields) {
        show(field);
        if (stop()) break;
        test();
        ++tested;
    }
    return tested;
}

}  // namespace Auto_detect
