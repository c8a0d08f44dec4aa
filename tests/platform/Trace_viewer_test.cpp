#include "platform/trace/Trace_viewer.h"

#include <cstring>
#include <fstream>
#include <gtest/gtest.h>
#include <string>
#include <thread>
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

// The capture worker traces while the window thread looks for the viewer again (at exit): every line
// sent arrives whole. The race itself shows only under ThreadSanitizer.
TEST(Trace_viewer, lines_sent_while_another_thread_looks_for_the_viewer_arrive_whole) {
    int viewer = Bind_Viewer();
    trace::Viewer_channel channel;
    ASSERT_TRUE(channel.Find());
    std::thread worker([&] {
        for (int i = 0; i < 200; ++i) channel.Send("line\t" + std::to_string(i) + "\t");
    });
    for (int i = 0; i < 200; ++i) channel.Find();
    worker.join();
    EXPECT_TRUE(channel.Found());
    char buffer[64];
    for (ssize_t n; (n = ::recv(viewer, buffer, sizeof buffer, MSG_DONTWAIT)) > 0;)
        EXPECT_EQ(std::string(buffer, 5), "line\t");
    ::close(viewer);
}

}  // namespace
