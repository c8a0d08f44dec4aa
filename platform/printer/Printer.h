#pragma once
// The system printer as the printouts use it: a current position in twips, a font size and italic,
// lines of text, and the end of the document. With no printer installed the document becomes a PDF
// file in a folder the caller names.
#include <QFont>

#include <cstdint>
#include <memory>
#include <string>

class QPainter;
class QPagedPaintDevice;
class QPrinter;

namespace printer {

class Pdf_file;

// True when the system has a printer to print on.
bool Printer_Installed();
// What the operator is told of a printout that did not end well (`error` an errno): the PDF file that
// could not be saved, or the document the printer did not take (`file` "").
std::string Print_Failure_Text(const std::string& file, int error);

class Printer {
public:
    // `pdf_folder` receives the document as "<job name> yyyymmdd-hhnnss.pdf" when no printer is installed
    // (" (2)", " (3)" ... before ".pdf" when that name is taken).
    Printer(std::string pdf_folder, std::string job_name);
    ~Printer();
    Printer(const Printer&) = delete;
    Printer& operator=(const Printer&) = delete;

    // True when there is somewhere to print: a printer, or an existing folder for the PDF file.
    bool Available() const;

    void Set_Current_X(int32_t twips);
    void Set_Current_Y(int32_t twips);
    void Set_Font_Size(double points);
    void Set_Font_Italic(bool italic);

    // Prints the text at the current position and moves to the left edge of the next line; every line
    // break in the text starts a line of its own.
    void Print(const std::string& text = {});
    // Finishes the document and hands it to the printer, or saves the PDF file whole; 0, or the errno of
    // the failure (EIO when the document could not be finished).
    int End_Doc();

    // The PDF file written (after a failed `End_Doc`, the name it was not saved under), or "" when the
    // document went to a printer.
    const std::string& Output_File() const { return output_file_; }

private:
    void Begin();
    double Px_X(int32_t twips) const;
    double Px_Y(int32_t twips) const;

    std::string pdf_folder_;
    std::string job_name_;
    std::string output_file_;
    std::unique_ptr<QPrinter> printer_;
    std::unique_ptr<Pdf_file> pdf_;      // in memory until `End_Doc` saves it
    QPagedPaintDevice* page_ = nullptr;  // the printer's or the PDF file's
    std::unique_ptr<QPainter> painter_;
    QFont font_;
    int32_t x_twips_ = 0;
    int32_t y_twips_ = 0;
};

}  // namespace printer
