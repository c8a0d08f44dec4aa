#include "Test_dialogs.h"
#include "platform/registry/Registry_store.h"

#include <cerrno>
#include <climits>
#include <dlfcn.h>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <unistd.h>

// Reads of the file named here fail with EIO once `Readable` bytes have been read, as on a failing disk.
namespace read_fault {
std::string Path;
size_t Readable = 0;
}  // namespace read_fault

extern "C" ssize_t read(int fd, void* buffer, size_t count) {
    using Read = ssize_t (*)(int, void*, size_t);
    static const Read next = reinterpret_cast<Read>(dlsym(RTLD_NEXT, "read"));
    if (!read_fault::Path.empty()) {
        char target[PATH_MAX];
        ssize_t n = readlink(("/proc/self/fd/" + std::to_string(fd)).c_str(), target, sizeof target - 1);
        if (n > 0 && std::string(target, static_cast<size_t>(n)) == read_fault::Path) {
            off_t at = lseek(fd, 0, SEEK_CUR);
            if (at < 0 || static_cast<size_t>(at) >= read_fault::Readable) {
                errno = EIO;
                return -1;
            }
            count = std::min(count, read_fault::Readable - static_cast<size_t>(at));
        }
    }
    return next(fd, buffer, count);
}

namespace {

using namespace registry;

std::vector<uint8_t> Bytes(const std::string& s) { return {s.begin(), s.end()}; }

class Registry : public testing::Test {
protected:
    std::string file = Test_folder() + "/data/vantorel/Vantorel_registry.txt";
};

TEST_F(Registry, Keys_and_values_survive_a_new_store_on_the_same_file) {
    {
        Registry_store store(file);
        ASSERT_EQ(store.Create_Key(HKEY_CURRENT_USER, "Software\\Vantorel\\Settings"), Ok);
        ASSERT_EQ(store.Set_Value(HKEY_CURRENT_USER, "Software\\Vantorel\\Settings", "", REG_SZ, Bytes(std::string("def\0", 4))), Ok);
        ASSERT_EQ(store.Set_Value(HKEY_CURRENT_USER, "Software\\Vantorel\\Settings", "Tab\tand %\nline", REG_BINARY,
                                  {0, 1, 0xFF, '\t', '\n'}),
                  Ok);
        ASSERT_EQ(store.Set_Value(HKEY_CURRENT_USER, "Software\\Vantorel\\Settings", "Åäö", REG_DWORD, {1, 2, 3, 4}), Ok);
        ASSERT_EQ(store.Create_Key(HKEY_CLASSES_ROOT, ".kd3"), Ok);
    }
    Registry_store again(file);
    int32_t type = 0;
    std::vector<uint8_t> data;
    ASSERT_EQ(again.Query_Value(HKEY_CURRENT_USER, "SOFTWARE\\vantorel\\settings", "", type, data), Ok);
    EXPECT_EQ(type, REG_SZ);
    EXPECT_EQ(data, Bytes(std::string("def\0", 4)));
    ASSERT_EQ(again.Query_Value(HKEY_CURRENT_USER, "Software\\Vantorel\\Settings", "TAB\tAND %\nLINE", type, data), Ok);
    EXPECT_EQ(type, REG_BINARY);
    EXPECT_EQ(data, (std::vector<uint8_t>{0, 1, 0xFF, '\t', '\n'}));
    ASSERT_EQ(again.Query_Value(HKEY_CURRENT_USER, "Software\\Vantorel\\Settings", "Åäö", type, data), Ok);
    EXPECT_EQ(data, (std::vector<uint8_t>{1, 2, 3, 4}));

    std::vector<std::string> names;
    ASSERT_EQ(again.Value_Names(HKEY_CURRENT_USER, "Software\\Vantorel\\Settings", names), Ok);
    EXPECT_EQ(names, (std::vector<std::string>{"", "Tab\tand %\nline", "Åäö"}));
    ASSERT_EQ(again.Subkey_Names(HKEY_CURRENT_USER, "Software", names), Ok);
    EXPECT_EQ(names, std::vector<std::string>{"Vantorel"});
    EXPECT_EQ(again.Open_Key(HKEY_CLASSES_ROOT, ".kd3"), Ok);
    EXPECT_EQ(again.Open_Key(HKEY_LOCAL_MACHINE, ".kd3"), Not_Found);  // roots are apart
}

TEST_F(Registry, Deleting_keys_and_values) {
    Registry_store store(file);
    ASSERT_EQ(store.Create_Key(HKEY_CURRENT_USER, "A\\B"), Ok);
    ASSERT_EQ(store.Set_Value(HKEY_CURRENT_USER, "A\\B", "v", REG_SZ, {0}), Ok);
    EXPECT_EQ(store.Delete_Key(HKEY_CURRENT_USER, "A"), Access_Denied);  // it still has a subkey
    EXPECT_EQ(store.Delete_Value(HKEY_CURRENT_USER, "A\\B", "w"), Not_Found);
    EXPECT_EQ(store.Delete_Value(HKEY_CURRENT_USER, "A\\B", "V"), Ok);
    EXPECT_EQ(store.Delete_Key(HKEY_CURRENT_USER, "a\\b"), Ok);
    EXPECT_EQ(store.Delete_Key(HKEY_CURRENT_USER, "A"), Ok);
    EXPECT_EQ(store.Open_Key(HKEY_CURRENT_USER, "A"), Not_Found);
    EXPECT_EQ(store.Set_Value(HKEY_CURRENT_USER, "A", "v", REG_SZ, {0}), Not_Found);
}

TEST_F(Registry, A_damaged_file_is_never_overwritten) {
    std::filesystem::create_directories(std::filesystem::path(file).parent_path());
    std::ofstream(file) << "Vantorel registry store 1\nK\t80000001\tGood\nnonsense\n";
    Registry_store store(file);
    EXPECT_EQ(store.Open_Key(HKEY_CURRENT_USER, "Good"), Store_Damaged);
    EXPECT_EQ(store.Create_Key(HKEY_CURRENT_USER, "New"), Store_Damaged);
    std::ifstream in(file);
    std::string content((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    EXPECT_EQ(content, "Vantorel registry store 1\nK\t80000001\tGood\nnonsense\n");
}

TEST_F(Registry, A_file_whose_read_fails_part_way_is_refused_and_never_overwritten) {
    {
        Registry_store store(file);
        for (int i = 0; i < 400; ++i) ASSERT_EQ(store.Create_Key(HKEY_CURRENT_USER, "Key " + std::to_string(i)), Ok);
    }
    std::ifstream in(file, std::ios::binary);
    const std::string before((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    ASSERT_GT(before.size(), 2000u);
    read_fault::Path = std::filesystem::canonical(file).string();
    read_fault::Readable = 1000;
    Registry_store store(file);
    EXPECT_EQ(store.Open_Key(HKEY_CURRENT_USER, "Key 1"), Access_Denied);
    EXPECT_EQ(store.Create_Key(HKEY_CURRENT_USER, "New"), Access_Denied);
    EXPECT_EQ(store.Delete_Key(HKEY_CURRENT_USER, "Key 1"), Access_Denied);
    read_fault::Path.clear();
    std::ifstream after(file, std::ios::binary);
    EXPECT_EQ(std::string((std::istreambuf_iterator<char>(after)), std::istreambuf_iterator<char>()), before);
    EXPECT_EQ(store.Open_Key(HKEY_CURRENT_USER, "Key 399"), Ok);
}

TEST_F(Registry, Roots_and_types_that_break_the_format_make_the_store_damaged) {
    std::filesystem::create_directories(std::filesystem::path(file).parent_path());
    const std::string good = "Vantorel registry store 1\nK\t80000001\tGood\nV\t4\tv\t01000000\n";
    for (const char* bad : {"K\t-0000001\tX\n", "K\t+0000001\tX\n", "K\t 0000001\tX\n", "K\t0x000001\tX\n",
                            "V\t 4\tw\t00\n", "V\t+4\tw\t00\n", "V\t99999999999\tw\t00\n", "V\t4x\tw\t00\n",
                            "V\t\tw\t00\n", "V\t-\tw\t00\n"}) {
        SCOPED_TRACE(bad);
        std::ofstream(file, std::ios::trunc) << good << bad;
        Registry_store store(file);
        EXPECT_EQ(store.Open_Key(HKEY_CURRENT_USER, "Good"), Store_Damaged);
        EXPECT_EQ(store.Create_Key(HKEY_CURRENT_USER, "New"), Store_Damaged);
        std::ifstream in(file);
        std::string content((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
        EXPECT_EQ(content, good + bad);
    }
    std::ofstream(file, std::ios::trunc) << good << "V\t-7\tw\t00\n";
    Registry_store store(file);
    int32_t type = 0;
    std::vector<uint8_t> data;
    ASSERT_EQ(store.Query_Value(HKEY_CURRENT_USER, "Good", "w", type, data), Ok);
    EXPECT_EQ(type, -7);
    ASSERT_EQ(store.Query_Value(HKEY_CURRENT_USER, "Good", "v", type, data), Ok);
    EXPECT_EQ(Dword_Of(data), 1);
    EXPECT_EQ(Dword_Bytes(-2), (std::vector<uint8_t>{0xFE, 0xFF, 0xFF, 0xFF}));
    EXPECT_EQ(Dword_Of({0x34, 0x12}), 0x1234);
}

TEST_F(Registry, The_processor_values_are_computed_and_read_only) {
    Registry_store store(file);
    int32_t type = 0;
    std::vector<uint8_t> data;
    ASSERT_EQ(store.Open_Key(HKEY_LOCAL_MACHINE, "HARDWARE\\DESCRIPTION\\System\\CentralProcessor\\0"), Ok);
    int32_t mhz = store.Query_Value(HKEY_LOCAL_MACHINE, "HARDWARE\\DESCRIPTION\\System\\CentralProcessor\\0", "~MHz",
                                    type, data);
    if (mhz == Ok) {
        EXPECT_EQ(type, REG_DWORD);
        ASSERT_EQ(data.size(), 4u);
    }
    ASSERT_EQ(store.Query_Value(HKEY_DYN_DATA, "PerfStats\\StatData", "KERNEL\\CPUUsage", type, data), Ok);
    ASSERT_EQ(data.size(), 4u);
    EXPECT_LE(data[0], 100);
    EXPECT_EQ(data[1] | data[2] | data[3], 0);
    EXPECT_EQ(store.Set_Value(HKEY_DYN_DATA, "PerfStats\\StatData", "x", REG_DWORD, {0, 0, 0, 0}), Access_Denied);
    EXPECT_EQ(store.Create_Key(HKEY_LOCAL_MACHINE, "HARDWARE\\Mine"), Access_Denied);
    EXPECT_EQ(store.Open_Key(0, "x"), Invalid_Parameter);
    EXPECT_FALSE(std::filesystem::exists(file));  // reading wrote nothing
}

}  // namespace
