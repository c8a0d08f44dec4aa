#include "shell/Module_Vantorel.h"
#include "shell/Module_dependant.h"
#include "shell/mTrace.h"
#include "platform/trace/Trace_viewer.h"

#include <cstring>
#include <filesystem>
#include <memory>
#include <gtest/gtest.h>
#include <regex>
#include <string>
#include <vector>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

namespace {

class Viewer {
public:
    Viewer() : socket_(::socket(AF_UNIX, SOCK_DGRAM, 0)) {
        sockaddr_un address{};
        address.sun_family = AF_UNIX;
        std::strcpy(address.sun_path, trace::Viewer_Socket_Path().c_str());
        EXPECT_EQ(::bind(socket_, reinterpret_cast<const sockaddr*>(&address), sizeof address), 0);
    }
    ~Viewer() { ::close(socket_); }
    // The next line, or "" when none is waiting.
    std::string Line() {
        char buffer[4096];
        ssize_t n = ::recv(socket_, buffer, sizeof buffer, MSG_DONTWAIT);
        return n > 0 ? std::string(buffer, n) : std::string();
    }

private:
    int socket_;
};

TEST(mTrace, a_line_carries_program_instance_thread_time_and_tab_ended_items) {
    Module_Vantorel::Is_Compiled = true;
    Viewer viewer;
    EXPECT_EQ(mTrace::Trace_Enabled(), -1);
    mTrace::Trace(std::string("Heat 3"), 5, true, 2.5, false, "");
    std::string line = viewer.Line();
    std::regex format("test_shell C: " + std::to_string(getpid()) + ": " + std::to_string(gettid()) +
                      R"(: \d{8} \d{6}: Heat 3\t5\tTrue\t2\.5\tFalse\t\t)");
    EXPECT_TRUE(std::regex_match(line, format)) << line;
    EXPECT_EQ(line.find('\0'), std::string::npos);

    Module_Vantorel::Is_Compiled = false;
    Module_dependant::Trace_String("*KDR_error_handler2");
    line = viewer.Line();
    EXPECT_NE(line.find("test_shell I: "), std::string::npos) << line;
    EXPECT_TRUE(line.ends_with(": *KDR_error_handler2\t")) << line;
}

TEST(mTrace, the_viewer_is_looked_for_once_until_reconnect) {
    EXPECT_EQ(mTrace::Trace_Enabled(), 0);
    mTrace::Trace("nobody listens");
    Viewer viewer;
    mTrace::Trace("still not noticed");
    EXPECT_EQ(mTrace::Trace_Enabled(), 0);
    EXPECT_EQ(viewer.Line(), "");

    EXPECT_EQ(mTrace::Trace_Reconnect(), -1);
    mTrace::Trace("now");
    EXPECT_NE(viewer.Line().find(": now\t"), std::string::npos);
}

TEST(mTrace, a_viewer_that_does_not_read_loses_lines_and_then_learns_how_many) {
    // Were a send to wait for the viewer, these lines would take hours, not a moment.
    Viewer viewer;
    ASSERT_EQ(mTrace::Trace_Enabled(), -1);
    const int sent = 2000;
    for (int i = 1; i <= sent; ++i) mTrace::Trace("line", i);
    std::vector<std::string> queued;
    for (std::string line = viewer.Line(); !line.empty(); line = viewer.Line()) queued.push_back(line);
    ASSERT_FALSE(queued.empty());
    ASSERT_LT(queued.size(), static_cast<size_t>(sent));
    EXPECT_TRUE(queued.front().ends_with(": line\t1\t")) << queued.front();

    // The queue has drained: the next line is preceded by the count of those that were lost.
    mTrace::Trace("after");
    const std::string notice = viewer.Line();
    EXPECT_TRUE(notice.ends_with(": Trace lines dropped\t" + std::to_string(sent - queued.size()) + "\t")) << notice;
    EXPECT_TRUE(viewer.Line().ends_with(": after\t"));
    mTrace::Trace("next");
    EXPECT_TRUE(viewer.Line().ends_with(": next\t"));
}

TEST(mTrace, a_viewer_that_has_gone_costs_nothing_and_a_new_one_hears_of_the_loss) {
    auto viewer = std::make_unique<Viewer>();
    ASSERT_EQ(mTrace::Trace_Enabled(), -1);
    viewer.reset();
    std::filesystem::remove(trace::Viewer_Socket_Path());
    for (int i = 0; i < 3; ++i) mTrace::Trace("into nothing", i);
    Viewer again;
    EXPECT_EQ(mTrace::Trace_Reconnect(), -1);
    mTrace::Trace("back");
    EXPECT_TRUE(again.Line().ends_with(": Trace lines dropped\t3\t"));
    EXPECT_TRUE(again.Line().ends_with(": back\t"));
}

}  // namespace
