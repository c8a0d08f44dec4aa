#include "modAPIDraw.h"

#include "platform/gdi/Gdi_draw.h"
#include "platform/ui/Dialog_service.h"

#include <string>

namespace modAPIDraw {

namespace {
gdi::COLORREF Colour(int32_t value) { return static_cast<gdi::COLORREF>(value); }
}  // namespace

gdi::Brush* Select_Brush(Device_context* dc, int32_t colour, int32_t hatch, int32_t style, gdi::Gdi_object*& previous) {
    gdi::Brush* brush = gdi::CreateBrushIndirect(style, Colour(colour), hatch);
    previous = gdi::SelectObject(dc, brush);
    return brush;
}

gdi::Pen* Select_Pen(Device_context* dc, int32_t style, int32_t width, int32_t colour, gdi::Gdi_object*& previous) {
    gdi::Pen* pen = gdi::CreatePen(style, width, Colour(colour));
    previous = gdi::SelectObject(dc, pen);
    return pen;
}

void Restore_Object(Device_context* dc, gdi::Gdi_object* new_object, gdi::Gdi_object* previous) {
    gdi::SelectObject(dc, previous);
    gdi::DeleteObject(new_object);
}

int32_t Draw_Line(Device_context* dc, const Point_Long& from, const Point_Long& to) {
    gdi::MoveToEx(dc, from.X, from.Y);
    int32_t result = gdi::LineTo(dc, to.X, to.Y) ? 1 : 0;
    if (result != 1) ui::MsgBox(std::to_string(gdi::GetLastError()));
    return result;
}

int32_t Draw_Ellipse(Device_context* dc, const Point_Long& top_left, const Point_Long& bottom_right) {
    return gdi::Ellipse(dc, top_left.X, top_left.Y, bottom_right.X, bottom_right.Y) ? 1 : 0;
}

int32_t Draw_Rectangle(Device_context* dc, const Point_Long& top_left, const Point_Long& bottom_right) {
    return gdi::Rectangle(dc, top_left.X, top_left.Y, bottom_right.X, bottom_right.Y) ? 1 : 0;
}

int32_t Draw_Line_With_Pen(Device_context* dc, const Point_Long& from, const Point_Long& to, int32_t pen_style,
                           int32_t pen_width, int32_t pen_colour) {
    gdi::Gdi_object* previous_pen = nullptr;
    gdi::Pen* pen = Select_Pen(dc, pen_style, pen_width, pen_colour, previous_pen);
    int32_t result = Draw_Line(dc, from, to);
    Restore_Object(dc, pen, previous_pen);
    return result;
}

namespace {
template <class Shape>
int32_t With_Pen_And_Brush(Device_context* dc, int32_t brush_colour, int32_t brush_hatch, int32_t brush_style,
                           int32_t pen_style, int32_t pen_width, int32_t pen_colour, Shape shape) {
    gdi::Gdi_object* previous_brush = nullptr;
    gdi::Gdi_object* previous_pen = nullptr;
    gdi::Brush* brush = Select_Brush(dc, brush_colour, brush_hatch, brush_style, previous_brush);
    gdi::Pen* pen = Select_Pen(dc, pen_style, pen_width, pen_colour, previous_pen);
    int32_t result = shape();
    Restore_Object(dc, brush, previous_brush);
    Restore_Object(dc, pen, previous_pen);
    return result;
}
}  // namespace

int32_t Draw_Ellipse_With_Pen_Brush(Device_context* dc, const Point_Long& top_left, const Point_Long& bottom_right,
                                    int32_t brush_colour, int32_t brush_hatch, int32_t brush_style, int32_t pen_style,
                                    int32_t pen_width, int32_t pen_colour) {
    return With_Pen_And_Brush(dc, brush_colour, brush_hatch, brush_style, pen_style, pen_width, pen_colour,
                              [&] { return Draw_Ellipse(dc, top_left, bottom_right); });
}

int32_t Draw_Rectangle_With_Pen_Brush(Device_context* dc, const Point_Long& top_left, const Point_Long& bottom_right,
                                      int32_t brush_colour, int32_t brush_hatch, int32_t brush_style,
                                      int32_t pen_style, int32_t pen_width, int32_t pen_colour) {
    return With_Pen_And_Brush(dc, brush_colour, brush_hatch, brush_style, pen_style, pen_width, pen_colour,
                              [&] { return Draw_Rectangle(dc, top_left, bottom_right); });
}

}  // namespace modAPIDraw
