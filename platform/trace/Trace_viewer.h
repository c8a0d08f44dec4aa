#pragma once
// The channel to an external trace viewer: whatever process has bound the Unix datagram socket named
// after the viewer's window property in $XDG_RUNTIME_DIR. One datagram per trace line.
#include <cstdint>
#include <string>

namespace trace {

// The socket's file name; a viewer binds it.
inline constexpr const char* Viewer_Socket_Name = "vbAcceleratorVBTRACER_TRACEWIN";
// "$XDG_RUNTIME_DIR/vbAcceleratorVBTRACER_TRACEWIN"; "" when XDG_RUNTIME_DIR is not set.
std::string Viewer_Socket_Path();

class Viewer_channel {
public:
    Viewer_channel() = default;
    ~Viewer_channel();
    Viewer_channel(const Viewer_channel&) = delete;
    Viewer_channel& operator=(const Viewer_channel&) = delete;

    // Looks for a viewer now; true when one has bound the socket. Drops any earlier connection.
    bool Find();
    bool Found() const { return socket_ >= 0; }
    // Sends the bytes as one datagram without waiting: false when the viewer's queue is full or the
    // viewer has gone, and the line is lost.
    bool Send(const std::string& bytes);

private:
    void Close();
    int socket_ = -1;
};

}  // namespace trace
