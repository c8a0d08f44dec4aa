#include "Printer.h"

#include "Pdf_file.h"
#include "platform/vb/VbError.h"

#include <QFontMetricsF>
#include <QPageLayout>
#include <QPainter>
#include <QPdfWriter>
#include <QPrinter>
#include <QPrinterInfo>

#include <cerrno>
#include <cstring>
#include <filesystem>

namespace printer {

bool Printer_Installed() { return !QPrinterInfo::availablePrinterNames().isEmpty(); }

std::string Print_Failure_Text(const std::string& file, int error) {
    return (file.empty() ? std::string("The printout could not be printed: ")
                         : "The printout could not be saved as " + file + ": ") +
           std::strerror(error);
}

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
    painter_ = std::make_unique<QPainter>();
    if (Printer_Installed()) {
        printer_ = std::make_unique<QPrinter>(QPrinter::HighResolution);
        printer_->setDocName(QString::fromStdString(job_name_));
        output_file_.clear();
        page_ = printer_.get();
    } else {
        pdf_ = std::make_unique<Pdf_file>(pdf_folder_, job_name_);
        output_file_ = pdf_->Path();
        // The page a PDF printer would have given it.
        QPrinter reference(QPrinter::HighResolution);
        reference.setOutputFormat(QPrinter::PdfFormat);
        pdf_->Writer().setPageLayout(reference.pageLayout());
        page_ = &pdf_->Writer();
    }
    if (!painter_->begin(page_)) {
        painter_.reset();
        vb::Raise(482, "Printer error");
    }
    painter_->setFont(font_);
}

double Printer::Px_X(int32_t twips) const { return twips * page_->logicalDpiX() / 1440.0; }
double Printer::Px_Y(int32_t twips) const { return twips * page_->logicalDpiY() / 1440.0; }

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
    QFontMetricsF metrics(font_, page_);
    int32_t line_twips = static_cast<int32_t>(metrics.lineSpacing() * 1440.0 / page_->logicalDpiY() + 0.5);
    int32_t page_twips = static_cast<int32_t>(
        page_->pageLayout().paintRectPixels(page_->logicalDpiY()).height() * 1440.0 / page_->logicalDpiY());
    QString all = QString::fromStdString(text);
    all.replace("\r\n", "\n");
    for (const QString& line : all.split('\n')) {
        if (y_twips_ + line_twips > page_twips && y_twips_ > 0) {
            page_->newPage();
            y_twips_ = 0;
        }
        painter_->drawText(QPointF(Px_X(x_twips_), Px_Y(y_twips_) + metrics.ascent()), line);
        x_twips_ = 0;
        y_twips_ += line_twips;
    }
}

int Printer::End_Doc() {
    if (!painter_) return 0;
    int error = painter_->end() ? 0 : EIO;
    painter_.reset();
    // Saved only when painted whole.
    if (pdf_ && !error) error = pdf_->Save();
    pdf_.reset();
    printer_.reset();
    page_ = nullptr;
    return error;
}

}  // namespace printer
