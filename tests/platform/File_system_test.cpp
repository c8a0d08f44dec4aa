#include "Test_errors.h"
#include "Test_dialogs.h"
#include "Test_limits.h"
#include "platform/fs/File_system.h"
#include "platform/vb/VbError.h"

#include <cerrno>
#include <cstddef>
#include <iterator>
#include <filesystem>
#include <fstream>
#include <utility>
#include <vector>
#include <gtest/gtest.h>
#include <fcntl.h>
#include <linux/filter.h>
#include <linux/seccomp.h>
#include <sys/prctl.h>
#include <sys/syscall.h>
#include <sys/wait.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <unistd.h>

namespace {

namespace stdfs = std::filesystem;

TEST(File_system, Files_and_folders_are_told_apart_and_missing_ones_give_the_right_error) {
    std::string dir = Test_folder();
    std::ofstream(dir + "/a.txt") << "12345";
    stdfs::create_directories(dir + "/sub");
    EXPECT_TRUE(fs::File_Exists(dir + "/a.txt"));
    EXPECT_FALSE(fs::File_Exists(dir + "/sub"));
    EXPECT_FALSE(fs::File_Exists(dir + "/none"));
    EXPECT_FALSE(fs::File_Exists(dir + "/a.txt/below"));
    EXPECT_FALSE(fs::File_Exists(""));
    EXPECT_TRUE(fs::Folder_Exists(dir + "/sub"));
    EXPECT_FALSE(fs::Folder_Exists(dir + "/a.txt"));

    EXPECT_EQ(fs::File_Size(dir + "/a.txt"), 5);
    EXPECT_EQ(Error_Of([&] { fs::File_Size(dir + "/none"); }), vb::Err_File_Not_Found);
    EXPECT_EQ(Error_Of([&] { fs::File_Size(dir + "/sub"); }), vb::Err_File_Not_Found);
    EXPECT_EQ(Error_Of([&] { fs::Delete_File(dir + "/sub"); }), vb::Err_File_Not_Found);
    EXPECT_EQ(Error_Of([&] { fs::Folder_Files(dir + "/none"); }), vb::Err_Path_Not_Found);
}

TEST(File_system, A_read_only_file_is_deleted) {
    std::string file = Test_folder() + "/ro.kd3";
    std::ofstream(file) << "x";
    chmod(file.c_str(), 0444);
    fs::Delete_File(file);
    EXPECT_FALSE(stdfs::exists(file));
}

TEST(File_system, A_folder_lists_its_files_with_sizes_and_dates_but_not_its_subfolders) {
    std::string dir = Test_folder() + "/list";
    stdfs::create_directories(dir + "/inner");
    std::ofstream(dir + "/big.kd3") << std::string(3000, 'x');
    std::ofstream(dir + "/inner/hidden.kd3") << "x";
    auto stamp = std::chrono::file_clock::from_sys(std::chrono::sys_seconds(std::chrono::seconds(1500000000)));
    stdfs::last_write_time(dir + "/big.kd3", stamp);
    std::vector<fs::File_Info> files = fs::Folder_Files(dir);
    ASSERT_EQ(files.size(), 1u);
    EXPECT_EQ(files[0].name, "big.kd3");
    EXPECT_EQ(files[0].size, 3000);
    EXPECT_EQ(files[0].modified, 1500000000);
    EXPECT_EQ(fs::Last_Modified(dir + "/big.kd3"), 1500000000);
}

TEST(File_system, An_atomic_write_replaces_the_content_and_leaves_no_temporary_file) {
    std::string dir = Test_folder() + "/atomic";
    stdfs::create_directories(dir);
    std::string file = dir + "/store.txt";
    std::ofstream(file) << "old content that is longer";
    ASSERT_EQ(fs::Write_File_Atomic(file, "new"), 0);
    std::ifstream in(file);
    std::string content((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    EXPECT_EQ(content, "new");
    EXPECT_EQ(std::distance(stdfs::directory_iterator(dir), stdfs::directory_iterator()), 1);
    EXPECT_EQ(fs::Write_File_Atomic(dir + "/missing/store.txt", "x"), ENOENT);
}

TEST(File_system, A_portable_file_name_replaces_what_memory_sticks_refuse_and_keeps_the_rest) {
    using namespace std::string_literals;
    struct Case {
        std::string name;
        std::string_view also;
        std::string portable;
    } cases[] = {
        {"a/b\\c:d*e?f\"g<h>i|j", "", "a_b_c_d_e_f_g_h_i_j"},
        {"a\0b\tc\nd\x1f" "e\x7f"s, "", "a_b_c_d_e\x7f"},
        {"../../etc/passwd", "", ".._.._etc_passwd"},
        {"NOEVENTHeat12 2016-07-20 14:05:09", "", "NOEVENTHeat12 2016-07-20 14_05_09"},
        {"NOEVENTHeat12 2016-07-20 14:05:09", "-,", "NOEVENTHeat12 2016_07_20 14_05_09"},
        {"Åre Heat 3, K1-500m (final).csv", "", "Åre Heat 3, K1-500m (final).csv"},
        {"Åre Heat 3, K1-500m (final).csv", "-,", "Åre Heat 3_ K1_500m (final).csv"},
        {"", "-,", ""},
    };
    for (const Case& c : cases) EXPECT_EQ(fs::Portable_File_Name(c.name, c.also), c.portable) << c.name;
}

TEST(File_system, A_failed_atomic_write_keeps_the_old_content_and_leaves_no_temporary_file) {
    std::string dir = Test_folder() + "/full";
    stdfs::create_directories(dir);
    std::string file = dir + "/store.txt";
    std::ofstream(file) << "old";
    int error = 0;
    With_File_Size_Limit(100, [&] { error = fs::Write_File_Atomic(file, std::string(1000, 'x')); });
    EXPECT_EQ(error, EFBIG);
    std::ifstream in(file);
    std::string content((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    EXPECT_EQ(content, "old");
    EXPECT_EQ(std::distance(stdfs::directory_iterator(dir), stdfs::directory_iterator()), 1);
}

TEST(File_system, An_atomic_write_keeps_the_file_s_permissions) {
    std::string file = Test_folder() + "/private.txt";
    std::ofstream(file) << "secret";
    ASSERT_EQ(chmod(file.c_str(), 0600), 0);
    ASSERT_EQ(fs::Write_File_Atomic(file, "still secret"), 0);
    struct stat st {};
    ASSERT_EQ(stat(file.c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 07777, 0600u);
    std::string fresh = Test_folder() + "/fresh.txt";
    ASSERT_EQ(fs::Write_File_Atomic(fresh, "x"), 0);
    ASSERT_EQ(stat(fresh.c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 07777, 0644u);
}

// A FAT memory stick takes no permissions: its driver refuses the change of mode (EPERM; ENOSYS through
// FUSE). A write and a copy still take the content, in a child whose fchmod fails as on the stick.
TEST(File_system, An_atomic_write_to_a_file_system_without_permissions_still_writes) {
    const std::string dir = Test_folder() + "/stick";
    stdfs::create_directories(dir);
    for (int refusal : {EPERM, ENOSYS}) {
        SCOPED_TRACE(refusal);
        const std::string file = dir + "/VN_Result_Heat" + std::to_string(refusal) + ".csv";
        const pid_t child = fork();
        ASSERT_GE(child, 0);
        if (child == 0) {
            sock_filter code[] = {
                BPF_STMT(BPF_LD | BPF_W | BPF_ABS, offsetof(seccomp_data, nr)),
                BPF_JUMP(BPF_JMP | BPF_JEQ | BPF_K, __NR_fchmod, 0, 1),
                BPF_STMT(BPF_RET | BPF_K, SECCOMP_RET_ERRNO | static_cast<uint32_t>(refusal)),
                BPF_STMT(BPF_RET | BPF_K, SECCOMP_RET_ALLOW),
            };
            sock_fprog program{static_cast<unsigned short>(std::size(code)), code};
            if (prctl(PR_SET_NO_NEW_PRIVS, 1, 0, 0, 0) != 0 || prctl(PR_SET_SECCOMP, SECCOMP_MODE_FILTER, &program) != 0)
                _exit(200);
            if (fchmod(STDIN_FILENO, 0644) == 0 || errno != refusal) _exit(201);
            if (fs::Write_File_Atomic(file, "1;2;00:03,71") != 0) _exit(202);
            _exit(fs::Copy_File(file, file + ".copy", {}));
        }
        int status = 0;
        ASSERT_EQ(waitpid(child, &status, 0), child);
        ASSERT_TRUE(WIFEXITED(status));
        EXPECT_EQ(WEXITSTATUS(status), 0);
        std::ifstream in(file);
        EXPECT_EQ(std::string(std::istreambuf_iterator<char>(in), {}), "1;2;00:03,71");
        std::ifstream copy(file + ".copy");
        EXPECT_EQ(std::string(std::istreambuf_iterator<char>(copy), {}), "1;2;00:03,71");
    }
    EXPECT_EQ(std::distance(stdfs::directory_iterator(dir), stdfs::directory_iterator()), 4);
}

TEST(File_system, An_atomic_write_over_a_symbolic_link_writes_its_target_and_keeps_the_link) {
    const std::string dir = Test_folder() + "/linked";
    stdfs::create_directories(dir + "/real");
    const std::string target = dir + "/real/settings.ini";
    std::ofstream(target) << "old";
    ASSERT_EQ(chmod(target.c_str(), 0640), 0);
    stdfs::create_symlink("real/settings.ini", dir + "/first.ini");  // relative to the link's folder
    stdfs::create_symlink(dir + "/first.ini", dir + "/second.ini");
    bool created = false;
    ASSERT_EQ(fs::Write_File_Atomic(dir + "/second.ini", "new", &created), 0);
    EXPECT_TRUE(created);
    EXPECT_TRUE(stdfs::is_symlink(dir + "/second.ini"));
    EXPECT_TRUE(stdfs::is_symlink(dir + "/first.ini"));
    std::ifstream in(target);
    EXPECT_EQ(std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>()), "new");
    struct stat st {};
    ASSERT_EQ(stat(target.c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 07777, 0640u);
    EXPECT_EQ(std::distance(stdfs::directory_iterator(dir + "/real"), stdfs::directory_iterator()), 1);

    // A link to nothing yet makes its target; links in a circle are refused and stay.
    stdfs::create_symlink("real/made.ini", dir + "/dangling.ini");
    ASSERT_EQ(fs::Write_File_Atomic(dir + "/dangling.ini", "made"), 0);
    EXPECT_TRUE(stdfs::is_regular_file(dir + "/real/made.ini"));
    stdfs::create_symlink("loop_b", dir + "/loop_a");
    stdfs::create_symlink("loop_a", dir + "/loop_b");
    EXPECT_EQ(fs::Write_File_Atomic(dir + "/loop_a", "x", &created), ELOOP);
    EXPECT_FALSE(created);
    EXPECT_TRUE(stdfs::is_symlink(dir + "/loop_a"));
}

TEST(File_system, A_copy_reports_its_progress_by_chunk_and_replaces_the_destination_only_when_whole) {
    const std::string dir = Test_folder() + "/copy";
    stdfs::create_directories(dir);
    const std::string source = dir + "/heat.kd3", destination = dir + "/copy.kd3";
    std::string bytes(2500000, '\0');
    for (size_t i = 0; i < bytes.size(); ++i) bytes[i] = static_cast<char>(i * 7);
    std::ofstream(source, std::ios::binary) << bytes;
    std::ofstream(destination) << "an older copy";
    auto content = [](const std::string& path) {
        std::ifstream in(path, std::ios::binary);
        return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    };
    std::vector<std::pair<int64_t, int64_t>> calls;
    auto note = [&](int64_t total, int64_t copied) {
        calls.emplace_back(total, copied);
        return 0;
    };
    ASSERT_EQ(fs::Copy_File(source, destination, note), 0);
    EXPECT_EQ(content(destination), bytes);
    EXPECT_EQ(calls, (std::vector<std::pair<int64_t, int64_t>>{{2500000, 1048576}, {2500000, 2097152}, {2500000, 2500000}}));

    // Stopped by its progress routine, or failing: the destination as it was, no temporary file left.
    std::ofstream(destination) << "an older copy";
    EXPECT_EQ(fs::Copy_File(source, destination, [](int64_t, int64_t copied) { return copied > 1048576 ? 1 : 0; }),
              ECANCELED);
    int error = 0;
    With_File_Size_Limit(100000, [&] { error = fs::Copy_File(source, destination, nullptr); });
    EXPECT_EQ(error, EFBIG);
    EXPECT_EQ(fs::Copy_File(dir + "/gone.kd3", destination, nullptr), ENOENT);
    EXPECT_EQ(content(destination), "an older copy");
    EXPECT_EQ(std::distance(stdfs::directory_iterator(dir), stdfs::directory_iterator()), 2);
}

TEST(File_system, A_FIFO_or_a_device_is_no_file_to_copy) {
    const std::string dir = Test_folder() + "/special";
    stdfs::create_directories(dir);
    const std::string fifo = dir + "/pipe";
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    // The FIFO first without a writer (the copy may not wait for one), then held open by one.
    int writer = -1;
    for (const std::string& source : {fifo, fifo, std::string("/dev/null")}) {
        SCOPED_TRACE(source + (writer >= 0 ? " with a writer" : ""));
        // The answer may not be whatever an earlier call left in errno.
        errno = 0;
        EXPECT_EQ(fs::Copy_File(source, dir + "/copy", nullptr), EINVAL);
        EXPECT_EQ(std::distance(stdfs::directory_iterator(dir), stdfs::directory_iterator()), 1);
        if (writer < 0) writer = ::open(fifo.c_str(), O_RDWR | O_CLOEXEC);
        ASSERT_GE(writer, 0);
    }
    ::close(writer);
}

TEST(File_system, Drive_types_of_a_plain_folder_and_of_nothing) {
    EXPECT_EQ(fs::Drive_Type(""), fs::Drive_No_Root);
    EXPECT_EQ(fs::Drive_Type(Test_folder() + "/none"), fs::Drive_No_Root);
    EXPECT_EQ(fs::Drive_Type("/proc"), fs::Drive_Fixed);
    if (stdfs::is_directory("/dev/shm")) {
        EXPECT_EQ(fs::Drive_Type("/dev/shm"), fs::Drive_RamDisk);
    }
}

// A fake sysfs tree: a USB stick that calls itself fixed, a card in a removable slot (a partition of
// it), and a fixed disk.
TEST(File_system, Removable_block_devices_are_told_from_fixed_ones) {
    const std::string sys = Test_folder() + "/sys";
    auto disk = [&](const std::string& device, const char* removable) {
        stdfs::create_directories(sys + device);
        std::ofstream(sys + device + "/removable") << removable << "\n";
    };
    disk("/devices/pci0000:00/usb1/1-1/host6/block/sdb", "0");
    disk("/devices/platform/mmc0/block/mmcblk0", "1");
    stdfs::create_directories(sys + "/devices/platform/mmc0/block/mmcblk0/mmcblk0p1");
    disk("/devices/pci0000:00/ata1/block/sda", "0");
    stdfs::create_directories(sys + "/dev/block");
    const std::pair<const char*, const char*> links[] = {
        {"8:16", "sys/devices/pci0000:00/usb1/1-1/host6/block/sdb"},
        {"179:1", "sys/devices/platform/mmc0/block/mmcblk0/mmcblk0p1"},
        {"8:0", "sys/devices/pci0000:00/ata1/block/sda"}};
    for (auto [name, target] : links) stdfs::create_symlink("../../../" + std::string(target), sys + "/dev/block/" + name);
    EXPECT_TRUE(fs::Block_Device_Removable(sys, 8, 16));
    EXPECT_TRUE(fs::Block_Device_Removable(sys, 179, 1));
    EXPECT_FALSE(fs::Block_Device_Removable(sys, 8, 0));
    EXPECT_FALSE(fs::Block_Device_Removable(sys, 9, 9));
}

// A FUSE mount is a network drive unless its source is a disk; the disk's flags then tell.
TEST(File_system, A_disk_mounted_through_FUSE_is_no_network_drive) {
    const std::string sys = Test_folder() + "/sys";
    struct stat loop {};
    const bool has_disk = ::stat("/dev/loop0", &loop) == 0 && S_ISBLK(loop.st_mode);
    const std::string node = std::to_string(major(loop.st_rdev)) + ":" + std::to_string(minor(loop.st_rdev));
    struct Row { const char* device; const char* removable; const char* source; int32_t expected; } rows[] = {
        {"/devices/pci0000:00/usb1/1-1/host6/block/loop0", "0", "/dev/loop0", fs::Drive_Removable},
        {"/devices/pci0000:00/ata1/block/loop0", "0", "/dev/loop0", fs::Drive_Fixed},
        {"/devices/pci0000:00/ata1/block/loop0", "0", "sshfs#user@host:/races", fs::Drive_Remote},
        {"/devices/pci0000:00/ata1/block/loop0", "0", "/dev/null", fs::Drive_Remote},
        {"/devices/pci0000:00/ata1/block/loop0", "0", "", fs::Drive_Remote},
    };
    for (const Row& r : rows) {
        if (!has_disk && std::string(r.source) == "/dev/loop0") continue;  // no block device to mount from here
        stdfs::remove_all(sys);
        stdfs::create_directories(sys + r.device);
        std::ofstream(sys + r.device + "/removable") << r.removable << "\n";
        stdfs::create_directories(sys + "/dev/block");
        stdfs::create_symlink("../.." + std::string(r.device), sys + "/dev/block/" + node);
        EXPECT_EQ(fs::Fuse_Drive_Type(r.source, sys), r.expected) << r.device << " " << r.source;
    }
}

TEST(File_system, The_mount_that_holds_a_path_names_its_source) {
    const std::string mounts = "/dev/sda1 / ext4 rw 0 0\n"
                               "//server/share /mnt/res\\040ults cifs rw 0 0\n"
                               "nas:/export /mnt/nas nfs rw 0 0\n"
                               "nas:/other /mnt/nas nfs rw 0 0\n";
    EXPECT_EQ(fs::Mount_Source(mounts, "/mnt/res ults/day1"), "//server/share");
    EXPECT_EQ(fs::Mount_Source(mounts, "/mnt/nas"), "nas:/other");
    EXPECT_EQ(fs::Mount_Source(mounts, "/mnt/nasty"), "/dev/sda1");
    EXPECT_EQ(fs::Mount_Source("", "/x"), "");
}

TEST(File_system, The_executable_is_known) {
    EXPECT_EQ(stdfs::path(fs::Executable_Path()).filename(), "test_platform");
}

}  // namespace
