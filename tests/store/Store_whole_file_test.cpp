// Whole-file reads of a kd3 heat (a copy in memory, a preread through the file cache, every frame in
// turn) within the memory bound and past it, and the store's other members that no window calls:
// the file's dates, whether it is in use, the older header reader and record-length check, the time
// stamps, fresh headers, the header dump and the older property report.
#include "Store_test_support.h"

#include "platform/fs/File_system.h"
#include "platform/sys/Sys_clock.h"

#include <chrono>
#include <cmath>
#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

namespace {

class Store_whole_file_test : public Store_test {
protected:
    void TearDown() override {
        cls_VideoFile_handler::Whole_File_Bound(0);
        cls_VideoFile_handler::Preread_switch = false;
        Module_Vantorel::Vantorel_Mode = false;
        Test_dialogs::Instance().Expect_All_Answers_Used();
        Test_dialogs::Instance().Reset();
        Store_test::TearDown();
    }
    // A heat of `frames` interlaced frames of 64 x 48, closed.
    std::string Heat(const std::string& name, int32_t frames) {
        std::string path = Path(name);
        cls_VideoFile_handler writer;
        Make_Heat_File(writer, path, 64, 48, 20000);
        if (frames > 0) Append_Segment(writer, path, 1, frames, 64, 48);
        return path;
    }
    std::string Event_Log() const {
        std::vector<uint8_t> bytes = File_Bytes(Test_folder() + "/Vantorel_eventlog.txt");
        return {bytes.begin(), bytes.end()};
    }
};

TEST_F(Store_whole_file_test, A_heat_within_the_bound_is_copied_prereaded_and_read_frame_by_frame) {
    const std::string path = Heat("heat.kd3", 6);
    const std::vector<uint8_t> on_disk = File_Bytes(path);
    cls_VideoFile_handler store;
    std::vector<std::string> events;
    std::vector<int16_t> percents;
    store.StartPreread = [&] { events.push_back("start"); };
    store.EndPreread = [&] { events.push_back("end " + std::to_string(store.Memory_copy().size())); };
    store.Prereadpct = [&](int16_t& p) { percents.push_back(p); };

    store.Preread_File();  // no file open: no event
    EXPECT_TRUE(percents.empty());

    cls_VideoFile_handler::Whole_File_Bound(static_cast<int64_t>(on_disk.size()));  // exactly the file: allowed
    store.File_name(path);
    store.Open_RGB_File();
    store.Read_File_to_Memory();
    EXPECT_TRUE(store.Memory_copy_held());
    EXPECT_EQ(store.Memory_copy(), on_disk);
    EXPECT_EQ(events, (std::vector<std::string>{"start", "end " + std::to_string(on_disk.size())}));

    store.Preread_File();
    EXPECT_EQ(percents, (std::vector<int16_t>{100, -1}));  // one block, the share capped at the whole file

    store.Read_All_RGB_Frames();
    EXPECT_EQ(store.Current_Frame(), 6);
    EXPECT_EQ(store.KD3_Capture_mill(), Tick_Of(6));
    EXPECT_TRUE(Near(Pixel_At(store.Frame_Image(), 10, 2), Band_Colour(0, 6)));
    EXPECT_EQ(File_Bytes(path), on_disk);
}

TEST_F(Store_whole_file_test, A_heat_over_the_bound_is_refused_with_the_bound_and_stays_open_for_frame_reads) {
    const std::string path = Heat("big.kd3", 5);
    const int64_t length = static_cast<int64_t>(File_Bytes(path).size());
    cls_VideoFile_handler::Whole_File_Bound(length - 1);
    cls_VideoFile_handler store;
    int started = 0;
    std::vector<int16_t> percents;
    store.StartPreread = [&] { ++started; };
    store.Prereadpct = [&](int16_t& p) { percents.push_back(p); };
    store.File_name(path);
    store.Open_RGB_File();

    try {
        store.Read_File_to_Memory();
        ADD_FAILURE() << "a copy over the bound was made";
    } catch (const VbError& e) {
        EXPECT_EQ(e.Number(), vb::Err_Out_Of_Memory);
        EXPECT_NE(e.Description().find(path + " is " + std::to_string(length) + " bytes, more than the " +
                                       std::to_string(length - 1) + " bytes"),
                  std::string::npos)
            << e.Description();
    }
    EXPECT_EQ(started, 0);
    EXPECT_FALSE(store.Memory_copy_held());
    EXPECT_TRUE(store.Memory_copy().empty());

    store.Preread_File();
    EXPECT_EQ(percents, (std::vector<int16_t>{-1}));
    EXPECT_NE(Event_Log().find("Preread_File: The capture file " + path), std::string::npos);

    // Frame by frame the file reads as before: one record at a time needs no more memory.
    ASSERT_TRUE(store.File_open());
    store.Read_All_RGB_Frames();
    EXPECT_EQ(store.Current_Frame(), 5);
    store.Read_RGB_sample(2, true);
    EXPECT_EQ(store.KD3_Capture_mill(), Tick_Of(2));

    // Asked for at opening, the refused copy is shown and the file is opened all the same.
    cls_VideoFile_handler copying;
    copying.Read_to_Memory(true);
    Test_dialogs::Instance().Answer(ui::vbOK);
    EXPECT_TRUE(copying.Open_File(path));
    ASSERT_EQ(Test_dialogs::Instance().Shown_Prompts().size(), 1u);
    EXPECT_NE(Test_dialogs::Instance().Shown_Prompts()[0].find("read it whole; it is read frame by frame"), std::string::npos);
    EXPECT_TRUE(copying.File_open());
    EXPECT_FALSE(copying.Memory_copy_held());
    copying.Read_RGB_sample(4, false);
    EXPECT_EQ(copying.KD3_Capture_mill(), Tick_Of(4));

    // Within the bound the copy is made at opening.
    cls_VideoFile_handler::Whole_File_Bound(length);
    EXPECT_TRUE(copying.Open_File(path));
    EXPECT_TRUE(copying.Memory_copy_held());
    EXPECT_EQ(copying.Memory_copy().size(), static_cast<size_t>(length));

    // With the program-wide preread switch on, opening prereads the file; past the bound only the end is reported.
    std::vector<int16_t> at_open;
    cls_VideoFile_handler prereading;
    prereading.Prereadpct = [&](int16_t& p) { at_open.push_back(p); };
    cls_VideoFile_handler::Preread_switch = true;
    EXPECT_TRUE(prereading.Open_File(path));
    EXPECT_EQ(at_open, (std::vector<int16_t>{100, -1}));
    cls_VideoFile_handler::Whole_File_Bound(length - 1);
    at_open.clear();
    EXPECT_TRUE(prereading.Open_File(path));
    EXPECT_EQ(at_open, (std::vector<int16_t>{-1}));
    EXPECT_TRUE(prereading.File_open());
    cls_VideoFile_handler::Preread_switch = false;
}

TEST_F(Store_whole_file_test, Prereading_goes_block_by_block_and_an_empty_or_missing_file_gives_only_the_end) {
    // A heat of three records of a megabyte each: four blocks' worth of shares, the last capped.
    const std::string path = Path("large.kd3");
    {
        cls_VideoFile_handler writer;
        Make_Heat_File(writer, path, 1024, 768, 1000000);
        Append_Segment(writer, path, 1, 3, 1024, 768);
    }
    const double size = static_cast<double>(File_Bytes(path).size());
    cls_VideoFile_handler store;
    std::vector<int16_t> percents;
    store.Prereadpct = [&](int16_t& p) { percents.push_back(p); };
    store.File_name(path);
    store.Open_RGB_File();
    store.Preread_File();
    EXPECT_EQ(percents, (std::vector<int16_t>{static_cast<int16_t>(std::llround(1048576 * 100 / size)),
                                              static_cast<int16_t>(std::llround(2 * 1048576 * 100 / size)), 100, -1}));
    store.Close_File();

    percents.clear();
    store.File_name(Path("empty.kd3"));
    store.Create_File();  // opens a new, empty file
    ASSERT_TRUE(store.File_open());
    store.Preread_File();
    EXPECT_EQ(percents, (std::vector<int16_t>{-1}));
    EXPECT_THROW(store.Read_File_to_Memory(), VbError);
    EXPECT_FALSE(store.Memory_copy_held());
}

TEST_F(Store_whole_file_test, Dates_and_use_of_the_file_come_from_the_file_system) {
    const std::string path = Heat("dated.kd3", 0);
    const auto when = std::chrono::file_clock::from_sys(std::chrono::sys_seconds{std::chrono::seconds{1781000000}});
    std::filesystem::last_write_time(path, when);
    cls_VideoFile_handler store;
    store.File_name(path);
    EXPECT_EQ(store.DateLastModified(), sys::Date_Time_Text(sys::Local_Time_Of(1781000000)));
    EXPECT_EQ(store.DateCreated().size(), 19u);
    EXPECT_EQ(store.DateCreated().substr(0, 2), "20");

    EXPECT_EQ(cls_VideoFile_handler::IsFileInUse(path), 0);
    const int holder = ::open(path.c_str(), O_RDONLY);
    ASSERT_GE(holder, 0);
    ASSERT_EQ(::flock(holder, LOCK_EX), 0);
    EXPECT_EQ(cls_VideoFile_handler::IsFileInUse(path), -1);
    ::close(holder);
    EXPECT_EQ(cls_VideoFile_handler::IsFileInUse(path), 0);
    EXPECT_EQ(cls_VideoFile_handler::IsFileInUse(Path("none.kd3")), -999);

    store.File_name(Path("none.kd3"));
    for (auto date : {&cls_VideoFile_handler::DateCreated, &cls_VideoFile_handler::DateLastModified}) {
        try {
            (store.*date)();
            ADD_FAILURE() << "a date of a missing file";
        } catch (const VbError& e) {
            EXPECT_EQ(e.Number(), vb::Err_File_Not_Found);
        }
    }
}

// The header record's text length at bytes 8 to 11.
void Patch_Text_Length(const std::string& path, int32_t length) {
    std::fstream f(path, std::ios::in | std::ios::out | std::ios::binary);
    f.seekp(8);
    f.write(reinterpret_cast<const char*>(&length), 4);
}

TEST_F(Store_whole_file_test, The_older_header_reader_checks_the_text_length_against_the_record) {
    const std::string path = Heat("older.kd3", 3);
    struct Row {
        int32_t length;  // 0: as written
        int32_t error;
    };
    for (const Row& row : {Row{0, 0}, Row{32000, 0}, Row{32001, 9}, Row{-1, 9}, Row{INT32_MAX, 9}}) {
        SCOPED_TRACE(row.length);
        const std::string copy = Path("older-" + std::to_string(row.length) + ".kd3");
        std::filesystem::copy_file(path, copy, std::filesystem::copy_options::overwrite_existing);
        cls_VideoFile_handler store;
        EXPECT_THROW(store.Read_RGB_Headers(), VbError);  // no file open
        store.File_name(copy);
        store.Open_RGB_File();
        ASSERT_TRUE(store.File_open());
        // Patched under the open store: an opening refused for its text length would leave nothing to read.
        if (row.length != 0) Patch_Text_Length(copy, row.length);
        try {
            store.Read_RGB_Headers();
            EXPECT_EQ(row.error, 0);
            EXPECT_EQ(store.KD3_Num_Frames(), 3);
        } catch (const VbError& e) {
            EXPECT_EQ(e.Number(), row.error) << e.Description();
        }
    }
}

TEST_F(Store_whole_file_test, The_record_length_check_compares_the_first_two_records_with_the_header) {
    const std::string path = Heat("lengths.kd3", 3);
    cls_VideoFile_handler store;
    store.Analyze_Sample_Length(path);
    EXPECT_TRUE(Test_dialogs::Instance().Shown_Dialogs().empty());
    EXPECT_FALSE(store.File_open());

    // The header says another length: the file is left alone, the difference shown.
    store.File_name(path);
    store.Open_RGB_File();
    store.RGB_Sample_Size(12345);
    store.Write_KD3_header();
    store.Close_File();
    const std::vector<uint8_t> before = File_Bytes(path);
    cls_VideoFile_handler checker;
    Test_dialogs::Instance().Answer(ui::vbOK);
    checker.Analyze_Sample_Length(path);
    EXPECT_EQ(Test_dialogs::Instance().Shown_Prompts(), std::vector<std::string>{"sample size missmatch!"});
    EXPECT_EQ(File_Bytes(path), before);

    // A store with a heat open checks another file without touching its own.
    const std::string other = Heat("one.kd3", 1);
    cls_VideoFile_handler reviewing;
    reviewing.File_name(path);
    reviewing.Open_RGB_File();
    try {
        reviewing.Analyze_Sample_Length(other);
        ADD_FAILURE() << "one record was taken for two";
    } catch (const VbError& e) {
        EXPECT_EQ(e.Number(), vb::Err_Invalid_Call);
    }
    EXPECT_TRUE(reviewing.File_open());
    EXPECT_EQ(reviewing.File_name(), path);
    EXPECT_EQ(reviewing.KD3_Num_Frames(), 3);
    EXPECT_THROW(reviewing.Analyze_Sample_Length(Path("none.kd3")), VbError);
}

TEST_F(Store_whole_file_test, Time_stamps_count_from_the_heat_start_and_a_second_field_is_20_ms_later) {
    Module_Vantorel::Vantorel_Mode = true;  // the heat records
    const std::string path = Heat("stamps.kd3", 4);
    cls_VideoFile_handler store;
    store.File_name(path);
    store.Open_RGB_File();
    store.Clear_Heats();
    store.Start_PC_mill(1, Tick_Of(0));
    Test_surface box(64, 48);
    struct Row {
        int32_t field, stamp;
    };
    for (const Row& row : {Row{1, 30}, Row{2, 50}, Row{5, 110}, Row{8, 170}}) {
        store.Draw_RGB_Field(row.field, box);
        EXPECT_EQ(store.RGB_TimeStamp(), row.stamp) << row.field;
        EXPECT_EQ(store.Multi_TimeStamp(1), store.Rounded_Capture_Time() + (row.field % 2 == 0 ? 20 : 0)) << row.field;
    }
    // Across the wrap of the tick.
    store.Start_PC_mill(1, INT32_MAX);
    store.Draw_RGB_Field(1, box);
    EXPECT_EQ(store.RGB_TimeStamp(), sys::Tick_Diff(store.Rounded_Capture_Time(), INT32_MAX));
}

TEST_F(Store_whole_file_test, Fresh_headers_leave_the_file_without_a_buffer_length_and_the_dump_keeps_a_longer_tail) {
    Module_Vantorel::Vantorel_Mode = true;
    const std::string path = Path("fresh.kd3");
    cls_VideoFile_handler store;
    store.File_name(path);
    store.Create_File();
    store.Cropped_X(64);
    store.Cropped_Y(48);
    store.Initiate_KD3_File("not used");
    EXPECT_FALSE(store.File_open());
    EXPECT_EQ(File_Bytes(path).size(), static_cast<size_t>(kd3::Header_Length));
    store.File_name(path);
    store.Open_RGB_File();
    EXPECT_EQ(store.RGB_Compressed_buffer_Size(), 0);
    store.Event_name("Regatta");
    store.ReCreate_XML_header();  // a default header written into the open file
    store.Close_File();
    cls_VideoFile_handler reader;
    reader.File_name(path);
    reader.Open_RGB_File();
    EXPECT_NE(reader.Event_name(), "Regatta");
    EXPECT_EQ(reader.Width(), 64);  // the picture size outlives the fresh header
    EXPECT_EQ(reader.Height(), 48);
    const std::string report = reader.Property_String();
    EXPECT_EQ(report.rfind("File_size: 0 MB\r\nProgressive : True\r\nFrames : 0\r\nDimensions : 64*48\r\n", 0), 0u) << report;
    EXPECT_NE(report.find("\r\nFourcc : IJL\r\nCodec : Intel\r\n"), std::string::npos) << report;
    EXPECT_NE(report.find("\r\nSelection start/end = 0/0\r\nSpecial application =  None\r\n"), std::string::npos);
    EXPECT_THROW(reader.Venue(), VbError);  // a header of this program has no golf section

    const std::string dump = std::filesystem::path(fs::Executable_Path()).parent_path().string() + "/dumpxml.xml";
    store.Dump_XML_String("abcdef");
    store.Dump_XML_String("XY");
    const std::vector<uint8_t> dumped = File_Bytes(dump);
    EXPECT_EQ(std::string(dumped.begin(), dumped.end()), "XYcdef");
    std::filesystem::remove(dump);
}

// The older report says whether the file read was captured rotated, whatever the store would give a new file.
TEST_F(Store_whole_file_test, The_older_report_of_a_kd3_heat_says_whether_the_file_is_rotated) {
    for (const bool rotated : {false, true}) {
        SCOPED_TRACE(rotated);
        const std::string path = Path(rotated ? "turned.kd3" : "upright.kd3");
        {
            cls_VideoFile_handler writer;
            Make_Heat_File(writer, path, 64, 48, 20000, true, rotated);
        }
        cls_VideoFile_handler reader;
        reader.RGB_Rotated(!rotated);  // a new file's flag, not this one's
        reader.File_name(path);
        reader.Open_RGB_File();
        const std::string report = reader.Property_String();
        EXPECT_NE(report.find(std::string("\r\nRotated : ") + (rotated ? "True" : "False") + "\r\n"), std::string::npos) << report;
    }
}

}  // namespace
