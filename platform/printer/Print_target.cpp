#include "Print_target.h"

#include <QFontMetricsF>
#include <QPainter>
#include <QStringList>

#include <algorithm>
#include <cmath>

namespace printer {

namespace {

QStringList Lines_Of(const std::string& text) { return QString::fromStdString(text).split(QStringLiteral("\r\n")); }

}  // namespace

QColor Colour_Of(int32_t colour) { return QColor(colour & 0xFF, (colour >> 8) & 0xFF, (colour >> 16) & 0xFF); }

Print_target::~Print_target() = default;

QFont Print_target::Font() const {
    QFont font(QString::fromStdString(font_name_));
    if (font_name_.find("Courier") != std::string::npos) font.setStyleHint(QFont::TypeWriter);
    else font.setStyleHint(QFont::SansSerif);
    // A point is 20 twips; the page is drawn in twips, so the font's pixel is a twip.
    font.setPixelSize(std::max(1, static_cast<int>(std::lround(font_size_ * 20.0))));
    font.setBold(font_bold_);
    font.setUnderline(font_underline_);
    // Unhinted, so that text measures the same on every device the page is drawn on.
    font.setHintingPreference(QFont::PreferNoHinting);
    return font;
}

double Print_target::TextWidth(const std::string& text) const {
    const QFontMetricsF metrics(Font());
    double widest = 0;
    for (const QString& line : Lines_Of(text)) widest = std::max(widest, metrics.horizontalAdvance(line));
    return widest;
}

double Print_target::TextHeight(const std::string& text) const {
    return QFontMetricsF(Font()).height() * static_cast<double>(Lines_Of(text).size());
}

void Print_target::Print(const std::string& text) {
    QPainter& painter = Painter();
    const QFont font = Font();
    const QFontMetricsF metrics(font);
    painter.setFont(font);
    painter.setPen(Colour_Of(fore_colour_));
    bool first = true;
    for (const QString& line : Lines_Of(text)) {
        if (!line.isEmpty()) painter.drawText(QPointF(first ? current_x_ : 0.0, current_y_ + metrics.ascent()), line);
        first = false;
        current_y_ += metrics.height();
    }
    current_x_ = 0;
}

void Print_target::Box(double x1, double y1, double x2, double y2) {
    QPainter& painter = Painter();
    QPen pen(Colour_Of(fore_colour_));
    const double width = std::max<int16_t>(1, draw_width_) * twips_per_pixel_;
    pen.setWidthF(width);
    pen.setJoinStyle(Qt::MiterJoin);
    painter.setPen(pen);
    painter.setBrush(Qt::NoBrush);
    // An outline along the page's edge stays whole on the page, as a line of pixels would.
    const double half = width / 2;
    const double left = std::max(std::min(x1, x2), half), top = std::max(std::min(y1, y2), half);
    const double right = std::min(std::max(x1, x2), ScaleWidth() - half);
    const double bottom = std::min(std::max(y1, y2), ScaleHeight() - half);
    painter.drawRect(QRectF(QPointF(left, top), QPointF(std::max(left, right), std::max(top, bottom))));
}

void Print_target::PaintPicture(const QImage& picture, double x, double y) {
    PaintPicture(picture, x, y, picture.width() * twips_per_pixel_, picture.height() * twips_per_pixel_);
}

void Print_target::PaintPicture(const QImage& picture, double x, double y, double width, double height) {
    if (picture.isNull()) return;
    QPainter& painter = Painter();
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    painter.drawImage(QRectF(x, y, width, height), picture);
}

void Print_target::Cls() {
    current_x_ = 0;
    current_y_ = 0;
}

}  // namespace printer
