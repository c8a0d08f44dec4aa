// The store's older display and append members through real kd3 heats: the working pictures made with
// the object, software field extraction, a bitmap of every frame, the playback conversions, and frames
// kept in memory compressed by the store at falling quality until they fit the record.
#include "Store_test_support.h"

#include <memory>

namespace {

class Store_older_test : public Store_test {
protected:
    void TearDown() override {
        cls_VideoFile_handler::Whole_File_Bound(0);
        Store_test::TearDown();
    }
};

// A picture of eight bands, shifted by `shift`, carrying the capture times of frame `shift`.
std::unique_ptr<cDIBSection> Band_Picture(int32_t width, int32_t height, int32_t shift) {
    auto dib = std::make_unique<cDIBSection>();
    EXPECT_TRUE(dib->Create(width, height));
    for (int32_t y = 0; y < height; ++y) {
        Bgr c = Band_Colour(y * 8 / height, shift);
        uint8_t* row = dib->DIBSectionBitsPtr() + (height - 1 - y) * dib->BytesPerScanLine();
        for (int32_t x = 0; x < width; ++x) {
            row[x * 3] = c.b;
            row[x * 3 + 1] = c.g;
            row[x * 3 + 2] = c.r;
        }
    }
    dib->Capture_Mill(Tick_Of(shift));
    dib->Capture_Local(Local_Of(shift));
    return dib;
}

TEST_F(Store_older_test, The_object_makes_its_working_pictures_and_work_buffer_once) {
    cls_VideoFile_handler store;
    for (int16_t n = 1; n <= 3; ++n) {
        EXPECT_EQ(store.Deint_target(n).ID_string(), "obj_DIB_Deint_target " + std::to_string(n));
        EXPECT_EQ(store.Deint_source(n).ID_string(), "obj_DIB_Deint_source " + std::to_string(n));
        EXPECT_EQ(store.Deint_target(n).Width(), 720);
        EXPECT_EQ(store.Deint_source(n).Height(), 576);
    }
    EXPECT_EQ(&store.Deint_target(1), &store.Field_Image());
    EXPECT_EQ(&store.Deint_source(1), &store.Frame_Image());
    EXPECT_EQ(store.Rotation_Source().ID_string(), "obj_DIB_Rotate_Source");
    EXPECT_EQ(store.Rotation_Source().Width(), 720);
    EXPECT_EQ(store.Rotated_Image().Width(), 576);
    EXPECT_EQ(store.Work_Buffer_Size(), 1000001);
    EXPECT_THROW(store.Deint_target(4), VbError);
    EXPECT_THROW(store.Deint_source(0), VbError);
}

TEST_F(Store_older_test, Software_field_extraction_doubles_the_rows_of_one_field) {
    cDIBSection source, target;
    ASSERT_TRUE(source.Create(4, 6));
    ASSERT_TRUE(target.Create(4, 6));
    for (int32_t row = 0; row < 6; ++row)
        std::fill_n(source.DIBSectionBitsPtr() + row * source.BytesPerScanLine(), source.BytesPerScanLine(), uint8_t(10 * row));
    auto rows = [&] {
        std::vector<int> values;
        for (int32_t row = 0; row < 6; ++row) values.push_back(target.DIBSectionBitsPtr()[row * target.BytesPerScanLine()]);
        return values;
    };
    cls_VideoFile_handler store;
    store.Deinterlace_DIBS(target, source, 1);
    EXPECT_EQ(rows(), (std::vector<int>{0, 10, 20, 20, 40, 40}));
    store.Deinterlace_DIBS(target, source, 2);
    EXPECT_EQ(rows(), (std::vector<int>{0, 10, 10, 30, 30, 50}));
    cDIBSection small;
    ASSERT_TRUE(small.Create(4, 4));
    EXPECT_THROW(store.Deinterlace_DIBS(small, source, 1), VbError);
}

TEST_F(Store_older_test, Every_frame_becomes_a_bitmap_within_the_bound_and_none_past_it) {
    const std::string path = Path("bitmaps.kd3");
    {
        cls_VideoFile_handler writer;
        Make_Heat_File(writer, path, 64, 48, 20000);
        Append_Segment(writer, path, 1, 4, 64, 48);
    }
    cls_VideoFile_handler store;
    store.File_name(path);
    store.Open_RGB_File();
    store.Read_In_Bitmaps();
    ASSERT_EQ(store.Stored_Frames().size(), 4u);
    EXPECT_TRUE(store.Frames_In_Memory());
    for (int32_t n = 1; n <= 4; ++n)
        EXPECT_TRUE(Near(Pixel_At(*store.Stored_Frames()[static_cast<size_t>(n - 1)], 5, 2), Band_Colour(0, n))) << n;

    cls_VideoFile_handler::Whole_File_Bound(64 * 3 * 48 * 4 - 1);
    EXPECT_THROW(store.Read_In_Bitmaps(), VbError);
    EXPECT_TRUE(store.Stored_Frames().empty());
    EXPECT_FALSE(store.Frames_In_Memory());
    store.Read_RGB_sample(3, true);
    EXPECT_EQ(store.KD3_Capture_mill(), Tick_Of(3));
}

TEST_F(Store_older_test, Playback_conversions_between_times_shares_and_fields) {
    const std::string path = Path("synch.kd3");
    {
        cls_VideoFile_handler writer;
        Make_Heat_File(writer, path, 64, 48, 20000);
        Append_Segment(writer, path, 1, 4, 64, 48);
    }
    cls_VideoFile_handler store;
    store.File_name(path);
    EXPECT_EQ(store.Synch_time(100), 0);  // no file: no time per field
    store.Open_RGB_File();
    struct Time_Row {
        float time;
        int16_t field;
    };
    for (const Time_Row& row : {Time_Row{0, 1}, Time_Row{10, 2}, Time_Row{30, 2}, Time_Row{50, 4}, Time_Row{100, 6}}) {
        EXPECT_EQ(store.Synch_time(row.time), row.field) << row.time;
        EXPECT_EQ(store.eff_frameno(), row.field);
    }
    EXPECT_EQ(store.Synch_percentage(50), 4);
    EXPECT_EQ(store.Synch_percentage(100), 8);
    struct Model_Row {
        int16_t offset, model, frame;
    };
    for (const Model_Row& row : {Model_Row{0, 1, 1}, Model_Row{2, 1, 3}, Model_Row{2, 10, 4}, Model_Row{-5, 1, 1}}) {
        store.Video_Offset(row.offset);
        EXPECT_EQ(store.Video_Offset(), row.offset);
        EXPECT_EQ(store.Synch_model(row.model), row.frame) << row.offset << " " << row.model;
    }
    EXPECT_EQ(store.Seconds(), 0);
    store.Set_Frames_no(1262);  // 50.48 s
    EXPECT_EQ(store.Seconds(), 50);
    Test_surface box(64, 48);
    store.Draw_RGB_Field(5, box);
    EXPECT_EQ(store.Player_Effective_Time(), 80.0f);
    EXPECT_EQ(store.xCurrent(), 5);
    store.calculate_luminance();
    EXPECT_EQ(store.Luminance(1), 1);
    EXPECT_EQ(store.Luminance(2), 1);
}

TEST_F(Store_older_test, Buffered_frames_are_compressed_to_fit_the_buffer_and_read_back) {
    const std::string path = Path("buffered.kd3");
    cls_VideoFile_handler store;
    store.File_name(path);
    store.Create_File();
    store.Cropped_X(64);
    store.Cropped_Y(48);
    store.RGB_interlaced(true);
    store.Initial_Quality(85);
    store.Create_KD3_header();

    std::vector<std::unique_ptr<cDIBSection>> pictures;
    std::vector<cls_VideoFile_handler::Buffered_Frame> frames;
    for (int32_t n = 1; n <= 5; ++n) {
        pictures.push_back(Band_Picture(64, 48, n));
        frames.push_back({pictures.back().get(), 40});
    }
    EXPECT_THROW(store.Calculate_Compressed_Size({frames[0]}), VbError);
    store.File_name(path);
    const int32_t size = store.Calculate_Compressed_Size(frames);
    int32_t largest = 0;
    for (int16_t index : {4, 3, 2}) {
        store.Compress_Frame(index, 85, frames);
        largest = std::max(largest, store.Last_JPEG_Size());
    }
    EXPECT_EQ(size, (largest + 5500) / 1000 * 1000);
    EXPECT_EQ(store.RGB_Compressed_buffer_Size(), size);
    EXPECT_EQ(store.Rounded_Compressed_Size(), size);
    EXPECT_THROW(store.Compress_Frame(6, 85, frames), VbError);
    store.Close_File();

    store.File_name(path);
    for (int16_t index = 1; index <= 5; ++index) store.Append_RGB_Frame(index, frames);
    store.Close_File();

    cls_VideoFile_handler reader;
    reader.File_name(path);
    reader.Open_RGB_File();
    ASSERT_EQ(reader.Num_Frames(), 5);
    EXPECT_EQ(reader.Header().RGB_Sample_Size(), size + 58);
    EXPECT_EQ(reader.Header().RGB_Image_Size(), size);
    for (int32_t n = 1; n <= 5; ++n) {
        reader.Read_RGB_sample(n, true);
        EXPECT_EQ(reader.KD3_Capture_mill(), Tick_Of(n));
        EXPECT_EQ(reader.KD3_Capture_local(), Local_Of(n));
        EXPECT_EQ(reader.KD3_Compression_Quality(), 85);
        EXPECT_TRUE(Near(Pixel_At(reader.Frame_Image(), 5, 2), Band_Colour(0, n))) << n;
    }
    // A new file starts without the last file's estimate.
    store.File_name(Path("next.kd3"));
    store.Create_File();
    store.Initiate_KD3_File("");
    EXPECT_EQ(store.Rounded_Compressed_Size(), 0);
}

TEST_F(Store_older_test, A_buffered_frame_that_fits_only_at_lower_quality_is_written_so_and_one_that_never_fits_is_refused) {
    const std::string path = Path("tight.kd3");
    cls_VideoFile_handler store;
    store.File_name(path);
    store.Create_File();
    store.Cropped_X(64);
    store.Cropped_Y(48);
    store.Initial_Quality(100);
    store.Create_KD3_header();
    // Noise compresses badly: at quality 100 it needs far more than at low quality.
    auto noise = std::make_unique<cDIBSection>();
    ASSERT_TRUE(noise->Create(64, 48));
    uint32_t seed = 7;
    for (int32_t i = 0; i < noise->SizeImage(); ++i) {
        seed = seed * 1103515245 + 12345;
        noise->DIBSectionBitsPtr()[i] = static_cast<uint8_t>(seed >> 16);
    }
    std::vector<cls_VideoFile_handler::Buffered_Frame> frames{{noise.get(), 40}};
    store.Compress_Frame(1, 100, frames);
    const int32_t at_100 = store.Last_JPEG_Size();
    store.Compress_Frame(1, 30, frames);
    const int32_t at_30 = store.Last_JPEG_Size();
    ASSERT_LT(at_30, at_100);

    store.File_name(path);
    store.Open_RGB_File();
    store.Set_JPG_Maxsize(at_30 + 1);
    store.Write_KD3_header();
    store.Close_File();
    store.File_name(path);
    store.Append_RGB_Frame(1, frames);
    store.Close_File();
    {
        cls_VideoFile_handler reader;
        reader.File_name(path);
        reader.Open_RGB_File();
        ASSERT_EQ(reader.Num_Frames(), 1);
        reader.Read_RGB_sample(1, false);
        EXPECT_LT(reader.KD3_Compression_Quality(), 100);
        EXPECT_GT(reader.KD3_Compression_Quality(), 1);
        EXPECT_LE(reader.KD3_JPEG_Size(), at_30 + 1);
    }

    // A buffer smaller than any JPEG: quality falls to 1 and the frame is refused, the file unchanged.
    cls_VideoFile_handler tiny;
    tiny.File_name(Path("tiny.kd3"));
    tiny.Create_File();
    tiny.Cropped_X(64);
    tiny.Cropped_Y(48);
    tiny.Initial_Quality(3);  // 85 % of 3 rounds back to 3
    tiny.Create_KD3_header();
    tiny.File_name(Path("tiny.kd3"));
    tiny.Open_RGB_File();
    tiny.Set_JPG_Maxsize(100);
    tiny.Position_at_End();
    const std::vector<uint8_t> before = File_Bytes(Path("tiny.kd3"));
    tiny.Append_RGB_Frame(1, frames);
    EXPECT_EQ(tiny.Refused_Frames(), 1);
    tiny.Close_File();
    EXPECT_EQ(File_Bytes(Path("tiny.kd3")).size(), before.size());
}

}  // namespace
