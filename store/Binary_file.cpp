#include "Binary_file.h"

#include "platform/vb/VbError.h"

#include <algorithm>
#include <cerrno>
#include <csignal>
#include <cstring>
#include <set>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

std::set<int16_t>& Numbers_In_Use() {
    static std::set<int16_t> numbers;
    return numbers;
}

int16_t Take_Number() {
    int16_t n = 1;
    for (int16_t used : Numbers_In_Use()) {
        if (used != n) break;
        ++n;
    }
    Numbers_In_Use().insert(n);
    return n;
}

Binary_file::Fault_hook& Hook() {
    static Binary_file::Fault_hook hook;
    return hook;
}

Binary_file::Fault Ask(Binary_file::Operation operation, const std::string& path, int64_t offset, int64_t size) {
    return Hook() ? Hook()(operation, path, offset, size) : Binary_file::Fault{};
}

[[noreturn]] void Raise_Errno(int error, const std::string& path) {
    int32_t number = error == ENOENT                                       ? vb::Err_File_Not_Found
                     : error == EACCES || error == EPERM || error == EROFS ? vb::Err_Permission_Denied
                     : error == ENOSPC || error == EDQUOT || error == EFBIG ? vb::Err_Disk_Full
                                                                            : vb::Err_Path_File_Access;
    vb::Raise(number, VbError::Standard_Text(number) + ": " + path + " (" + std::strerror(error) + ")");
}

}  // namespace

void Binary_file::Set_Fault_Hook(Fault_hook hook) { Hook() = std::move(hook); }

Binary_file::~Binary_file() { Close(); }

void Binary_file::Open(const std::string& path, Mode mode) {
    int flags = 0;
    switch (mode) {
    case Mode::read_write: flags = O_RDWR; break;
    case Mode::read_write_new: flags = O_RDWR | O_CREAT; break;
    case Mode::read_write_empty: flags = O_RDWR | O_CREAT | O_TRUNC; break;
    case Mode::read_only: flags = O_RDONLY; break;
    }
    Open_With(path, flags, mode != Mode::read_only);
}

bool Binary_file::Create_New(const std::string& path) { return Open_With(path, O_RDWR | O_CREAT | O_EXCL, true); }

bool Binary_file::Open_With(const std::string& path, int flags, bool writing) {
    Close();
    if (writing) {
        std::signal(SIGXFSZ, SIG_IGN);
        if (Fault fault = Ask(Operation::open_for_writing, path, 0, 0); fault.error) Raise_Errno(fault.error, path);
    }
    int fd = ::open(path.c_str(), flags | O_CLOEXEC, 0666);
    if (fd < 0 && errno == EEXIST && (flags & O_EXCL)) return false;
    if (fd < 0) Raise_Errno(errno, path);
    fd_ = fd;
    path_ = path;
    number_ = Take_Number();
    return true;
}

void Binary_file::Close() {
    if (fd_ < 0) return;
    ::close(fd_);
    fd_ = -1;
    Numbers_In_Use().erase(number_);
    number_ = 0;
}

int64_t Binary_file::Size() const {
    struct stat st {};
    if (fd_ < 0 || ::fstat(fd_, &st) != 0) Raise_Errno(fd_ < 0 ? EBADF : errno, path_);
    return st.st_size;
}

bool Binary_file::Path_Names_Open_File() const {
    struct stat open {}, named {};
    if (fd_ < 0 || ::fstat(fd_, &open) != 0 || ::stat(path_.c_str(), &named) != 0) return false;
    return open.st_dev == named.st_dev && open.st_ino == named.st_ino;
}

int64_t Binary_file::Read_At(int64_t offset, std::span<uint8_t> bytes) const {
    if (fd_ < 0) Raise_Errno(EBADF, path_);
    size_t done = 0;
    while (done < bytes.size()) {
        ssize_t n = ::pread(fd_, bytes.data() + done, bytes.size() - done, offset + static_cast<int64_t>(done));
        if (n < 0 && errno == EINTR) continue;
        if (n < 0) Raise_Errno(errno, path_);
        if (n == 0) break;
        done += static_cast<size_t>(n);
    }
    return static_cast<int64_t>(done);
}

void Binary_file::Write_At(int64_t offset, std::span<const uint8_t> bytes) {
    if (fd_ < 0) Raise_Errno(EBADF, path_);
    size_t done = 0;
    while (done < bytes.size()) {
        const int64_t at = offset + static_cast<int64_t>(done);
        size_t chunk = bytes.size() - done;
        Fault fault = Ask(Operation::write, path_, at, static_cast<int64_t>(chunk));
        if (fault.bytes >= 0) chunk = std::min(chunk, static_cast<size_t>(fault.bytes));
        ssize_t n = chunk > 0 ? ::pwrite(fd_, bytes.data() + done, chunk, at) : 0;
        if (n < 0 && errno == EINTR) continue;
        if (n < 0) Raise_Errno(errno, path_);
        done += static_cast<size_t>(n);
        if (fault.error) Raise_Errno(fault.error, path_);
        if (n == 0) Raise_Errno(ENOSPC, path_);
    }
}

void Binary_file::Truncate(int64_t length) {
    if (fd_ < 0) Raise_Errno(EBADF, path_);
    if (Fault fault = Ask(Operation::truncate, path_, length, 0); fault.error) Raise_Errno(fault.error, path_);
    if (::ftruncate(fd_, length) != 0) Raise_Errno(errno, path_);
}

void Binary_file::Sync() {
    if (fd_ < 0) return;
    if (Fault fault = Ask(Operation::sync, path_, 0, 0); fault.error) Raise_Errno(fault.error, path_);
    if (::fsync(fd_) != 0) Raise_Errno(errno, path_);
}

bool Binary_file::Has_Read_Only_Attribute(const std::string& path) {
    struct stat st {};
    return ::stat(path.c_str(), &st) == 0 && (st.st_mode & (S_IWUSR | S_IWGRP | S_IWOTH)) == 0;
}

void Binary_file::Remove_File(const std::string& path) {
    if (Fault fault = Ask(Operation::remove, path, 0, 0); fault.error) Raise_Errno(fault.error, path);
    if (::unlink(path.c_str()) != 0 && errno != ENOENT) Raise_Errno(errno, path);
}

void Binary_file::Sync_Folder_Of(const std::string& path) {
    const size_t slash = path.find_last_of('/');
    const std::string folder = slash == std::string::npos ? "." : slash == 0 ? "/" : path.substr(0, slash);
    if (Fault fault = Ask(Operation::sync, folder, 0, 0); fault.error) Raise_Errno(fault.error, folder);
    int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0) Raise_Errno(errno, folder);
    int result = ::fsync(fd);
    int error = errno;
    ::close(fd);
    // Some file systems cannot sync a folder; their creations are as durable as they get.
    if (result != 0 && error != EINVAL && error != EROFS) Raise_Errno(error, folder);
}
