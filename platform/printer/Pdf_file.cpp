#include "Pdf_file.h"

#include "platform/fs/File_system.h"
#include "platform/sys/Sys_clock.h"

#include <QPdfWriter>

#include <cerrno>
#include <cstdio>
#include <filesystem>

namespace printer {

Pdf_file::Pdf_file(const std::string& folder, const std::string& job_name) {
    const sys::Local_Time t = sys::Get_Local_Time();
    char stamp[32];
    std::snprintf(stamp, sizeof stamp, " %04d%02d%02d-%02d%02d%02d", t.year, t.month, t.day, t.hour, t.minute,
                  t.second);
    // A second document within the same second gets a name of its own instead of replacing the first.
    const std::string base = folder + "/" + fs::Portable_File_Name(job_name) + stamp;
    path_ = base + ".pdf";
    std::error_code ec;
    for (int n = 2; std::filesystem::exists(path_, ec); ++n) path_ = base + " (" + std::to_string(n) + ").pdf";
    bytes_.open(QIODevice::WriteOnly);
    writer_ = std::make_unique<QPdfWriter>(&bytes_);
    writer_->setTitle(QString::fromStdString(job_name));
    writer_->setResolution(1200);
}

Pdf_file::~Pdf_file() = default;

int Pdf_file::Save() {
    const QByteArray& pdf = bytes_.data();
    if (pdf.isEmpty()) return EIO;
    // Saved beside its name and renamed when whole.
    return fs::Write_File_Atomic(path_, {pdf.constData(), static_cast<size_t>(pdf.size())});
}

}  // namespace printer
