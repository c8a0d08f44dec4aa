#pragma once
// Lines, shapes and text on a device context with its selected pen, brush and font. Coordinates
// count from the top-left corner; drawing outside the surface is clipped.
#include "Device_context.h"

#include <string>

namespace gdi {

// DrawTextA formats.
enum : uint32_t { DT_LEFT = 0, DT_TOP = 0, DT_CENTER = 1, DT_RIGHT = 2, DT_VCENTER = 4, DT_BOTTOM = 8,
                  DT_SINGLELINE = 0x20, DT_NOCLIP = 0x100 };
// The error of the last failed call on this thread (GetLastError).
enum : uint32_t { ERROR_INVALID_HANDLE = 6 };

struct Rect {
    int32_t left = 0, top = 0, right = 0, bottom = 0;
};

uint32_t GetLastError();

bool MoveToEx(Device_context* dc, int32_t x, int32_t y);
// A line from the current position up to, not including, (x, y), which becomes the current position.
// A 1-pixel pen draws its dots (three on, three off) with the background colour in the gaps while the
// background mode is opaque.
bool LineTo(Device_context* dc, int32_t x, int32_t y);
// The box from (left, top) up to, not including, (right, bottom): filled with the brush (none when
// hollow) and outlined with the pen.
bool Rectangle(Device_context* dc, int32_t left, int32_t top, int32_t right, int32_t bottom);
bool Ellipse(Device_context* dc, int32_t left, int32_t top, int32_t right, int32_t bottom);

// Text in the selected font and text colour, on a box of the background colour while the background
// mode is opaque. Lines are broken at CR LF unless DT_SINGLELINE. Returns the height of the text.
int32_t DrawTextA(Device_context* dc, const std::string& text, const Rect& rect, uint32_t format);
// Text with its top-left corner at (x, y).
bool TextOutA(Device_context* dc, int32_t x, int32_t y, const std::string& text);

}  // namespace gdi
