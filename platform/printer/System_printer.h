#pragma once
// The system printer as a print target: one document of one page, begun by the first drawing and ended
// by `End_Doc`. With no printer installed the document becomes a PDF file in a folder the caller names:
// made in memory and saved whole, so a failed save never leaves part of a printout under its name.
#include "Print_target.h"

#include <memory>
#include <string>
#include <vector>

class QPageSize;
class QPrinter;

namespace printer {

class Pdf_file;

// The installed printers' names, the default one first.
std::vector<std::string> Printer_Names();
// The default printer's device name; "" with none.
std::string Default_Printer_Name();
// The default printer's page in twips; error 482 when there is no printer.
Page_size Default_Page_Size();
// A paper size in twips, to the nearest twip.
Page_size Page_Twips(const QPageSize& page);

class System_printer : public Print_target {
public:
    // `pdf_folder` receives the document when no printer is installed.
    explicit System_printer(std::string pdf_folder);
    ~System_printer() override;
    System_printer(const System_printer&) = delete;
    System_printer& operator=(const System_printer&) = delete;

    // The page size of the next document, in twips.
    void Page(Page_size page) { page_ = page; }
    int32_t ScaleWidth() const override { return page_.Width; }
    int32_t ScaleHeight() const override { return page_.Height; }
    // The print job's document name; for a PDF file also the start of its name.
    void Job_Name(const std::string& name) { job_name_ = name; }
    // The number of copies each document asks for.
    void Copies(int16_t copies) { copies_ = copies; }

    // True while a document has been begun and not ended.
    bool Printing() const { return painter_ != nullptr; }
    // Sends the page to the printer, or saves the PDF file; nothing when no document was begun. The
    // result is 0 or the errno of the failure (EIO when the document could not be finished).
    int End_Doc();
    // Throws the begun document away: nothing reaches the printer, no PDF file stays.
    void Abort_Doc();
    // The PDF file the last document went to (after a failed `End_Doc`, the name it was not saved
    // under); "" when it went to a printer.
    const std::string& Output_File() const { return output_file_; }

    // The folder for PDF files.
    const std::string& Pdf_Folder() const { return pdf_folder_; }
    void Pdf_Folder(const std::string& folder) { pdf_folder_ = folder; }

protected:
    // Begins the document; error 482 when there is nowhere to print.
    QPainter& Painter() override;

private:
    std::string pdf_folder_;
    std::string job_name_ = "Vantorel_HDMI";
    std::string output_file_;
    Page_size page_{11904, 16834};
    int16_t copies_ = 1;
    std::unique_ptr<QPrinter> printer_;
    std::unique_ptr<Pdf_file> pdf_;  // in memory until `End_Doc` saves it
    std::unique_ptr<QPainter> painter_;
};

}  // namespace printer
