#pragma once
// A line segment between two points: its length, the points at a distance along it, and the
// coordinate on the line for an offset in x or y. Single-precision arithmetic, rounded down;
// `Length` must be read after the ends are set and before the coordinate members.
#include <cstdint>

class Class_line {
public:
    void Start_Point(int16_t x, int16_t y);
    void End_Point(int16_t x, int16_t y);
    // Also keeps dx, dy and the length for the members below.
    int16_t Length();
    int16_t X_coord(int16_t step) const;
    int16_t Y_coord(int16_t step) const;
    // x is the horizontal offset from the second end.
    int16_t Y_Coord_by_X(int16_t x) const;
    // y is the vertical offset from the first end.
    int16_t X_Coord_by_Y(int16_t y) const;

private:
    int32_t x1_ = 0, y1_ = 0, x2_ = 0, y2_ = 0;
    float dx_ = 0, dy_ = 0, length_ = 0;
};
