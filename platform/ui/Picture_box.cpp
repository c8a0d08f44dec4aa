#include "Picture_box.h"

#include "Key_state.h"
#include "Screen.h"
#include "platform/gdi/Gdi_blit.h"
#include "platform/gdi/Gdi_draw.h"
#include "platform/graphics/Graphics.h"

#include <QFont>
#include <QFontMetrics>
#include <QImage>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPaintEngine>
#include <QPainter>
#include <QStringList>
#include <algorithm>
#include <cmath>

namespace ui {

namespace {

int16_t Button_Of(Qt::MouseButtons buttons) {
    int16_t b = 0;
    if (buttons & Qt::LeftButton) b |= 1;
    if (buttons & Qt::RightButton) b |= 2;
    if (buttons & Qt::MiddleButton) b |= 4;
    return b;
}

}  // namespace

Picture_box::Picture_box(QWidget* parent)
    : QWidget(parent), dc_(new gdi::Device_context(gdi::Device_context::Kind::window)) {
    setAttribute(Qt::WA_OpaquePaintEvent);
    setFocusPolicy(Qt::StrongFocus);
    Follow_Size();
    Make_Font();
}

Picture_box::~Picture_box() {
    delete dc_;
    delete backing_;
    gdi::DeleteObject(font_);
}

void Picture_box::Make_Backing(int32_t w, int32_t h) {
    // What was drawn stays where it was (anchored top-left); new area takes the background colour.
    gdi::Bitmap* fresh = gdi::Bitmap::Create(w, h);
    if (!fresh) return;
    Fill(*fresh);
    dc_->Settle_Deferred();  // a picture left for the paint stays, drawn into the old bitmap
    if (backing_)
        gdi::Stretch_Pixels(*fresh, 0, 0, backing_->Width(), backing_->Height(), gdi::View_Of(*backing_), 0, 0,
                            backing_->Width(), backing_->Height());
    dc_->Set_Window_Surface(fresh, [this] { update(); });
    delete backing_;
    backing_ = fresh;
}

void Picture_box::Fill(gdi::Bitmap& bitmap) const {
    const auto colour = static_cast<gdi::COLORREF>(back_colour_);
    for (int32_t y = 0; y < bitmap.Height(); ++y) {
        uint8_t* p = bitmap.Line(y);
        for (int32_t x = 0; x < bitmap.Width(); ++x, p += 3) {
            p[0] = gdi::Blue_Of(colour);
            p[1] = gdi::Green_Of(colour);
            p[2] = gdi::Red_Of(colour);
        }
    }
    if (picture_.isNull()) return;
    QImage view(bitmap.Bits(), bitmap.Width(), bitmap.Height(), bitmap.Stride(), QImage::Format_BGR888);
    QPainter painter(&view);
    painter.setTransform(QTransform(1, 0, 0, -1, 0, bitmap.Height()));
    painter.drawImage(0, 0, picture_);
}

gdi::Device_context* Picture_box::hDC() {
    Follow_Size();
    return dc_;
}

void Picture_box::Follow_Size() {
    const int32_t w = std::max(1, width()), h = std::max(1, height());
    if (!backing_ || backing_->Width() != w || backing_->Height() != h) Make_Backing(w, h);
}

void Picture_box::BackColor(int32_t colour) {
    back_colour_ = colour & 0xFFFFFF;
    Cls();
}

void Picture_box::Cls() {
    current_x_ = 0;
    current_y_ = 0;
    Follow_Size();
    if (!backing_) return;
    dc_->Drop_Deferred();
    Fill(*backing_);
    update();
}

void Picture_box::Refresh() { update(); }

void Picture_box::Picture(const QImage& picture) {
    picture_ = picture;
    Follow_Size();
    if (!backing_) return;
    dc_->Drop_Deferred();
    Fill(*backing_);
    update();
}

void Picture_box::FontName(const std::string& name) {
    font_name_ = name;
    Make_Font();
}

void Picture_box::FontSize(float points) {
    font_size_ = points;
    Make_Font();
}

void Picture_box::FontBold(bool bold) {
    font_bold_ = bold;
    Make_Font();
}

void Picture_box::Make_Font() {
    // The character height in pixels at the screen's resolution, as a font of that many points has.
    const double dots_per_inch = 1440.0 / Twips_Per_Pixel_Y();
    const auto pixels = static_cast<int32_t>(std::max(1.0, std::round(font_size_ * dots_per_inch / 72.0)));
    gdi::Font* previous = font_;
    font_ = gdi::CreateFontA(-pixels, 0, 0, 0, font_bold_ ? 700 : 400, false, false, false, 0, 0, 0, 0, 0, font_name_);
    gdi::SelectObject(dc_, font_);
    gdi::DeleteObject(previous);
}

namespace {

// Measures as the context's text drawing maps the box's font: the face at its character height in pixels.
QFontMetrics Metrics_Of(const gdi::Font& font) {
    QFont q(QString::fromStdString(font.face));
    q.setPixelSize(std::max(1, std::abs(font.height)));
    q.setWeight(static_cast<QFont::Weight>(std::clamp(font.weight, 1, 1000)));
    static const QImage surface(1, 1, QImage::Format_BGR888);
    return QFontMetrics(q, &surface);
}

QStringList Lines_Of(const std::string& text) { return QString::fromStdString(text).split(QStringLiteral("\r\n")); }

}  // namespace

double Picture_box::TextWidth(const std::string& text) const {
    const QFontMetrics metrics = Metrics_Of(*font_);
    int widest = 0;
    for (const QString& line : Lines_Of(text)) widest = std::max(widest, metrics.horizontalAdvance(line));
    return widest;
}

double Picture_box::TextHeight(const std::string& text) const {
    return static_cast<double>(Metrics_Of(*font_).height()) * static_cast<double>(Lines_Of(text).size());
}

void Picture_box::Print(const std::string& text) {
    gdi::Device_context* dc = hDC();
    // The box's own font over the background as it is, whatever the caller left in the context.
    gdi::Gdi_object* caller_font = gdi::SelectObject(dc, font_);
    const int32_t caller_mode = gdi::SetBkMode(dc, gdi::TRANSPARENT);
    const int line_height = Metrics_Of(*font_).height();
    bool first = true;
    for (const QString& line : Lines_Of(text)) {
        if (!line.isEmpty())
            gdi::TextOutA(dc, static_cast<int32_t>(std::lround(first ? current_x_ : 0.0)),
                          static_cast<int32_t>(std::lround(current_y_)), line.toStdString());
        first = false;
        current_y_ += line_height;
    }
    current_x_ = 0;
    gdi::SetBkMode(dc, caller_mode);
    gdi::SelectObject(dc, caller_font);
}

void Picture_box::paintEvent(QPaintEvent* event) {
    Follow_Size();
    if (!backing_) return;
    const int32_t w = backing_->Width(), h = backing_->Height();
    QPainter painter(this);
    // The raster engine paints into an image of the screen's 32-bit format: at one device pixel a pixel the
    // rows are widened straight into it, where a picture of our own would be widened and then copied.
    QPaintEngine* engine = painter.paintEngine();
    QPaintDevice* device = engine ? engine->paintDevice() : nullptr;
    auto* image = device && device->devType() == QInternal::Image ? static_cast<QImage*>(device) : nullptr;
    const QTransform place = painter.deviceTransform();
    if (image && (image->format() == QImage::Format_RGB32 || image->format() == QImage::Format_ARGB32_Premultiplied) &&
        image->devicePixelRatio() == 1.0 && place.type() <= QTransform::TxTranslate) {
        const QPoint offset(static_cast<int>(place.dx()), static_cast<int>(place.dy()));
        const QRect box(0, 0, w, h);
        if (dc_->Deferred_Pending() && event->region().contains(box) && image->rect().contains(box.translated(offset))) {
            // A picture left for the paint is drawn once, into the screen's lines, and kept for whoever reads
            // the bitmap later.
            const gdi::Rows_target lines{image->scanLine(offset.y()) + 4 * static_cast<int64_t>(offset.x()),
                                         image->bytesPerLine(), w, h, 4};
            if (const auto deferral = dc_->Deferred().lock()) deferral->Draw(lines);
            return;
        }
        dc_->Settle_Deferred();
        for (const QRect& part : event->region()) {
            // Only what the event asks for: the rest of the image may be another widget's.
            const QRect rows = part & QRect(0, 0, w, h) & image->rect().translated(-offset);
            for (int32_t y = rows.top(); y <= rows.bottom(); ++y)
                graphics::Widen_Row(backing_->Line(y) + 3 * rows.left(),
                                    reinterpret_cast<uint32_t*>(image->scanLine(y + offset.y())) + offset.x() + rows.left(),
                                    rows.width());
        }
        return;
    }
    dc_->Settle_Deferred();
    if (screen_.width() != w || screen_.height() != h) screen_ = QImage(w, h, QImage::Format_RGB32);
    // Only the rows asked for: turned top-down and widened to the screen's own 32-bit format, which
    // Qt paints as a plain copy, where a flipped 24-bit picture takes it many times as long.
    const QRect rows = event->rect() & QRect(0, 0, w, h);
    for (int32_t y = rows.top(); y <= rows.bottom(); ++y)
        graphics::Widen_Row(backing_->Line(y), reinterpret_cast<uint32_t*>(screen_.scanLine(y)), w);
    painter.drawImage(rows.topLeft(), screen_, rows);
}

void Picture_box::resizeEvent(QResizeEvent*) { Follow_Size(); }

void Picture_box::mousePressEvent(QMouseEvent* event) {
    if (MouseDown) MouseDown(Button_Of(event->button()), Shift_Of(event->modifiers()), event->position().x(), event->position().y());
}

void Picture_box::mouseMoveEvent(QMouseEvent* event) {
    if (MouseMove) MouseMove(Button_Of(event->buttons()), Shift_Of(event->modifiers()), event->position().x(), event->position().y());
}

void Picture_box::mouseReleaseEvent(QMouseEvent* event) {
    if (MouseUp) MouseUp(Button_Of(event->button()), Shift_Of(event->modifiers()), event->position().x(), event->position().y());
    if (Click && rect().contains(event->position().toPoint())) Click();
}

void Picture_box::mouseDoubleClickEvent(QMouseEvent*) {
    if (DblClick) DblClick();
}

void Picture_box::keyPressEvent(QKeyEvent* event) {
    if (KeyDown) KeyDown(Key_Code_Of(*event), Shift_Of(event->modifiers()));
    const QString text = event->text();
    if (KeyPress && text.size() == 1 && text[0].unicode() < 256) KeyPress(static_cast<int16_t>(text[0].unicode()));
}

void Picture_box::keyReleaseEvent(QKeyEvent* event) {
    if (KeyUp) KeyUp(Key_Code_Of(*event), Shift_Of(event->modifiers()));
}

}  // namespace ui
