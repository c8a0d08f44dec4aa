#pragma once
// Lines, ellipses and rectangles on any device context, each with a pen (and brush) made for the one
// call and removed again, so that the context is left as it was found.
#include "Drawing_types.h"
#include "platform/gdi/Device_context.h"

#include <cstdint>

namespace modAPIDraw {

using gdi::Device_context;

// The result of the line drawing (1 when drawn).
int32_t Draw_Line_With_Pen(Device_context* dc, const Point_Long& from, const Point_Long& to, int32_t pen_style,
                           int32_t pen_width, int32_t pen_colour);
int32_t Draw_Ellipse_With_Pen_Brush(Device_context* dc, const Point_Long& top_left, const Point_Long& bottom_right,
                                    int32_t brush_colour, int32_t brush_hatch, int32_t brush_style, int32_t pen_style,
                                    int32_t pen_width, int32_t pen_colour);
int32_t Draw_Rectangle_With_Pen_Brush(Device_context* dc, const Point_Long& top_left, const Point_Long& bottom_right,
                                      int32_t brush_colour, int32_t brush_hatch, int32_t brush_style,
                                      int32_t pen_style, int32_t pen_width, int32_t pen_colour);

// Makes the brush or pen, selects it and hands back the object it displaced.
gdi::Brush* Select_Brush(Device_context* dc, int32_t colour, int32_t hatch, int32_t style, gdi::Gdi_object*& previous);
gdi::Pen* Select_Pen(Device_context* dc, int32_t style, int32_t width, int32_t colour, gdi::Gdi_object*& previous);
// Selects the previous object back and deletes the new one.
void Restore_Object(Device_context* dc, gdi::Gdi_object* new_object, gdi::Gdi_object* previous);

// A failed line shows the last system error number.
int32_t Draw_Line(Device_context* dc, const Point_Long& from, const Point_Long& to);
int32_t Draw_Ellipse(Device_context* dc, const Point_Long& top_left, const Point_Long& bottom_right);
int32_t Draw_Rectangle(Device_context* dc, const Point_Long& top_left, const Point_Long& bottom_right);

}  // namespace modAPIDraw
