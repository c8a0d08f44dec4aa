#include "Log_file.h"

#include "Failure_notices.h"
#include "platform/fs/File_system.h"
#include "platform/ui/Dialog_service.h"
#include "platform/vb/VbError.h"

#include <cerrno>

Log_file::Log_file(const std::string& folder, const std::string& file_name)
    : path_(folder + "/" + file_name), file_(nullptr) {
    if (folder.empty()) fs::Raise_File_Error(ENOENT, vb::Err_Path_Not_Found, folder);
    file_ = std::fopen(path_.c_str(), "ab");
    if (!file_) fs::Raise_File_Error(errno, vb::Err_Path_Not_Found, path_);
}

Log_file::~Log_file() { std::fclose(file_); }

void Log_file::Write_Line(const std::string& text) {
    std::string line = text + "\r\n";
    if (std::fwrite(line.data(), 1, line.size(), file_) != line.size() || std::fflush(file_) != 0)
        fs::Raise_File_Error(errno, vb::Err_Path_Not_Found, path_);
}

void Log_file::Tell_Failure(const std::string& folder, const std::string& file_name, const VbError& error) {
    // A read-only or full folder fails every line: one box per log says so.
    if (Failure_notices::First(folder + "/" + file_name, error.Number()))
        ui::MsgBox("Log error " + error.Description() + " " + std::to_string(error.Number()));
}

void Log_file::Succeeded(const std::string& folder, const std::string& file_name) {
    Failure_notices::Succeeded(folder + "/" + file_name);
}
