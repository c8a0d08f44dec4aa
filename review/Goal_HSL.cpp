#include "Goal_HSL.h"

#include "imaging/Class_line.h"
#include "platform/vb/Vb_convert.h"
#include "shell/Non_dependant.h"

#include <algorithm>
#include <limits>

bool Goal_HSL::Calculate(Auto_detect::Field_pixels& field, const Auto_detect::Goal_line& line, int32_t first_y,
                         int32_t last_y) {
    if (line.y1 == line.y2 || first_y > last_y) return false;
    Class_line goal;
    goal.Start_Point(line.x1, line.y1);
    goal.End_Point(line.x2, line.y2);
    goal.Length();
    int32_t min_h = std::numeric_limits<int32_t>::max(), min_s = min_h, min_l = min_h;
    int32_t max_h = std::numeric_limits<int32_t>::min(), max_s = max_h, max_l = max_h;
    int64_t sum_h = 0, sum_s = 0, sum_l = 0, count = 0;
    for (int32_t y = first_y; y <= last_y; ++y) {
        // The line's member takes the row as an offset from its first end; a row no picture has is skipped.
        const int32_t offset = y - line.y1;
        if (y < std::numeric_limits<int16_t>::min() || y > std::numeric_limits<int16_t>::max() ||
            offset < std::numeric_limits<int16_t>::min() || offset > std::numeric_limits<int16_t>::max())
            continue;
        const int16_t x = goal.X_Coord_by_Y(static_cast<int16_t>(offset));
        const Non_dependant::HSL_Color c = Non_dependant::RGB_To_HSL(field.Get_Field_Pixel(x, static_cast<int16_t>(y)));
        min_h = std::min(min_h, c.Hue), max_h = std::max(max_h, c.Hue), sum_h += c.Hue;
        min_s = std::min(min_s, c.Sat), max_s = std::max(max_s, c.Sat), sum_s += c.Sat;
        min_l = std::min(min_l, c.Lum), max_l = std::max(max_l, c.Lum), sum_l += c.Lum;
        ++count;
    }
    if (count == 0) return false;
    auto average = [count](int64_t sum) { return vb::CLng(static_cast<double>(sum) / static_cast<double>(count)); };
    Goal_Min_H = min_h, Goal_Min_S = min_s, Goal_Min_L = min_l;
    Goal_Max_H = max_h, Goal_Max_S = max_s, Goal_Max_L = max_l;
    Goal_Avg_H = average(sum_h), Goal_Avg_S = average(sum_s), Goal_Avg_L = average(sum_l);
    return true;
}

std::array<Goal_HSL::Mark, 6> Goal_HSL::Marks(int32_t Width) const {
    auto at = [](double x) { return vb::CLng(x); };
    return {{{at(Width - Goal_Min_H / 5.0), false},
             {at(Width - Goal_Max_H / 5.0), true},
             {Width - 60 - Goal_Min_S, false},
             {Width - 60 - Goal_Max_S, true},
             {Width - 120 - Goal_Min_L, false},
             {Width - 120 - Goal_Max_L, true}}};
}
