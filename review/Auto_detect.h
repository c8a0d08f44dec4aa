#pragma once
// Finding finishes from pixel colours: the goal line is sampled row by row in one span per lane mark,
// from the previous mark's row (for the first lane the extra reference point's) down to the mark's own
// row; three trigger pixels in one span of one field make the span fire, once until the next set-up.
// No widgets: the shown field is reached through Field_pixels, so tests scan pictures they paint.
#include "shell/Non_dependant.h"

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

class Cls_lane;

namespace Auto_detect {

// A pixel triggers when Hue_min < Hue < Hue_max, Sat > Sat_min and Lum > Lum_min (all strict).
struct Trigger_levels {
    double Hue_min = 40;
    double Hue_max = 88;
    double Sat_min = 40;
    double Lum_min = 50;
};
bool Triggers(const Non_dependant::HSL_Color& hsl, const Trigger_levels& levels);
// The four limits from their texts; nothing when one of them is not a number.
std::optional<Trigger_levels> Levels_From_Texts(const std::string& hue_min, const std::string& hue_max,
                                                const std::string& sat_min, const std::string& lum_min);

// The pixels of the field shown, red in the lowest byte.
class Field_pixels {
public:
    virtual ~Field_pixels() = default;
    virtual int32_t Get_Field_Pixel(int16_t x, int16_t y) = 0;
};

struct Goal_line {
    int16_t x1 = 0, y1 = 0, x2 = 0, y2 = 0;
};

struct Lane_Span {
    int16_t Bottom_Y = 0;  // the span's lane mark row, the last row sampled
    int16_t Top_Y = 0;     // the previous mark's row (the extra point's for the first span), the first
    int16_t Hits = 0;
    bool Triggered = false;
};

// The extra reference point from the header's spare text "x,y" (each rounded to a whole pixel, halves
// to even). "0000", a text without "," or a piece that is not a number leaves both as they are; the
// answer says whether the point was read.
bool Read_Extra_line(const std::string& spare, int16_t& Extra_X, int16_t& Extra_Y);

class Detector {
public:
    // One span per mark, in collection order; every span unfired.
    void Setup_Lanes_Auto_Detect(const std::vector<Cls_lane>& lanes);
    // Tests every unfired span on the field shown (set up first when not set up) and returns the
    // indexes (from 0) of the spans that fired now. `pixel_test` sees every sampled pixel; it says
    // whether the pixel triggers. A goal line whose ends share a row (also a missing one, all four 0)
    // has no column for a row: the spans then sample nothing.
    std::vector<int16_t> Test_Auto_Lanes(const std::vector<Cls_lane>& lanes, Field_pixels& field, const Goal_line& line,
                                         const std::function<bool(int32_t pixel)>& pixel_test);
    // A new file: the spans are set up again at the next test.
    void Reset() { Lane_Spans.clear(); }

    int16_t Span_Count() const { return static_cast<int16_t>(Lane_Spans.size()); }
    std::vector<Lane_Span> Lane_Spans;
    int16_t Extra_X = 0;
    int16_t Extra_Y = 0;
};

// The fields a run shows, first to last: both fields of every frame of an interlaced heat; one field per
// frame of a progressive heat, whose two field numbers show the same picture. Nothing for a heat of
// fewer than two fields (or no file).
std::vector<int32_t> Fields_to_scan(int32_t num_frames, bool interlaced);

// The run: for each field to scan, `show` it, stop when `stop` answers true (a key held), else `test` it.
// Answers the number of fields tested.
int32_t Run(const std::vector<int32_t>& fields, const std::function<void(int32_t field)>& show,
            const std::function<bool()>& stop, const std::function<void()>& test);

}  // namespace Auto_detect
