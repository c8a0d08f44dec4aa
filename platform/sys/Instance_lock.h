#pragma once
// One running instance per lock file: an exclusive lock on the file, held while the object lives. The
// system drops it when the process ends, however it ends, so a lock file left by a process that has
// ended never blocks a start.
#include <string>

namespace sys {

class Instance_lock {
public:
    enum class Claim_Result {
        Claimed,         // this object holds the lock (again, when it already did)
        Held_Elsewhere,  // another running holder has it
        Not_Possible,    // the lock file cannot be made or locked; Error() tells why
    };

    Instance_lock() = default;
    ~Instance_lock();
    Instance_lock(const Instance_lock&) = delete;
    Instance_lock& operator=(const Instance_lock&) = delete;

    // A lock file that exists but cannot be written (a read-only folder, another owner's file) is
    // locked through a read-only opening.
    Claim_Result Claim(const std::string& path);
    // Lets the lock go, so that the next Claim takes it anew.
    void Release();
    // The errno of the last claim that was not possible.
    int Error() const { return error_; }

private:
    int fd_ = -1;
    int error_ = 0;
};

}  // namespace sys
