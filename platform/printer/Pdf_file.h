#pragma once
// A printout that no printer takes, as a PDF file: built in memory and saved whole, so a write that fails
// part way (a full disk, a folder gone) leaves no part of it under its name and is told as failed.
#include <QBuffer>

#include <memory>
#include <string>

class QPdfWriter;

namespace printer {

class Pdf_file {
public:
    // The file becomes "<job name> yyyymmdd-hhnnss.pdf" in `folder`, " (2)", " (3)" ... before ".pdf"
    // when that name is taken.
    Pdf_file(const std::string& folder, const std::string& job_name);
    ~Pdf_file();
    Pdf_file(const Pdf_file&) = delete;
    Pdf_file& operator=(const Pdf_file&) = delete;

    // The document to paint on; `Save` after its painter has ended.
    QPdfWriter& Writer() { return *writer_; }
    const std::string& Path() const { return path_; }
    // 0, or the errno of the failure (EIO for a document with nothing in it).
    int Save();

private:
    std::string path_;
    QBuffer bytes_;
    std::unique_ptr<QPdfWriter> writer_;
};

}  // namespace printer
