#include "Printer.h"

#include "platform/fs/File_system.h"
#include "platform/sys/Sys_clock.h"
#include "platform/vb/VbError.h"

#include <QFontMetricsF>
#include <QPainter>
#include <QPrinter>
#include <QPrinterInfo>

#include <cstdio>
#include <filesystem>

namespace printer {

bool Printer_Installed() { return !QPrinterInfo::availablePrinterNames().isEmpty(); }

Printer::Printer(std::string pdf_folder, std::string job_name)
    : pdf_folder_(std::move(pdf_folder)), job_name_(std::move(job_name)) {}

Printer::~Printer() {
    if (painter_) painter_->end();
}

bool Printer::Available() const {
    std::error_code ec;
    return Printer_Installed() || (!pdf_folder_.empty() && std::filesystem::is_directory(pdf_folder_, ec));
}

void Printer::Begin() {
    if (painter_) return;
    if (!Available()) vb::Raise(482, "Printer error");
    printer_ = std::make_unique<QPrinter>(QPrinter::HighResolution);
    printer_->setDocName(QString::fromStdString(job_name_));
    if (!Printer_Installed()) {
        sys::Local_Time t = sys::Get_Local_Time();
        char stamp[32];
        std::snprintf(stamp, sizeof stamp, " %04d%02d%02d-%02d%02d%02d", t.year, t.month, t.day, t.hour,
                      t.minute, t.second);
        // A second document within the same second gets a name of its own instead of replacing the first.
        const std::string base = pdf_folder_ + "/" + fs::Portable_File_Name(job_name_) + stamp;
        output_file_ = base + ".pdf";
        std::error_code ec;
        for (int n = 2; std::filesystem::exists(output_file_, ec); ++n)
            output_file_ = base + " (" + std::to_string(n) + ").pdf";
        printer_->setOutputFormat(QPrinter::PdfFormat);
        printer_->setOutputFileName(QString::fromStdString(output_file_));
    }
    painter_ = std::make_unique<QPainter>();
    if (!painter_->begin(printer_.get())) {
        painter_.reset();
        vb::Raise(482, "Printer error");
    }
    painter_->setFont(font_);
}

double Printer::Px_X(int32_t twips) const { return twips * printer_->logicalDpiX() / 1440.0; }
double Printer::Px_Y(int32_t twips) const { return twips * printer_->logicalDpiY() / 1440.0; }

void Printer::Set_Current_X(int32_t twips) { x_twips_ = twips; }
void Printer::Set_Current_Y(int32_t twips) { y_twips_ = twips; }

void Printer::Set_Font_Size(double points) {
    font_.setPointSizeF(points);
    if (painter_) painter_->setFont(font_);
}

void Printer::Set_Font_Italic(bool italic) {
    font_.setItalic(italic);
    if (painter_) painter_->setFont(font_);
}

void Printer::Print(const std::string& text) {
    Begin();
    QFontMetricsF metrics(font_, printer_.get());
    int32_t line_twips = static_cast<int32_t>(metrics.lineSpacing() * 1440.0 / printer_->logicalDpiY() + 0.5);
    int32_t page_twips = static_cast<int32_t>(printer_->pageRect(QPrinter::DevicePixel).height() * 1440.0 /
                                              printer_->logicalDpiY());
    QString all = QString::fromStdString(text);
    all.replace("\r\n", "\n");
    for (const QString& line : all.split('\n')) {
        if (y_twips_ + line_twips > page_twips && y_twips_ > 0) {
            printer_->newPage();
            y_twips_ = 0;
        }
        painter_->drawText(QPointF(Px_X(x_twips_), Px_Y(y_twips_) + metrics.ascent()), line);
        x_twips_ = 0;
        y_twips_ += line_twips;
    }
}

void Printer::End_Doc() {
    if (!painter_) return;
    painter_->end();
    painter_.reset();
    printer_.reset();
}

}  // namespace printer
