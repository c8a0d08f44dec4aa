// The kd3 records byte by byte, as written by the serialisers and by the store.
#include "Store_test_support.h"
#include "store/Kd3_format.h"

namespace {

int32_t LE32(const std::vector<uint8_t>& b, size_t at) {
    return static_cast<int32_t>(b[at] | b[at + 1] << 8 | b[at + 2] << 16 | uint32_t(b[at + 3]) << 24);
}
std::string Text4(const std::vector<uint8_t>& b, size_t at) { return {b.begin() + at, b.begin() + at + 4}; }

}  // namespace

TEST(Kd3_format, header_record_texts_of_every_length_round_trip) {
    struct Row {
        std::string text;
        int32_t stored_length;
        std::string read_back;
    };
    std::string full(32000, 'a'), over(32001, 'b');
    for (const Row& row : {Row{"<x/>", 4, "<x/>"}, Row{full, 32000, full}, Row{over, 32001, ""}, Row{"", 0, ""}}) {
        kd3::Header_Bytes bytes;
        bytes.fill(0xEE);
        kd3::Put_File_Header(bytes, row.text);
        kd3::File_Header back = kd3::Get_File_Header(bytes);
        EXPECT_EQ(back.magic, "KDR3");
        EXPECT_EQ(back.end_magic, "KDRX");
        EXPECT_EQ(back.header_length, 32016);
        EXPECT_EQ(back.xml_length, row.stored_length);
        EXPECT_EQ(back.ansi_text, row.read_back) << row.text.size();
        if (row.text.size() < 32000) {
            EXPECT_EQ(bytes[12 + row.text.size()], 0);
        }
    }
}

TEST(Kd3_format, sample_header_and_descriptor_fields_sit_at_their_offsets) {
    std::array<uint8_t, kd3::Sample_Header_Length> head{};
    kd3::Sample_Header h;
    h.capture_mill = -2;  // a tick past the 32-bit wrap
    h.capture_delta = 40;
    h.capture_local = 86399999;
    h.jpeg_quality = -1;
    h.jpeg_size = 123456;
    h.hdmi_events = 0x01020304;
    kd3::Put_Sample_Header(head, h);
    std::vector<uint8_t> b(head.begin(), head.end());
    EXPECT_EQ(Text4(b, 0), "RGBS");
    EXPECT_EQ(LE32(b, 8), -2);
    EXPECT_EQ(LE32(b, 12), 40);
    EXPECT_EQ(LE32(b, 16), 86399999);
    EXPECT_EQ(LE32(b, 24), -1);
    EXPECT_EQ(LE32(b, 32), 123456);
    EXPECT_EQ(b[36], 4);
    EXPECT_EQ(b[39], 1);
    EXPECT_EQ(Text4(b, 40), "RGBE");
    for (size_t reserved : {4u, 20u, 28u}) EXPECT_EQ(LE32(b, reserved), 0);
    kd3::Sample_Header back = kd3::Get_Sample_Header(head);
    EXPECT_EQ(back.capture_mill, -2);
    EXPECT_EQ(back.hdmi_events, 0x01020304);
    EXPECT_EQ(back.jpeg_quality, -1);

    std::array<uint8_t, kd3::Descriptor_Length> d{};
    kd3::Put_Descriptor(d, {1, 100000, 1});
    EXPECT_EQ((std::vector<uint8_t>(d.begin(), d.end())), (std::vector<uint8_t>{1, 0, 0xA0, 0x86, 1, 0, 1, 0, 0, 0}));
    EXPECT_EQ(kd3::Get_Descriptor(d).count, 100000);
    EXPECT_EQ(kd3::Record_Length(100000), 100058);
    EXPECT_EQ(kd3::Record_Offset(3, 100058), 32016 + 2 * 100058);
}

TEST_F(Store_test, a_written_file_holds_the_header_record_and_equal_records) {
    cls_VideoFile_handler store;
    std::string path = Path("heat.kd3");
    Make_Heat_File(store, path, 64, 48, 20000);
    EXPECT_EQ(std::filesystem::file_size(path), 32016u);
    Append_Segment(store, path, 1, 3, 64, 48);

    std::vector<uint8_t> b = File_Bytes(path);
    const size_t S = 20058;
    ASSERT_EQ(b.size(), 32016 + 3 * S);
    EXPECT_EQ(Text4(b, 0), "KDR3");
    EXPECT_EQ(LE32(b, 4), 32016);
    int32_t xml_length = LE32(b, 8);
    EXPECT_GT(xml_length, 100);
    EXPECT_EQ(b[12 + xml_length], 0);
    EXPECT_EQ(std::string(b.begin() + 12, b.begin() + 17), "<?xml");
    EXPECT_EQ(Text4(b, 32012), "KDRX");
    for (size_t n = 0; n < 3; ++n) {
        size_t at = 32016 + n * S;
        EXPECT_EQ(Text4(b, at), "RGBS") << n;
        EXPECT_EQ(LE32(b, at + 8), Tick_Of(static_cast<int32_t>(n) + 1));
        EXPECT_EQ(Text4(b, at + 40), "RGBE");
        EXPECT_EQ(b[at + 44], 1);
        EXPECT_EQ(LE32(b, at + 46), 20000);
        EXPECT_EQ(LE32(b, at + 50), 1);
        EXPECT_EQ(b[at + 54], 0xFF);  // the JPEG's start-of-image marker
        EXPECT_EQ(b[at + 55], 0xD8);
        EXPECT_EQ(Text4(b, at + 54 + 20000), "RGBF");
    }
}
