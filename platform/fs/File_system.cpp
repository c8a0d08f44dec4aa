#include "File_system.h"

#include "platform/vb/VbError.h"

#include <cerrno>
#include <chrono>
#include <cstring>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <sys/sysmacros.h>
#include <linux/magic.h>
#include <sys/stat.h>
#include <sys/vfs.h>
#include <unistd.h>

namespace fs {

namespace stdfs = std::filesystem;

namespace {

[[noreturn]] void Raise_For(const std::error_code& ec, int32_t missing, const std::string& path) {
    Raise_File_Error(ec.value(), missing, path);
}

stdfs::file_status Status_Of(const std::string& path) {
    std::error_code ec;
    stdfs::file_status st = stdfs::status(path, ec);
    if (ec && ec.value() != ENOENT && ec.value() != ENOTDIR) Raise_For(ec, vb::Err_File_Not_Found, path);
    return st;
}

// A regular file at `path`, or error 53.
void Require_File(const std::string& path) {
    if (path.empty() || !stdfs::is_regular_file(Status_Of(path))) vb::Raise(vb::Err_File_Not_Found);
}

int64_t Seconds_Of(stdfs::file_time_type t) {
    return std::chrono::duration_cast<std::chrono::seconds>(std::chrono::file_clock::to_sys(t).time_since_epoch())
        .count();
}

}  // namespace

bool File_Exists(const std::string& path) {
    return !path.empty() && stdfs::is_regular_file(Status_Of(path));
}

bool Folder_Exists(const std::string& path) {
    return !path.empty() && stdfs::is_directory(Status_Of(path));
}

void Delete_File(const std::string& path) {
    Require_File(path);
    // Unlinking needs the folder's permission only, so a read-only file goes as the forced delete wants.
    if (::unlink(path.c_str()) != 0) Raise_For(std::error_code(errno, std::generic_category()), vb::Err_File_Not_Found, path);
}

int64_t File_Size(const std::string& path) {
    Require_File(path);
    std::error_code ec;
    auto size = stdfs::file_size(path, ec);
    if (ec) Raise_For(ec, vb::Err_File_Not_Found, path);
    return static_cast<int64_t>(size);
}

int64_t Last_Modified(const std::string& path) {
    if (path.empty()) vb::Raise(vb::Err_File_Not_Found);
    std::error_code ec;
    auto t = stdfs::last_write_time(path, ec);
    if (ec) Raise_For(ec, vb::Err_File_Not_Found, path);
    return Seconds_Of(t);
}

int64_t Created(const std::string& path) {
    if (path.empty()) vb::Raise(vb::Err_File_Not_Found);
    struct statx info {};
    if (statx(AT_FDCWD, path.c_str(), 0, STATX_BTIME | STATX_MTIME, &info) != 0)
        Raise_File_Error(errno, vb::Err_File_Not_Found, path);
    if (info.stx_mask & STATX_BTIME) return info.stx_btime.tv_sec;
    return info.stx_mtime.tv_sec;
}

std::vector<File_Info> Folder_Files(const std::string& folder) {
    if (!Folder_Exists(folder)) vb::Raise(vb::Err_Path_Not_Found);
    std::vector<File_Info> files;
    std::error_code ec;
    stdfs::directory_iterator it(folder, ec);
    if (ec) Raise_For(ec, vb::Err_Path_Not_Found, folder);
    for (; it != stdfs::directory_iterator(); it.increment(ec)) {
        std::error_code fe;
        if (!it->is_regular_file(fe)) continue;  // subfolders, and links that lead nowhere
        File_Info info;
        info.name = it->path().filename().string();
        info.size = static_cast<int64_t>(it->file_size(fe));
        if (!fe) info.modified = Seconds_Of(it->last_write_time(fe));
        if (fe) continue;  // gone or unreadable since the listing: not one of the folder's files any more
        files.push_back(std::move(info));
    }
    if (ec) Raise_For(ec, vb::Err_Path_Not_Found, folder);
    return files;
}

int32_t Drive_Type(const std::string& path) {
    struct statfs st {};
    if (path.empty() || ::statfs(path.c_str(), &st) != 0) return Drive_No_Root;
    switch (static_cast<unsigned long>(st.f_type)) {
    case NFS_SUPER_MAGIC:
    case SMB_SUPER_MAGIC:
    case 0xFF534D42UL:  // CIFS
    case 0xFE534D42UL:  // SMB2
        return Drive_Remote;
    case 0x65735546UL:  // FUSE
        return Fuse_Drive_Type(Share_Name(path), "/sys");
    case ISOFS_SUPER_MAGIC:
    case 0x15013346UL:  // UDF
        return Drive_CDRom;
    case TMPFS_MAGIC:
    case RAMFS_MAGIC:
        return Drive_RamDisk;
    default: {
        struct stat file {};
        if (::stat(path.c_str(), &file) == 0 && Block_Device_Removable("/sys", major(file.st_dev), minor(file.st_dev)))
            return Drive_Removable;
        return Drive_Fixed;
    }
    }
}

bool Block_Device_Removable(const std::string& sys_root, unsigned major, unsigned minor) {
    std::error_code ec;
    stdfs::path device = stdfs::canonical(
        sys_root + "/dev/block/" + std::to_string(major) + ":" + std::to_string(minor), ec);
    if (ec) return false;
    // Card readers and many USB sticks call themselves fixed; the bus they hang on tells.
    if (device.string().find("/usb") != std::string::npos) return true;
    // A partition has no flag of its own: its disk is the folder above it.
    for (const stdfs::path& disk : {device, device.parent_path()}) {
        std::ifstream flag(disk / "removable");
        char c = 0;
        if (flag >> c) return c == '1';
    }
    return false;
}

int32_t Fuse_Drive_Type(const std::string& source, const std::string& sys_root) {
    struct stat device {};
    if (source.starts_with('/') && ::stat(source.c_str(), &device) == 0 && S_ISBLK(device.st_mode))
        return Block_Device_Removable(sys_root, major(device.st_rdev), minor(device.st_rdev)) ? Drive_Removable : Drive_Fixed;
    return Drive_Remote;
}

namespace {

// Gives a new file its mode where the file system keeps one: a FAT memory stick refuses the change
// (EPERM, or ENOSYS through FUSE) and still takes the content. 0 or the errno.
int Set_Mode(int fd, mode_t mode) {
    if (::fchmod(fd, mode) == 0) return 0;
    return errno == EPERM || errno == ENOSYS || errno == ENOTSUP || errno == EOPNOTSUPP ? 0 : errno;
}

// A mount table field, its blanks and backslashes written as octal escapes.
std::string Unescape_Mount_Field(const std::string& field) {
    std::string out;
    for (size_t i = 0; i < field.size(); ++i) {
        if (field[i] == '\\' && i + 3 < field.size()) {
            const std::string octal = field.substr(i + 1, 3);
            if (octal.find_first_not_of("01234567") == std::string::npos) {
                out += static_cast<char>(std::stoi(octal, nullptr, 8));
                i += 3;
                continue;
            }
        }
        out += field[i];
    }
    return out;
}

}  // namespace

std::string Mount_Source(std::string_view mounts, const std::string& path) {
    std::error_code ec;
    stdfs::path target = stdfs::weakly_canonical(path, ec);
    if (ec) target = path;
    const std::string full = target.string();
    std::string best_source;
    size_t best_length = 0;
    std::istringstream lines{std::string(mounts)};
    for (std::string line; std::getline(lines, line);) {
        std::istringstream fields(line);
        std::string source, point;
        if (!(fields >> source >> point)) continue;
        point = Unescape_Mount_Field(point);
        const bool holds = point == "/" || full == point ||
                           (full.compare(0, point.size(), point) == 0 && full.size() > point.size() && full[point.size()] == '/');
        // The last of equally long mount points is the one on top.
        if (holds && point.size() >= best_length) {
            best_length = point.size();
            best_source = Unescape_Mount_Field(source);
        }
    }
    return best_source;
}

std::string Share_Name(const std::string& path) {
    std::ifstream table("/proc/self/mounts");
    std::stringstream text;
    text << table.rdbuf();
    return Mount_Source(text.str(), path);
}

int Write_File_Atomic(const std::string& path, std::string_view content, bool* created) {
    if (created) *created = false;
    // A symbolic link stays: the file it leads to is replaced, so the new content is beside the old.
    std::string file = path;
    for (int links = 0;; ++links) {
        struct stat st {};
        if (::lstat(file.c_str(), &st) != 0 || !S_ISLNK(st.st_mode)) break;
        if (links == 40) return ELOOP;
        std::error_code ec;
        stdfs::path target = stdfs::read_symlink(file, ec);
        if (ec) return ec.value();
        file = (target.is_absolute() ? target : stdfs::path(file).parent_path() / target).string();
    }
    // A temporary name of its own, so two writers of the same file never share one.
    std::string temp = file + ".XXXXXX";
    int fd = ::mkostemp(temp.data(), O_CLOEXEC);
    if (fd < 0) return errno;
    if (created) *created = true;
    // The new content keeps the permissions the file had.
    struct stat st {};
    int error = Set_Mode(fd, ::stat(file.c_str(), &st) == 0 ? st.st_mode & 07777 : 0644);
    const char* p = content.data();
    size_t left = content.size();
    while (left > 0 && !error) {
        ssize_t n = ::write(fd, p, left);
        if (n < 0 && errno == EINTR) continue;
        if (n < 0) error = errno;
        else {
            p += n;
            left -= static_cast<size_t>(n);
        }
    }
    if (!error && ::fsync(fd) != 0) error = errno;
    if (::close(fd) != 0 && !error) error = errno;
    if (!error && ::rename(temp.c_str(), file.c_str()) != 0) error = errno;
    if (error) ::unlink(temp.c_str());
    return error;
}

int Copy_File(const std::string& source, const std::string& destination,
              const std::function<int32_t(int64_t total, int64_t copied)>& progress) {
    // Without O_NONBLOCK, opening a FIFO no one writes to would wait for a writer for ever.
    const int in = ::open(source.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    if (in < 0) return errno;
    struct stat st {};
    // A FIFO or a device is no file to copy, and errno names no failure then.
    const int kind_error = ::fstat(in, &st) != 0 ? errno
                           : S_ISREG(st.st_mode) ? 0
                           : S_ISDIR(st.st_mode) ? EISDIR
                                                 : EINVAL;
    if (kind_error) {
        ::close(in);
        return kind_error;
    }
    ::fcntl(in, F_SETFL, ::fcntl(in, F_GETFL) & ~O_NONBLOCK);  // a plain file reads as one opened plainly
    std::string temp = destination + ".XXXXXX";
    const int out = ::mkostemp(temp.data(), O_CLOEXEC);
    if (out < 0) {
        const int error = errno;
        ::close(in);
        return error;
    }
    int error = Set_Mode(out, st.st_mode & 07777);
    std::vector<char> chunk(1 << 20);
    int64_t copied = 0;
    while (!error) {
        const ssize_t got = ::read(in, chunk.data(), chunk.size());
        if (got < 0 && errno == EINTR) continue;
        if (got < 0) error = errno;
        if (got <= 0) break;
        for (ssize_t done = 0; done < got && !error;) {
            const ssize_t n = ::write(out, chunk.data() + done, static_cast<size_t>(got - done));
            if (n < 0 && errno == EINTR) continue;
            if (n < 0) error = errno;
            else done += n;
        }
        copied += got;
        if (!error && progress && progress(st.st_size, copied) != 0) error = ECANCELED;
    }
    ::close(in);
    if (!error && ::fsync(out) != 0) error = errno;
    if (::close(out) != 0 && !error) error = errno;
    if (!error && ::rename(temp.c_str(), destination.c_str()) != 0) error = errno;
    if (error) ::unlink(temp.c_str());
    return error;
}

std::string Executable_Path() {
    std::error_code ec;
    stdfs::path exe = stdfs::read_symlink("/proc/self/exe", ec);
    return ec ? std::string() : exe.string();
}

std::string Portable_File_Name(std::string name, std::string_view also) {
    constexpr std::string_view refused = "/\\:*?\"<>|";
    for (char& c : name)
        if (static_cast<unsigned char>(c) < 32 || refused.find(c) != std::string_view::npos ||
            also.find(c) != std::string_view::npos)
            c = '_';
    return name;
}

void Raise_File_Error(int error, int32_t missing, const std::string& path) {
    if (error == ENOENT || error == ENOTDIR) vb::Raise(missing);
    if (error == EACCES || error == EPERM || error == EROFS) vb::Raise(vb::Err_Permission_Denied);
    if (error == ENOSPC) vb::Raise(vb::Err_Disk_Full);
    vb::Raise(vb::Err_Path_File_Access,
              "Path/File access error: " + path + ": " + std::error_code(error, std::generic_category()).message());
}

}  // namespace fs
