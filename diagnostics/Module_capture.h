#pragma once
// A window, or a rectangle of it, as a picture: the diagnostic windows put their own image on the
// clipboard with it. The picture owns its pixels, so no bitmap handle is left to free. The displays
// here are true-colour, so no palette is ever made.
#include <QImage>

#include <cstdint>
#include <string>

class QWidget;
namespace gdi {
class Bitmap;
}

namespace Module_capture {

// The whole window, caption and border included where the desktop lets them be read; the window's own
// drawing when it cannot (an offscreen run).
QImage Form_Image(QWidget& form);
// A Width x Height rectangle from (Left, Top): of the client area when `client` is true, else of the
// whole window as Form_Image sees it. What lies outside the window is black.
QImage Window_Region_Image(QWidget& form, bool client, int32_t left, int32_t top, int32_t width, int32_t height);
// The bitmap as a picture; the bitmap is handed over and deleted. A null bitmap gives a null picture.
QImage Bitmap_To_Picture(gdi::Bitmap* hBitmap);
// A window's own print command: its client area at its screen size at the top-left of one page of the
// default printer; without a printer a PDF file in the application-data folder, which is named.
// "Printer error" (482) when there is nowhere to print.
void Print_Form(QWidget& form, const std::string& job_name);
// The same for a picture already taken.
void Print_Picture(const QImage& picture, const std::string& job_name);

}  // namespace Module_capture
