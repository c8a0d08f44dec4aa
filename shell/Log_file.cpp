#include "Log_file.h"

#include "platform/fs/File_system.h"
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
