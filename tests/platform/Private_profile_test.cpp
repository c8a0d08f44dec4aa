#include "Test_dialogs.h"
#include "Test_limits.h"
#include "platform/ini/Private_profile.h"

#include <cerrno>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <sstream>
#include <sys/inotify.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

std::string Path() { return Test_folder() + "/t.ini"; }

void Write_File(const std::string& path, const std::string& content) {
    std::ofstream(path, std::ios::binary) << content;
}

std::string Read_File(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
}

std::string Get(const std::string& section, const std::string& key, const std::string& def = "",
                int32_t size = 512) {
    std::string out;
    ini::Get_Private_Profile_String(section, key, def, size, out, Path());
    return out;
}

TEST(Private_profile, Reads_sections_and_keys_without_regard_to_case) {
    Write_File(Path(), "[Settings]\r\ntiming = framecount \r\n[settings2]\r\nx=1\r\n[SETTINGS]\r\ntiming=late\r\n");
    struct Row { const char* section; const char* key; const char* expected; } rows[] = {
        {"Settings", "timing", "framecount"},
        {"settings", "TIMING", "framecount"},  // the first section of that name wins
        {"Settings2", "X", "1"},
        {"Settings", "missing", "dflt"},
        {"nosection", "timing", "dflt"},
    };
    for (const Row& r : rows) EXPECT_EQ(Get(r.section, r.key, "dflt"), r.expected) << r.section << "/" << r.key;
}

TEST(Private_profile, A_file_marked_as_UTF_8_keeps_its_first_section) {
    const std::string bom = "\xEF\xBB\xBF";
    struct Row { const char* eol; } rows[] = {{"\r\n"}, {"\n"}};
    for (const Row& r : rows) {
        const std::string eol = r.eol;
        Write_File(Path(), bom + "[Settings]" + eol + "fps=25" + eol + "[Canoe]" + eol + "x=1" + eol);
        EXPECT_EQ(Get("Settings", "fps", "none"), "25");
        // Written in place: no second section of that name, whose keys alone would be read from then on.
        ASSERT_EQ(ini::Write_Private_Profile_String("Settings", "fps", "30", Path()), 1);
        ASSERT_EQ(ini::Write_Private_Profile_String("settings", "lanes", "6", Path()), 1);
        EXPECT_EQ(Read_File(Path()), bom + "[Settings]" + eol + "fps=30" + eol + "lanes=6" + eol + "[Canoe]" + eol + "x=1" + eol);
    }
}

TEST(Private_profile, Junk_lines_and_a_missing_file_give_the_default) {
    std::string junk = "garbage without equals\n\x01\x02\xff\xfe[\n";
    junk += std::string("\0\0=\0", 4);
    junk += "\n[a]\nno equals here\nk=v\n";
    Write_File(Path(), junk);
    EXPECT_EQ(Get("a", "k"), "v");
    EXPECT_EQ(Get("a", "no equals here", "d"), "d");
    std::filesystem::remove(Path());
    EXPECT_EQ(Get("a", "k", "d"), "d");
    std::filesystem::create_directory(Path());  // a folder where the file should be
    EXPECT_EQ(Get("a", "k", "d"), "d");
}

TEST(Private_profile, Values_are_cut_to_the_buffer_without_splitting_a_character) {
    Write_File(Path(), "[s]\nk=" + std::string(600, 'x') + "\nu=ÅÄÖ\n");
    std::string out;
    EXPECT_EQ(ini::Get_Private_Profile_String("s", "k", "", 512, out, Path()), 511);
    EXPECT_EQ(out, std::string(511, 'x'));
    EXPECT_EQ(ini::Get_Private_Profile_String("s", "u", "", 3, out, Path()), 2);
    EXPECT_EQ(out, "ÅÄ");
}

TEST(Private_profile, Writes_in_place_and_keeps_every_other_byte) {
    const std::string before = "; comment\r\n[Canoe]\r\nevent_name=Cup\r\nsave_folder1=/data\r\n\r\n[windowpos]\r\nA=1,2\r\n";
    Write_File(Path(), before);
    ASSERT_EQ(ini::Write_Private_Profile_String("canoe", "EVENT_NAME", "Final", Path()), 1);
    EXPECT_EQ(Read_File(Path()),
              "; comment\r\n[Canoe]\r\nEVENT_NAME=Final\r\nsave_folder1=/data\r\n\r\n[windowpos]\r\nA=1,2\r\n");
    ASSERT_EQ(ini::Write_Private_Profile_String("Canoe", "capture_type", "1", Path()), 1);
    EXPECT_EQ(Read_File(Path()), "; comment\r\n[Canoe]\r\nEVENT_NAME=Final\r\nsave_folder1=/data\r\ncapture_type=1\r\n\r\n"
                                 "[windowpos]\r\nA=1,2\r\n");
    ASSERT_EQ(ini::Write_Private_Profile_String("new", "k", "v", Path()), 1);
    EXPECT_EQ(Get("new", "k"), "v");
    ASSERT_EQ(ini::Write_Private_Profile_String("Canoe", "save_folder1", std::nullopt, Path()), 1);
    EXPECT_EQ(Get("Canoe", "save_folder1", "gone"), "gone");
    EXPECT_EQ(Get("windowpos", "a"), "1,2");
}

TEST(Private_profile, A_first_write_creates_the_file_and_a_failed_write_loses_nothing) {
    ASSERT_EQ(ini::Write_Private_Profile_String("s", "k", "v", Path()), 1);
    EXPECT_EQ(Read_File(Path()), "[s]\nk=v\n");
    EXPECT_EQ(ini::Write_Private_Profile_String("s", "k", "v", Test_folder() + "/no/such/folder/x.ini"), 0);
    EXPECT_NE(ini::Last_Error(), 0);

    std::filesystem::permissions(Test_folder(), std::filesystem::perms::owner_read | std::filesystem::perms::owner_exec);
    bool can_write_anyway = ini::Write_Private_Profile_String("s", "k2", "v2", Path()) == 1;  // root ignores modes
    std::filesystem::permissions(Test_folder(), std::filesystem::perms::owner_all);
    if (!can_write_anyway) {
        EXPECT_EQ(Read_File(Path()), "[s]\nk=v\n");
    }
}

TEST(Private_profile, Names_and_values_that_would_break_the_lines_are_refused) {
    const std::string before = "[s]\r\nk=v\r\n[t]\r\nx=1\r\n";
    Write_File(Path(), before);
    struct Row { const char* section; const char* key; const char* value; } rows[] = {
        {"s", "k", "a\r\n[t]\r\nx=2"}, {"s", "k", "a\nb"}, {"s", "k", "a\rb"}, {"s\n[t]", "x", "2"},
        {"s", "x\ny", "2"},             {"s", "k=x", "2"},   {"s]t", "k", "2"},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(std::string(r.section) + "/" + r.key + "/" + r.value);
        EXPECT_EQ(ini::Write_Private_Profile_String(r.section, r.key, r.value, Path()), 0);
        EXPECT_EQ(ini::Last_Error(), EINVAL);
        EXPECT_EQ(Read_File(Path()), before);
    }
    EXPECT_EQ(Get("t", "x"), "1");
}

TEST(Private_profile, A_write_that_fails_part_way_keeps_the_old_file) {
    const std::string before = "[s]\nk=v\n";
    Write_File(Path(), before);
    int32_t written = 1;
    With_File_Size_Limit(100, [&] {
        written = ini::Write_Private_Profile_String("s", "long", std::string(500, 'x'), Path());
    });
    EXPECT_EQ(written, 0);
    EXPECT_EQ(ini::Last_Error(), EFBIG);
    EXPECT_EQ(Read_File(Path()), before);
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(Test_folder()), std::filesystem::directory_iterator()),
              3);  // data, run and the ini file: no temporary file
}

TEST(Private_profile, Removing_a_missing_key_changes_nothing) {
    EXPECT_EQ(ini::Write_Private_Profile_String("s", "k", std::nullopt, Path()), 1);
    EXPECT_FALSE(std::filesystem::exists(Path()));
    Write_File(Path(), "[s]\nk=v");
    EXPECT_EQ(ini::Write_Private_Profile_String("s", "other", std::nullopt, Path()), 1);
    EXPECT_EQ(Read_File(Path()), "[s]\nk=v");
    EXPECT_EQ(ini::Write_Private_Profile_String("s", "j", "w", Path()), 1);
    EXPECT_EQ(Read_File(Path()), "[s]\nk=v\nj=w\n");
}

// Start-up asks for dozens of keys and writes back values that are already there: the file is read once,
// an unchanged value leaves it alone, and a change made by another program is seen.
TEST(Private_profile, The_file_is_read_once_and_written_only_when_a_value_changes) {
    Write_File(Path(), "[Settings]\r\ntiming=framecount\r\ncorrection=12\r\n");
    int watch = inotify_init1(IN_NONBLOCK | IN_CLOEXEC);
    ASSERT_GE(watch, 0);
    ASSERT_GE(inotify_add_watch(watch, Path().c_str(), IN_OPEN), 0);
    for (int i = 0; i < 20; ++i) {
        EXPECT_EQ(Get("Settings", "timing"), "framecount");
        EXPECT_EQ(Get("settings", "CORRECTION"), "12");
    }
    int opened = 0;
    alignas(inotify_event) char events[4096];
    for (ssize_t n; (n = read(watch, events, sizeof events)) > 0;)
        for (ssize_t at = 0; at < n; at += static_cast<ssize_t>(sizeof(inotify_event)) + reinterpret_cast<inotify_event*>(events + at)->len)
            opened += (reinterpret_cast<inotify_event*>(events + at)->mask & IN_OPEN) != 0;
    close(watch);
    EXPECT_EQ(opened, 1);

    struct stat before {}, after {};
    ASSERT_EQ(stat(Path().c_str(), &before), 0);
    EXPECT_EQ(ini::Write_Private_Profile_String("SETTINGS", "Timing", "framecount", Path()), 1);
    ASSERT_EQ(stat(Path().c_str(), &after), 0);
    EXPECT_EQ(after.st_ino, before.st_ino);  // not replaced

    EXPECT_EQ(ini::Write_Private_Profile_String("Settings", "timing", "late", Path()), 1);
    EXPECT_EQ(Get("Settings", "timing"), "late");
    EXPECT_EQ(Read_File(Path()), "[Settings]\r\ntiming=late\r\ncorrection=12\r\n");
    Write_File(Path(), "[Settings]\r\ntiming=from another program\r\n");
    EXPECT_EQ(Get("Settings", "timing"), "from another program");
    EXPECT_EQ(Get("Settings", "correction", "none"), "none");
}

}  // namespace
