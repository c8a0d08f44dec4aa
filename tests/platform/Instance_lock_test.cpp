#include "Test_dialogs.h"
#include "platform/sys/Instance_lock.h"

#include <cerrno>
#include <csignal>
#include <filesystem>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

using Result = sys::Instance_lock::Claim_Result;

TEST(Instance_lock, One_holder_at_a_time_until_it_ends) {
    const std::string path = Test_folder() + "/vantorel.lock";
    auto first = std::make_unique<sys::Instance_lock>();
    ASSERT_EQ(first->Claim(path), Result::Claimed);
    EXPECT_EQ(first->Claim(path), Result::Claimed);  // held already
    sys::Instance_lock second;
    EXPECT_EQ(second.Claim(path), Result::Held_Elsewhere);

    // Another process is refused as well.
    pid_t child = fork();
    if (child == 0) {
        sys::Instance_lock other;
        _exit(other.Claim(path) == Result::Held_Elsewhere ? 0 : 1);
    }
    int status = 0;
    waitpid(child, &status, 0);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);

    first.reset();
    EXPECT_EQ(second.Claim(path), Result::Claimed);
}

TEST(Instance_lock, A_holder_that_was_killed_blocks_no_start) {
    const std::string path = Test_folder() + "/vantorel.lock";
    int ready[2];
    ASSERT_EQ(pipe(ready), 0);
    pid_t child = fork();
    if (child == 0) {
        sys::Instance_lock held;
        char answer = held.Claim(path) == Result::Claimed ? 'y' : 'n';
        if (write(ready[1], &answer, 1) != 1) _exit(1);
        pause();
        _exit(0);
    }
    char answer = 0;
    ASSERT_EQ(read(ready[0], &answer, 1), 1);
    ASSERT_EQ(answer, 'y');
    sys::Instance_lock mine;
    EXPECT_EQ(mine.Claim(path), Result::Held_Elsewhere);
    kill(child, SIGKILL);
    waitpid(child, nullptr, 0);
    close(ready[0]);
    close(ready[1]);
    EXPECT_TRUE(std::filesystem::exists(path));  // the file stays behind; its lock does not
    EXPECT_EQ(mine.Claim(path), Result::Claimed);
}

TEST(Instance_lock, A_lock_that_cannot_be_made_says_why) {
    struct Case {
        std::string path;
        int error;
    } cases[] = {
        {Test_folder() + "/missing/vantorel.lock", ENOENT},
        {Test_folder() + "/a folder", EISDIR},
    };
    std::filesystem::create_directory(Test_folder() + "/a folder");
    for (const Case& c : cases) {
        sys::Instance_lock lock;
        EXPECT_EQ(lock.Claim(c.path), Result::Not_Possible) << c.path;
        EXPECT_EQ(lock.Error(), c.error) << c.path;
    }
}

// A folder that refuses new files is named as the reason, not the lock file it could not make. The claim
// runs in a child without root's rights, so the folder's permissions hold.
TEST(Instance_lock, A_read_only_folder_is_named_as_the_reason) {
    std::string folder = "/tmp/vantorel-lock-XXXXXX";
    ASSERT_NE(mkdtemp(folder.data()), nullptr);
    ASSERT_EQ(chmod(folder.c_str(), 0555), 0);
    pid_t child = fork();
    if (child == 0) {
        if (geteuid() == 0 && setuid(65534) != 0) _exit(2);
        sys::Instance_lock lock;
        if (lock.Claim(folder + "/vantorel.lock") != Result::Not_Possible) _exit(3);
        _exit(lock.Error() == EACCES ? 0 : 4);
    }
    int status = 0;
    waitpid(child, &status, 0);
    std::filesystem::remove_all(folder);
    EXPECT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), 0);
}

}  // namespace
