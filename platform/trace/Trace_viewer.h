#pragma once
// The channel to an external trace viewer: whatever process has bound the Unix datagram socket named
// after the viewer's window property in $XDG_RUNTIME_DIR. One datagram per trace line.
#include <cstdint>
#include <mutex>
#include <string>

namespace trace {

// The socket's file name; a viewer binds it.
inline constexpr const char* Viewer_Socket_Name = "vbAcceleratorVBTRACER_TRACEWIN";
// "$XDG_RUNTIME_DIR/vbAcceleratorVBTRACER_TRACEWIN"; "" when XDG_RUNTIME_DIR is not set.
std::string Viewer_Socket_Path();

// Any thread may trace while another looks for the viewer again: the socket changes under a lock, so
// no descriptor is closed twice (the second close could hit a file opened meanwhile) or sent to closed.
class Viewer_channel {
public:
    Viewer_channel() = default;
    ~Viewer_channel();
    Viewer_channel(const Viewer_channel&) = delete;
    Viewer_channel& operator=(const Viewer_channel&) = delete;

    // Looks for a viewer now; true when one has bound the socket. Drops any earlier connection.
    bool Find();
    bool Found() const;
    // Sends the bytes as one datagram without waiting: false when the viewer's queue is full or the
    // viewer has gone, and the line is lost.
    bool Send(const std::string& bytes);

private:
    void Close();
    mutable std::mutex mutex_;
    int socket_ = -1;  // under mutex_
};

}  // namespace trace
