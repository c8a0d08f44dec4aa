// A heat written in capture segments, closed, reopened and read back frame by frame.
#include "Store_test_support.h"

namespace {

struct Counts {
    int32_t frames, segments, sample_size, smallest, largest;
};

Counts Counts_Of(const std::string& path) {
    cls_VideoFile_handler reader;
    reader.File_name(path);
    reader.Open_RGB_File();
    Cls_XML_header& h = reader.Header();
    Counts c{h.Frames_no(), h.Segments_no(), h.RGB_Sample_Size(), h.RGB_Compressed_min_Size(),
             h.RGB_Compressed_max_Size()};
    reader.Close_File();
    return c;
}

}  // namespace

TEST_F(Store_test, a_heat_in_several_segments_reads_back_every_frame_with_its_times) {
    const int32_t W = 64, H = 48, N = 20000;
    std::string path = Path("heat.kd3");
    cls_VideoFile_handler store;
    Make_Heat_File(store, path, W, H, N);
    EXPECT_EQ(store.RGB_Compressed_buffer_Size(), N);

    int32_t smallest = INT32_MAX, largest = 0, written = 0;
    for (int32_t segment_frames : {3, 1, 2}) {
        for (int32_t n = written + 1; n <= written + segment_frames; ++n) {
            auto size = static_cast<int32_t>(Band_JPEG(W, H, n).size());
            smallest = std::min(smallest, size);
            largest = std::max(largest, size);
        }
        Append_Segment(store, path, written + 1, segment_frames, W, H);
        written += segment_frames;
        Counts c = Counts_Of(path);
        EXPECT_EQ(c.frames, written);
        EXPECT_EQ(c.sample_size, N + 58);
        EXPECT_EQ(c.smallest, smallest);
        EXPECT_EQ(c.largest, largest);
        EXPECT_EQ(store.Current_Segments_num(), c.segments);
        EXPECT_EQ(std::filesystem::file_size(path), 32016u + static_cast<uint64_t>(written) * (N + 58));
    }
    EXPECT_EQ(Counts_Of(path).segments, 3);

    cls_VideoFile_handler reader;
    reader.File_name(path);
    reader.Open_RGB_File();
    EXPECT_TRUE(reports.empty());
    EXPECT_EQ(reader.Num_Frames(), 6);
    EXPECT_EQ(reader.Num_fields(), 12);
    EXPECT_EQ(reader.mill_per_frame(), 40);
    EXPECT_EQ(reader.mill_per_field(), 20);
    EXPECT_EQ(reader.Width(), W);
    EXPECT_EQ(reader.Height(), H);
    EXPECT_EQ(reader.Header().JPG_Reduced_Qual_num(), 3);
    EXPECT_EQ(reader.Measured_fps(), 25);
    EXPECT_EQ(reader.File_JPEG_Quality(), 85);
    // The probes leave the last record in the cache, undecoded.
    EXPECT_EQ(reader.Current_Frame(), 6);
    EXPECT_EQ(reader.KD3_Capture_mill(), Tick_Of(6));
    for (int32_t n : {1, 2, 3, 4, 5, 6, 3}) {
        reader.Read_RGB_sample(n, true);
        EXPECT_TRUE(reader.Frame_available());
        EXPECT_EQ(reader.KD3_Capture_mill(), Tick_Of(n));
        EXPECT_EQ(reader.KD3_Capture_local(), Local_Of(n));
        EXPECT_EQ(reader.KD3_Capture_Delta(), 40);
        EXPECT_EQ(reader.KD3_Compression_Quality(), 80 + n % 5);
        EXPECT_EQ(reader.Capture_HDMI_events(), 500 + n);
        EXPECT_EQ(reader.KD3_JPEG_Size(), static_cast<int32_t>(Band_JPEG(W, H, n).size()));
        EXPECT_EQ(reader.Rounded_Capture_Time(), Tick_Of(n) - 10);
        cDIBSection& frame = reader.Frame_Image();
        ASSERT_EQ(frame.Width(), W);
        for (int32_t band = 0; band < 8; ++band)
            EXPECT_TRUE(Near(Pixel_At(frame, W / 2, band * H / 8 + H / 16), Band_Colour(band, n)))
                << "frame " << n << " band " << band;
    }
    reader.Close_File();
    EXPECT_EQ(reader.File_num(), 0);
    EXPECT_EQ(reader.Width(), 0);
    EXPECT_EQ(reader.Num_Frames(), 0);
    EXPECT_EQ(reader.mill_per_frame(), 0);
    EXPECT_EQ(reader.File_name(), path);
}

TEST_F(Store_test, close_scenarios) {
    const int32_t W = 32, H = 16, N = 8000;
    struct Row {
        const char* name;
        int32_t frames;         // appended in the segment
        bool give_sizes;        // JPG_Sizes called
        int32_t given_smallest; // when given
        int32_t given_largest;
        bool header_unchanged;  // byte for byte
    };
    const Row rows[] = {
        {"no record appended", 0, true, 1, 2, true},
        {"one record, sizes given", 1, true, 1000, 1100, false},
        {"two records, sizes never given", 2, false, 0, 0, false},
        {"sizes inside the range", 2, true, 1200, 1250, false},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        std::string path = Path(std::string(row.name) + ".kd3");
        cls_VideoFile_handler store;
        Make_Heat_File(store, path, W, H, N);
        // A first segment widens the range to [900, 1300].
        store.File_name(path);
        store.Open_RGB_File();
        std::vector<uint8_t> jpeg = Band_JPEG(W, H, 0);
        auto size = static_cast<int32_t>(jpeg.size());
        store.Append_Compressed_RGB_Frame(1, 2, 3, 4, size, jpeg.data(), 5);
        store.JPG_Sizes(900, 1300);
        store.Close_File();
        std::vector<uint8_t> before = File_Bytes(path);

        store.File_name(path);
        store.Open_RGB_File();
        store.Position_at_End();
        for (int32_t n = 0; n < row.frames; ++n)
            store.Append_Compressed_RGB_Frame(n, n, 40, 80, size, jpeg.data(), n);
        if (row.give_sizes) store.JPG_Sizes(row.given_smallest, row.given_largest);
        store.Close_File();
        EXPECT_EQ(store.File_num(), 0);
        std::vector<uint8_t> after = File_Bytes(path);
        if (row.header_unchanged) {
            EXPECT_EQ(after, before);
            continue;
        }
        Counts c = Counts_Of(path);
        EXPECT_EQ(c.frames, 1 + row.frames);
        EXPECT_EQ(c.segments, 2);
        EXPECT_EQ(c.sample_size, N + 58);
        EXPECT_EQ(after.size(), 32016u + static_cast<size_t>(c.frames) * (N + 58));
        int32_t smallest = row.give_sizes ? row.given_smallest : size;
        int32_t largest = row.give_sizes ? row.given_largest : size;
        EXPECT_EQ(c.smallest, std::min(900, smallest));
        EXPECT_EQ(c.largest, std::max(1300, largest));
    }
}

TEST_F(Store_test, a_close_without_a_file_does_nothing_and_a_new_object_holds_none) {
    cls_VideoFile_handler store;
    EXPECT_EQ(store.File_num(), 0);
    EXPECT_EQ(store.File_name(), "");
    EXPECT_FALSE(store.Has_XML_header());
    EXPECT_EQ(store.Width(), 0);
    EXPECT_FALSE(store.File_Initiated());
    store.Close_File();
    EXPECT_EQ(store.File_num(), 0);
    for (auto [name, has] : {std::pair{"a.kd3", true}, {"a.KD3", false}, {"noext", false}, {"a.kd2", true}, {"a.avi", false}}) {
        store.File_name(name);
        EXPECT_EQ(store.Has_XML_header(), has) << name;
    }
}

TEST_F(Store_test, reading_frame_0_reads_frame_1_and_logs_it_and_an_open_of_few_frames_probes_nothing) {
    std::string path = Path("one.kd3");
    cls_VideoFile_handler store;
    Make_Heat_File(store, path, 32, 16, 8000);
    Append_Segment(store, path, 1, 1, 32, 16);
    store.File_name(path);
    store.Open_RGB_File();
    EXPECT_EQ(store.Current_Frame(), 0);
    store.Read_RGB_sample(0, false);
    EXPECT_EQ(store.Current_Frame(), 1);
    EXPECT_EQ(store.KD3_Capture_mill(), Tick_Of(1));
    std::string log = [&] {
        std::vector<uint8_t> b = File_Bytes(Test_folder() + "/Vantorel_eventlog.txt");
        return std::string(b.begin(), b.end());
    }();
    EXPECT_NE(log.find("!!! FNum 0->1 File: " + path), std::string::npos) << log;
}

// The review and the capture console hold one heat with stores of their own, each with its copy of the
// header: the review's result must not be undone by the segment's end, nor the segment's counts by the result.
TEST_F(Store_test, a_heat_held_by_two_stores_keeps_the_results_of_one_and_the_counts_of_the_other) {
    const int32_t W = 32, H = 16, N = 8000;
    Module_Vantorel::Vantorel_Mode = true;  // headers with result records
    struct Row { const char* name; bool review_first; } rows[] = {{"review opened before the segment", true},
                                                                 {"review opened during the segment", false}};
    for (const Row& r : rows) {
        SCOPED_TRACE(r.name);
        const std::string path = Path(r.review_first ? "before.kd3" : "during.kd3");
        cls_VideoFile_handler capture, review;
        Make_Heat_File(capture, path, W, H, N);
        Append_Segment(capture, path, 1, 2, W, H);
        const auto open_review = [&] {
            review.File_name(path);
            review.Open_RGB_File();
        };
        if (r.review_first) open_review();
        capture.File_name(path);
        capture.Open_RGB_File();
        capture.Position_at_End();
        const std::vector<uint8_t> jpeg = Band_JPEG(W, H, 3);
        capture.Append_Compressed_RGB_Frame(Local_Of(3), Tick_Of(3), 40, 80, static_cast<int32_t>(jpeg.size()),
                                            jpeg.data(), 503);
        if (!r.review_first) open_review();

        // Refused while the segment records, where it would be written only to be undone at its end.
        review.Heat_result(1, 2, 65000);
        EXPECT_THROW(review.Write_KD3_header(), VbError);
        capture.Add_Segment_num();
        capture.Close_File();
        // The review's copy lacks the segment now: refused until the heat is opened again.
        EXPECT_THROW(review.Write_KD3_header(), VbError);
        open_review();
        review.Heat_result(1, 2, 65000);
        review.Write_KD3_header();
        review.Close_File();

        cls_VideoFile_handler reader;
        reader.File_name(path);
        reader.Open_RGB_File();
        EXPECT_EQ(reader.Header().Frames_no(), 3);
        EXPECT_EQ(reader.Header().Segments_no(), 2);
        EXPECT_EQ(reader.Heat_result(1, 2), 65000);
        reader.Close_File();
    }
    Module_Vantorel::Vantorel_Mode = false;
}
