#pragma once
// A straight line of a given thickness whose two edges are anti-aliased (Xiaolin Wu), drawn pixel by
// pixel into a device context: each edge pixel is blended with what is already there by its coverage.
#include "Drawing_types.h"
#include "platform/gdi/Device_context.h"

#include <cstdint>

namespace Vorsk_WuLines {

// Coordinates and sums are 16-bit: one that overflows raises error 6 and ends the line there. Only a
// line stepping along y is dashed (9 rows drawn, then 11 skipped and 10 drawn in turn).
void Draw_Wu_Line(gdi::Device_context* dc, const Point_Integer& from, const Point_Integer& to,
                  const RGB_Triple& colour, int16_t width, bool dashed);

int32_t Triple_To_Colour(const RGB_Triple& colour);
RGB_Triple Colour_To_Triple(int32_t colour);
// (1 - weight) x line + weight x pixel, channel by channel.
RGB_Triple Blend_Triple(const RGB_Triple& line, const RGB_Triple& pixel, float weight);
uint8_t Blend_Byte(uint8_t line, uint8_t pixel, float weight);

}  // namespace Vorsk_WuLines
