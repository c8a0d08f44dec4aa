#pragma once
// A window, or a rectangle of it, as a picture: the diagnostic windows put their own image on the
// clipboard with it. The picture owns its pixels, so no bitmap or palette handle is left to free.
#include <QImage>

#include <cstdint>

class QWidget;

namespace Module_capture {

// The whole window, caption and border included where the desktop lets them be read; the window's own
// drawing when it cannot (an offscreen run).
QImage Form_Image(QWidget& form);
// A Width x Height rectangle from (Left, Top): of the client area when `client` is true, else of the
// whole window as Form_Image sees it.
QImage Window_Region_Image(QWidget& form, bool client, int32_t left, int32_t top, int32_t width, int32_t height);

}  // namespace Module_capture
