#include "Test_dialogs.h"
#include "platform/sys/Sys_clock.h"
#include "platform/vb/Error_trap.h"
#include "platform/vb/VbError.h"
#include "shell/Module_Vantorel.h"
#include "shell/Module_dependant.h"
#include "shell/Non_dependant.h"
#include "shell/fso_functions.h"

#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>

namespace {

namespace stdfs = std::filesystem;

struct Reported {
    int32_t number;
    std::string location;
};

class Files : public testing::Test {
protected:
    void SetUp() override {
        dir = Test_folder() + "/files";
        stdfs::create_directories(dir);
        vb::Set_Error_Reporter([this](const std::string&, int32_t number, int32_t, const std::string& location,
                                      const std::string&) { reported.push_back({number, location}); });
    }
    void TearDown() override { vb::Set_Error_Reporter(nullptr); }

    // A file of `size` bytes (sparse) modified at the local time given.
    std::string Make(const std::string& name, int64_t size, int64_t seconds = 0) {
        std::string path = dir + "/" + name;
        std::ofstream(path).flush();
        stdfs::resize_file(path, static_cast<uintmax_t>(size));
        if (seconds)
            stdfs::last_write_time(path, std::chrono::file_clock::from_sys(
                                             std::chrono::sys_seconds(std::chrono::seconds(seconds))));
        return path;
    }

    std::string dir;
    std::vector<Reported> reported;
};

TEST_F(Files, FileExists_answers_for_files_only_and_reports_what_it_cannot_look_at) {
    Make("a.kd3", 10);
    stdfs::create_symlink(dir + "/loop1", dir + "/loop2");
    stdfs::create_symlink(dir + "/loop2", dir + "/loop1");
    EXPECT_TRUE(Module_dependant::FileExists(dir + "/a.kd3"));
    EXPECT_FALSE(Module_dependant::FileExists(dir + "/b.kd3"));
    EXPECT_FALSE(Module_dependant::FileExists(dir));
    EXPECT_TRUE(Module_dependant::FolderExists(dir));
    EXPECT_FALSE(Module_dependant::FolderExists(dir + "/a.kd3"));
    EXPECT_TRUE(Test_dialogs::Instance().Shown_Dialogs().empty());

    Test_dialogs::Instance().Answer(ui::vbOK);
    EXPECT_FALSE(Module_dependant::FileExists(dir + "/loop1"));
    ASSERT_EQ(Test_dialogs::Instance().Shown_Dialogs().size(), 1u);
    EXPECT_EQ(Test_dialogs::Instance().Shown_Dialogs()[0].prompt.rfind("FileExists error! 75 Path/File access error", 0),
              0u);
}

TEST_F(Files, Kill_File_deletes_ignores_a_missing_file_and_reports_other_failures) {
    std::string file = Make("a.kd3", 10);
    stdfs::permissions(file, stdfs::perms::owner_read);
    Module_dependant::Kill_File(file);
    EXPECT_FALSE(stdfs::exists(file));
    Module_dependant::Kill_File(file);
    Module_dependant::Kill_File("");
    EXPECT_TRUE(reported.empty());

    stdfs::create_symlink(dir + "/loop1", dir + "/loop2");
    stdfs::create_symlink(dir + "/loop2", dir + "/loop1");
    Module_dependant::Kill_File(dir + "/loop1");
    ASSERT_EQ(reported.size(), 1u);
    EXPECT_EQ(reported[0].number, 75);
    EXPECT_EQ(reported[0].location, "Kill_File of Module Module_dependant");
}

TEST_F(Files, Get_File_Size_measures_beyond_4_GB) {
    EXPECT_EQ(Non_dependant::Get_File_Size(""), 0);
    EXPECT_EQ(Non_dependant::Get_File_Size(Make("big.kd3", 5'000'000'000LL)), 5'000'000'000LL);
    EXPECT_THROW(Non_dependant::Get_File_Size(dir + "/none.kd3"), VbError);
}

TEST_F(Files, Youngest_files_lists_the_large_capture_files_newest_first) {
    const int64_t older = 1577872800, newer = 1622548800, newest = 1625000000;
    Make("old heat.kd3", 2'000'000, older);
    Make("new heat.kd3", 1'048'577, newer);
    Make("small.kd3", 1'048'576, newest);  // not above 1 MiB
    Make("dv heat.kd2", 2'000'000, newest);
    Make("upper.KD3", 2'000'000, newest);  // the suffix is compared with its case
    Make("notes.txt", 2'000'000, newest);
    stdfs::create_directories(dir + "/sub.kd3");

    auto stamp = [](int64_t s) { return sys::Date_Time_Text(sys::Local_Time_Of(s)); };
    std::vector<std::string> files = fso_functions::fso_Youngest_files(dir);
    EXPECT_EQ(files, (std::vector<std::string>{stamp(newer) + "new heat.kd3", stamp(older) + "old heat.kd3", "", "",
                                               "", ""}));
    EXPECT_EQ(files[0].substr(19), "new heat.kd3");  // the menu shows each from its 20th character on
}

TEST_F(Files, Youngest_files_of_nothing_is_no_element) {
    stdfs::create_directories(dir + "/empty");
    EXPECT_TRUE(fso_functions::fso_Youngest_files("").empty());
    EXPECT_TRUE(fso_functions::fso_Youngest_files(dir + "/missing").empty());
    EXPECT_TRUE(fso_functions::fso_Youngest_files(dir + "/empty").empty());
    EXPECT_TRUE(reported.empty());
    EXPECT_TRUE(Test_dialogs::Instance().Shown_Dialogs().empty());
}

}  // namespace
