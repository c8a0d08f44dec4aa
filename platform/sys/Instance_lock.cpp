#include "Instance_lock.h"

#include <cerrno>

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

namespace sys {

Instance_lock::~Instance_lock() { Release(); }

void Instance_lock::Release() {
    if (fd_ >= 0) close(fd_);
    fd_ = -1;
}

Instance_lock::Claim_Result Instance_lock::Claim(const std::string& path) {
    if (fd_ >= 0) return Claim_Result::Claimed;
    int fd = open(path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0600);
    if (fd < 0 && (errno == EACCES || errno == EROFS || errno == EPERM)) fd = open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) {
        error_ = errno;
        return Claim_Result::Not_Possible;
    }
    if (flock(fd, LOCK_EX | LOCK_NB) != 0) {
        error_ = errno;
        close(fd);
        return error_ == EWOULDBLOCK ? Claim_Result::Held_Elsewhere : Claim_Result::Not_Possible;
    }
    fd_ = fd;
    return Claim_Result::Claimed;
}

}  // namespace sys
