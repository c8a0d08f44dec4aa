#include "Form_LCS_preview.h"

#include "Module_Vantorel_print.h"
#include "platform/ui/Screen.h"
#include "platform/vb/Vb_convert.h"

#include <QGuiApplication>
#include <QPainter>
#include <QScreen>

using namespace Module_Vantorel;

Form_LCS_preview::Form_LCS_preview() : ui::Form("Form_LCS_preview") {
    Set_Caption("Printer preview");
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void Form_LCS_preview::Form_Load() {
    Move(0, 0);
    const QScreen* screen = QGuiApplication::primaryScreen();
    const int32_t work_bottom = screen ? screen->availableGeometry().bottom() + 1 : 0;
    const int32_t work_height = vb::CLng(static_cast<double>(work_bottom) * ui::Twips_Per_Pixel_Y());
    const printer::Page_size size = Preview_Window_Size({Printer_Width, Printer_Height}, work_height);
    Move(0, 0, size.Width, size.Height);
}

void Form_LCS_preview::Clear_Page() {
    page_ = QImage();
    update();
}

void Form_LCS_preview::Show_Page(const QImage& page) {
    page_ = page;
    update();
}

void Form_LCS_preview::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    if (page_.isNull()) {
        painter.fillRect(rect(), palette().color(QPalette::Window));
        return;
    }
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    painter.drawImage(rect(), page_);
}
