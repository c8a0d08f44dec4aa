#include "Binary_file.h"

#include "platform/vb/VbError.h"

#include <cerrno>
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

[[noreturn]] void Raise_Errno(int error, const std::string& path) {
    int32_t number = error == ENOENT ? 53 : (error == EACCES || error == EPERM || error == EROFS) ? 70 : 75;
    vb::Raise(number, VbError::Standard_Text(number) + ": " + path + " (" + std::strerror(error) + ")");
}

}  // namespace

Binary_file::~Binary_file() { Close(); }

void Binary_file::Open(const std::string& path, Mode mode) {
    Close();
    int flags = O_CLOEXEC;
    switch (mode) {
    case Mode::read_write: flags |= O_RDWR; break;
    case Mode::read_write_new: flags |= O_RDWR | O_CREAT; break;
    case Mode::read_write_empty: flags |= O_RDWR | O_CREAT | O_TRUNC; break;
    case Mode::read_only: flags |= O_RDONLY; break;
    }
    int fd = ::open(path.c_str(), flags, 0666);
    if (fd < 0) Raise_Errno(errno, path);
    fd_ = fd;
    path_ = path;
    number_ = Take_Number();
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
        ssize_t n = ::pwrite(fd_, bytes.data() + done, bytes.size() - done, offset + static_cast<int64_t>(done));
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) Raise_Errno(n < 0 ? errno : ENOSPC, path_);
        done += static_cast<size_t>(n);
    }
}

void Binary_file::Sync() {
    if (fd_ >= 0 && ::fsync(fd_) != 0) Raise_Errno(errno, path_);
}

bool Binary_file::Has_Read_Only_Attribute(const std::string& path) {
    struct stat st {};
    return ::stat(path.c_str(), &st) == 0 && (st.st_mode & (S_IWUSR | S_IWGRP | S_IWOTH)) == 0;
}
