#pragma once
// The colours along the goal line: the least, greatest and average hue, saturation and luminance of
// the shown field's pixels on the line, one pixel a row, and where the colour bars beside the picture
// mark them. No widgets: the field is reached through Auto_detect::Field_pixels.
#include "review/Auto_detect.h"

#include <array>
#include <cstdint>

struct Goal_HSL {
    // 0 until calculated.
    int32_t Goal_Min_H = 0, Goal_Min_S = 0, Goal_Min_L = 0;
    int32_t Goal_Max_H = 0, Goal_Max_S = 0, Goal_Max_L = 0;
    int32_t Goal_Avg_H = 0, Goal_Avg_S = 0, Goal_Avg_L = 0;

    // Samples the line's pixel in every row from `first_y` down to `last_y`; the averages are rounded
    // halves to even. With no row to sample (the rows run upwards, or the line's ends share a row and so
    // give no column for a row) nothing changes and the answer is false.
    bool Calculate(Auto_detect::Field_pixels& field, const Auto_detect::Goal_line& line, int32_t first_y, int32_t last_y);

    // A vertical mark of the colour bars drawn `Width` pixels wide from the right edge: the hue bar
    // there, saturation 60 pixels and luminance 120 pixels left of it.
    struct Mark {
        int32_t X;
        bool Maximum;  // yellow for a maximum, white for a minimum
    };
    // The six marks, minimum then maximum of hue, saturation and luminance, each at the bar's length for
    // that value (a hue of 5 is one pixel), rounded halves to even.
    std::array<Mark, 6> Marks(int32_t Width) const;
};
