#include "Module_capture.h"
#include "platform/gdi/Gdi_objects.h"
#include "platform/printer/System_printer.h"
#include "platform/vb/VbError.h"
#include "results/Module_Vantorel_print.h"
#include "shell/Module_Vantorel.h"

#include <QPixmap>
#include <QScreen>
#include <QWidget>

#include <algorithm>
#include <cstring>

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

QImage Whole_Window(QWidget& form) {
    QImage image = Frame_From_Screen(form);
    return image.isNull() ? form.grab().toImage() : image;
}

// The rectangle copied into a bitmap of its own, which becomes the picture.
QImage Region_Of(const QImage& source, int32_t left, int32_t top, int32_t width, int32_t height) {
    gdi::Bitmap* bitmap = gdi::Bitmap::Create(width, height);
    if (!bitmap) return {};
    const QImage rows = source.convertToFormat(QImage::Format_BGR888);
    const int32_t x0 = std::max(left, 0), x1 = std::min(left + width, static_cast<int32_t>(rows.width()));
    for (int32_t y = std::max(top, 0); y < std::min(top + height, static_cast<int32_t>(rows.height())) && x0 < x1; ++y)
        std::memcpy(bitmap->Line(y - top) + static_cast<int64_t>(x0 - left) * 3, rows.constScanLine(y) + int64_t{x0} * 3,
                    static_cast<size_t>(x1 - x0) * 3);
    return Bitmap_To_Picture(bitmap);
}

}  // namespace

QImage Form_Image(QWidget& form) {
    const QImage whole = Whole_Window(form);
    return Region_Of(whole, 0, 0, whole.width(), whole.height());
}

QImage Window_Region_Image(QWidget& form, bool client, int32_t left, int32_t top, int32_t width, int32_t height) {
    return Region_Of(client ? form.grab().toImage() : Whole_Window(form), left, top, width, height);
}

QImage Bitmap_To_Picture(gdi::Bitmap* hBitmap) {
    if (!hBitmap) return {};
    const QImage view(hBitmap->Bits(), hBitmap->Width(), hBitmap->Height(), hBitmap->Stride(), QImage::Format_BGR888);
    QImage picture = view.mirrored(false, true);  // a copy, top row first
    gdi::DeleteObject(hBitmap);
    return picture;
}

void Print_Form(QWidget& form, const std::string& job_name) { Print_Picture(form.grab().toImage(), job_name); }

void Print_Picture(const QImage& picture, const std::string& job_name) {
    printer::System_printer paper(Module_Vantorel::AppData_Folder);
    paper.Job_Name(job_name);
    if (!printer::Default_Printer_Name().empty()) paper.Page(printer::Default_Page_Size());
    paper.PaintPicture(picture, 0, 0);
    if (int error = paper.End_Doc()) Module_Vantorel::Tell_Print_Failure(paper.Output_File(), error);
    else Module_Vantorel::Tell_Pdf_File(paper.Output_File());
}

}  // namespace Module_capture
