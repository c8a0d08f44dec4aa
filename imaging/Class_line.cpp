#include "Class_line.h"

#include "platform/vb/VbError.h"
#include "platform/vb/Vb_convert.h"

#include <cmath>

namespace {

// A division by zero raises 11, or 6 when the dividend is zero as well.
float Divide(float a, float b) {
    if (b == 0) vb::Raise(a == 0 ? vb::Err_Overflow : vb::Err_Division_By_Zero);
    return a / b;
}

int16_t Floor_16(float value) {
    if (!std::isfinite(value)) vb::Raise(vb::Err_Overflow);
    return vb::To_Int16(static_cast<int64_t>(std::floor(static_cast<double>(value))));
}

}  // namespace

void Class_line::Start_Point(int16_t x, int16_t y) {
    x1_ = x;
    y1_ = y;
}

void Class_line::End_Point(int16_t x, int16_t y) {
    x2_ = x;
    y2_ = y;
}

int16_t Class_line::Length() {
    dx_ = static_cast<float>(x2_ - x1_);
    dy_ = static_cast<float>(y2_ - y1_);
    length_ = std::floor(std::sqrt(dx_ * dx_ + dy_ * dy_));
    return Floor_16(length_);
}

int16_t Class_line::X_coord(int16_t step) const { return Floor_16(Divide(step, length_) * dx_ + static_cast<float>(x1_)); }

int16_t Class_line::Y_coord(int16_t step) const { return Floor_16(Divide(step, length_) * dy_ + static_cast<float>(y1_)); }

int16_t Class_line::Y_Coord_by_X(int16_t x) const { return Floor_16(Divide(x, dx_) * dy_ + static_cast<float>(y2_)); }

int16_t Class_line::X_Coord_by_Y(int16_t y) const { return Floor_16(Divide(y, dy_) * dx_ + static_cast<float>(x1_)); }
