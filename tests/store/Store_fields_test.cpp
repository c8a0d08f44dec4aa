// Fields extracted from synthetic frames, rotated files, bad input and the property report.
#include "Store_test_support.h"

namespace {

// Grey of the field image (or another bitmap) row y, counted from the top, at its middle.
int Grey_Row(const cDIBSection& dib, int32_t y) { return Pixel_At(dib, dib.Width() / 2, y).g; }

// Even rows (from the top) dark, odd rows bright; `inverted` swaps them. Each row differs a little.
auto Rows(bool inverted) {
    return [inverted](int32_t, int32_t y) -> uint8_t {
        bool bright = (y % 2 == 1) != inverted;
        return static_cast<uint8_t>((bright ? 190 : 30) + (y / 2 % 4) * 8);
    };
}

}  // namespace

TEST_F(Store_test, each_field_shows_its_own_rows_at_full_height) {
    const int32_t W = 64, H = 64;
    std::string path = Path("fields.kd3");
    cls_VideoFile_handler store;
    Make_Heat_File(store, path, W, H, 20000);
    Append_Frames(store, path, {Grey_JPEG(W, H, Rows(false)), Grey_JPEG(W, H, Rows(true))});

    cls_VideoFile_handler review;
    review.File_name(path);
    review.Open_RGB_File();
    Test_surface box(W, H);
    struct Row {
        int32_t field, frame, shown;
        bool bright;  // the field's rows are the bright ones
        int32_t time;
    };
    for (Row row : {Row{1, 1, 1, false, 0}, Row{2, 1, 2, true, 20}, Row{3, 2, 1, true, 40}, Row{4, 2, 2, false, 60}}) {
        SCOPED_TRACE(row.field);
        review.Draw_RGB_Field(row.field, box);
        EXPECT_EQ(review.KD3_Displayed_Frame(), row.frame);
        EXPECT_EQ(review.KD3_Displayed_Field(), row.shown);
        EXPECT_EQ(review.Field_To_Show(), row.shown);
        EXPECT_EQ(review.Effective_time(), row.time);
        EXPECT_EQ(review.KD3_Capture_mill(), Tick_Of(row.frame));
        for (int32_t y = 0; y < H; ++y) {
            int grey = Grey_Row(review.Field_Image(), y);
            EXPECT_TRUE(row.bright ? grey > 160 : grey < 80) << "row " << y << " grey " << grey;
            EXPECT_EQ(Grey_Row(box.dib, y), grey) << y;  // painted 1:1 into the box
        }
        // The field's own rows keep their values: row 2k (first field) or 2k + 1 (second).
        int32_t own = row.shown == 1 ? 6 : 7;
        EXPECT_NEAR(Grey_Row(review.Field_Image(), own), Rows(row.frame == 2)(0, own), 6);
    }
    EXPECT_EQ(box.refreshes, 4);
    EXPECT_EQ(review.Formatted_Time(), "0.06");
}

TEST_F(Store_test, the_second_field_of_a_frame_does_not_read_the_file_again) {
    const int32_t W = 64, H = 64;
    std::string path = Path("fields.kd3");
    cls_VideoFile_handler store;
    Make_Heat_File(store, path, W, H, 20000);
    Append_Frames(store, path, {Grey_JPEG(W, H, Rows(false)), Grey_JPEG(W, H, Rows(true))});
    cls_VideoFile_handler review;
    review.File_name(path);
    review.Open_RGB_File();
    Test_surface box(W, H);
    review.Draw_RGB_Field(1, box);
    std::filesystem::resize_file(path, 32016);  // any read of a record now finds nothing
    review.Draw_RGB_Field(2, box);
    EXPECT_TRUE(review.Frame_available());
    EXPECT_GT(Grey_Row(review.Field_Image(), 10), 160);
    review.Draw_RGB_Field(3, box);
    EXPECT_FALSE(review.Frame_available());
}

TEST_F(Store_test, the_field_drawn_stays_what_it_was_when_another_frame_is_read) {
    const int32_t W = 64, H = 64;
    // A plain file scaled into a smaller box, a rotated one turned straight into a box of its size.
    for (const bool rotated : {false, true}) {
        SCOPED_TRACE(rotated ? "rotated" : "plain");
        std::string path = Path(rotated ? "turned.kd3" : "fields.kd3");
        cls_VideoFile_handler store;
        Make_Heat_File(store, path, W, H, 20000, true, rotated);
        Append_Frames(store, path, {Grey_JPEG(W, H, Rows(false)), Grey_JPEG(W, H, Rows(true))});
        cls_VideoFile_handler review;
        review.File_name(path);
        review.Open_RGB_File();
        Test_surface box(rotated ? W : W / 2, rotated ? H : H / 2);
        review.Draw_RGB_Field(2, box);  // the bright rows of frame 1
        review.Read_RGB_sample(2, true);
        for (int32_t y = 0; y < H; ++y) EXPECT_GT(Grey_Row(review.Field_Image(), y), 160) << y;
        if (rotated) {
            for (int32_t x = 0; x < W; ++x) EXPECT_GT(Pixel_At(review.Rotated_Image(), x, H / 2).g, 160) << x;
        }
        EXPECT_GT(review.Get_Field_Pixel(5, 5) & 0xFF, 160);
    }
}

// Pixels read before the field's picture is made are those the made picture holds, inside and outside.
TEST_F(Store_test, a_field_pixel_read_from_the_frame_is_the_pixel_of_the_made_picture) {
    const int32_t W = 21, H = 14;
    struct Row {
        const char* name;
        bool interlaced, rotated;
    } rows[] = {{"plain", true, false}, {"progressive", false, false}, {"rotated", true, true}, {"rotated progressive", false, true}};
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        std::string path = Path(std::string(row.name) + ".kd3");
        cls_VideoFile_handler store;
        Make_Heat_File(store, path, W, H, 20000, row.interlaced, row.rotated);
        Append_Frames(store, path, {Grey_JPEG(W, H, [](int32_t x, int32_t y) { return static_cast<uint8_t>(x * 11 + y * 17); })});
        cls_VideoFile_handler review;
        review.File_name(path);
        review.Open_RGB_File();
        const int32_t shown_w = row.rotated ? H : W, shown_h = row.rotated ? W : H;
        Test_surface box(shown_w, shown_h);
        review.Draw_RGB_Field(2, box);
        std::vector<int32_t> read;
        for (int16_t y = -1; y <= shown_h; ++y)
            for (int16_t x = -1; x <= shown_w; ++x) read.push_back(review.Get_Field_Pixel(x, y));
        cDIBSection& made = row.rotated ? review.Rotated_Image() : review.Field_Image();
        size_t k = 0;
        for (int16_t y = -1; y <= shown_h; ++y)
            for (int16_t x = -1; x <= shown_w; ++x)
                ASSERT_EQ(static_cast<uint32_t>(read[k++]), gdi::GetPixel(made.hDC(), x, y)) << x << "," << y;
    }
}

TEST_F(Store_test, a_rotated_file_is_drawn_turned_clockwise_whatever_its_width) {
    // 42 pixels wide: the turned picture's rows pad differently, so the two byte sizes differ.
    const int32_t W = 42, H = 32;
    std::string path = Path("rotated.kd3");
    cls_VideoFile_handler store;
    Make_Heat_File(store, path, W, H, 20000, true, true);
    // Bright in the top-left quadrant only.
    auto quadrant = [](int32_t x, int32_t y) -> uint8_t { return x < 21 && y < 16 ? 220 : 20; };
    Append_Frames(store, path, {Grey_JPEG(W, H, quadrant)});

    cls_VideoFile_handler review;
    review.File_name(path);
    review.Open_RGB_File();
    ASSERT_TRUE(review.RGB_Rotated());
    Test_surface box(H, W);  // the turned picture: 32 wide, 42 high
    review.Draw_RGB_Field(1, box);
    EXPECT_TRUE(Test_dialogs::Instance().Shown_Dialogs().empty());
    // A clockwise turn takes the top-left quadrant to the top right.
    EXPECT_GT(Pixel_At(box.dib, 28, 4).g, 160);
    EXPECT_LT(Pixel_At(box.dib, 4, 4).g, 60);
    EXPECT_LT(Pixel_At(box.dib, 28, 36).g, 60);
    // The pixels the review reads are those of the turned picture.
    EXPECT_GT(review.Get_Field_Pixel(28, 4) & 0xFF, 160);
    EXPECT_LT(review.Get_Field_Pixel(4, 4) & 0xFF, 60);
    EXPECT_EQ(static_cast<uint32_t>(review.Get_Field_Pixel(40, 4)), gdi::CLR_INVALID);
    review.Let_Field_Pixel(4, 4, 0x0000FF);
    EXPECT_EQ(review.Get_Field_Pixel(4, 4), 0x0000FF);
    // The whole frame turns the same way.
    Test_surface frame_box(H, W);
    review.Draw_Current_RGB_frame(frame_box);
    EXPECT_GT(Pixel_At(frame_box.dib, 28, 4).g, 160);
    EXPECT_EQ(frame_box.refreshes, 1);
}

TEST_F(Store_test, a_frame_of_another_size_than_the_header_says_is_refused_and_a_new_height_remakes_the_field_picture_once) {
    // A JPEG of another size than the header's is not decoded: the blue picture at the header's size.
    std::string sizes = Path("sizes.kd3"), wide = Path("wide.kd3"), tall = Path("tall.kd3");
    cls_VideoFile_handler store;
    Make_Heat_File(store, sizes, 64, 64, 20000);
    Append_Frames(store, sizes, {Grey_JPEG(32, 16, Rows(false)), Grey_JPEG(32, 16, Rows(true))});
    cls_VideoFile_handler review;
    int events = 0;
    review.MismatchSize = [&] { ++events; };
    review.File_name(sizes);
    review.Open_RGB_File();
    Test_surface box(64, 64);
    review.Draw_RGB_Field(1, box);
    EXPECT_EQ(review.DIB_sizes(), "64,64 64,64");
    EXPECT_TRUE(Near(Pixel_At(review.Frame_Image(), 1, 1), {255, 0, 0}, 0));
    EXPECT_EQ(events, 0);

    // A heat of the same width and another height: the field picture is remade once.
    Make_Heat_File(store, wide, 64, 32, 20000);
    Append_Frames(store, wide, {Grey_JPEG(64, 32, Rows(false))});
    Make_Heat_File(store, tall, 64, 64, 20000);
    Append_Frames(store, tall, {Grey_JPEG(64, 64, Rows(false)), Grey_JPEG(64, 64, Rows(true))});
    review.File_name(wide);
    review.Open_RGB_File();
    for (int32_t field = 1; field <= 2; ++field) review.Draw_RGB_Field(field, box);
    EXPECT_EQ(events, 1);
    EXPECT_EQ(review.DIB_sizes(), "64,32 64,32");
    review.File_name(tall);
    review.Open_RGB_File();
    for (int32_t field = 1; field <= 4; ++field) review.Draw_RGB_Field(field, box);
    EXPECT_EQ(events, 2);
    EXPECT_EQ(review.DIB_sizes(), "64,64 64,64");
    std::vector<uint8_t> log = File_Bytes(Test_folder() + "/Vantorel_eventlog.txt");
    std::string text(log.begin(), log.end());
    size_t first = text.find("Deinterlace, size mismatch for file: " + wide);
    size_t second = text.find("Deinterlace, size mismatch for file: " + tall);
    EXPECT_NE(first, std::string::npos);
    EXPECT_NE(second, std::string::npos);
    EXPECT_EQ(text.find("size mismatch", text.find("size mismatch", second) + 1), std::string::npos);
}

TEST_F(Store_test, fields_beyond_the_file_and_files_without_frames_show_no_picture_and_no_time) {
    const int32_t W = 64, H = 64;
    std::string path = Path("short.kd3"), empty = Path("empty.kd3");
    cls_VideoFile_handler store;
    Make_Heat_File(store, path, W, H, 20000);
    Append_Frames(store, path, {Grey_JPEG(W, H, Rows(false))});
    Make_Heat_File(store, empty, W, H, 20000);
    for (const std::string& file : {path, empty}) {
        SCOPED_TRACE(file);
        cls_VideoFile_handler review;
        review.File_name(file);
        review.Open_RGB_File();
        Test_surface box(W, H);
        review.Draw_RGB_Field(1, box);
        review.Draw_RGB_Field(7, box);
        EXPECT_FALSE(review.Frame_available());
        EXPECT_EQ(review.KD3_Capture_mill(), 0);
        EXPECT_EQ(review.Capture_HDMI_events(), 0);
        EXPECT_TRUE(Near(Pixel_At(box.dib, 2, 2), {128, 128, 128}, 0));
        EXPECT_EQ(Error_Of([&] { review.Draw_RGB_Field(-1, box); }), vb::Err_Subscript);
        EXPECT_TRUE(reports.empty());
        EXPECT_NO_THROW(review.KD3_Properties());
    }
}

TEST_F(Store_test, the_property_report_of_a_file_and_of_one_without_frames) {
    std::string path = Path("report.kd3");
    cls_VideoFile_handler store;
    Make_Heat_File(store, path, 440, 1080, 20000, true, true);
    store.File_name(path);
    store.Open_RGB_File();
    store.RGB_Max_Seen_size("15000");
    store.RGB_Comp_Threshold("18000");
    store.Write_KD3_header();
    store.Close_File();
    auto report_of = [&](int16_t frames) {
        store.File_name(path);
        store.Open_RGB_File();
        store.Header().Frames_no(frames);
        std::string report = store.KD3_Properties();
        store.Close_File();
        return report;
    };
    std::filesystem::resize_file(path, 1572864);
    std::string report = report_of(100);
    std::string expected_start = "File size: 1.5 MB\r\nAverage frame size : 15 kB\r\nAverage compression ratio : 1%\r\n"
                                 "Frames : 100\r\nSegments : 0\r\nRotated : True\r\nDimensions : 1080*440 Rotated\r\n"
                                 "Fourcc : IJL\r\nCodec : Intel\r\nBase Quality : 85\r\nReduced Quality instances : 0\r\n"
                                 "JPG Threshold : 15000/18000\r\n";
    EXPECT_EQ(report.substr(0, expected_start.size()), expected_start) << report;
    EXPECT_NE(report.find("\r\nInterlaced : True\r\nCapture Computer : "), std::string::npos);
    EXPECT_NE(report.find("\r\nComment : "), std::string::npos);
    EXPECT_NE(report.back(), '\n');
    std::string none = report_of(0);
    EXPECT_NE(none.find("Average frame size : 0 kB\r\nAverage compression ratio : 0%\r\nFrames : 0"), std::string::npos)
        << none;
}

TEST_F(Store_test, a_read_error_in_the_built_program_is_reported_with_the_property_report) {
    std::string path = Path("heat.kd3");
    cls_VideoFile_handler store;
    Make_Heat_File(store, path, 64, 64, 8000);
    Append_Frames(store, path, {Grey_JPEG(64, 64, Rows(false))});
    store.File_name(path);
    store.Open_RGB_File();
    Module_Vantorel::Is_Compiled = true;
    store.Read_RGB_sample(-3, true);
    ASSERT_EQ(reports.size(), 1u);
    EXPECT_EQ(reports[0].number, vb::Err_Subscript);
    EXPECT_EQ(reports[0].location, "Read_RGB_sample of Class Module Class_RGB_file_handler");
    EXPECT_EQ(reports[0].extra.rfind(" my_fnum= -3\r\n My_Video_adress = ", 0), 0u) << reports[0].extra;
    EXPECT_NE(reports[0].extra.find("File size: "), std::string::npos);
    // Only that read failed: the next one reads.
    store.Read_RGB_sample(1, true);
    EXPECT_TRUE(store.Frame_available());
    EXPECT_EQ(reports.size(), 1u);
}
