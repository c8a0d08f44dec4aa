#include "platform/trace/Trace_viewer.h"

#include <cstring>
#include <fstream>
#include <gtest/gtest.h>
#include <string>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

namespace {

// A viewer: binds the socket and reads lines.
int Bind_Viewer() {
    int s = ::socket(AF_UNIX, SOCK_DGRAM, 0);
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    std::string path = trace::Viewer_Socket_Path();
    std::strcpy(address.sun_path, path.c_str());
    EXPECT_EQ(::bind(s, reinterpret_cast<const sockaddr*>(&address), sizeof address), 0);
    return s;
}

TEST(Trace_viewer, finds_only_a_bound_viewer_and_delivers_one_datagram_per_line) {
    trace::Viewer_channel channel;
    EXPECT_FALSE(channel.Find());  // no socket at all

    int viewer = Bind_Viewer();
    ASSERT_TRUE(channel.Find());
    EXPECT_TRUE(channel.Send("line\tone\t"));
    char buffer[64];
    ssize_t n = ::recv(viewer, buffer, sizeof buffer, MSG_DONTWAIT);
    EXPECT_EQ(std::string(buffer, n > 0 ? n : 0), "line\tone\t");

    // The viewer goes away: its socket file stays, but nothing listens, and sends return at once.
    ::close(viewer);
    EXPECT_FALSE(channel.Send("lost"));
    EXPECT_FALSE(channel.Find());
}

TEST(Trace_viewer, a_plain_file_with_the_name_is_no_viewer) {
    std::ofstream(trace::Viewer_Socket_Path()) << "1";
    trace::Viewer_channel channel;
    EXPECT_FALSE(channel.Find());
}

}  // namespace
