// What an AVI file says about itself: files muxed here by libavformat and small RIFF files laid out by
// the test, including ones whose chunks claim more than the file holds.
#include "Dv_test_files.h"
#include "Store_test_support.h"
#include "store/clsAVIInfo.h"

#include <cstring>

namespace {

struct Riff {
    std::vector<uint8_t> bytes;
    void Id(const char* id) { bytes.insert(bytes.end(), id, id + 4); }
    void U32(uint32_t v) {
        for (int i = 0; i < 4; ++i) bytes.push_back(static_cast<uint8_t>(v >> (8 * i)));
    }
    void Chunk(const char* id, const std::vector<uint8_t>& data, uint32_t claimed = UINT32_MAX) {
        Id(id);
        U32(claimed == UINT32_MAX ? static_cast<uint32_t>(data.size()) : claimed);
        bytes.insert(bytes.end(), data.begin(), data.end());
        if (data.size() % 2) bytes.push_back(0);
    }
    size_t List(const char* id, const char* type) {
        Id(id);
        size_t at = bytes.size();
        U32(0);
        Id(type);
        return at;
    }
    void End(size_t at) {
        const auto size = static_cast<uint32_t>(bytes.size() - at - 4);
        for (int i = 0; i < 4; ++i) bytes[at + static_cast<size_t>(i)] = static_cast<uint8_t>(size >> (8 * i));
    }
};

std::vector<uint8_t> Le(std::initializer_list<uint32_t> words) {
    std::vector<uint8_t> out;
    for (uint32_t v : words)
        for (int i = 0; i < 4; ++i) out.push_back(static_cast<uint8_t>(v >> (8 * i)));
    return out;
}

std::vector<uint8_t> Text(const std::string& s) { return {s.begin(), s.end()}; }

// A small AVI: main header, one stream of the given type with its format, INFO, movie list, index.
std::vector<uint8_t> Small_Avi(const char* stream_type, const std::vector<uint8_t>& format, uint32_t buffer_size,
                               const std::vector<uint8_t>& odd_chunk = {}) {
    Riff r;
    const size_t riff = r.List("RIFF", "AVI ");
    const size_t hdrl = r.List("LIST", "hdrl");
    r.Chunk("avih", Le({40000, 0, 0, 0, 250, 0, 1, buffer_size, 320, 240, 0, 0, 0, 0}));
    const size_t strl = r.List("LIST", "strl");
    std::vector<uint8_t> strh = Text(std::string(stream_type) + "dvsd");
    strh.resize(56, 0);
    r.Chunk("strh", strh);
    r.Chunk("strf", format);
    r.End(strl);
    r.End(hdrl);
    if (!odd_chunk.empty()) r.Chunk("JUNK", odd_chunk);
    const size_t info = r.List("LIST", "INFO");
    r.Chunk("ISRC", Text(std::string("camera 2") + '\0'));
    r.End(info);
    const size_t movi = r.List("LIST", "movi");
    r.Chunk("00dc", std::vector<uint8_t>(10, 1));
    r.End(movi);
    r.Chunk("idx1", Le({0x63643030, 0x10, 4, 10}));
    r.End(riff);
    return r.bytes;
}

void Write(const std::string& path, const std::vector<uint8_t>& bytes) {
    std::ofstream(path, std::ios::binary | std::ios::trunc)
        .write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
}

class Avi_info : public Store_test {};

TEST_F(Avi_info, A_muxed_DV_avi_file_reports_its_stream_movie_list_and_index) {
    dv_test::Mux(Path("clip.avi"), "avi", dv_test::Encode_Frames(3));
    clsAVIInfo info;
    ASSERT_TRUE(info.ReadFile(Path("clip.avi")));
    EXPECT_TRUE(info.AVI_valid());
    EXPECT_TRUE(info.HasVideo());
    EXPECT_FALSE(info.HasAudio());
    EXPECT_EQ(info.VideoCodec(), "dvsd");
    EXPECT_EQ(info.Width(), 720);
    EXPECT_EQ(info.Height(), 576);
    EXPECT_EQ(info.FrameRate(), 25);
    EXPECT_EQ(info.NumFrames(), 3);
    EXPECT_EQ(info.NumStreams(), 1);
    const std::vector<uint8_t> bytes = File_Bytes(Path("clip.avi"));
    EXPECT_EQ(std::string(bytes.begin() + info.MovieOffset(), bytes.begin() + info.MovieOffset() + 4), "movi");
    EXPECT_EQ(std::string(bytes.begin() + info.IndexOffset(), bytes.begin() + info.IndexOffset() + 4), "idx1");
    EXPECT_EQ(info.FileSize(), static_cast<int64_t>(bytes.size()));
    EXPECT_GT(info.PadBytes(), 0);
}

TEST_F(Avi_info, Headers_streams_and_chunk_claims_are_read_as_the_file_holds_them) {
    std::vector<uint8_t> bmi = Le({40, 320, 240, 0x00080001, 0, 0, 0, 0, 1000000, 0});  // 8 bits, a huge palette claim
    bmi.resize(40 + 8, 7);
    std::vector<uint8_t> wave = {1, 0, 2, 0, 0x44, 0xAC, 0, 0, 0x10, 0xB1, 2, 0, 4, 0, 16, 0};
    Write(Path("palette.avi"), Small_Avi("vids", bmi, 0, std::vector<uint8_t>(13, 0)));
    Write(Path("audio.avi"), Small_Avi("auds", wave, 0));
    Write(Path("iavs.avi"), Small_Avi("iavs", std::vector<uint8_t>(32, 0), 144000));
    std::vector<uint8_t> rifx = Small_Avi("vids", bmi, 0);
    std::memcpy(rifx.data(), "RIFX", 4);
    Write(Path("rifx.avi"), rifx);
    std::vector<uint8_t> liar = Small_Avi("vids", bmi, 0);
    liar.resize(liar.size() - 20);  // the index claims more than is left
    Write(Path("cut.avi"), liar);

    std::vector<std::string> errors;
    clsAVIInfo info;
    info.ReadError = [&](const std::string& text) { errors.push_back(text); };

    ASSERT_TRUE(info.ReadFile(Path("palette.avi")));
    EXPECT_EQ(info.BitDepth(), 8);
    EXPECT_EQ(info.PadBytes(), 14);  // an odd chunk of 13 is walked as 14
    EXPECT_EQ(info.PlayLength(), 10);
    EXPECT_EQ(info.FrameRate(), 25);
    std::vector<int32_t> ids;
    ASSERT_EQ(info.GetInfoList(ids), 1);
    EXPECT_EQ(info.GetInfoName(ids[0]), "Source");
    EXPECT_EQ(info.QueryInfo(ids[0]), "camera 2");

    ASSERT_TRUE(info.ReadFile(Path("audio.avi")));
    EXPECT_TRUE(info.HasAudio());
    EXPECT_EQ(info.AudioFormat(), "Microsoft PCM");
    EXPECT_EQ(info.Channels(), 2);
    EXPECT_EQ(info.SamplesPerSec(), 44100);

    ASSERT_TRUE(info.ReadFile(Path("iavs.avi")));
    EXPECT_TRUE(info.iavs());
    EXPECT_EQ(info.VideoCodec(), "dvsd");
    EXPECT_EQ(info.Width(), 720);
    EXPECT_EQ(info.Height(), 576);
    EXPECT_EQ(info.FrameRate(), 25);
    EXPECT_EQ(info.NumFrames(), 250);
    EXPECT_EQ(info.PlayLength(), 0);
    EXPECT_EQ(info.bmi_address(), nullptr);

    EXPECT_FALSE(info.ReadFile(Path("rifx.avi")));
    EXPECT_FALSE(info.AVI_valid());
    EXPECT_TRUE(info.ReadFile(Path("cut.avi")));
    EXPECT_EQ(info.IndexOffset(), 0);
    EXPECT_FALSE(info.ReadFile(""));
    EXPECT_EQ(errors, (std::vector<std::string>{"Incorrect AVI header", "File not found or contains no data!"}));
}

TEST_F(Avi_info, Names_of_codecs_formats_info_ids_and_times) {
    clsAVIInfo info;
    struct Codec { std::string code, name; } codecs[] = {
        {"cvid", "Cinepak codec by Radius"}, {"MJPG", "IBM Motion JPEG including Huffman Tables"},
        {"dvsd", "Pinacle systems DV"}, {"IV32", "Ligos Indeo 3"}, {"MSVC", "Microsoft Video 1"},
        {"abc", ""}, {"ZZZZ", "Unknown"}, {std::string(4, '\0'), "Uncompressed"},
    };
    for (const Codec& c : codecs) EXPECT_EQ(info.CodecToName(c.code), c.name) << c.code;
    EXPECT_EQ(clsAVIInfo::FourCCToLong("RIFF"), 0x46464952);
    EXPECT_EQ(clsAVIInfo::LongToFourCC(0x46464952), "RIFF");
    EXPECT_EQ(clsAVIInfo::FourCCToLong("RIF"), 0);
    EXPECT_EQ(info.GetInfoName(clsAVIInfo::FourCCToLong("ISRC")), "Source");
    EXPECT_EQ(info.GetInfoName(clsAVIInfo::FourCCToLong("iXYZ")), "XYZ");
    EXPECT_EQ(info.GetInfoName(clsAVIInfo::FourCCToLong("QXYZ")), std::to_string(clsAVIInfo::FourCCToLong("QXYZ")));
    struct Time { int32_t seconds; const char* text; } times[] = {
        {0, "00:00"}, {59, "00:59"}, {3725, "1:02:05"}, {90061, "1:01:01:01"}, {86400, "1:00:00"}, {-61, "-01:-01"},
    };
    for (const Time& t : times) EXPECT_EQ(info.FormatTime(t.seconds), t.text) << t.seconds;
    std::vector<int32_t> untouched{7};
    EXPECT_EQ(info.GetInfoList(untouched), 0);
    EXPECT_EQ(untouched, std::vector<int32_t>{7});
}

}  // namespace
