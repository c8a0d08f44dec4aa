#pragma once
// One running instance per lock file: an exclusive lock on the file, held while the object lives (the
// system drops it when the process ends, however it ends).
#include <string>

namespace sys {

class Instance_lock {
public:
    Instance_lock() = default;
    ~Instance_lock();
    Instance_lock(const Instance_lock&) = delete;
    Instance_lock& operator=(const Instance_lock&) = delete;

    // True when this object holds the lock (again, when it already did); false when another holder has
    // it, or the file cannot be opened.
    bool Claim(const std::string& path);

private:
    int fd_ = -1;
};

}  // namespace sys
