#include "Picture_box.h"

#include "Key_state.h"
#include "platform/gdi/Gdi_blit.h"

#include <QImage>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <algorithm>

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
}

Picture_box::~Picture_box() {
    delete dc_;
    delete backing_;
}

void Picture_box::Make_Backing(int32_t w, int32_t h) {
    // What was drawn stays where it was (anchored top-left); new area takes the background colour.
    gdi::Bitmap* fresh = gdi::Bitmap::Create(w, h);
    if (!fresh) return;
    Fill(*fresh);
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
    Follow_Size();
    if (!backing_) return;
    Fill(*backing_);
    update();
}

void Picture_box::Refresh() { repaint(); }

void Picture_box::paintEvent(QPaintEvent*) {
    Follow_Size();
    if (!backing_) return;
    QImage image(backing_->Bits(), backing_->Width(), backing_->Height(), backing_->Stride(), QImage::Format_BGR888);
    QPainter painter(this);
    painter.setTransform(QTransform(1, 0, 0, -1, 0, backing_->Height()));
    painter.drawImage(0, 0, image);
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
