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

bool Viewer_channel::Found() const {
    std::lock_guard lock(mutex_);
    return socket_ >= 0;
}

void Viewer_channel::Close() {
    if (socket_ >= 0) ::close(socket_);
    socket_ = -1;
}

bool Viewer_channel::Find() {
    std::lock_guard lock(mutex_);
    Close();
    std::string path = Viewer_Socket_Path();
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    if (path.empty() || path.size() >= sizeof(address.sun_path)) return false;
    std::memcpy(address.sun_path, path.c_str(), path.size() + 1);

    // Non-blocking: a viewer that reads slowly or not at all must never hold up the program.
    int s = ::socket(AF_UNIX, SOCK_DGRAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0);
    if (s < 0) return false;
    // Connecting succeeds only while a process has the name bound: a stale socket file or any other
    // file there is no viewer.
    if (::connect(s, reinterpret_cast<const sockaddr*>(&address), sizeof address) != 0) {
        ::close(s);
        return false;
    }
    socket_ = s;
    return true;
}

bool Viewer_channel::Send(const std::string& bytes) {
    std::lock_guard lock(mutex_);
    if (socket_ < 0) return false;
    return ::send(socket_, bytes.data(), bytes.size(), MSG_NOSIGNAL | MSG_DONTWAIT) ==
           static_cast<ssize_t>(bytes.size());
}

}  // namespace trace
