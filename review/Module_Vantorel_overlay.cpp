#include "Module_Vantorel_overlay.h"

#include "Module_Vantorel_course.h"
#include "imaging/Vorsk_WuLines.h"
#include "imaging/modAPIDraw.h"
#include "platform/vb/Error_trap.h"
#include "platform/vb/Vb_convert.h"
#include "shell/Module_Vantorel.h"

#include <algorithm>

namespace Module_Vantorel {

namespace {
constexpr int16_t Live_Preview = 1;
}

cDIBSection& Overlay_DIB() {
    static cDIBSection overlay;
    return overlay;
}

void Clear_Graphics() {
    vb::Trap(Is_Compiled, "Clear_Graphics", [] {
        cDIBSection& o = Overlay_DIB();
        if (!o.hDC()) return;
        modAPIDraw::Draw_Rectangle_With_Pen_Brush(o.hDC(), {0, 0}, {o.Width(), o.Height()}, Transparent_Color, 8, 0,
                                                  0, 1, Transparent_Color);
    });
}

void Draw_lanes(bool flipped) {
    vb::Trap(Is_Compiled, "Draw_lanes", [flipped] {
        if (!Draw_Lanemarks || Lane_Collection.empty() || !Overlay_DIB().hDC()) return;
        const size_t count = std::min<size_t>(std::max<int16_t>(Draw_Lane_Count, 0), Lane_Collection.size());
        for (size_t i = 0; i < count; ++i) Lane_Collection[i].Draw_lane(Overlay_DIB().hDC(), flipped);
    });
}

void Draw_Goal_line() {
    vb::Trap(Is_Compiled, "Draw_Goal_line", [] {
        if (!Draw_Goalline || !Overlay_DIB().hDC()) return;
        const Goal_line& g = Run_Mode == Live_Preview ? Setup_Goalline : File_Goalline;
        const Point_Integer from{vb::To_Int16(g.x1), vb::To_Int16(g.y1)};
        const Point_Integer to{vb::To_Int16(g.x2), vb::To_Int16(g.y2)};
        const uint8_t level = Invert_Goalline ? 25 : 255;
        Vorsk_WuLines::Draw_Wu_Line(Overlay_DIB().hDC(), from, to, RGB_Triple{level, level, level}, 2, false);
        Draw_Selection_Boxes();
    });
}

void Draw_Selection_Boxes() {
    vb::Trap(Is_Compiled, "Draw_Selection_Boxes", [] {
        if (Run_Mode != Live_Preview || !Overlay_DIB().hDC()) return;
        constexpr int32_t Blue = 0xFF0000, White = 0xFFFFFF;
        for (auto [x, y] : {std::pair{Setup_Goalline.x1, Setup_Goalline.y1}, {Setup_Goalline.x2, Setup_Goalline.y2}})
            modAPIDraw::Draw_Rectangle_With_Pen_Brush(Overlay_DIB().hDC(), {x - 6, y - 6}, {x - 6 + 12, y - 6 + 12},
                                                      White, 8, 1, 0, 1, Blue);
    });
}

}  // namespace Module_Vantorel
