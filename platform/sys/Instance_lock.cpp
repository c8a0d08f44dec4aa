#include "Instance_lock.h"

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

namespace sys {

Instance_lock::~Instance_lock() {
    if (fd_ >= 0) close(fd_);
}

bool Instance_lock::Claim(const std::string& path) {
    if (fd_ >= 0) return true;
    int fd = open(path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0600);
    if (fd < 0) return false;
    if (flock(fd, LOCK_EX | LOCK_NB) != 0) {
        close(fd);
        return false;
    }
    fd_ = fd;
    return true;
}

}  // namespace sys
