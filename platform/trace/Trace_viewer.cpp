#include "Trace_viewer.h"

#include <cstdlib>
#include <cstring>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

namespace trace {

std::string Viewer_Socket_Path() {
    const char* dir = std::getenv("XDG_RUNTIME_DIR");
    if (!dir || !*dir) return {};
    return std::string(dir) + "/" + Viewer_Socket_Name;
}

Viewer_channel::~Viewer_channel() { Close(); }

void Viewer_channel::Close() {
    if (socket_ >= 0) ::close(socket_);
    socket_ = -1;
}

bool Viewer_channel::Find() {
    Close();
    std::string path = Viewer_Socket_Path();
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    if (path.empty() || path.size() >= sizeof(address.sun_path)) return false;
    std::memcpy(address.sun_path, path.c_str(), path.size() + 1);

    int s = ::socket(AF_UNIX, SOCK_DGRAM | SOCK_CLOEXEC, 0);
    if (s < 0) return false;
    timeval timeout{Send_Timeout_Ms / 1000, (Send_Timeout_Ms % 1000) * 1000};
    ::setsockopt(s, SOL_SOCKET, SO_SNDTIMEO, &timeout, sizeof timeout);
    // Connecting succeeds only while a process has the name bound: a stale socket file or any other
    // file there is no viewer.
    if (::connect(s, reinterpret_cast<const sockaddr*>(&address), sizeof address) != 0) {
        ::close(s);
        return false;
    }
    socket_ = s;
    return true;
}

void Viewer_channel::Send(const std::string& bytes) {
    if (socket_ < 0) return;
    // A viewer that has gone away or stays busy past the time-out loses the line; the program goes on.
    (void)::send(socket_, bytes.data(), bytes.size(), MSG_NOSIGNAL);
}

}  // namespace trace
