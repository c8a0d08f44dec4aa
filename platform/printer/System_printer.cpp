#include "System_printer.h"

#include "Pdf_file.h"
#include "platform/vb/VbError.h"

#include <QPageLayout>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>
#include <QPrinter>
#include <QPrinterInfo>

#include <cerrno>
#include <cmath>
#include <filesystem>

namespace printer {

namespace {

constexpr int32_t Err_Printer = 482;

// The page as the printouts measure it, its corner at (0, 0).
void Lay_Out(QPagedPaintDevice& device, Page_size page) {
    device.setPageSize(QPageSize(QSizeF(page.Width / 20.0, page.Height / 20.0), QPageSize::Point, QString(),
                                 QPageSize::ExactMatch));
    device.setPageMargins(QMarginsF(0, 0, 0, 0), QPageLayout::Point);
}

}  // namespace

std::vector<std::string> Printer_Names() {
    std::vector<std::string> names;
    const QString first = QPrinterInfo::defaultPrinterName();
    if (!first.isEmpty()) names.push_back(first.toStdString());
    for (const QString& name : QPrinterInfo::availablePrinterNames())
        if (name != first) names.push_back(name.toStdString());
    return names;
}

std::string Default_Printer_Name() {
    const std::vector<std::string> names = Printer_Names();
    return names.empty() ? std::string() : names.front();
}

Page_size Page_Twips(const QPageSize& page) {
    // From the size as the paper is defined, since Qt's size in points is rounded to whole points.
    double per_unit = 20;
    QSizeF size = page.definitionSize();
    switch (page.definitionUnits()) {
    case QPageSize::Millimeter: per_unit = 1440 / 25.4; break;
    case QPageSize::Inch: per_unit = 1440; break;
    case QPageSize::Point: per_unit = 20; break;
    default: size = page.size(QPageSize::Millimeter), per_unit = 1440 / 25.4; break;
    }
    return {static_cast<int32_t>(std::lround(size.width() * per_unit)),
            static_cast<int32_t>(std::lround(size.height() * per_unit))};
}

Page_size Default_Page_Size() {
    const QString name = QString::fromStdString(Default_Printer_Name());
    if (name.isEmpty()) vb::Raise(Err_Printer, "Printer error");
    const QPrinterInfo info = QPrinterInfo::printerInfo(name);
    return Page_Twips(info.defaultPageSize());
}

System_printer::System_printer(std::string pdf_folder) : pdf_folder_(std::move(pdf_folder)) {}

System_printer::~System_printer() {
    if (painter_) painter_->end();
}

QPainter& System_printer::Painter() {
    if (painter_) return *painter_;
    const std::string printer_name = Default_Printer_Name();
    std::error_code ec;
    if (printer_name.empty() && (pdf_folder_.empty() || !std::filesystem::is_directory(pdf_folder_, ec)))
        vb::Raise(Err_Printer, "Printer error");
    auto painter = std::make_unique<QPainter>();
    if (printer_name.empty()) {
        auto pdf = std::make_unique<Pdf_file>(pdf_folder_, job_name_);
        output_file_ = pdf->Path();
        Lay_Out(pdf->Writer(), page_);
        if (!painter->begin(&pdf->Writer())) vb::Raise(Err_Printer, "Printer error");
        pdf_ = std::move(pdf);
    } else {
        output_file_.clear();
        auto printer = std::make_unique<QPrinter>(QPrinter::HighResolution);
        printer->setDocName(QString::fromStdString(job_name_));
        printer->setCopyCount(copies_);
        printer->setPrinterName(QString::fromStdString(printer_name));
        printer->setFullPage(true);
        Lay_Out(*printer, page_);
        if (!painter->begin(printer.get())) vb::Raise(Err_Printer, "Printer error");
        printer_ = std::move(printer);
    }
    painter->setRenderHint(QPainter::Antialiasing);
    painter->setRenderHint(QPainter::TextAntialiasing);
    const double resolution = pdf_ ? pdf_->Writer().resolution() : printer_->resolution();
    painter->scale(resolution / 1440.0, resolution / 1440.0);
    painter_ = std::move(painter);
    return *painter_;
}

int System_printer::End_Doc() {
    if (!painter_) return 0;
    int error = painter_->end() ? 0 : EIO;
    painter_.reset();
    printer_.reset();
    // Saved only when painted whole.
    if (pdf_ && !error) error = pdf_->Save();
    pdf_.reset();
    Cls();
    return error;
}

void System_printer::Abort_Doc() {
    if (!painter_) return;
    // A PDF document was never saved: dropping it leaves no file.
    if (printer_) printer_->abort();
    painter_->end();
    painter_.reset();
    printer_.reset();
    pdf_.reset();
    output_file_.clear();
    Cls();
}

}  // namespace printer
