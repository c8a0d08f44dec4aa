#include "Module_Vantorel_overlay.h"

#include "Module_Vantorel_course.h"
#include "imaging/Vorsk_WuLines.h"
#include "imaging/modAPIDraw.h"
#include "platform/vb/Error_trap.h"
#include "platform/vb/Vb_convert.h"
#include "shell/Module_Vantorel.h"

#include <algorithm>
#include <memory>
#include <vector>
#include "platform/vb/Program_state.h"

namespace Module_Vantorel {

namespace {
constexpr int16_t Live_Preview = 1;

// The overlay's pixels that are not transparent, as runs [first, last) of columns, row by row from the top.
struct Overlay_runs {
    struct Run {
        int32_t first;
        int32_t last;
    };
    bool changed = true;
    const uint8_t* bits = nullptr;
    int32_t width = 0;
    int32_t height = 0;
    std::vector<Run> runs;
    std::vector<size_t> row_start;  // runs of row y: row_start[y] up to row_start[y + 1]
    std::vector<int32_t> columns;   // the source column of each destination column, kept between blits
    // For the destination width `mapped_width`: the destination columns [first, last) of each run.
    int32_t mapped_width = -1;
    std::vector<Run> mapped;
    // The pixels of the destination rows [0, spans_rows) at the height `spans_height`, with their colours.
    // Shared with the pictures left for a paint, which keep them whatever the overlay becomes.
    struct Span {
        int32_t line, first, last;
    };
    struct Spans {
        std::vector<Span> spans;
        std::vector<uint8_t> colours;
    };
    std::shared_ptr<const Spans> spans;
    int32_t spans_height = -1, spans_rows = -1;
};

Overlay_runs& Runs() {
    static Overlay_runs runs;
    return runs;
}

void Record_Runs(const cDIBSection& overlay) {
    Overlay_runs& r = Runs();
    const auto t = static_cast<gdi::COLORREF>(Transparent_Color);
    const uint8_t blue = gdi::Blue_Of(t), green = gdi::Green_Of(t), red = gdi::Red_Of(t);
    r.bits = overlay.DIBSectionBitsPtr();
    r.width = overlay.Width();
    r.height = overlay.Height();
    r.runs.clear();
    r.row_start.assign(1, 0);
    for (int32_t y = 0; y < r.height; ++y) {
        const uint8_t* row = r.bits + static_cast<size_t>(r.height - 1 - y) * overlay.BytesPerScanLine();
        int32_t x = 0;
        while (x < r.width) {
            while (x < r.width && row[3 * x] == blue && row[3 * x + 1] == green && row[3 * x + 2] == red) ++x;
            const int32_t first = x;
            while (x < r.width && !(row[3 * x] == blue && row[3 * x + 1] == green && row[3 * x + 2] == red)) ++x;
            if (first < x) r.runs.push_back({first, x});
        }
        r.row_start.push_back(r.runs.size());
    }
    r.changed = false;
    r.mapped_width = -1;
}

}  // namespace

cDIBSection& Overlay_DIB() {
    static cDIBSection overlay;
    return overlay;
}

void Clear_Graphics() {
    vb::Trap(Is_Compiled, "Clear_Graphics", [] {
        cDIBSection& o = Overlay_DIB();
        Overlay_Changed();
        if (!o.hDC()) return;
        modAPIDraw::Draw_Rectangle_With_Pen_Brush(o.hDC(), {0, 0}, {o.Width(), o.Height()}, Transparent_Color, 8, 0,
                                                  0, 1, Transparent_Color);
    });
}

void Draw_lanes(bool flipped) {
    vb::Trap(Is_Compiled, "Draw_lanes", [flipped] {
        Overlay_Changed();
        if (!Draw_Lanemarks || Lane_Collection.empty() || !Overlay_DIB().hDC()) return;
        const size_t count = std::min<size_t>(std::max<int16_t>(Draw_Lane_Count, 0), Lane_Collection.size());
        for (size_t i = 0; i < count; ++i) Lane_Collection[i].Draw_lane(Overlay_DIB().hDC(), flipped);
    });
}

void Draw_Goal_line() {
    vb::Trap(Is_Compiled, "Draw_Goal_line", [] {
        Overlay_Changed();
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
        Overlay_Changed();
        if (Run_Mode != Live_Preview || !Overlay_DIB().hDC()) return;
        constexpr int32_t Blue = 0xFF0000, White = 0xFFFFFF;
        for (auto [x, y] : {std::pair{Setup_Goalline.x1, Setup_Goalline.y1}, {Setup_Goalline.x2, Setup_Goalline.y2}})
            modAPIDraw::Draw_Rectangle_With_Pen_Brush(Overlay_DIB().hDC(), {x - 6, y - 6}, {x - 6 + 12, y - 6 + 12},
                                                      White, 8, 1, 0, 1, Blue);
    });
}

void Overlay_Changed() { Runs().changed = true; }

void Blit_Overlay(gdi::Device_context* destination, int32_t width, int32_t height) {
    const cDIBSection& overlay = Overlay_DIB();
    const gdi::Bitmap* to = destination ? destination->Surface_For_Size() : nullptr;
    const int32_t ow = overlay.Width(), oh = overlay.Height();
    if (!to || !overlay.hDC() || width <= 0 || height <= 0 || ow <= 0 || oh <= 0) return;
    Overlay_runs& r = Runs();
    if (r.changed || r.bits != overlay.DIBSectionBitsPtr() || r.width != ow || r.height != oh) Record_Runs(overlay);
    // The same pixel choice as a stretched copy: the source pixel under each destination pixel's centre.
    const int32_t x_end = std::min(width, to->Width()), y_end = std::min(height, to->Height());
    if (r.mapped_width != width || r.columns.size() != static_cast<size_t>(std::max(x_end, 0))) {
        r.columns.resize(static_cast<size_t>(std::max(x_end, 0)));
        for (int32_t i = 0; i < x_end; ++i)
            r.columns[i] = static_cast<int32_t>((2 * static_cast<int64_t>(i) + 1) * ow / (2 * static_cast<int64_t>(width)));
        // Destination columns whose source column falls in each run; the columns only grow.
        r.mapped.resize(r.runs.size());
        for (size_t k = 0; k < r.runs.size(); ++k) {
            const auto first = std::lower_bound(r.columns.begin(), r.columns.end(), r.runs[k].first);
            const auto last = std::lower_bound(first, r.columns.end(), r.runs[k].last);
            r.mapped[k] = {static_cast<int32_t>(first - r.columns.begin()), static_cast<int32_t>(last - r.columns.begin())};
        }
        r.mapped_width = width;
        r.spans.reset();
    }
    if (!r.spans || r.spans_height != height || r.spans_rows != y_end) {
        auto made = std::make_shared<Overlay_runs::Spans>();
        const uint8_t* bits = overlay.DIBSectionBitsPtr();
        const int32_t stride = overlay.BytesPerScanLine();
        for (int32_t j = 0; j < y_end; ++j) {
            const auto src_y =
                static_cast<int32_t>((2 * static_cast<int64_t>(j) + 1) * oh / (2 * static_cast<int64_t>(height)));
            const uint8_t* src_row = bits + static_cast<size_t>(oh - 1 - src_y) * stride;
            for (size_t k = r.row_start[src_y]; k < r.row_start[src_y + 1]; ++k) {
                if (r.mapped[k].first >= r.mapped[k].last) continue;
                made->spans.push_back({j, r.mapped[k].first, r.mapped[k].last});
                for (int32_t i = r.mapped[k].first; i < r.mapped[k].last; ++i)
                    made->colours.insert(made->colours.end(), src_row + 3 * static_cast<size_t>(r.columns[i]),
                                         src_row + 3 * static_cast<size_t>(r.columns[i]) + 3);
            }
        }
        r.spans = std::move(made);
        r.spans_height = height;
        r.spans_rows = y_end;
    }
    destination->Defer_Over([shown = r.spans](const gdi::Rows_target& lines) {
        const uint8_t* colour = shown->colours.data();
        for (const Overlay_runs::Span& span : shown->spans) {
            uint8_t* d = lines.Line(span.line) + static_cast<int64_t>(span.first) * lines.pixel_bytes;
            for (int32_t i = span.first; i < span.last; ++i, colour += 3, d += lines.pixel_bytes) {
                d[0] = colour[0];
                d[1] = colour[1];
                d[2] = colour[2];
            }
        }
    });
}

}  // namespace Module_Vantorel

namespace Module_Vantorel {

bool Draw_Goalline = false;
bool Draw_Lanemarks = false;
bool Invert_Goalline = false;
int16_t Draw_Lane_Count = 0;

namespace {
// What a new process starts with.
[[maybe_unused]] const bool state_reset = vb::On_Program_Reset([] {
    Draw_Goalline = false;
    Draw_Lanemarks = false;
    Invert_Goalline = false;
    Draw_Lane_Count = 0;
});
}  // namespace

}  // namespace Module_Vantorel
