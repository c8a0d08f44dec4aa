#include "Log_file.h"

#include "platform/vb/VbError.h"

#include <cerrno>

namespace {
[[noreturn]] void Raise_File_Error(int error) {
    switch (error) {
    case ENOENT:
    case ENOTDIR: vb::Raise(76, "Path not found");
    case EACCES:
    case EPERM:
    case EROFS: vb::Raise(vb::Err_Permission_Denied);
    case ENOSPC: vb::Raise(61, "Disk full");
    default: vb::Raise(75, "Path/File access error");
    }
}
}  // namespace

Log_file::Log_file(const std::string& folder, const std::string& file_name) : file_(nullptr) {
    if (folder.empty()) Raise_File_Error(ENOENT);
    file_ = std::fopen((folder + "/" + file_name).c_str(), "ab");
    if (!file_) Raise_File_Error(errno);
}

Log_file::~Log_file() { std::fclose(file_); }

void Log_file::Write_Line(const std::string& text) {
    std::string line = text + "\r\n";
    if (std::fwrite(line.data(), 1, line.size(), file_) != line.size() || std::fflush(file_) != 0)
        Raise_File_Error(errno);
}
