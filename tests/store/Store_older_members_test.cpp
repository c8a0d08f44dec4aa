// The older kinds' remaining members: what Open_File opens, the kd1/kd2 header members, renaming, the
// AVI members reached through the store's file layer (headers, channel names, the text stream, the
// index), the DV members (extra data, writing, converting), the stream positions, and the faults mended:
// a kd3 store kept on its own path, a second RIFF part, NTSC timing, the DV codec texts.
#include "Dv_test_files.h"
#include "Older_test_files.h"
#include "Store_test_support.h"
#include "platform/fs/File_system.h"
#include "store/Dv_format.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <functional>
#include <set>

namespace {

using older_test::Find;
using older_test::Frames;
using older_test::Get32;
using older_test::Make_KDR_File;
using older_test::Put32;
using older_test::Write_Bytes;

void Append_Chunk(std::vector<uint8_t>& bytes, const std::string& id, const std::vector<uint8_t>& data) {
    bytes.insert(bytes.end(), id.begin(), id.end());
    bytes.resize(bytes.size() + 4);
    Put32(bytes, bytes.size() - 4, static_cast<uint32_t>(data.size()));
    bytes.insert(bytes.end(), data.begin(), data.end());
}

// Frame k + 1 (from 0) of a one-stream kd file shows clip frame k and carries extra data with camera
// 3 and goal compensation 15.
std::vector<Frames> Recorded(int32_t count) {
    const Frames clip = dv_test::Encode_Frames(count);
    std::vector<Frames> out;
    for (int32_t k = 0; k < count; ++k) {
        std::vector<uint8_t> frame = clip[static_cast<size_t>(k)];
        dv_test::Put_Extra_Data(frame, 1000 + 40 * k, 0, "frame");
        frame[12083 + 170] = 3;
        frame[12083 + 172] = 15;
        out.push_back({frame});
    }
    return out;
}

// The kd2 copy at `path` holds the recorded frames, every one readable.
void Expect_Copy_Holds(const std::string& path, const std::vector<Frames>& recorded) {
    cls_VideoFile_handler converted;
    ASSERT_TRUE(converted.Open_File(path, 0));
    ASSERT_EQ(converted.Num_Frames(), static_cast<int32_t>(recorded.size()));
    for (int32_t f = 1; f <= converted.Num_Frames(); ++f) {
        converted.Read_Frame(f, 1);
        ASSERT_TRUE(converted.Frame_available()) << f;
        EXPECT_EQ(std::memcmp(converted.Frame_Data_Address(), recorded[static_cast<size_t>(f - 1)][0].data(), dv::Frame_Size), 0) << f;
    }
}

// A kd3 heat of three 64 x 32 frames.
void Make_Heat(const std::string& path) {
    cls_VideoFile_handler writer;
    Make_Heat_File(writer, path, 64, 32, 20000);
    Append_Segment(writer, path, 1, 3, 64, 32);
}

class Older_members : public Older_kind_test {};

// ---- what Open_File opens ----

TEST_F(Older_members, Open_File_opens_only_the_kinds_written_in_lower_case_and_never_an_avi_file) {
    Make_Heat(Path("heat.kd3"));
    std::filesystem::copy_file(Path("heat.kd3"), Path("HEAT.KD3"));
    const Frames clip = dv_test::Encode_Frames(2);
    dv_test::Mux(Path("clip.avi"), "avi", clip);
    dv_test::Mux(Path("clip.dv"), "dv", clip);
    std::filesystem::copy_file(Path("clip.avi"), Path("clip.AVI"));
    std::filesystem::copy_file(Path("clip.dv"), Path("clip.DV"));
    Make_KDR_File(Path("heat.kd2"), Recorded(2));
    std::filesystem::copy_file(Path("heat.kd2"), Path("heat.Kd2"));
    struct Row {
        const char* name;
        bool opens;
    } rows[] = {{"heat.kd3", true}, {"clip.dv", true},   {"heat.kd2", true},  {"HEAT.KD3", false},
                {"clip.avi", false}, {"clip.AVI", false}, {"clip.DV", false}, {"heat.Kd2", false}};
    for (const Row& r : rows) {
        SCOPED_TRACE(r.name);
        Test_dialogs::Instance().Reset();
        cls_VideoFile_handler store;
        EXPECT_EQ(store.Open_File(Path(r.name), 0), r.opens);
        EXPECT_EQ(store.File_open(), r.opens);
        EXPECT_TRUE(Test_dialogs::Instance().Shown_Dialogs().empty());
        // The open keeps where the file lies.
        EXPECT_EQ(store.Drive_text(), r.opens ? Path(r.name).substr(0, 2) : "");
        EXPECT_EQ(store.DriveType(), r.opens ? fs::Drive_Type(Path(r.name)) : 0);
        store.Close_File();
        EXPECT_EQ(store.Drive_text(), "");
        EXPECT_EQ(store.DriveType(), 0);
    }
}

TEST_F(Older_members, rename_file_moves_the_file_within_its_folder_and_opens_it_there_unless_the_name_is_taken) {
    Make_Heat(Path("a.kd3"));
    std::filesystem::copy_file(Path("a.kd3"), Path("b.kd3"));
    const std::vector<uint8_t> taken = File_Bytes(Path("b.kd3"));
    cls_VideoFile_handler store;
    ASSERT_TRUE(store.Open_File(Path("a.kd3"), 0));
    Test_dialogs::Instance().Answer(ui::vbOK);
    EXPECT_FALSE(store.rename_file("b.kd3"));
    ASSERT_EQ(Test_dialogs::Instance().Shown_Dialogs().size(), 1u);
    EXPECT_EQ(Test_dialogs::Instance().Shown_Dialogs()[0].prompt, "New file already exists!");
    EXPECT_TRUE(store.File_open());
    EXPECT_EQ(store.File_name(), Path("a.kd3"));
    EXPECT_EQ(File_Bytes(Path("b.kd3")), taken);

    EXPECT_TRUE(store.rename_file("c.kd3"));
    EXPECT_FALSE(std::filesystem::exists(Path("a.kd3")));
    EXPECT_EQ(store.File_name(), Path("c.kd3"));
    ASSERT_TRUE(store.File_open());
    EXPECT_EQ(store.Num_Frames(), 3);
}

// ---- the kd1 and kd2 header members ----

TEST_F(Older_members, The_kd2_header_record_and_text_are_read_again_and_their_copies_are_addressed) {
    Make_KDR_File(Path("heat.kd2"), Recorded(2));
    const std::vector<uint8_t> bytes = File_Bytes(Path("heat.kd2"));
    cls_VideoFile_handler store;
    ASSERT_TRUE(store.Open_File(Path("heat.kd2"), 0));
    ASSERT_NE(store.KDR_header_addr(), nullptr);
    EXPECT_EQ(store.KDR_header_addr()->data_offset, dv::KDR_Data_Offset);
    EXPECT_EQ(store.KDR_header_addr()->xml_length, static_cast<int32_t>(Get32(bytes, 12)));
    EXPECT_EQ(std::string(store.XML_Header_addr()), store.XML_Header_string());

    const std::string heat = store.Header().Heat_ID(1);
    store.Header().Heat_ID(1, "changed in memory");
    store.Get_KD3_header();
    EXPECT_EQ(store.Header().Heat_ID(1), heat);
}

TEST_F(Older_members, Kd2_frames_come_from_the_memory_copy_when_one_was_made) {
    const std::vector<Frames> recorded = Recorded(3);
    Make_KDR_File(Path("heat.kd2"), recorded);
    cls_VideoFile_handler copying;
    copying.Read_to_Memory(true);
    ASSERT_TRUE(copying.Open_File(Path("heat.kd2"), 0));
    ASSERT_TRUE(copying.Memory_copy_held());
    // Frame 2 changes on disk after the copy was made; the copy still answers with the frame it held.
    {
        std::fstream file(Path("heat.kd2"), std::ios::in | std::ios::out | std::ios::binary);
        file.seekp(dv::KDR_Data_Offset + dv::Frame_Size);
        file.write(reinterpret_cast<const char*>(recorded[2][0].data()), dv::Frame_Size);
    }
    copying.Read_Frame(2, 1);
    ASSERT_TRUE(copying.Frame_available());
    EXPECT_EQ(std::memcmp(copying.Frame_Data_Address(), recorded[1][0].data(), dv::Frame_Size), 0);
    cls_VideoFile_handler reading;
    ASSERT_TRUE(reading.Open_File(Path("heat.kd2"), 0));
    reading.Read_Frame(2, 1);
    EXPECT_EQ(std::memcmp(reading.Frame_Data_Address(), recorded[2][0].data(), dv::Frame_Size), 0);
}

// ---- the frame description, buffers and drawing fields ----

TEST_F(Older_members, Each_kind_describes_its_frames_and_points_at_its_buffers) {
    const Frames clip = dv_test::Encode_Frames(2);
    dv_test::Mux(Path("clip.dv"), "dv", clip);
    Make_KDR_File(Path("heat.kd1"), Recorded(2));
    cls_VideoFile_handler store;
    EXPECT_NE(store.DrawDib_Handle(), nullptr);
    Test_surface screen(4, 4);
    store.Set_Screen_HDC(screen.hDC());
    EXPECT_EQ(store.Screen_DC(), screen.hDC());
    EXPECT_EQ(store.Frame_Format().biWidth, 720);
    EXPECT_EQ(store.Frame_Format().biCompression, 0u);

    ASSERT_TRUE(store.Open_File(Path("clip.dv"), 0));
    const gdi::Bitmap_info_header& f = store.Frame_Format();
    EXPECT_EQ(f.biSize, 40u);
    EXPECT_EQ(f.biHeight, 576);
    EXPECT_EQ(f.biPlanes, 1);
    EXPECT_EQ(f.biBitCount, 24);
    EXPECT_EQ(f.biCompression, 0u);  // the DV codec text is empty
    EXPECT_EQ(f.biSizeImage, static_cast<uint32_t>(dv::Frame_Size));
    EXPECT_EQ(store.DV_Decode_Width(), 0);
    // A raw DV file's address is its first 1001 bytes; the frame read lies in the frame buffer.
    store.Read_Frame(2, 1);
    const std::vector<uint8_t> file = File_Bytes(Path("clip.dv"));
    EXPECT_EQ(std::memcmp(store.Frame_address(), file.data(), 1001), 0);
    EXPECT_EQ(std::memcmp(store.Frame_Data_Address(), file.data() + dv::Frame_Size, dv::Frame_Size), 0);
    EXPECT_EQ(store.Extra_Data_Addr(), store.Frame_Data_Address());

    ASSERT_TRUE(store.Open_File(Path("heat.kd1"), 0));
    EXPECT_EQ(store.DV_Decode_Width(), 720);
    EXPECT_EQ(store.DV_Decode_Height(), 576);
    store.Read_Frame(1, 1);
    EXPECT_EQ(store.Frame_address(), store.Frame_Data_Address());
    EXPECT_EQ(store.Zelv_Camera(), 3);
    // No compensation in the header: the frame's own.
    EXPECT_EQ(store.Zelv_Goal_compensation(), "15");

    store.Read_In_Bitmaps();
    EXPECT_EQ(store.Stored_Frames().size(), 2u);
    EXPECT_TRUE(store.Frames_In_Memory());
    store.Close_File();
    EXPECT_TRUE(store.Stored_Frames().empty());
    EXPECT_FALSE(store.Frames_In_Memory());
}

TEST_F(Older_members, Fill_PBox_paints_the_whole_box_black) {
    Test_surface box(40, 30);
    std::memset(box.dib.DIBSectionBitsPtr(), 0xC8, static_cast<size_t>(box.dib.SizeImage()));
    cls_VideoFile_handler::Fill_PBox(box);
    for (int32_t y : {0, 15, 29})
        for (int32_t x : {0, 20, 39}) EXPECT_TRUE(Near(Pixel_At(box.dib, x, y), Bgr{0, 0, 0}, 0)) << x << "," << y;
    EXPECT_EQ(box.refreshes, 1);
}

// ---- streams by camera position ----

TEST_F(Older_members, Streams_are_found_by_camera_position_and_their_active_flag_reaches_the_file) {
    const Frames clip = dv_test::Encode_Frames(2);
    Make_KDR_File(Path("two.kd2"), std::vector<Frames>{Frames{clip[0], clip[1]}});  // at camera positions 1 and 2
    {
        cls_VideoFile_handler store;
        ASSERT_TRUE(store.Open_File(Path("two.kd2"), 0));
        EXPECT_EQ(store.Pos_In_File(1), 0);  // not filled before Set_Multi_Stream_Size
        store.Set_Multi_Stream_Size();
        EXPECT_EQ(store.Pos_In_File(1), -1);
        EXPECT_EQ(store.Pos_In_File(2), -1);
        EXPECT_EQ(store.Pos_In_File(3), 0);
        for (int16_t pos : {0, 7}) EXPECT_EQ(Error_Of([&] { store.Pos_In_File(pos); }), vb::Err_Subscript);
        EXPECT_TRUE(store.pos_Active(2));
        EXPECT_EQ(Error_Of([&] { store.pos_Active(4); }), vb::Err_Object_Not_Set);
        store.Set_stream_active(4, false);  // no stream there: nothing happens
        store.Set_stream_active(2, false);
    }
    cls_VideoFile_handler store;
    ASSERT_TRUE(store.Open_File(Path("two.kd2"), 0));
    EXPECT_TRUE(store.pos_Active(1));
    EXPECT_FALSE(store.pos_Active(2));
}

// ---- sdv: the selection lives in the DV file header record ----

TEST_F(Older_members, An_sdv_selection_is_written_into_its_header_record_and_trims_the_field_count_once) {
    const std::vector<Frames> recorded = Recorded(4);
    dv::DV_File_Header record;
    record.Magic("PKDV");
    record.Data_Offset(dv::DV_File_Header_Length);
    record.Streams(1);
    record.Frames(4);
    record.Selection_Start(3);
    std::vector<uint8_t> bytes(record.Bytes().begin(), record.Bytes().end());
    for (const Frames& f : recorded) bytes.insert(bytes.end(), f[0].begin(), f[0].end());
    Write_Bytes(Path("clip.sdv"), bytes);
    {
        cls_VideoFile_handler store;
        ASSERT_TRUE(store.Open_File(Path("clip.sdv"), 0));
        EXPECT_EQ(store.Frame_Format().biCompression, static_cast<uint32_t>(clsAVIInfo::FourCCToLong("CDVC")));
        store.Read_Frame(1, 1);
        store.Calculate_Number_of_Fields();
        EXPECT_EQ(store.Num_fields(), 8 - 3);
        store.Calculate_Number_of_Fields();
        EXPECT_EQ(store.Num_fields(), 8 - 3);
        EXPECT_EQ(store.Selection_start(), 3);
        store.Selection_start(5);
        store.Selection_end(7);
        EXPECT_EQ(Error_Of([&] { store.Selection_end(40000); }), vb::Err_Overflow);
    }
    const std::vector<uint8_t> after = File_Bytes(Path("clip.sdv"));
    EXPECT_EQ(after[3630], 5);
    EXPECT_EQ(after[3632], 7);
    cls_VideoFile_handler store;
    ASSERT_TRUE(store.Open_File(Path("clip.sdv"), 0));
    EXPECT_EQ(store.Selection_start(), 5);
    EXPECT_EQ(store.Selection_end(), 7);
}

// ---- writing DV frames ----

TEST_F(Older_members, DV_frames_are_written_appended_through_a_handle_of_its_own_and_converted_to_kd2) {
    const std::vector<Frames> recorded = Recorded(3);
    Make_KDR_File(Path("heat.kd1"), std::vector<Frames>{recorded[0]});
    {
        cls_VideoFile_handler store;
        ASSERT_TRUE(store.Open_File(Path("heat.kd1"), 0));
        store.Append_DV_frame_asynch(recorded[1][0].data());
        EXPECT_EQ(store.DV_frames_appended(), 1);
        store.Append_DV_frame(recorded[2][0].data());
        EXPECT_EQ(store.DV_frames_appended(), 2);
    }
    cls_VideoFile_handler store;
    ASSERT_TRUE(store.Open_File(Path("heat.kd1"), 0));
    ASSERT_EQ(store.Num_Frames(), 3);
    for (int32_t f = 1; f <= 3; ++f) {
        store.Read_Frame(f, 1);
        EXPECT_EQ(std::memcmp(store.Frame_Data_Address(), recorded[static_cast<size_t>(f - 1)][0].data(), dv::Frame_Size), 0) << f;
    }
    const std::string event = store.Event_name();
    store.Convert_TO_KD2();
    EXPECT_EQ(store.Event_name(), event);  // the open file's document is not replaced
    EXPECT_EQ(Error_Of([&] { store.Convert_TO_KD2(); }), 58);  // nothing is written over
    Expect_Copy_Holds(Path("heat.kd2"), recorded);

    // Written at the write position, which follows the header area.
    cls_VideoFile_handler writer;
    ASSERT_TRUE(writer.Open_File(Path("heat.kd2"), 0));
    writer.Write_DV_frame(recorded[2][0].data());
    writer.Close_File();
    EXPECT_EQ(std::memcmp(File_Bytes(Path("heat.kd2")).data() + dv::KDR_Data_Offset, recorded[2][0].data(), dv::Frame_Size), 0);
    cls_VideoFile_handler closed;
    closed.File_name(Path("heat.kd2"));
    EXPECT_EQ(Error_Of([&] { closed.Append_DV_frame_asynch(recorded[0][0].data()); }), 52);
}

TEST_F(Older_members, A_kd2_copy_is_refused_before_anything_is_written_unless_every_frame_is_a_PAL_DV_frame) {
    const Frames clip = dv_test::Encode_Frames(2);
    dv_test::Mux(Path("pal.avi"), "avi", clip);
    dv_test::Mux(Path("ntsc.avi"), "avi", dv_test::Encode_Frames(2, true), true);
    dv_test::Mux_Jpeg_Avi(Path("jpeg.avi"), {Band_JPEG(64, 48, 0), Band_JPEG(64, 48, 1)}, 64, 48);
    struct Row {
        const char* name;
        int32_t error;
    } rows[] = {{"pal", 0}, {"ntsc", vb::Err_Invalid_Call}, {"jpeg", vb::Err_Invalid_Call}};
    for (const Row& r : rows) {
        SCOPED_TRACE(r.name);
        const std::string name = r.name;
        cls_VideoFile_handler store;
        ASSERT_TRUE(Store_file_seam::Open_AVI(store, Path(name + ".avi")));
        EXPECT_EQ(Error_Of([&] { store.Convert_TO_KD2(); }), r.error);
        EXPECT_EQ(std::filesystem::exists(Path(name + ".kd2")), r.error == 0);
        EXPECT_FALSE(std::filesystem::exists(Path(name + ".kd2.partial")));
    }
    cls_VideoFile_handler converted;
    ASSERT_TRUE(converted.Open_File(Path("pal.kd2"), 0));
    ASSERT_EQ(converted.Num_Frames(), 2);
    for (int32_t f = 1; f <= 2; ++f) {
        converted.Read_Frame(f, 1);
        ASSERT_TRUE(converted.Frame_available());
        EXPECT_EQ(std::memcmp(converted.Frame_Data_Address(), clip[static_cast<size_t>(f - 1)].data(), dv::Frame_Size), 0) << f;
    }
}

TEST_F(Older_members, A_kd2_copy_that_fails_partway_leaves_nothing_behind_and_the_review_reads_its_frame_again) {
    const std::vector<Frames> recorded = Recorded(3);
    Make_KDR_File(Path("heat.kd1"), recorded);
    auto folder = [&] {
        std::set<std::string> names;
        for (const auto& entry : std::filesystem::directory_iterator(Test_folder())) names.insert(entry.path().filename());
        return names;
    };
    const std::set<std::string> before = folder();
    cls_VideoFile_handler store;
    ASSERT_TRUE(store.Open_File(Path("heat.kd1"), 0));
    store.Read_RGB_sample(1, false);
    // The disk fills up when the copy's second frame is written.
    Binary_file::Set_Fault_Hook([&](Binary_file::Operation operation, const std::string& file, int64_t offset, int64_t) {
        const bool full = operation == Binary_file::Operation::write && file != Path("heat.kd1") &&
                          offset >= dv::KDR_Data_Offset + dv::Frame_Size;
        return full ? Binary_file::Fault{0, ENOSPC} : Binary_file::Fault{};
    });
    EXPECT_EQ(Error_Of([&] { store.Convert_TO_KD2(); }), vb::Err_Disk_Full);
    Binary_file::Set_Fault_Hook(nullptr);
    EXPECT_EQ(folder(), before);

    store.Convert_TO_KD2();
    Expect_Copy_Holds(Path("heat.kd2"), recorded);
    // The copy read every frame over the one the review had read.
    store.Read_RGB_sample(1, false);
    EXPECT_EQ(std::memcmp(store.Frame_Data_Address(), recorded[0][0].data(), dv::Frame_Size), 0);
}

// ---- the faults ----

TEST_F(Older_members, A_kd3_store_stays_on_its_own_path_when_older_kind_members_are_called) {
    Make_Heat(Path("heat.kd3"));
    const std::vector<uint8_t> before = File_Bytes(Path("heat.kd3"));
    struct Row {
        const char* member;
        std::function<void(cls_VideoFile_handler&)> call;
    } rows[] = {
        {"Set_Multi_Stream_Size", [](cls_VideoFile_handler& s) { s.Set_Multi_Stream_Size(); }},
        {"find_DV_offset", [&](cls_VideoFile_handler& s) { s.find_DV_offset(Path("heat.kd3")); }},
        {"Get_KDR_header", [](cls_VideoFile_handler& s) { s.Get_KDR_header(); }},
        {"Get_KD3_header", [](cls_VideoFile_handler& s) { s.Get_KD3_header(); }},
        {"Write_KDR_header", [](cls_VideoFile_handler& s) { s.Write_KDR_header(); }},
        {"Add_Header_padding", [](cls_VideoFile_handler& s) { s.Add_Header_padding(); }},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.member);
        cls_VideoFile_handler store;
        ASSERT_TRUE(store.Open_File(Path("heat.kd3"), 0));
        try {
            r.call(store);
        } catch (const VbError& e) {
            EXPECT_EQ(e.Number(), vb::Err_Invalid_Call);  // the kd1/kd2 layout is refused on a kd3 file
        }
        EXPECT_EQ(store.Width(), 64);
        store.Read_RGB_sample(3, true);
        EXPECT_TRUE(store.Frame_available());
        EXPECT_EQ(store.KD3_Capture_mill(), Tick_Of(3));
        store.Close_File();
        EXPECT_EQ(File_Bytes(Path("heat.kd3")), before);
    }
}

TEST_F(Older_members, NTSC_times_follow_the_exact_rate_while_the_stored_frame_length_stays_33) {
    constexpr int32_t count = 4;
    dv_test::Mux(Path("ntsc.dv"), "dv", dv_test::Encode_Frames(count, true), true);
    cls_VideoFile_handler store;
    ASSERT_TRUE(store.Open_File(Path("ntsc.dv"), 0));
    EXPECT_EQ(store.mill_per_frame(), 33);
    EXPECT_EQ(store.mill_per_field(), 16);
    EXPECT_EQ(store.Clip_length(), 133);  // 4 x 1001 / 30 = 133.5 (rounded); 33 ms a frame gives 132
    Test_surface box(720, 480);
    for (int32_t field = 1; field <= 2 * count; ++field) {
        SCOPED_TRACE(field);
        store.Draw_RGB_Field(field, box);
        const int32_t frame = (field + 1) / 2;
        EXPECT_EQ(store.KD3_Capture_mill(), static_cast<int32_t>(std::lround((frame - 1) * 1001.0 / 30)));
        EXPECT_EQ(store.Effective_time(), static_cast<int32_t>(std::lround((field - 1) * 1001.0 / 60)));
    }
    EXPECT_EQ(store.Synch_time(117), 8);  // field 8 begins 116.8 ms in
}

// ---- AVI files, handed to the store through its file layer ----

// An AVI file of `frames` with text chunks ("01db", `text_length` bytes each, frame k's filled with
// 'a' + k) indexed as a text stream, and a PKA3 chunk of three channel names, all after the index.
void Make_AVI_With_Text(const std::string& path, const Frames& frames, uint32_t text_length) {
    dv_test::Mux(path, "avi", frames);
    std::vector<uint8_t> bytes = File_Bytes(path);
    const size_t movi = Find(bytes, "movi");
    const size_t idx1 = Find(bytes, "idx1", movi);
    ASSERT_LT(idx1, bytes.size());
    const uint32_t size = Get32(bytes, idx1 + 4);
    ASSERT_EQ(idx1 + 8 + size, bytes.size());
    const auto count = static_cast<uint32_t>(frames.size());
    std::vector<uint8_t> entries(bytes.begin() + static_cast<std::ptrdiff_t>(idx1 + 8), bytes.end());
    const size_t first_text = idx1 + 8 + size + 16 * count;
    for (uint32_t k = 0; k < count; ++k) {
        std::vector<uint8_t> e(16, 0);
        std::memcpy(e.data(), "01db", 4);
        Put32(e, 8, static_cast<uint32_t>(first_text + k * (8 + text_length) - movi));
        Put32(e, 12, text_length);
        entries.insert(entries.end(), e.begin(), e.end());
    }
    bytes.resize(idx1);
    Append_Chunk(bytes, "idx1", entries);
    for (uint32_t k = 0; k < count; ++k) Append_Chunk(bytes, "01db", std::vector<uint8_t>(text_length, static_cast<uint8_t>('a' + k)));
    Append_Chunk(bytes, "PKA3", std::vector<uint8_t>(3 * 40, ' '));
    Put32(bytes, 4, static_cast<uint32_t>(bytes.size() - 8));
    Write_Bytes(path, bytes);
}

TEST_F(Older_members, An_avi_file_reads_its_frames_index_headers_and_frame_rate) {
    const Frames clip = dv_test::Encode_Frames(4);
    dv_test::Mux(Path("clip.avi"), "avi", clip);
    cls_VideoFile_handler store;
    ASSERT_TRUE(Store_file_seam::Open_AVI(store, Path("clip.avi")));
    ASSERT_EQ(store.Num_Frames(), 4);
    int32_t length = 0;
    const uint8_t* address = nullptr;
    store.Get_Frame(2, length, address);
    EXPECT_EQ(length, dv::Frame_Size);
    EXPECT_EQ(store.Frame_Length(), dv::Frame_Size);
    ASSERT_NE(address, nullptr);
    EXPECT_EQ(std::memcmp(address, clip[1].data(), dv::Frame_Size), 0);
    EXPECT_EQ(store.Percentage(), 50);
    EXPECT_FLOAT_EQ(store.Player_Time(), 40);
    EXPECT_EQ(store.Index_flag(1) & 0x10, 0x10);  // a key frame
    EXPECT_EQ(Error_Of([&] { store.Index_flag(5); }), vb::Err_Subscript);
    EXPECT_EQ(store.Text_Length(), 0);
    EXPECT_EQ(Error_Of([&] { store.text_adress(); }), vb::Err_Subscript);

    store.Read_Headers();
    int32_t strh_length = 0, strf_length = 0;
    const uint8_t* strh = nullptr;
    const uint8_t* strf = nullptr;
    store.get_AVI_strh(strh_length, strh);
    store.get_AVI_strf(strf_length, strf);
    EXPECT_GE(strh_length, 48);
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(strh), 8), "vidsdvsd");
    EXPECT_GE(strf_length, 40);
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(store.AVI_Chunk_addr()), 4), "avih");
    const uint8_t* main = store.AVIINFO_addr();
    EXPECT_EQ(uint32_t{main[0]} | uint32_t{main[1]} << 8 | uint32_t{main[2]} << 16, 40000u);

    for (auto [fps, us] : {std::pair{25, 40000u}, std::pair{30, 33333u}, std::pair{7, 142857u}}) {
        store.Force_Framerate(fps);
        EXPECT_EQ(Get32(File_Bytes(Path("clip.avi")), 32), us) << fps;
    }
    EXPECT_EQ(Error_Of([&] { store.Force_Framerate(0); }), vb::Err_Division_By_Zero);
    store.Close_AVIFunctions();
}

TEST_F(Older_members, An_avi_file_keeps_channel_names_and_a_text_stream_written_only_within_their_chunks) {
    const Frames clip = dv_test::Encode_Frames(2);
    Make_AVI_With_Text(Path("text.avi"), clip, 20);
    cls_VideoFile_handler store;
    ASSERT_TRUE(Store_file_seam::Open_AVI(store, Path("text.avi")));
    ASSERT_TRUE(store.Has_Text_Stream());
    EXPECT_EQ(store.Text_Length(), 20);

    const size_t pka3 = Find(File_Bytes(Path("text.avi")), "PKA3");
    EXPECT_EQ(store.Data_Channel_Name(2), "");
    store.Write_channel_name(1, std::string(50, 'x'));
    store.Write_channel_name(2, "abc");
    store.Write_channel_name(4, "past the chunk");
    std::vector<uint8_t> bytes = File_Bytes(Path("text.avi"));
    EXPECT_EQ(std::string(bytes.begin() + static_cast<std::ptrdiff_t>(pka3 + 8 + 40), bytes.begin() + static_cast<std::ptrdiff_t>(pka3 + 8 + 80)),
              "abc" + std::string(37, ' '));
    EXPECT_EQ(pka3 + 8 + 120, bytes.size());
    EXPECT_EQ(store.Data_Channel_Name(1), std::string(40, 'x'));
    EXPECT_EQ(store.Data_Channel_Name(2), "abc");
    EXPECT_EQ(store.Data_Channel_Name(4), "");

    store.Read_Frame(2, 1);
    ASSERT_TRUE(store.Frame_available());
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(store.text_adress()), 20), std::string(20, 'b'));
    int32_t length = 0;
    const uint8_t* address = nullptr;
    store.Get_Text_buffer(1, length, address);
    EXPECT_EQ(length, 20);
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(address), 12), "01db" + std::string("\x14\0\0\0", 4) + "aaaa");
    const size_t text1 = Find(bytes, "01db" + std::string("\x14\0\0\0", 4) + "a");
    const size_t text2 = text1 + 28;

    // Into the frame held (2), four bytes into its data: at most its length less 12.
    store.Put_Text_buffer(reinterpret_cast<const uint8_t*>("12345678"), 8);
    Test_dialogs::Instance().Answer(ui::vbOK);
    store.Put_Text_buffer(reinterpret_cast<const uint8_t*>("123456789"), 9);
    ASSERT_EQ(Test_dialogs::Instance().Shown_Dialogs().size(), 1u);
    EXPECT_EQ(Test_dialogs::Instance().Shown_Dialogs()[0].prompt, "Text buffer overflow at rewrite!");
    bytes = File_Bytes(Path("text.avi"));
    EXPECT_EQ(std::string(bytes.begin() + static_cast<std::ptrdiff_t>(text2 + 8), bytes.begin() + static_cast<std::ptrdiff_t>(text2 + 28)),
              "bbbb12345678bbbbbbbb");

    // The text held (frame 2's as read) written into frame 1's chunk; a read-only file takes nothing.
    store.Rewrite_Text_Buffer(1);
    bytes = File_Bytes(Path("text.avi"));
    EXPECT_EQ(std::string(bytes.begin() + static_cast<std::ptrdiff_t>(text1 + 8), bytes.begin() + static_cast<std::ptrdiff_t>(text1 + 28)),
              std::string(20, 'b'));
    store.Read_only(true);
    Test_dialogs::Instance().Reset();
    Test_dialogs::Instance().Answer(ui::vbOK);
    store.Rewrite_Text_Buffer(2);
    ASSERT_EQ(Test_dialogs::Instance().Shown_Dialogs().size(), 1u);
    EXPECT_EQ(Test_dialogs::Instance().Shown_Dialogs()[0].prompt, "AVI file is read only");
    EXPECT_EQ(File_Bytes(Path("text.avi")), bytes);
}

// Frame 2's text chunk as a damaged index names it: another chunk, one lying elsewhere, one too short for
// what is written, one the file ends inside. Neither text write touches the file.
TEST_F(Older_members, Text_is_written_only_into_the_text_chunk_the_index_names_and_only_within_it) {
    Make_AVI_With_Text(Path("whole.avi"), dv_test::Encode_Frames(2), 20);
    const std::vector<uint8_t> whole = File_Bytes(Path("whole.avi"));
    const size_t idx1 = Find(whole, "idx1", Find(whole, "movi"));
    const size_t text_entry2 = Find(whole, "01db", idx1) + 16;
    const size_t text2 = Find(whole, "01db" + std::string("\x14\0\0\0", 4) + "b");
    struct Row {
        const char* damage;
        std::function<void(std::vector<uint8_t>&)> apply;
    } rows[] = {
        {"the offset of frame 1's video chunk", [&](auto& b) { Put32(b, text_entry2 + 8, Get32(b, idx1 + 8 + 8)); }},
        {"an offset from the start of the file", [&](auto& b) { Put32(b, text_entry2 + 8, static_cast<uint32_t>(text2)); }},
        {"a chunk shorter than its entry", [&](auto& b) { Put32(b, text2 + 4, 8); }},
        {"a chunk the file ends inside", [&](auto& b) { b.resize(text2 + 8 + 10); }},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.damage);
        std::vector<uint8_t> bytes = whole;
        r.apply(bytes);
        Write_Bytes(Path("text.avi"), bytes);
        cls_VideoFile_handler store;
        ASSERT_TRUE(Store_file_seam::Open_AVI(store, Path("text.avi")));
        store.Read_Frame(1, 1);
        store.Rewrite_Text_Buffer(2);
        store.Read_Frame(2, 1);
        EXPECT_EQ(Error_Of([&] { store.Put_Text_buffer(reinterpret_cast<const uint8_t*>("12345678"), 8); }), 62);
        store.Close_File();
        EXPECT_EQ(File_Bytes(Path("text.avi")), bytes);
        EXPECT_TRUE(Test_dialogs::Instance().Shown_Dialogs().empty());
    }
}

TEST_F(Older_members, Text_chunks_of_an_index_counted_from_the_start_of_the_file_are_read_and_written_in_place) {
    Make_AVI_With_Text(Path("text.avi"), dv_test::Encode_Frames(2), 20);
    std::vector<uint8_t> bytes = File_Bytes(Path("text.avi"));
    const size_t movi = Find(bytes, "movi");
    const size_t idx1 = Find(bytes, "idx1", movi);
    for (size_t e = idx1 + 8; e < idx1 + 8 + Get32(bytes, idx1 + 4); e += 16)
        Put32(bytes, e + 8, Get32(bytes, e + 8) + static_cast<uint32_t>(movi));
    Write_Bytes(Path("text.avi"), bytes);
    const size_t text2 = Find(bytes, "01db" + std::string("\x14\0\0\0", 4) + "b");
    cls_VideoFile_handler store;
    ASSERT_TRUE(Store_file_seam::Open_AVI(store, Path("text.avi")));
    store.Read_Frame(1, 1);
    ASSERT_TRUE(store.Frame_available());
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(store.text_adress()), 20), std::string(20, 'a'));
    store.Rewrite_Text_Buffer(2);
    store.Read_Frame(2, 1);
    store.Put_Text_buffer(reinterpret_cast<const uint8_t*>("12345678"), 8);
    const std::string chunk = "01db" + std::string("\x14\0\0\0", 4) + "aaaa12345678aaaaaaaa";
    int32_t length = 0;
    const uint8_t* address = nullptr;
    store.Get_Text_buffer(2, length, address);
    ASSERT_EQ(length, 20);
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(address), 20), chunk.substr(0, 20));
    store.Close_File();
    std::copy(chunk.begin(), chunk.end(), bytes.begin() + static_cast<std::ptrdiff_t>(text2));
    EXPECT_EQ(File_Bytes(Path("text.avi")), bytes);
}

TEST_F(Older_members, An_avi_file_with_a_second_RIFF_part_offers_the_first_part_frame_for_frame) {
    const Frames clip = dv_test::Encode_Frames(3);
    const Frames other = dv_test::Encode_Frames(6);
    dv_test::Mux(Path("big.avi"), "avi", clip);
    std::vector<uint8_t> bytes = File_Bytes(Path("big.avi"));
    // A second part as files over 1 GiB carry one: "RIFF" "AVIX", its own movie list of other frames.
    std::vector<uint8_t> movie = {'m', 'o', 'v', 'i'};
    for (size_t k = 3; k < 6; ++k) Append_Chunk(movie, "00dc", other[k]);
    std::vector<uint8_t> part = {'A', 'V', 'I', 'X'};
    Append_Chunk(part, "LIST", movie);
    Append_Chunk(bytes, "RIFF", part);
    Write_Bytes(Path("big.avi"), bytes);

    cls_VideoFile_handler store;
    ASSERT_TRUE(Store_file_seam::Open_AVI(store, Path("big.avi")));
    ASSERT_EQ(store.Num_Frames(), 3);
    for (int32_t f = 1; f <= 3; ++f) {
        SCOPED_TRACE(f);
        store.Read_Frame(f, 1);
        ASSERT_TRUE(store.Frame_available());
        EXPECT_EQ(std::memcmp(store.Frame_Data_Address(), clip[static_cast<size_t>(f - 1)].data(), dv::Frame_Size), 0);
    }
}

TEST_F(Older_members, is_DV_takes_the_DV_codec_texts_exactly_as_written) {
    dv_test::Mux(Path("clip.avi"), "avi", dv_test::Encode_Frames(1));
    const std::vector<uint8_t> bytes = File_Bytes(Path("clip.avi"));
    const size_t handler = Find(bytes, "vidsdvsd") + 4;
    ASSERT_LT(handler, bytes.size());
    struct Row {
        const char* codec;
        bool dv;
    } rows[] = {{"dvsd", true}, {"msdv", true}, {"CDVC", true}, {"cdvc", true},
                {"DVSD", false}, {"MSDV", false}, {"CdVc", false}};
    for (const Row& r : rows) {
        SCOPED_TRACE(r.codec);
        std::vector<uint8_t> patched = bytes;
        std::memcpy(&patched[handler], r.codec, 4);
        Write_Bytes(Path("codec.avi"), patched);
        cls_VideoFile_handler store;
        ASSERT_TRUE(Store_file_seam::Open_AVI(store, Path("codec.avi")));
        EXPECT_EQ(store.is_DV(), r.dv);
    }
}

}  // namespace
