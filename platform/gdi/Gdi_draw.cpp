#include "Gdi_draw.h"

#include <QFont>
#include <QFontMetrics>
#include <QPainter>
#include <QStringList>
#include <algorithm>
#include <cstdlib>

namespace gdi {

namespace {

thread_local uint32_t last_error = 0;

bool Fail() {
    last_error = ERROR_INVALID_HANDLE;
    return false;
}

QColor Colour(COLORREF c) { return QColor(Red_Of(c), Green_Of(c), Blue_Of(c)); }

// Whether a step of a 1-pixel pen of this style draws, counted from the start of the line.
bool Pen_Draws(int32_t style, int64_t step) {
    switch (style) {
    case PS_DOT: return step % 6 < 3;
    case PS_DASH: return step % 24 < 18;
    default: return true;
    }
}

void Put(Bitmap& surface, int32_t x, int32_t y, COLORREF c) {
    if (x < 0 || y < 0 || x >= surface.Width() || y >= surface.Height()) return;
    uint8_t* p = surface.Line(y) + 3 * static_cast<int64_t>(x);
    p[0] = Blue_Of(c);
    p[1] = Green_Of(c);
    p[2] = Red_Of(c);
}

// Bresenham from (x0, y0) towards (x1, y1), the last point left out. Every step moves one pixel along
// the longer axis; after k steps the walk has moved floor((2 * k * across + along) / (2 * along)) pixels
// across, with ties away from the start. Only the steps whose point is inside the surface along the
// longer axis are visited, so a line reaching far beyond the surface costs no more than the surface's
// size, and the pen's pattern keeps counting from the start of the line.
void Thin_Line(Device_context& dc, Bitmap& surface, int32_t x0, int32_t y0, int32_t x1, int32_t y1) {
    const Pen& pen = *dc.Current_Pen();
    const int64_t dx = std::llabs(static_cast<int64_t>(x1) - x0), dy = std::llabs(static_cast<int64_t>(y1) - y0);
    const bool x_along = dx >= dy;
    const int64_t along = x_along ? dx : dy, across = x_along ? dy : dx;
    const int64_t start = x_along ? x0 : y0, start_across = x_along ? y0 : x0;
    const int64_t step_along = (x_along ? x0 < x1 : y0 < y1) ? 1 : -1;
    const int64_t step_across = (x_along ? y0 < y1 : x0 < x1) ? 1 : -1;
    const int64_t extent = x_along ? surface.Width() : surface.Height();
    int64_t first = 0, last = along - 1;
    if (step_along > 0) {
        first = std::max(first, -start);
        last = std::min(last, extent - 1 - start);
    } else {
        first = std::max(first, start - (extent - 1));
        last = std::min(last, start);
    }
    for (int64_t k = first; k <= last; ++k) {
        const auto moved = static_cast<int64_t>((static_cast<__int128>(2) * k * across + along) / (2 * along));
        const int64_t a = start + step_along * k, b = start_across + step_across * moved;
        const int64_t x = x_along ? a : b, y = x_along ? b : a;
        if (x < 0 || y < 0 || x >= surface.Width() || y >= surface.Height()) continue;
        if (Pen_Draws(pen.style, k))
            Put(surface, static_cast<int32_t>(x), static_cast<int32_t>(y), pen.colour);
        else if (dc.bk_mode == OPAQUE)
            Put(surface, static_cast<int32_t>(x), static_cast<int32_t>(y), dc.bk_colour);
    }
}

QPen Wide_Pen(const Pen& pen) {
    if (pen.style == PS_NULL) return QPen(Qt::NoPen);
    QPen q(Colour(pen.colour), pen.width, pen.style == PS_SOLID ? Qt::SolidLine : pen.style == PS_DOT ? Qt::DotLine : Qt::DashLine,
           Qt::RoundCap, Qt::RoundJoin);
    return q;
}

QFont Font_Of(const Font& font, const QPaintDevice* device) {
    QFont q(QString::fromStdString(font.face.empty() ? std::string("Sans Serif") : font.face));
    int32_t pixels = font.height == 0 ? 13 : std::abs(font.height);
    q.setPixelSize(std::max(1, pixels));
    if (font.height > 0) {
        // A positive height is the whole cell; fit ascent plus descent into it.
        QFontMetrics metrics(q, device);
        if (metrics.height() > pixels) q.setPixelSize(std::max(1, pixels * pixels / metrics.height()));
    }
    q.setWeight(static_cast<QFont::Weight>(std::clamp(font.weight == 0 ? 400 : font.weight, 1, 1000)));
    q.setItalic(font.italic);
    q.setUnderline(font.underline);
    q.setStrikeOut(font.strike_out);
    if (font.width > 0) {
        QFontMetrics metrics(q, device);
        int average = std::max(1, metrics.averageCharWidth());
        q.setStretch(std::clamp(font.width * 100 / average, 1, 4000));
    }
    return q;
}

}  // namespace

uint32_t GetLastError() { return last_error; }

bool MoveToEx(Device_context* dc, int32_t x, int32_t y) {
    if (!dc) return Fail();
    dc->current_x = x;
    dc->current_y = y;
    return true;
}

bool LineTo(Device_context* dc, int32_t x, int32_t y) {
    if (!dc) return Fail();
    const int32_t x0 = dc->current_x, y0 = dc->current_y;
    dc->current_x = x;
    dc->current_y = y;
    Bitmap* surface = dc->Surface();
    const Pen& pen = *dc->Current_Pen();
    if (!surface || pen.style == PS_NULL) return true;
    if (pen.width <= 1) {
        Thin_Line(*dc, *surface, x0, y0, x, y);
        dc->Drawn();
        return true;
    }
    dc->Paint([&](QPainter& p) {
        p.setPen(Wide_Pen(pen));
        p.drawLine(QPointF(x0 + 0.5, y0 + 0.5), QPointF(x + 0.5, y + 0.5));
    });
    return true;
}

bool Rectangle(Device_context* dc, int32_t left, int32_t top, int32_t right, int32_t bottom) {
    if (!dc) return Fail();
    Bitmap* surface = dc->Surface();
    if (!surface) return true;
    if (right < left) std::swap(left, right);
    if (bottom < top) std::swap(top, bottom);
    const Brush& brush = *dc->Current_Brush();
    const Pen& pen = *dc->Current_Pen();
    if (brush.style != BS_HOLLOW) {
        const int32_t x0 = std::max(left, 0), x1 = std::min(right, surface->Width());
        for (int32_t y = std::max(top, 0); y < std::min(bottom, surface->Height()); ++y)
            for (int32_t x = x0; x < x1; ++x) Put(*surface, x, y, brush.colour);
    }
    if (pen.style != PS_NULL && right - left >= 1 && bottom - top >= 1) {
        if (pen.width <= 1) {
            const int32_t r = right - 1, b = bottom - 1;
            Thin_Line(*dc, *surface, left, top, r, top);
            Thin_Line(*dc, *surface, r, top, r, b);
            Thin_Line(*dc, *surface, r, b, left, b);
            Thin_Line(*dc, *surface, left, b, left, top);
            if (r == left || b == top) Put(*surface, r, b, pen.colour);
        } else {
            dc->Paint([&](QPainter& p) {
                QPen q = Wide_Pen(pen);
                q.setJoinStyle(Qt::MiterJoin);
                p.setPen(q);
                p.setBrush(Qt::NoBrush);
                p.drawRect(QRectF(left + 0.5, top + 0.5, right - left - 1, bottom - top - 1));
            });
        }
    }
    dc->Drawn();
    return true;
}

bool Ellipse(Device_context* dc, int32_t left, int32_t top, int32_t right, int32_t bottom) {
    if (!dc) return Fail();
    const Brush& brush = *dc->Current_Brush();
    const Pen& pen = *dc->Current_Pen();
    dc->Paint([&](QPainter& p) {
        p.setPen(Wide_Pen(pen));
        p.setBrush(brush.style == BS_HOLLOW ? QBrush(Qt::NoBrush) : QBrush(Colour(brush.colour)));
        p.drawEllipse(QRectF(left + 0.5, top + 0.5, right - left - 1, bottom - top - 1));
    });
    return true;
}

int32_t DrawTextA(Device_context* dc, const std::string& text, const Rect& rect, uint32_t format) {
    if (!dc) {
        Fail();
        return 0;
    }
    const Font& font = *dc->Current_Font();
    int32_t height = 0;
    dc->Paint([&](QPainter& p) {
        QFont q = Font_Of(font, p.device());
        p.setFont(q);
        QFontMetrics metrics(q, p.device());
        QStringList lines;
        if (format & DT_SINGLELINE)
            lines << QString::fromStdString(text).remove('\r').remove('\n');
        else
            lines = QString::fromStdString(text).split(QStringLiteral("\r\n"));
        const int line_height = metrics.height();
        height = line_height * static_cast<int32_t>(lines.size());
        int y = rect.top;
        if ((format & DT_SINGLELINE) && (format & DT_VCENTER)) y = rect.top + (rect.bottom - rect.top - line_height) / 2;
        else if ((format & DT_SINGLELINE) && (format & DT_BOTTOM)) y = rect.bottom - line_height;
        if (!(format & DT_NOCLIP)) p.setClipRect(QRect(rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top));
        for (const QString& line : lines) {
            const int w = metrics.horizontalAdvance(line);
            int x = rect.left;
            if (format & DT_CENTER) x = rect.left + (rect.right - rect.left - w) / 2;
            else if (format & DT_RIGHT) x = rect.right - w;
            if (dc->bk_mode == OPAQUE) p.fillRect(QRect(x, y, w, line_height), Colour(dc->bk_colour));
            p.setPen(Colour(dc->text_colour));
            p.drawText(QPoint(x, y + metrics.ascent()), line);
            y += line_height;
        }
    });
    return height;
}

bool TextOutA(Device_context* dc, int32_t x, int32_t y, const std::string& text) {
    if (!dc) return Fail();
    const Font& font = *dc->Current_Font();
    dc->Paint([&](QPainter& p) {
        QFont q = Font_Of(font, p.device());
        p.setFont(q);
        QFontMetrics metrics(q, p.device());
        QString line = QString::fromStdString(text);
        p.translate(x, y);
        p.rotate(-font.escapement / 10.0);
        if (dc->bk_mode == OPAQUE)
            p.fillRect(QRect(0, 0, metrics.horizontalAdvance(line), metrics.height()), Colour(dc->bk_colour));
        p.setPen(Colour(dc->text_colour));
        p.drawText(QPoint(0, metrics.ascent()), line);
    });
    return true;
}

}  // namespace gdi
