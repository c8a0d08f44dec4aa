#include "Module_capture.h"

#include <QPixmap>
#include <QScreen>
#include <QWidget>

namespace Module_capture {

namespace {

// The frame as the screen shows it; null where the screen cannot be read.
QImage Frame_From_Screen(QWidget& form) {
    QScreen* screen = form.screen();
    if (!screen || !form.isVisible()) return {};
    const QRect frame = form.frameGeometry();
    const QPixmap grabbed = screen->grabWindow(0, frame.x() - screen->geometry().x(),
                                               frame.y() - screen->geometry().y(), frame.width(), frame.height());
    if (grabbed.isNull() || grabbed.size() != frame.size()) return {};
    return grabbed.toImage();
}

}  // namespace

QImage Form_Image(QWidget& form) {
    QImage image = Frame_From_Screen(form);
    if (!image.isNull()) return image;
    return form.grab().toImage();
}

QImage Window_Region_Image(QWidget& form, bool client, int32_t left, int32_t top, int32_t width, int32_t height) {
    if (client) return form.grab(QRect(left, top, width, height)).toImage();
    return Form_Image(form).copy(left, top, width, height);
}

}  // namespace Module_capture
