#include "Test_dialogs.h"
#include "platform/sys/Instance_lock.h"

#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

TEST(Instance_lock, One_holder_at_a_time_until_it_ends) {
    const std::string path = Test_folder() + "/vantorel.lock";
    auto first = std::make_unique<sys::Instance_lock>();
    ASSERT_TRUE(first->Claim(path));
    EXPECT_TRUE(first->Claim(path));  // held already
    sys::Instance_lock second;
    EXPECT_FALSE(second.Claim(path));

    // Another process is refused as well.
    pid_t child = fork();
    if (child == 0) {
        sys::Instance_lock other;
        _exit(other.Claim(path) ? 1 : 0);
    }
    int status = 0;
    waitpid(child, &status, 0);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);

    first.reset();
    EXPECT_TRUE(second.Claim(path));
    sys::Instance_lock nowhere;
    EXPECT_FALSE(nowhere.Claim(Test_folder() + "/missing/vantorel.lock"));
}

}  // namespace
