#include "Module_capture.h"
#include "platform/printer/System_printer.h"
#include "platform/vb/VbError.h"
#include "results/Module_Vantorel_print.h"
#include "shell/Module_Vantorel.h"

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

void Print_Form(QWidget& form, const std::string& job_name) {
    printer::System_printer paper(Module_Vantorel::AppData_Folder);
    paper.Job_Name(job_name);
    if (!printer::Default_Printer_Name().empty()) paper.Page(printer::Default_Page_Size());
    paper.PaintPicture(form.grab().toImage(), 0, 0);
    paper.End_Doc();
    Module_Vantorel::Tell_Pdf_File(paper.Output_File());
}

}  // namespace Module_capture
