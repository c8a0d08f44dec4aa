// Trace records kept in the DV frames of kd2 files written here: points edited in the frame held and
// written back with it, every frame's record read, and edits the file could not keep refused.
#include "Dv_test_files.h"
#include "Older_test_files.h"
#include "store/Dv_format.h"

namespace {

class Trace_records : public Older_kind_test {
protected:
    // A kd2 file of `count` frames of one stream.
    std::string Kd2(int32_t count) {
        const older_test::Frames clip = dv_test::Encode_Frames(count);
        std::vector<older_test::Frames> frames;
        for (const auto& f : clip) frames.push_back({f});
        const std::string path = Path("trace.kd2");
        older_test::Make_KDR_File(path, frames);
        return path;
    }
    // The trace record of frame `frame` (from 1) as it lies in the file.
    dv::Trace_Record In_File(const std::string& path, int32_t frame) {
        const std::vector<uint8_t> bytes = File_Bytes(path);
        dv::Trace_Record r;
        const size_t at = dv::KDR_Data_Offset + static_cast<size_t>(frame - 1) * dv::Frame_Size + dv::Trace_Record_Offset;
        std::copy_n(bytes.begin() + static_cast<std::ptrdiff_t>(at), dv::Trace_Record_Length, r.bytes.begin());
        return r;
    }
};

TEST_F(Trace_records, A_point_of_the_field_shown_is_written_into_its_frame_and_read_back_for_every_frame) {
    const std::string path = Kd2(3);
    {
        cls_VideoFile_handler store;
        ASSERT_TRUE(store.Open_File(path, 0));
        Test_surface box(72, 58);
        // Clearing before any point writes 88 zero bytes: no id, length 0.
        store.Draw_RGB_Field(1, box);
        store.Clear_Trace_Data();
        EXPECT_EQ(In_File(path, 1).bytes, dv::Trace_Record{}.bytes);
        // Field 4 is the second field of frame 2: channel 3's X and Y at offsets 18 and 58.
        store.Draw_RGB_Field(4, box);
        store.Update_Trace_Data(3, 100, 200);
        EXPECT_EQ(store.Trace_X(3), 100);
        EXPECT_EQ(store.Trace_Y(3), 200);
        const dv::Trace_Record written = In_File(path, 2);
        EXPECT_EQ(std::string(written.bytes.begin(), written.bytes.begin() + 4), "KDTD");
        EXPECT_EQ(written.Length(), 87);
        EXPECT_EQ(written.Int16(18), 100);
        EXPECT_EQ(written.Int16(58), 200);
        // Field 5 is the first field of frame 3.
        store.Draw_RGB_Field(5, box);
        store.Update_Trace_Data(10, -7, 9);
        EXPECT_EQ(Error_Of([&] { store.Update_Trace_Data(11, 1, 1); }), vb::Err_Subscript);
        store.Close_File();
    }
    cls_VideoFile_handler store;
    ASSERT_TRUE(store.Open_File(path, 0));
    store.Read_Trace_Array();
    struct Row {
        int16_t channel;
        int32_t field;
        int16_t x, y;
    } rows[] = {{3, 4, 100, 200}, {3, 3, 0, 0}, {10, 5, -7, 9}, {10, 6, 0, 0}, {1, 1, 0, 0}};
    for (const Row& r : rows) {
        SCOPED_TRACE(r.field);
        int16_t x = -1, y = -1;
        store.Trace_Array_Coords(r.channel, r.field, x, y);
        EXPECT_EQ(x, r.x);
        EXPECT_EQ(y, r.y);
    }
    int16_t x = 0, y = 0;
    EXPECT_EQ(Error_Of([&] { store.Trace_Array_Coords(1, 7, x, y); }), vb::Err_Subscript);  // frame 4 of 3
    // Reading a frame takes its record from the array read.
    store.Read_Frame(2, 1);
    EXPECT_EQ(store.Current_Trace_Record().Int16(18), 100);
    // The picture of the frames is untouched by their trace records.
    Test_surface box(72, 58);
    store.Draw_RGB_Field(4, box);
    EXPECT_TRUE(store.Frame_available());
    EXPECT_NEAR(Pixel_At(store.Field_Image(), 360, 288).g, dv_test::Grey_Of(dv_test::Upper_Luma(1)), 6);
}

TEST_F(Trace_records, Edits_that_the_file_would_not_keep_are_refused) {
    const std::string kd2 = Kd2(2);
    const older_test::Frames clip = dv_test::Encode_Frames(2);
    std::vector<uint8_t> raw = clip[0];
    raw.insert(raw.end(), clip[1].begin(), clip[1].end());
    older_test::Write_Bytes(Path("clip.dv"), raw);
    Test_surface box(72, 58);
    {
        SCOPED_TRACE("no frame held yet");
        cls_VideoFile_handler store;
        ASSERT_TRUE(store.Open_File(kd2, 0));
        EXPECT_EQ(Error_Of([&] { store.Update_Trace_Data(1, 5, 5); }), vb::Err_Invalid_Call);
    }
    {
        SCOPED_TRACE("a raw DV file, whose frames are never written back");
        const std::vector<uint8_t> before = File_Bytes(Path("clip.dv"));
        cls_VideoFile_handler store;
        ASSERT_TRUE(store.Open_File(Path("clip.dv"), 0));
        store.Draw_RGB_Field(1, box);
        EXPECT_EQ(Error_Of([&] { store.Update_Trace_Data(1, 5, 5); }), vb::Err_Invalid_Call);
        EXPECT_EQ(Error_Of([&] { store.Clear_Trace_Data(); }), vb::Err_Invalid_Call);
        store.Close_File();
        EXPECT_EQ(File_Bytes(Path("clip.dv")), before);
    }
    {
        SCOPED_TRACE("a field number that is no field of a frame leaves the record as it was");
        const dv::Trace_Record before = In_File(kd2, 1);
        cls_VideoFile_handler store;
        ASSERT_TRUE(store.Open_File(kd2, 0));
        store.Read_Frame(1, 1);
        EXPECT_EQ(Error_Of([&] { store.Update_Trace_Data(1, 5, 5); }), vb::Err_Subscript);
        store.Close_File();
        EXPECT_EQ(In_File(kd2, 1).bytes, before.bytes);
    }
}

}  // namespace
