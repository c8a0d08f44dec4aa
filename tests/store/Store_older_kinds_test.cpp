// The older capture file kinds written here with libavcodec's DV encoder and libavformat's muxers (dv,
// avi) or laid out around its frames (kd1, kd2, sdv): opened by suffix, every frame read with its
// time, fields drawn, and damaged or lying files refused or read as "frame unavailable".
#include "Dv_test_files.h"
#include "Older_test_files.h"
#include "Store_test_support.h"
#include "store/Dv_format.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <tuple>

namespace {

using dv_test::Grey_Of;
using dv_test::Lower_Luma;
using dv_test::Upper_Luma;
using older_test::Find;
using older_test::Frames;
using older_test::Get32;
using older_test::Make_KDR_File;
using older_test::Put32;
using older_test::Write_Bytes;

// Capture times of the recorded kinds: frame k (from 1) 40 ms apart, 7 ms after the grid.
int32_t Recorded_Time(int32_t k) { return 5000000 + 40 * (k - 1) + 7; }

// DV frames with their extra data: frame k + 1 of stream s + 1 shows clip frame k + 3 * s.
std::vector<Frames> Recorded_Frames(int32_t count, int32_t streams) {
    const Frames clip = dv_test::Encode_Frames(count + 3 * (streams - 1));
    std::vector<Frames> out(static_cast<size_t>(count));
    for (int32_t k = 0; k < count; ++k)
        for (int32_t s = 0; s < streams; ++s) {
            std::vector<uint8_t> frame = clip[static_cast<size_t>(k + 3 * s)];
            dv_test::Put_Extra_Data(frame, Recorded_Time(k + 1), 4999000, "frame " + std::to_string(k + 1));
            out[static_cast<size_t>(k)].push_back(std::move(frame));
        }
    return out;
}

// An sdv file: the DV file header record, then the frames of its one stream.
void Make_SDV_File(const std::string& path, const std::vector<Frames>& frames, int32_t claimed_frames = -1) {
    dv::DV_File_Header record;
    record.Magic("PKDV");
    record.Data_Offset(dv::DV_File_Header_Length);
    record.Streams(1);
    record.Frames(claimed_frames >= 0 ? claimed_frames : static_cast<int32_t>(frames.size()));
    record.Selection_Start(3);
    std::vector<uint8_t> bytes(record.Bytes().begin(), record.Bytes().end());
    for (const Frames& f : frames) bytes.insert(bytes.end(), f[0].begin(), f[0].end());
    Write_Bytes(path, bytes);
}

class Older_kinds : public Older_kind_test {};

// Every kind, every frame: the count, the geometry, the frame's time and both of its fields.
TEST_F(Older_kinds, Every_kind_opens_by_suffix_and_reads_each_frame_with_its_time_and_fields) {
    constexpr int32_t count = 4;
    const Frames clip = dv_test::Encode_Frames(count);
    const Frames ntsc_clip = dv_test::Encode_Frames(count, true);
    dv_test::Mux(Path("clip.dv"), "dv", clip);
    dv_test::Mux(Path("ntsc.dv"), "dv", ntsc_clip, true);
    dv_test::Mux(Path("clip.avi"), "avi", clip);
    const std::vector<Frames> recorded = Recorded_Frames(count, 1);
    Make_KDR_File(Path("heat.kd2"), recorded);
    Make_KDR_File(Path("heat.kd1"), recorded);
    Make_SDV_File(Path("heat.sdv"), recorded);

    struct Row {
        std::string name;
        int16_t height;
        int16_t mill_per_frame;
        bool recorded_times;
    } rows[] = {
        {"clip.dv", 576, 40, false}, {"ntsc.dv", 480, 33, false}, {"clip.avi", 576, 40, false},
        {"heat.kd2", 576, 40, true}, {"heat.kd1", 576, 40, true},  {"heat.sdv", 576, 40, true},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.name);
        cls_VideoFile_handler store;
        ASSERT_TRUE(older_test::Open_Older(store, Path(r.name)));
        EXPECT_EQ(store.Num_Frames(), count);
        EXPECT_EQ(store.KD3_Num_fields(), 2 * count);
        EXPECT_EQ(store.Width(), 720);
        EXPECT_EQ(store.Height(), r.height);
        EXPECT_EQ(store.mill_per_frame(), r.mill_per_frame);
        // NTSC's 33 ms a frame stands for 30000/1001 frames a second: times follow the exact rate.
        const auto span = [&](int32_t frames) {
            return r.mill_per_frame == 33 ? static_cast<int32_t>(std::lround(frames * 1001.0 / 30)) : frames * r.mill_per_frame;
        };
        EXPECT_EQ(store.Clip_length(), span(count));
        EXPECT_EQ(store.Frame_Rate(), r.name == "clip.avi" ? 0 : r.mill_per_frame == 33 ? 30 : 25);
        EXPECT_EQ(store.num_Fields_Gross(), r.name.find(".kd") != std::string::npos ? 2 * count : 0);
        EXPECT_TRUE(store.is_Vantorel());
        Test_surface box(720, r.height);
        for (int32_t k = 1; k <= count; ++k) {
            SCOPED_TRACE(k);
            // Field 2k - 1 is the lower field, the first in time in DV; field 2k the upper one.
            store.Draw_RGB_Field(2 * k - 1, box);
            ASSERT_TRUE(store.Frame_available());
            const auto grey = [](int32_t luma) {
                const auto g = static_cast<uint8_t>(Grey_Of(luma));
                return Bgr{g, g, g};
            };
            EXPECT_TRUE(Near(Pixel_At(store.Field_Image(), 360, 201), grey(Lower_Luma(k - 1)), 12));
            EXPECT_TRUE(Near(Pixel_At(store.Field_Image(), 360, 100), grey(Lower_Luma(k - 1)), 12));
            store.Draw_RGB_Field(2 * k, box);
            EXPECT_TRUE(Near(Pixel_At(store.Field_Image(), 360, 100), grey(Upper_Luma(k - 1)), 12));
            EXPECT_EQ(store.KD3_Capture_mill(), r.recorded_times ? Recorded_Time(k) : span(k - 1));
            EXPECT_EQ(store.Capture_HDMI_events(), k - 1);
            if (r.recorded_times) {
                EXPECT_EQ(store.Rounded_Capture_Time(), Recorded_Time(k) - 7 - 10);
            }
        }
        store.Close_File();
        EXPECT_FALSE(store.File_open());
        EXPECT_EQ(store.Num_Frames(), 0);
    }
}

TEST_F(Older_kinds, Frames_of_a_multi_stream_file_lie_interleaved_by_stream) {
    const std::vector<Frames> recorded = Recorded_Frames(3, 2);
    Make_KDR_File(Path("two.kd2"), recorded);
    cls_VideoFile_handler store;
    ASSERT_TRUE(store.Open_File(Path("two.kd2"), 0));
    EXPECT_EQ(store.Num_Video_streams(), 2);
    EXPECT_EQ(store.Num_Frames(), 3);
    EXPECT_EQ(store.num_Calculated_frames(), 6);
    store.Read_Frame(3, 2);
    ASSERT_TRUE(store.Frame_available());
    EXPECT_EQ(std::memcmp(store.Frame_address(), recorded[2][1].data(), dv::Frame_Size), 0);
    EXPECT_EQ(store.Capture_mill_time(), Recorded_Time(3));
    EXPECT_EQ(store.Read_Comment(), "frame 3");
    // A wanted frame past the last reads the last.
    store.Read_Frame(1000, 1);
    EXPECT_EQ(store.Frame_in_store(), 3);
    EXPECT_EQ(std::memcmp(store.Frame_address(), recorded[2][0].data(), dv::Frame_Size), 0);

    // Both streams side by side: 360 x 576 and 360 x 480 give 720 x 576.
    store.Header().Selection_Rectangle(1, "r", 360);
    store.Header().Selection_Rectangle(1, "b", 576);
    store.Header().Selection_Rectangle(2, "r", 360);
    store.Header().Selection_Rectangle(2, "b", 480);
    store.Read_Stream_Info();
    store.Set_Multi_Stream_Size();
    EXPECT_EQ(store.Width(), 720);
    EXPECT_EQ(store.Height(), 576);
    EXPECT_EQ(store.stream_from_pos(2), 2);
    EXPECT_EQ(store.stream_from_pos(4), 0);
}

TEST_F(Older_kinds, Appended_frames_are_counted_in_the_header_and_a_comment_is_written_into_its_frame) {
    std::vector<Frames> recorded = Recorded_Frames(3, 1);
    Make_KDR_File(Path("heat.kd2"), {recorded[0], recorded[1]});
    {
        cls_VideoFile_handler store;
        store.File_name(Path("heat.kd2"));
        store.Append_DV_frame(recorded[2][0].data());
        store.Close_File();
    }
    cls_VideoFile_handler store;
    ASSERT_TRUE(store.Open_File(Path("heat.kd2"), 0));
    EXPECT_EQ(store.Header().Frames_no(), 3);
    EXPECT_EQ(store.Num_Frames(), 3);
    store.Read_Frame(2, 1);
    store.Write_comment(std::string(100, 'c'));
    store.Close_File();
    ASSERT_TRUE(store.Open_File(Path("heat.kd2"), 0));
    store.Read_Frame(2, 1);
    EXPECT_EQ(store.Read_Comment(), std::string(80, 'c'));
    EXPECT_EQ(store.Capture_mill_time(), Recorded_Time(2));
    store.Read_Frame(3, 1);
    EXPECT_EQ(store.Read_Comment(), "frame 3");
}

TEST_F(Older_kinds, A_header_rewrite_keeps_the_frames_and_a_text_too_long_for_the_header_area_is_refused) {
    Make_KDR_File(Path("heat.kd2"), Recorded_Frames(2, 1));
    const std::vector<uint8_t> before = File_Bytes(Path("heat.kd2"));
    const std::vector<uint8_t> frames_before(before.begin() + dv::KDR_End_Mark_Offset, before.end());
    cls_VideoFile_handler store;
    ASSERT_TRUE(store.Open_File(Path("heat.kd2"), 0));
    store.Event_name("Regatta");
    store.File_comment1(std::string(120000, 'x'));
    EXPECT_EQ(Error_Of([&] { store.Write_XML_Header(); }), vb::Err_Invalid_Call);
    store.Close_File();
    const std::vector<uint8_t> after = File_Bytes(Path("heat.kd2"));
    EXPECT_TRUE(std::equal(frames_before.begin(), frames_before.end(), after.begin() + dv::KDR_End_Mark_Offset));
    ASSERT_TRUE(store.Open_File(Path("heat.kd2"), 0));
    EXPECT_EQ(store.Event_name(), "Regatta");
}

// A frame that cannot be read whole shows the "frame unavailable" picture with no time, never the
// frame drawn before it.
TEST_F(Older_kinds, A_damaged_frame_reads_as_unavailable_and_never_as_the_frame_before) {
    const Frames clip = dv_test::Encode_Frames(3);
    dv_test::Mux(Path("clip.avi"), "avi", clip);
    std::vector<uint8_t> avi = File_Bytes(Path("clip.avi"));
    // The index's second entry points past the end of the file; the third names a chunk of another id.
    const size_t idx1 = Find(avi, "idx1");
    Put32(avi, idx1 + 8 + 16 + 8, 0x7FFFFFF0);
    const size_t first_chunk = Find(avi, "00dc", Find(avi, "movi"));
    const size_t third_chunk = first_chunk + 2 * (8 + dv::Frame_Size);
    std::memcpy(&avi[third_chunk], "01wb", 4);
    Write_Bytes(Path("broken.avi"), avi);

    std::vector<uint8_t> dv;
    for (const auto& f : clip) dv.insert(dv.end(), f.begin(), f.end());
    std::fill(dv.begin() + dv::Frame_Size, dv.begin() + dv::Frame_Size + 1000, uint8_t{0});  // frame 2 lost its header
    dv.resize(dv.size() - 50000);                                                               // frame 3 cut short
    Write_Bytes(Path("broken.dv"), dv);

    for (const char* name : {"broken.avi", "broken.dv"}) {
        SCOPED_TRACE(name);
        cls_VideoFile_handler store;
        ASSERT_TRUE(older_test::Open_Older(store, Path(name)));
        ASSERT_EQ(store.Num_Frames(), 3);
        Test_surface box(720, 576);
        store.Draw_RGB_Field(1, box);
        ASSERT_TRUE(store.Frame_available());
        for (int32_t field : {3, 5}) {
            store.Draw_RGB_Field(field, box);
            EXPECT_FALSE(store.Frame_available());
            EXPECT_EQ(store.KD3_Capture_mill(), 0);
            // The grey of the unavailable picture, not frame 1's lower field.
            EXPECT_TRUE(Near(Pixel_At(store.Frame_Image(), 5, 5), {0x80, 0x80, 0x80}, 0));
        }
    }
}

// Lengths, counts and offsets the file gives are checked before they are used.
TEST_F(Older_kinds, Headers_that_claim_more_than_the_file_holds_are_refused_or_cut_to_the_file) {
    const std::vector<Frames> recorded = Recorded_Frames(2, 1);
    Make_KDR_File(Path("good.kd2"), recorded);
    const std::vector<uint8_t> good = File_Bytes(Path("good.kd2"));

    std::vector<uint8_t> long_text = good;
    Put32(long_text, 12, 0x7FFFFFFF);
    Write_Bytes(Path("long_text.kd2"), long_text);
    std::vector<uint8_t> far_frames = good;
    Put32(far_frames, 4, 0x40000000);
    Write_Bytes(Path("far_frames.kd2"), far_frames);
    Make_SDV_File(Path("many.sdv"), recorded, 1000000);
    std::vector<uint8_t> streams = File_Bytes(Path("many.sdv"));
    Put32(streams, 28, 40000);
    Write_Bytes(Path("streams.sdv"), streams);
    Write_Bytes(Path("zeros.dv"), std::vector<uint8_t>(5000, 0));

    Module_Vantorel::Is_Compiled = true;
    struct Row {
        std::string name;
        bool opens;
        int32_t frames;
    } rows[] = {
        {"long_text.kd2", false, 0}, {"far_frames.kd2", false, 0}, {"many.sdv", true, 2},
        {"streams.sdv", false, 0},   {"zeros.dv", false, 0},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.name);
        Test_dialogs::Instance().Reset();
        if (!r.opens) Test_dialogs::Instance().Answer(ui::vbOK);
        cls_VideoFile_handler store;
        EXPECT_EQ(store.Open_File(Path(r.name), 0), r.opens);
        EXPECT_EQ(store.File_open(), r.opens);
        EXPECT_EQ(store.Num_Frames(), r.frames);
        if (!r.opens) {
            ASSERT_EQ(Test_dialogs::Instance().Shown_Dialogs().size(), 1u);
            EXPECT_EQ(Test_dialogs::Instance().Shown_Dialogs()[0].prompt.rfind("File: " + Path(r.name) + " Open error!", 0), 0u);
        }
    }
}

TEST_F(Older_kinds, A_kd2_file_whose_header_names_no_stream_is_not_opened) {
    Make_KDR_File(Path("heat.kd2"), Recorded_Frames(1, 1));
    {
        cls_VideoFile_handler store;
        ASSERT_TRUE(store.Open_File(Path("heat.kd2"), 0));
        store.Header().Streams_no(0);
        store.Write_XML_Header();
    }
    cls_VideoFile_handler store;
    EXPECT_FALSE(store.Open_File(Path("heat.kd2"), 0));
    EXPECT_FALSE(store.File_open());
}

TEST_F(Older_kinds, Property_reports_describe_each_older_kind) {
    dv_test::Mux(Path("clip.dv"), "dv", dv_test::Encode_Frames(4));
    dv_test::Mux(Path("clip.avi"), "avi", dv_test::Encode_Frames(2));
    Make_KDR_File(Path("heat.kd2"), Recorded_Frames(3, 2));
    {
        cls_VideoFile_handler store;
        ASSERT_TRUE(store.Open_File(Path("heat.kd2"), 0));
        store.Header().comment(2, "second");
        store.Header().Subject_name("K1 Men");
        store.Write_XML_Header();
        store.Close_File();
    }
    const auto kbytes = [&](const std::string& name, int frames) {
        return std::to_string(static_cast<int>(std::nearbyint(static_cast<double>(File_Bytes(Path(name)).size()) / frames / 1024)));
    };
    struct Row {
        std::string name;
        std::string lines;  // after the two lines of name and size
    } rows[] = {
        {"clip.dv", "Num frames = 4\r\nDimensions w*h = 720 * 576\r\nNTSC: False\r\nClip length = 0.2 sec\r\n"},
        {"clip.avi", "Num frames = 2\r\nDimensions w*h = 720 * 576\r\nNTSC: False\r\nFourcc = dvsd\r\nFps = 25\r\n"
                     "kByte/frame =   " + kbytes("clip.avi", 2) + "\r\nHas XML chunk = False\r\n"},
        {"heat.kd2", "Num frames = 3*2\r\nNum streams = 2\r\nClip length = 0.1 sec\r\nDimensions w*h = 720 * 576\r\n"
                     "NTSC: False\r\nWide-screen = False\r\nRotated = False\r\nFourcc = \r\nFps = 25\r\nComment1= 0000\r\n"
                     "Comment2= second\r\nComment3= 0000\r\nSubject name = K1 Men\r\n"
                     "Selection start/end = 0/0\r\nSpecial application =  None\r\nStream 2 offset =  0\r\n"},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.name);
        cls_VideoFile_handler store;
        ASSERT_TRUE(older_test::Open_Older(store, Path(r.name)));
        const std::string report = store.Property_String();
        const std::string head = "File name : " + Path(r.name) + "\r\nFile size= ";
        ASSERT_EQ(report.rfind(head, 0), 0u) << report;
        const size_t lines = report.find("\r\n", head.size()) + 2;
        EXPECT_EQ(report.substr(lines), r.lines);
    }
}

// The dormant road of writing a kd1 or kd2 file frame by frame at its write position.
TEST_F(Older_kinds, Frames_written_at_the_write_position_never_land_in_the_header_area) {
    const std::vector<Frames> recorded = Recorded_Frames(3, 1);
    const std::string path = Path("written.kd1");
    cls_VideoFile_handler store;
    store.File_name(path);
    store.Create_File();
    EXPECT_THROW(store.Write_frame(recorded[0][0].data()), VbError);  // not yet a kd1 file
    Cls_XML_header& h = store.Header();
    h.rgb(true);
    h.Create_Header();
    h.Streams_no(1);
    h.Stream_Active(1, true);
    h.Stream_CameraPos(1, 1);
    h.Frames_no(2);
    store.Write_KDR_header();
    store.Write_XML_Header();
    // Frames straight behind the header text: the record names that offset as the data offset.
    store.Position_after_XML_header();
    store.Write_KDR_header_len();
    store.Write_frame(recorded[0][0].data());
    store.Write_frame(recorded[1][0].data());
    // The header text can no longer grow: it would run into the first frame.
    h.Event_name("A longer event name than before");
    EXPECT_THROW(store.Write_XML_Header(), VbError);
    store.Close_File();
    {
        const std::vector<uint8_t> bytes = File_Bytes(path);
        // Two frames right after the header text and its padding.
        const size_t first = bytes.size() - 2 * 144000u;
        EXPECT_EQ(std::vector<uint8_t>(bytes.begin() + static_cast<std::ptrdiff_t>(first), bytes.end() - 144000),
                  recorded[0][0]);
        EXPECT_EQ(bytes[first - dv::KDR_XML_Padding - 3], '>');  // the header text ends with its line end
        EXPECT_TRUE(std::all_of(bytes.begin() + static_cast<std::ptrdiff_t>(first - dv::KDR_XML_Padding),
                                bytes.begin() + static_cast<std::ptrdiff_t>(first), [](uint8_t b) { return b == 0; }));
    }
    cls_VideoFile_handler reader;
    ASSERT_TRUE(reader.Open_File(path, 0));
    EXPECT_EQ(reader.Num_Frames(), 2);
    for (int32_t k = 1; k <= 2; ++k) {
        reader.Read_Frame(k, 1);
        ASSERT_TRUE(reader.Frame_available());
        EXPECT_EQ(reader.Capture_mill_time(), Recorded_Time(k));
    }
    reader.Close_File();

    // After the header area is padded out, a write position inside it moves behind the end mark.
    const std::string padded = Path("padded.kd1");
    cls_VideoFile_handler second;
    second.File_name(padded);
    second.Create_File();
    second.Header().rgb(true);
    second.Header().Create_Header();
    second.Header().Streams_no(1);
    second.Write_KDR_header();
    second.Write_XML_Header();
    second.Add_Header_padding();
    second.Position_after_XML_header();
    second.Write_frame(recorded[2][0].data());
    second.Close_File();
    const std::vector<uint8_t> bytes = File_Bytes(padded);
    EXPECT_EQ(bytes.size(), static_cast<size_t>(dv::KDR_Data_Offset) + 144000u);
    EXPECT_EQ(std::string(bytes.begin() + dv::KDR_End_Mark_Offset, bytes.begin() + dv::KDR_Data_Offset), "hdrend");
}

TEST_F(Older_kinds, An_avi_file_takes_a_header_chunk_and_a_DV_header_chunk_and_reads_them_back) {
    dv_test::Mux(Path("clip.avi"), "avi", dv_test::Encode_Frames(2));
    {
        cls_VideoFile_handler store;
        ASSERT_TRUE(older_test::Open_Older(store, Path("clip.avi")));
        EXPECT_FALSE(store.Has_XML_header());
        EXPECT_FALSE(store.Has_DV_Header());
        EXPECT_TRUE(store.is_DV());
        store.Append_XML_header();
        EXPECT_TRUE(store.Has_XML_header());
        store.Append_DV_header();
        store.Event_name("Avi heat");
        store.Close_File();
    }
    const std::vector<uint8_t> bytes = File_Bytes(Path("clip.avi"));
    EXPECT_EQ(Get32(bytes, 4), bytes.size() - 8);
    cls_VideoFile_handler store;
    ASSERT_TRUE(older_test::Open_Older(store, Path("clip.avi")));
    EXPECT_TRUE(store.Has_XML_header());
    EXPECT_TRUE(store.Has_DV_Header());
    EXPECT_EQ(store.Event_name(), "Avi heat");
    EXPECT_EQ(store.Num_Frames(), 2);
    store.Read_Frame(2, 1);
    EXPECT_TRUE(store.Frame_available());
}

TEST_F(Older_kinds, The_extra_data_marker_found_beyond_15000_is_copied_from_the_next_read_on) {
    std::vector<Frames> recorded = Recorded_Frames(3, 1);
    for (int32_t k = 0; k < 3; ++k) {
        std::vector<uint8_t>& f = recorded[static_cast<size_t>(k)][0];
        std::memset(&f[12083], 0xFF, 4);  // no marker at the usual place
        dv_test::Put_Extra_Data(f, Recorded_Time(k + 1), 0, {}, 20000);
    }
    Make_KDR_File(Path("far.kd1"), recorded);
    cls_VideoFile_handler store;
    ASSERT_TRUE(store.Open_File(Path("far.kd1"), 0));
    store.Read_Frame(1, 1);
    EXPECT_EQ(store.Capture_mill_time(), 0);
    store.Read_Frame(2, 1);
    EXPECT_EQ(store.Capture_mill_time(), Recorded_Time(2));
}

TEST_F(Older_kinds, A_raw_DV_file_counts_its_frames_by_length_rounded_to_the_nearest) {
    const Frames clip = dv_test::Encode_Frames(1);
    for (const auto& [length, frames, last_whole] : {std::tuple{2500000, 17, true}, std::tuple{2530000, 18, false}}) {
        SCOPED_TRACE(length);
        std::vector<uint8_t> bytes;
        while (bytes.size() < static_cast<size_t>(length)) bytes.insert(bytes.end(), clip[0].begin(), clip[0].end());
        bytes.resize(static_cast<size_t>(length));
        Write_Bytes(Path("long.dv"), bytes);
        cls_VideoFile_handler store;
        ASSERT_TRUE(store.Open_File(Path("long.dv"), 0));
        EXPECT_EQ(store.Num_Frames(), frames);
        store.Read_Frame(frames, 1);
        EXPECT_EQ(store.Frame_available(), last_whole);
    }
}

// The frame held is written whole into the dump file, replacing an older, longer dump; nothing held is an error.
TEST_F(Older_kinds, The_DV_frame_held_is_dumped_whole_and_a_store_without_one_refuses) {
    const Frames ntsc_clip = dv_test::Encode_Frames(2, true);
    dv_test::Mux(Path("ntsc.dv"), "dv", ntsc_clip, true);
    const char* const previous = std::getenv("TMPDIR");
    const std::string kept = previous ? previous : "";
    ::setenv("TMPDIR", Test_folder().c_str(), 1);  // the temporary folder of this test alone
    const std::string dump = cls_VideoFile_handler::DV_frame_dump_path();
    EXPECT_EQ(dump, Test_folder() + "/dv_frame.dv");
    Write_Bytes(dump, std::vector<uint8_t>(200000, 0x55));

    cls_VideoFile_handler store;
    EXPECT_THROW(store.xWrite_DV_frame(), VbError);  // no file
    ASSERT_TRUE(store.Open_File(Path("ntsc.dv"), 0));
    EXPECT_THROW(store.xWrite_DV_frame(), VbError);  // no frame read yet
    store.Read_Frame(2, 1);
    ASSERT_TRUE(store.Frame_available());
    store.xWrite_DV_frame();
    const std::vector<uint8_t> file = File_Bytes(Path("ntsc.dv"));
    ASSERT_GE(file.size(), 240000u);
    EXPECT_EQ(File_Bytes(dump), std::vector<uint8_t>(file.begin() + 120000, file.begin() + 240000));  // frame 2, NTSC size
    if (previous) ::setenv("TMPDIR", kept.c_str(), 1);
    else ::unsetenv("TMPDIR");
}

}  // namespace
