// The metadata packs of DV frames written here (libavcodec's frames with the test's own packs in their
// subcode and VAUX blocks): dates, times, time codes and camera settings decoded and worded, fields out
// of range reported as unknown, nothing read past a frame, and the store's members that report them.
#include "Dv_test_files.h"
#include "Older_test_files.h"
#include "platform/trace/Trace_viewer.h"
#include "shell/mTrace.h"
#include "store/DV_Timecode_module.h"

#include <cstring>
#include <initializer_list>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

namespace {

namespace tc = DV_Timecode_module;

struct Pack {
    uint8_t type, pc1, pc2, pc3, pc4;
};

// The first frame of a clip with every VAUX and subcode pack emptied ("no information"), then the
// VAUX packs in the slots of blocks 3 to 5 in order from `vaux_first_slot` and the subcode packs in
// the sync blocks of blocks 1 and 2 in order.
std::vector<uint8_t> Frame_With(std::initializer_list<Pack> vaux, std::initializer_list<Pack> subcode = {},
                                int vaux_first_slot = 0) {
    static const std::vector<uint8_t> clean = dv_test::Encode_Frames(1).front();
    std::vector<uint8_t> frame = clean;
    for (int block = 3; block <= 5; ++block)
        for (int slot = 0; slot < 15; ++slot) std::fill_n(frame.begin() + block * 80 + 3 + 5 * slot, 5, uint8_t{0xFF});
    for (int block = 1; block <= 2; ++block)
        for (int sync = 0; sync < 6; ++sync) std::fill_n(frame.begin() + block * 80 + 3 + 8 * sync + 3, 5, uint8_t{0xFF});
    int slot = vaux_first_slot;
    for (const Pack& p : vaux) {
        uint8_t* at = frame.data() + (3 + slot / 15) * 80 + 3 + 5 * (slot % 15);
        at[0] = p.type, at[1] = p.pc1, at[2] = p.pc2, at[3] = p.pc3, at[4] = p.pc4;
        ++slot;
    }
    int sync = 0;
    for (const Pack& p : subcode) {
        uint8_t* at = frame.data() + (1 + sync / 6) * 80 + 3 + 8 * (sync % 6) + 3;
        at[0] = p.type, at[1] = p.pc1, at[2] = p.pc2, at[3] = p.pc3, at[4] = p.pc4;
        ++sync;
    }
    return frame;
}

constexpr Pack Source_50{0x60, 0, 0, 0x20, 0};
constexpr Pack Source_60{0x60, 0, 0, 0x00, 0};
constexpr Pack Date_2008_07_05{0x62, 0xFF, 0x05, 0x07, 0x08};
constexpr Pack Time_14_03_09{0x63, 0xFF, 0x09, 0x03, 0x14};
constexpr Pack Timecode_12_34_56_7{0x13, 0x07, 0x56, 0x34, 0x12};
constexpr int32_t Frame_12_34_56_7 = ((12 * 60 + 34) * 60 + 56) * 25 + 7;

TEST(Dv_metadata, Packs_decode_into_values_and_texts) {
    struct Row {
        const char* what;
        std::vector<uint8_t> frame;
        int16_t field_rate;
        bool wide;
        std::string date;
        std::string timecode;
        int32_t timecode_frame;
        std::string shutter, white_balance, iris, ae, agc, focal, zoom;
    };
    // A shutter pack in slot 2 of the first VAUX block puts its PC3 and PC4 on bytes 256 and 257.
    const Row rows[] = {
        {"a frame with every pack",
         Frame_With({Source_50, {0x61, 0, 0x01, 0, 0}, {0x7F, 0, 0, 60, 0}, Date_2008_07_05, Time_14_03_09,
                     {0x70, 40, 0x35, 0x24, 0}, {0x71, 0, 0, 50, 0x30}},
                    {Timecode_12_34_56_7}),
         50, true, "2008-07-05 14:03:09", "12:34:56 frame: 7", Frame_12_34_56_7, "1/250", "Wb mode = Hold ,Wb = Sunlight",
         "32", "Iris priority", "5", "50", "3"},
        {"no camera packs, 60 fields, a year before 2000, a later date pack overriding",
         Frame_With({Source_60, {0x62, 0, 0x31, 0x12, 0x07}, {0x62, 0, 0x01, 0x01, 0x99}}), 60, false,
         "1999-01-01 No information", "No information", 0, "No information", "Wb mode =  ,Wb = ", "0", "", "0", "No info", "No info"},
        {"the year 2039, iris code 20, the first time code taken",
         Frame_With({{0x62, 0, 0x28, 0x02, 0x39}, {0x70, 20, 0x4F, 0xFF, 0}},
                    {{0x13, 0x01, 0x00, 0x00, 0x00}, Timecode_12_34_56_7}),
         0, false, "2039-02-28 No information", "00:00:00 frame: 1", 1, "No information",
         "Wb mode = No Information ,Wb = No information", "5.7", "Manual", "No information", "No info", "No info"},
        {"fields outside their ranges are unknown",
         Frame_With({Source_50, {0x62, 0, 0x05, 0x13, 0x08}, {0x7F, 0, 0, 0, 0}, {0x63, 0, 0x09, 0x60, 0x14},
                     {0x70, 0x3F, 0x5A, 0xC9, 0}},
                    {{0x13, 0x25, 0x00, 0x00, 0x10}}),
         50, false, "No information No information", "No information", 0, "No information",
         "Wb mode = Invalid ,Wb = No information", "No information", "No information", "10", "No info", "No info"},
        {"a time code of 24 hours", Frame_With({}, {{0x13, 0, 0, 0, 0x24}}), 0, false,
         "No information No information", "No information", 0, "No information", "Wb mode =  ,Wb = ", "0", "", "0", "No info",
         "No info"},
        {"bytes that are no decimal digits", Frame_With({{0x63, 0, 0x0A, 0x00, 0x00}}, {{0x13, 0xFF, 0xFF, 0xFF, 0xFF}}),
         0, false, "No information No information", "No information", 0, "No information", "Wb mode =  ,Wb = ", "0", "", "0",
         "No info", "No info"},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.what);
        tc::DV_Header_Parse(r.frame);
        EXPECT_EQ(tc::DV_Field_Rate(), r.field_rate);
        EXPECT_EQ(tc::DV_Wide_Screen(), r.wide);
        EXPECT_EQ(tc::DV_Rec_Date_Text(), r.date);
        EXPECT_EQ(tc::DV_Timecode_Text(), r.timecode);
        EXPECT_EQ(tc::DV_Timecode_Frame_Number(), r.timecode_frame);
        EXPECT_EQ(tc::DV_Shutter_Text(), r.shutter);
        EXPECT_EQ(tc::DV_White_Balance_Text(), r.white_balance);
        EXPECT_EQ(tc::DV_Iris_Text(), r.iris);
        EXPECT_EQ(tc::DV_AE_Mode_Text(), r.ae);
        EXPECT_EQ(tc::DV_AGC_Text(), r.agc);
        EXPECT_EQ(tc::DV_Focal_Length_Text(), r.focal);
        EXPECT_EQ(tc::DV_Zoom_Text(), r.zoom);
    }
    // The shutter speed is read at its two fixed bytes, whichever slot carried the pack's type.
    tc::DV_Header_Parse(Frame_With({{0x7F, 0, 0, 0x2C, 0x01}}, {}, 2));
    EXPECT_EQ(tc::DV_Shutter_Text(), "1/50");
}

TEST(Dv_metadata, Nothing_is_read_past_a_frame_cut_short) {
    const std::vector<uint8_t> whole = Frame_With({Source_50, Date_2008_07_05, Time_14_03_09}, {Timecode_12_34_56_7});
    tc::DV_Header_Parse(whole);
    ASSERT_EQ(tc::DV_Rec_Hours(), 14);
    for (size_t length : {size_t{0}, size_t{1}, size_t{257}, size_t{479}}) {
        SCOPED_TRACE(length);
        // Heap copies of exactly that length: the sanitizer sees any read beyond them.
        const std::vector<uint8_t> cut(whole.begin(), whole.begin() + static_cast<std::ptrdiff_t>(length));
        tc::DV_Header_Parse(cut);
        EXPECT_EQ(tc::DV_Field_Rate(), 0);
        EXPECT_EQ(tc::DV_Rec_Hours(), -1);
        EXPECT_EQ(tc::DV_Timecode_Frame_Number(), 0);
    }
    const std::vector<uint8_t> header_only(whole.begin(), whole.begin() + tc::Header_Blocks_Length);
    tc::DV_Header_Parse(header_only);
    EXPECT_EQ(tc::DV_Rec_Date_Text(), "2008-07-05 14:03:09");
    EXPECT_EQ(tc::DV_Timecode_Frame_Number(), Frame_12_34_56_7);
}

class Dv_metadata_store : public Store_test {};

TEST_F(Dv_metadata_store, The_store_reports_the_packs_of_the_frame_it_holds) {
    // Frame 1 says wide screen, frame 2 carries another date and time code.
    std::vector<uint8_t> bytes = Frame_With({Source_50, {0x61, 0, 0x05, 0, 0}, Date_2008_07_05, Time_14_03_09},
                                            {Timecode_12_34_56_7});
    const std::vector<uint8_t> second =
        Frame_With({Source_50, {0x62, 0, 0x24, 0x12, 0x99}, {0x63, 0, 0x00, 0x59, 0x23}}, {{0x13, 0x24, 0x59, 0x59, 0x23}});
    bytes.insert(bytes.end(), second.begin(), second.end());
    std::ofstream(Path("clip.dv"), std::ios::binary).write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));

    cls_VideoFile_handler store;
    ASSERT_TRUE(store.Open_File(Path("clip.dv"), 0));
    EXPECT_TRUE(store.Wide_Screen());  // reads frame 1, none having been read
    EXPECT_EQ(store.Frame_in_store(), 1);
    EXPECT_EQ(store.DV_data_hours(), 14);
    EXPECT_EQ(store.DV_data_minutes(), 3);
    store.Read_Frame(2, 1);
    EXPECT_FALSE(store.Wide_Screen());
    EXPECT_EQ(store.Timecode_string(),
              "\r\nRec. date 1999-12-24 23:59:00\r\nTimecode: 23:59:59 frame: 24\r\nShutterspeed No information"
              "\r\nWb mode =  ,Wb = \r\nIris = 0\r\nAE mode = \r\nAGC = 0\r\nFocal length = No info\r\nZoom = No info");
    EXPECT_EQ(store.Timestamp_long(), 0);
    EXPECT_EQ(store.Timestamp_formatted(), "");
    store.Close_File();

    // A file kind without DV frames: no wide screen, and no frame to report.
    cls_VideoFile_handler kd3;
    Make_Heat_File(kd3, Path("heat.kd3"), 64, 48, 20000);
    ASSERT_TRUE(kd3.Open_File(Path("heat.kd3"), 0));
    EXPECT_FALSE(kd3.Wide_Screen());
    EXPECT_EQ(Error_Of([&] { kd3.Timecode_string(); }), vb::Err_Subscript);
}

// A trace viewer: the socket the trace lines go to.
class Viewer {
public:
    Viewer() : socket_(::socket(AF_UNIX, SOCK_DGRAM, 0)) {
        sockaddr_un address{};
        address.sun_family = AF_UNIX;
        std::strcpy(address.sun_path, trace::Viewer_Socket_Path().c_str());
        EXPECT_EQ(::bind(socket_, reinterpret_cast<const sockaddr*>(&address), sizeof address), 0);
        mTrace::Trace_Reconnect();
    }
    ~Viewer() {
        ::close(socket_);
        ::unlink(trace::Viewer_Socket_Path().c_str());
        mTrace::Trace_Reconnect();
    }
    std::vector<std::string> Lines() {
        std::vector<std::string> lines;
        char buffer[4096];
        for (ssize_t n; (n = ::recv(socket_, buffer, sizeof buffer, MSG_DONTWAIT)) > 0;) lines.emplace_back(buffer, n);
        return lines;
    }

private:
    int socket_;
};

TEST_F(Dv_metadata_store, Appended_frames_whose_time_code_skips_a_frame_are_traced) {
    // Time codes 0:00:04 frames 0, 1 and 3: frame numbers 100, 101 and 103.
    std::vector<older_test::Frames> frames;
    for (uint8_t f : {0x00, 0x01, 0x03}) frames.push_back({Frame_With({Source_50}, {{0x13, f, 0x04, 0x00, 0x00}})});
    Viewer viewer;
    older_test::Make_KDR_File(Path("heat.kd2"), frames);
    std::vector<std::string> skips;
    for (const std::string& line : viewer.Lines())
        if (line.find("Expected DV frame") != std::string::npos) skips.push_back(line);
    ASSERT_EQ(skips.size(), 1u);
    EXPECT_TRUE(skips[0].ends_with("Expected DV frame \t102\tReceived frame \t103\t")) << skips[0];
}

}  // namespace
