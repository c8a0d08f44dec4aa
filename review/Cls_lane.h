#pragma once
// One lane mark of the course: its number, its centre in video pixels and the result it shows.
#include "imaging/Drawing_types.h"
#include "platform/gdi/Device_context.h"

#include <cstdint>

class Cls_lane {
public:
    // Clears the result and the two values kept with it.
    void Clear_Rank();

    int16_t Field() const { return Field_; }
    void Field(int16_t value) { Field_ = value; }
    int16_t Lane_number() const { return Lane_number_; }
    void Lane_number(int16_t value) { Lane_number_ = value; }
    void Lane_pos_X(int32_t value) { X_ = value; }
    void Lane_pos_Y(int32_t value) { Y_ = value; }
    int32_t X() const { return X_; }
    int32_t Y() const { return Y_; }
    // 0 none, milliseconds since the start, or a result code (999999999 none, 100000001 and up a status).
    int32_t time() const { return time_; }
    void time(int32_t value) { time_ = value; }
    int32_t click_time() const { return click_time_; }
    void click_time(int32_t value) { click_time_ = value; }

    // Strictly inside the 25-pixel square around the centre.
    bool Within(float x, float y) const;

    // The circle with the number, and the dotted lane line from the bottom of the circle outwards
    // (to the left when flipped). Text attributes are set on the overlay's own context.
    void Draw_lane(gdi::Device_context* hDC, bool flipped);
    void Do_DrawDCLine_lane(gdi::Device_context* hDC);

private:
    int16_t Lane_number_ = 0;
    int32_t X_ = 0;
    int32_t Y_ = 0;
    int32_t time_ = 0;
    int32_t click_time_ = 0;
    int16_t Field_ = 0;
    Point_Long Pt_From;
    Point_Long Pt_To;
};
