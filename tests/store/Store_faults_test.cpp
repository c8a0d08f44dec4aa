// What the store does with bad appends, bad files, failed closes and crashes.
#include "Store_test_support.h"

#include <cerrno>
#include <sys/stat.h>

namespace {

std::string Log_Text() {
    std::vector<uint8_t> b = File_Bytes(Test_folder() + "/Vantorel_eventlog.txt");
    return {b.begin(), b.end()};
}

}  // namespace

TEST_F(Store_test, one_store_serving_three_heats_writes_each_file_with_its_own_buffer_length) {
    const int32_t buffers[] = {8000, 12000, 9000};
    cls_VideoFile_handler console;
    for (int heat = 0; heat < 3; ++heat) Make_Heat_File(console, Path("heat" + std::to_string(heat) + ".kd3"), 32, 16, buffers[heat]);
    // The heats' segments interleave; the last Set_JPG_Maxsize was 9000.
    for (int round = 0; round < 2; ++round)
        for (int heat : {1, 0, 2}) Append_Segment(console, Path("heat" + std::to_string(heat) + ".kd3"), round * 2 + 1, 2, 32, 16);
    for (int heat = 0; heat < 3; ++heat) {
        std::string path = Path("heat" + std::to_string(heat) + ".kd3");
        EXPECT_EQ(std::filesystem::file_size(path), 32016u + 4u * (buffers[heat] + 58)) << heat;
        cls_VideoFile_handler reader;
        reader.File_name(path);
        reader.Open_RGB_File();
        EXPECT_EQ(reader.Header().RGB_Sample_Size(), buffers[heat] + 58);
        for (int32_t n = 1; n <= 4; ++n) {
            reader.Read_RGB_sample(n, true);
            EXPECT_TRUE(reader.Frame_available());
            EXPECT_EQ(reader.KD3_Capture_mill(), Tick_Of(n));
        }
    }
    EXPECT_TRUE(reports.empty());
}

TEST_F(Store_test, the_record_length_of_a_file_with_frames_cannot_change) {
    std::string path = Path("heat.kd3");
    cls_VideoFile_handler store;
    Make_Heat_File(store, path, 32, 16, 8000);
    Append_Segment(store, path, 1, 2, 32, 16);
    store.File_name(path);
    store.Open_RGB_File();
    store.Set_JPG_Maxsize(8000);  // a restart sets the same length again: fine
    EXPECT_EQ(Error_Of([&] { store.Set_JPG_Maxsize(9000); }), vb::Err_Invalid_Call);
    EXPECT_EQ(store.RGB_Compressed_buffer_Size(), 8000);
    store.Close_File();
}

TEST_F(Store_test, a_JPEG_larger_than_the_buffer_is_refused_and_counted) {
    std::string path = Path("heat.kd3");
    cls_VideoFile_handler store;
    Make_Heat_File(store, path, 32, 16, 8000);
    std::vector<uint8_t> big(9000, 0xAB), small = Band_JPEG(32, 16, 1);
    store.File_name(path);
    store.Open_RGB_File();
    store.Position_at_End();
    store.Append_Compressed_RGB_Frame(1, Tick_Of(1), 40, 80, static_cast<int32_t>(small.size()), small.data(), 1);
    store.Append_Compressed_RGB_Frame(2, Tick_Of(2), 40, 80, 8001, big.data(), 2);
    store.Append_Compressed_RGB_Frame(2, Tick_Of(2), 40, 80, -1, big.data(), 2);
    store.Append_Compressed_RGB_Frame(3, Tick_Of(3), 40, 80, static_cast<int32_t>(small.size()), small.data(), 3);
    EXPECT_EQ(store.Refused_Frames(), 2);
    store.Close_File();
    EXPECT_EQ(std::filesystem::file_size(path), 32016u + 2u * 8058u);
    std::vector<uint8_t> b = File_Bytes(path);
    for (size_t end : {32016u + 54u + 8000u, 32016u + 8058u + 54u + 8000u})
        EXPECT_EQ(std::string(b.begin() + end, b.begin() + end + 4), "RGBF");
    store.Open_RGB_File();
    EXPECT_EQ(store.Num_Frames(), 2);
    store.Read_RGB_sample(2, false);
    EXPECT_EQ(store.KD3_Capture_mill(), Tick_Of(3));
}

TEST_F(Store_test, a_segment_that_cannot_be_written_is_refused_once_not_once_per_frame) {
    std::vector<uint8_t> jpeg = Band_JPEG(32, 16, 1);
    auto size = static_cast<int32_t>(jpeg.size());
    {   // no file open: the message once, then the frames only counted
        cls_VideoFile_handler store;
        Test_dialogs::Instance().Answer(ui::vbOK);
        for (int n = 0; n < 5; ++n) store.Append_Compressed_RGB_Frame(n, n, 40, 80, size, jpeg.data(), n);
        ASSERT_EQ(Test_dialogs::Instance().Shown_Dialogs().size(), 1u);
        EXPECT_EQ(Test_dialogs::Instance().Shown_Dialogs()[0].prompt,
                  "*m_File_Num = 0,Append_Compressed_RGB_Frame , please notify developer!");
        EXPECT_EQ(store.Refused_Frames(), 5);
    }
    {   // no buffer length yet: one error reported in the built program
        Module_Vantorel::Is_Compiled = true;
        std::string path = Path("fresh.kd3");
        cls_VideoFile_handler store;
        store.File_name(path);
        store.Create_File();
        store.Cropped_X(32);
        store.Cropped_Y(16);
        store.Create_KD3_header();
        store.Open_RGB_File();
        store.Position_at_End();
        for (int n = 0; n < 5; ++n) store.Append_Compressed_RGB_Frame(n, n, 40, 80, size, jpeg.data(), n);
        ASSERT_EQ(reports.size(), 1u);
        EXPECT_EQ(reports[0].location, "Append_Compressed_RGB_Frame of Class Module cls_VideoFile_handler");
        store.Close_File();
        EXPECT_EQ(std::filesystem::file_size(path), 32016u);
        // The next segment, with a buffer length, is written.
        store.Open_RGB_File();
        store.Set_JPG_Maxsize(8000);
        store.Append_Compressed_RGB_Frame(1, 1, 40, 80, size, jpeg.data(), 1);
        store.Close_File();
        EXPECT_EQ(std::filesystem::file_size(path), 32016u + 8058u);
        EXPECT_EQ(reports.size(), 1u);
    }
}

TEST_F(Store_test, a_header_text_too_long_for_the_record_is_refused_and_the_file_keeps_its_header) {
    std::string path = Path("heat.kd3");
    cls_VideoFile_handler store;
    Make_Heat_File(store, path, 32, 16, 8000);
    std::vector<uint8_t> before = File_Bytes(path);
    store.File_name(path);
    store.Open_RGB_File();
    store.Header().File_comment1(std::string(33000, 'x'));
    EXPECT_EQ(Error_Of([&] { store.Write_KD3_header(); }), vb::Err_Invalid_Call);
    Module_Vantorel::Is_Compiled = true;
    store.Write_XML_Header();
    ASSERT_EQ(reports.size(), 1u);
    EXPECT_EQ(reports[0].location, "Write_XML_header of Class Module cls_VideoFile_handler");
    store.Close_File();
    EXPECT_EQ(File_Bytes(path), before);
}

TEST_F(Store_test, create_file_on_an_existing_path_starts_an_empty_file) {
    std::string path = Path("heat.kd3");
    cls_VideoFile_handler store;
    Make_Heat_File(store, path, 32, 16, 8000);
    Append_Segment(store, path, 1, 3, 32, 16);
    Make_Heat_File(store, path, 32, 16, 8000);
    EXPECT_EQ(std::filesystem::file_size(path), 32016u);
    store.File_name(path);
    store.Open_RGB_File();
    EXPECT_EQ(store.Num_Frames(), 0);
    EXPECT_EQ(Log_Text(), "");
}

TEST_F(Store_test, create_file_that_cannot_open_shows_the_message_and_holds_no_file) {
    cls_VideoFile_handler store;
    store.File_name(Path("no such folder/heat.kd3"));
    Test_dialogs::Instance().Answer(ui::vbOK);
    store.Create_File();
    EXPECT_EQ(store.File_num(), 0);
    EXPECT_TRUE(Module_Vantorel::Debug_Stop);
    ASSERT_EQ(Test_dialogs::Instance().Shown_Dialogs().size(), 1u);
    EXPECT_EQ(Test_dialogs::Instance().Shown_Dialogs()[0].prompt.rfind("File error! Check capture folder! \r\n53 ", 0), 0u);
    Module_Vantorel::Debug_Stop = false;
}

TEST_F(Store_test, a_failed_close_still_closes_resets_and_reports_and_nothing_leaks_into_the_next_file) {
    std::vector<uint8_t> jpeg = Band_JPEG(32, 16, 1);
    auto size = static_cast<int32_t>(jpeg.size());
    std::string full = Path("full.kd3"), other = Path("other.kd3");
    cls_VideoFile_handler store;
    Make_Heat_File(store, other, 32, 16, 8000);
    Make_Heat_File(store, full, 32, 16, 8000);
    // The disk fails the header rewrite of the close.
    bool fail_next_header = false;
    Binary_file::Set_Fault_Hook([&](Binary_file::Operation operation, const std::string& file, int64_t offset, int64_t) {
        if (operation != Binary_file::Operation::write || file != full || offset != 0 || !fail_next_header) return Binary_file::Fault{};
        fail_next_header = false;
        return Binary_file::Fault{0, EIO};
    });

    for (bool compiled : {true, false}) {
        SCOPED_TRACE(compiled);
        Module_Vantorel::Is_Compiled = compiled;
        reports.clear();
        store.File_name(full);
        store.Open_RGB_File();
        store.Position_at_End();
        store.Append_Compressed_RGB_Frame(1, 1, 40, 80, size, jpeg.data(), 1);
        store.JPG_Sizes(5, 6);
        fail_next_header = true;
        int32_t error = Error_Of([&] { store.Close_File(); });
        EXPECT_EQ(error, compiled ? 0 : vb::Err_Path_File_Access);
        EXPECT_EQ(reports.size(), compiled ? 1u : 0u);
        if (compiled) {
            EXPECT_EQ(reports[0].location, "Close_file of Class Module cls_VideoFile_handler");
        }
        EXPECT_EQ(store.File_num(), 0);
        EXPECT_EQ(store.Width(), 0);
    }
    Binary_file::Set_Fault_Hook(nullptr);
    Module_Vantorel::Is_Compiled = false;
    // The other heat: its close sees neither the count nor the sizes of the failed segment.
    std::vector<uint8_t> before = File_Bytes(other);
    store.File_name(other);
    store.Open_RGB_File();
    store.Close_File();
    EXPECT_EQ(File_Bytes(other), before);
    store.Open_RGB_File();
    store.Append_Compressed_RGB_Frame(1, 1, 40, 80, size, jpeg.data(), 1);
    store.Close_File();
    cls_VideoFile_handler reader;
    reader.File_name(other);
    reader.Open_RGB_File();
    EXPECT_EQ(reader.Num_Frames(), 1);
    EXPECT_EQ(reader.Smallest_JPG(), size);
    EXPECT_EQ(reader.Largest_JPG(), size);
}

TEST_F(Store_test, a_missing_or_cut_record_reads_as_unavailable_and_affects_that_read_only) {
    const int32_t W = 64, H = 64;
    std::string path = Path("heat.kd3");
    cls_VideoFile_handler store;
    Make_Heat_File(store, path, W, H, 8000);
    Append_Segment(store, path, 1, 3, W, H);
    std::filesystem::resize_file(path, 32016 + 2 * 8058 + 100);  // record 3 cut short

    cls_VideoFile_handler reader;
    reader.File_name(path);
    reader.Open_RGB_File();
    EXPECT_EQ(reader.Num_Frames(), 2);  // only whole records count
    EXPECT_EQ(reader.Missing_Frames(), 1);
    for (int32_t n : {2, 3, 4, 1}) {
        reader.Read_RGB_sample(n, true);
        bool there = n <= 2;
        EXPECT_EQ(reader.Frame_available(), there) << n;
        EXPECT_EQ(reader.Current_Frame(), n);
        EXPECT_EQ(reader.KD3_Capture_mill(), there ? Tick_Of(n) : 0) << n;
        EXPECT_EQ(reader.Rounded_Capture_Time(), there ? Tick_Of(n) - 10 : 0);
        Bgr top = Pixel_At(reader.Frame_Image(), 4, 3);
        // The grey "Frame unavailable" picture, never the previous frame's.
        EXPECT_TRUE(Near(top, there ? Band_Colour(0, n) : Bgr{128, 128, 128}, there ? 24 : 0)) << n;
    }
    EXPECT_TRUE(reports.empty());
}

TEST_F(Store_test, the_cache_knows_whether_its_record_was_decoded) {
    const int32_t W = 64, H = 64;
    std::string path = Path("heat.kd3");
    cls_VideoFile_handler store;
    Make_Heat_File(store, path, W, H, 8000);
    Append_Segment(store, path, 1, 4, W, H);
    cls_VideoFile_handler reader;
    reader.File_name(path);
    reader.Open_RGB_File();
    reader.Read_RGB_sample(1, true);
    reader.Read_RGB_sample(4, true);  // the probes held record 4 undecoded
    EXPECT_TRUE(Near(Pixel_At(reader.Frame_Image(), 4, 3), Band_Colour(0, 4)));
    reader.Read_RGB_sample(2, false);
    reader.Read_RGB_sample(2, true);
    EXPECT_TRUE(Near(Pixel_At(reader.Frame_Image(), 4, 3), Band_Colour(0, 2)));
}

TEST_F(Store_test, a_corrupted_JPEG_shows_the_blue_picture_with_its_record_values) {
    std::string path = Path("heat.kd3");
    cls_VideoFile_handler store;
    Make_Heat_File(store, path, 32, 16, 8000);
    std::vector<uint8_t> junk(500, 0x11);
    store.File_name(path);
    store.Open_RGB_File();
    store.Append_Compressed_RGB_Frame(7, 4000, 40, 80, 500, junk.data(), 9);
    store.Close_File();
    store.Open_RGB_File();
    store.Read_RGB_sample(1, true);
    EXPECT_TRUE(store.Frame_available());
    EXPECT_EQ(store.KD3_JPEG_Size(), 500);
    EXPECT_EQ(store.KD3_Capture_mill(), 4000);
    EXPECT_TRUE(Near(Pixel_At(store.Frame_Image(), 1, 1), {255, 0, 0}, 0));
    EXPECT_TRUE(Test_dialogs::Instance().Shown_Dialogs().empty());
}

TEST_F(Store_test, a_read_only_file_opens_for_reading_and_refuses_edits) {
    std::string path = Path("heat.kd3");
    cls_VideoFile_handler store;
    Make_Heat_File(store, path, 32, 16, 8000);
    Append_Segment(store, path, 1, 2, 32, 16);
    ::chmod(path.c_str(), 0444);
    std::vector<uint8_t> before = File_Bytes(path);

    cls_VideoFile_handler reader;
    reader.File_name(path);
    reader.Open_RGB_File();
    EXPECT_TRUE(reports.empty());
    EXPECT_NE(reader.File_num(), 0);
    EXPECT_TRUE(reader.Read_only());
    reader.Read_RGB_sample(2, true);
    EXPECT_EQ(reader.KD3_Capture_mill(), Tick_Of(2));
    reader.Header().File_comment1("changed");
    EXPECT_EQ(Error_Of([&] { reader.Write_KD3_header(); }), vb::Err_Permission_Denied);
    std::vector<uint8_t> jpeg = Band_JPEG(32, 16, 1);
    EXPECT_EQ(Error_Of([&] { reader.Append_Compressed_RGB_Frame(1, 1, 1, 80, static_cast<int32_t>(jpeg.size()), jpeg.data(), 1); }),
              vb::Err_Permission_Denied);
    reader.Append_Compressed_RGB_Frame(1, 1, 1, 80, static_cast<int32_t>(jpeg.size()), jpeg.data(), 1);  // refused quietly
    reader.Close_File();
    EXPECT_EQ(File_Bytes(path), before);
}

TEST_F(Store_test, frames_written_before_a_crash_are_counted_again_on_opening) {
    const int32_t W = 32, H = 16, S = 8058;
    std::string path = Path("heat.kd3"), crashed = Path("crashed.kd3");
    cls_VideoFile_handler store;
    Make_Heat_File(store, path, W, H, 8000);
    Append_Segment(store, path, 1, 2, W, H);
    // The second segment's records are on disk, its close never happened; half a record follows.
    store.File_name(path);
    store.Open_RGB_File();
    store.Position_at_End();
    for (int32_t n = 3; n <= 5; ++n) {
        std::vector<uint8_t> jpeg = Band_JPEG(W, H, n);
        store.Append_Compressed_RGB_Frame(Local_Of(n), Tick_Of(n), 40, 80, static_cast<int32_t>(jpeg.size()), jpeg.data(), n);
    }
    std::filesystem::copy_file(path, crashed);
    {
        std::ofstream tail(crashed, std::ios::binary | std::ios::app);
        tail << std::string(S / 2, 'R');
    }
    store.Close_File();

    cls_VideoFile_handler reader;
    reader.File_name(crashed);
    reader.Open_RGB_File();
    EXPECT_EQ(reader.Num_Frames(), 5);
    EXPECT_EQ(reader.Num_fields(), 10);
    EXPECT_NE(Log_Text().find("the header counts 2 frames, the file holds 5, all taken: " + crashed), std::string::npos)
        << Log_Text();
    // The next segment goes where the cut record began.
    reader.Position_at_End();
    std::vector<uint8_t> jpeg = Band_JPEG(W, H, 6);
    reader.Append_Compressed_RGB_Frame(Local_Of(6), Tick_Of(6), 40, 80, static_cast<int32_t>(jpeg.size()), jpeg.data(), 6);
    reader.Close_File();
    EXPECT_EQ(std::filesystem::file_size(crashed), 32016u + 6u * S);
    reader.Open_RGB_File();
    EXPECT_EQ(reader.Num_Frames(), 6);
    for (int32_t n = 1; n <= 6; ++n) {
        reader.Read_RGB_sample(n, false);
        EXPECT_EQ(reader.KD3_Capture_mill(), Tick_Of(n)) << n;
    }
}

TEST_F(Store_test, a_header_that_does_not_parse_is_never_overwritten) {
    std::string path = Path("heat.kd3"), other = Path("other.kd3");
    cls_VideoFile_handler store;
    Make_Heat_File(store, other, 32, 16, 8000);
    Make_Heat_File(store, path, 32, 16, 8000);
    {
        std::fstream f(path, std::ios::in | std::ios::out | std::ios::binary);
        f.seekp(12);
        f << "<<garbage";
    }
    std::vector<uint8_t> before = File_Bytes(path);
    // The object still holds the other file's document when it meets the damaged header.
    store.File_name(other);
    store.Open_RGB_File();
    store.Close_File();
    Module_Vantorel::Is_Compiled = true;
    store.File_name(path);
    Test_dialogs::Instance().Answer(ui::vbOK);
    store.Open_RGB_File();
    Module_Vantorel::Is_Compiled = false;
    // Refused with a message that names the file and the reason, not with an error report.
    ASSERT_EQ(Test_dialogs::Instance().Shown_Dialogs().size(), 1u);
    EXPECT_EQ(Test_dialogs::Instance().Shown_Dialogs()[0].prompt,
              "Not a valid vantOrel file!\r\n" + path + "\r\nits header is not readable");
    EXPECT_TRUE(reports.empty());
    EXPECT_FALSE(store.File_open());
    store.Write_KD3_header();
    EXPECT_EQ(File_Bytes(path), before);
    store.Close_File();
}
