#include "System_printer.h"

#include "platform/fs/File_system.h"
#include "platform/sys/Sys_clock.h"
#include "platform/vb/VbError.h"

#include <QPageLayout>
#include <QPageSize>
#include <QPainter>
#include <QPrinter>
#include <QPrinterInfo>

#include <cmath>
#include <cstdio>
#include <filesystem>

namespace printer {

namespace {

constexpr int32_t Err_Printer = 482;

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
    auto printer = std::make_unique<QPrinter>(QPrinter::HighResolution);
    printer->setDocName(QString::fromStdString(job_name_));
    printer->setCopyCount(copies_);
    if (printer_name.empty()) {
        const sys::Local_Time t = sys::Get_Local_Time();
        char stamp[32];
        std::snprintf(stamp, sizeof stamp, " %04d%02d%02d-%02d%02d%02d", t.year, t.month, t.day, t.hour, t.minute,
                      t.second);
        // A second document within the same second gets a name of its own instead of replacing the first.
        const std::string base = pdf_folder_ + "/" + fs::Portable_File_Name(job_name_) + stamp;
        output_file_ = base + ".pdf";
        for (int n = 2; std::filesystem::exists(output_file_, ec); ++n) output_file_ = base + " (" + std::to_string(n) + ").pdf";
        printer->setOutputFormat(QPrinter::PdfFormat);
        printer->setOutputFileName(QString::fromStdString(output_file_));
    } else {
        output_file_.clear();
        printer->setPrinterName(QString::fromStdString(printer_name));
    }
    // The page as the printouts measure it, its corner at (0, 0).
    printer->setFullPage(true);
    printer->setPageSize(QPageSize(QSizeF(page_.Width / 20.0, page_.Height / 20.0), QPageSize::Point, QString(),
                                   QPageSize::ExactMatch));
    printer->setPageMargins(QMarginsF(0, 0, 0, 0), QPageLayout::Point);
    auto painter = std::make_unique<QPainter>();
    if (!painter->begin(printer.get())) vb::Raise(Err_Printer, "Printer error");
    painter->setRenderHint(QPainter::Antialiasing);
    painter->setRenderHint(QPainter::TextAntialiasing);
    painter->scale(printer->resolution() / 1440.0, printer->resolution() / 1440.0);
    printer_ = std::move(printer);
    painter_ = std::move(painter);
    return *painter_;
}

void System_printer::End_Doc() {
    if (!painter_) return;
    painter_->end();
    painter_.reset();
    printer_.reset();
    Cls();
}

void System_printer::Abort_Doc() {
    if (!painter_) return;
    printer_->abort();
    painter_->end();
    painter_.reset();
    printer_.reset();
    if (!output_file_.empty()) {
        std::error_code ec;
        std::filesystem::remove(output_file_, ec);
        output_file_.clear();
    }
    Cls();
}

}  // namespace printer
